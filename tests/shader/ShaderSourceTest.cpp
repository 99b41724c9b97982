#include <gtest/gtest.h>

#include <GL/glew.h>

#include <GLFW/glfw3.h>

#include <string>
#include <vector>

#include "GlTestContext.h"
#include "ReadFile.h"
#include "assets/ShaderSource.h"
#include "platform/GlTarget.h"

// Every program the game loads, its files assembled as each target's loader assembles them,
// must compile and link in that target's kind of context: the desktop's compatibility context,
// and an OpenGL ES 3.0 context for WebGL 2, whose shading language (GLSL ES 3.00) is the same.
namespace {

struct Program {
    const char* vertex;
    const char* fragment;
    ShaderKind kind;
    bool joinsLevelTexture;
};

const Program gamePrograms[] = {
    {"shader/simple_shader.vert", "shader/simple_shader.frag", ShaderKind::Scene, true},
    {"shader/animation_shader.vert", "shader/animation_shader.frag", ShaderKind::Scene, true},
    {"shader/alpha_shader.vert", "shader/alpha_shader.frag", ShaderKind::Scene, true},
    {"shader/shadow_shader.vert", "shader/shadow_shader.frag", ShaderKind::Scene, false},
    {"shader/skybox_shader.vert", "shader/skybox_shader.frag", ShaderKind::Scene, false},
    {"shader/water_shader.vert", "shader/water_shader.frag", ShaderKind::Scene, false},
    {"shader/hud_shader.vert", "shader/hud_shader.frag", ShaderKind::Hud, false},
};

// The driver's log of a stage or program that failed; empty when it compiled or linked.
std::string compileFailure(GLuint shader, const std::string& source) {
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint status = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status)
        return "";
    char log[4096] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    return log;
}

std::string buildFailure(GlTarget target, const Program& program) {
    std::string library = program.joinsLevelTexture ? readFile("shader/level_texture.frag") : "";
    GLuint vertex = glCreateShader(GL_VERTEX_SHADER);
    GLuint fragment = glCreateShader(GL_FRAGMENT_SHADER);
    std::string failure = compileFailure(
        vertex, assembleShaderSource(target, program.kind, readFile(program.vertex)));
    failure += compileFailure(
        fragment, assembleShaderSource(target, program.kind, readFile(program.fragment), library));
    GLuint linked = glCreateProgram();
    glAttachShader(linked, vertex);
    glAttachShader(linked, fragment);
    glLinkProgram(linked);
    GLint status = 0;
    glGetProgramiv(linked, GL_LINK_STATUS, &status);
    if (!status && failure.empty()) {
        char log[4096] = {};
        glGetProgramInfoLog(linked, sizeof log, nullptr, log);
        failure = std::string("link: ") + log;
    }
    glDeleteProgram(linked);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return failure;
}

// A hidden window with an OpenGL ES 3.0 context, made once; GLEW's entry points serve it too.
GLFWwindow* esContext() {
    static GLFWwindow* window = [] {
        glfwDefaultWindowHints();
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        glfwWindowHint(GLFW_CLIENT_API, GLFW_OPENGL_ES_API);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
        glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
        GLFWwindow* made = glfwCreateWindow(16, 16, "es", nullptr, nullptr);
        glfwDefaultWindowHints();
        return made;
    }();
    return window;
}

TEST(ShaderSource, EveryProgramOfTheGameBuildsAsEachTargetAssemblesIt) {
    if (!ensureGlContext())
        GTEST_SKIP() << "no display";
    GLFWwindow* desktop = glfwGetCurrentContext();
    GLFWwindow* web = esContext();
    ASSERT_NE(web, nullptr) << "no OpenGL ES 3.0 context";
    for (GlTarget target : {GlTarget::Desktop, GlTarget::Web}) {
        glfwMakeContextCurrent(target == GlTarget::Web ? web : desktop);
        for (const Program& program : gamePrograms)
            EXPECT_EQ(buildFailure(target, program), "")
                << program.vertex << (target == GlTarget::Web ? " for the web" : " on the desktop");
    }
    glfwMakeContextCurrent(desktop);
}

// The lookup the level programs share comes after the fragment file on a line of its own,
// whether or not the file's last line ends: run into a last comment, it would vanish.
TEST(ShaderSource, TheSharedLookupStartsALineOfItsOwnAfterAnyFile) {
    const std::string library = "vec4 levelTexture(vec2 at);\n";
    const struct {
        const char* name;
        const char* file;
    } rows[] = {
        {"last line ended", "void main() {}\n"},
        {"last line unended", "void main() {}"},
        {"a comment last, unended", "void main() {}\n// the end"},
    };
    for (const auto& row : rows) {
        for (GlTarget target : {GlTarget::Desktop, GlTarget::Web}) {
            const std::string source =
                assembleShaderSource(target, ShaderKind::Scene, row.file, library);
            const size_t joined = source.size() - library.size();
            EXPECT_EQ(source.substr(joined), library) << row.name;
            EXPECT_EQ(source.substr(joined - 1, 1), "\n") << row.name;
            EXPECT_NE(source.find(row.file), std::string::npos) << row.name;
        }
    }
}

// The level program with the water's plane y = 0 keeping what lies above it, over a square that
// straddles the plane: which pixels each target draws. The desktop clips with its clip plane,
// the web's program discards for itself.
std::vector<unsigned char> clippedSquare(GlTarget target) {
    const int side = 16;
    GLuint vertex = glCreateShader(GL_VERTEX_SHADER);
    GLuint fragment = glCreateShader(GL_FRAGMENT_SHADER);
    std::string library = readFile("shader/level_texture.frag");
    EXPECT_EQ(compileFailure(vertex, assembleShaderSource(target, ShaderKind::Scene,
                                                          readFile("shader/simple_shader.vert"))),
              "");
    EXPECT_EQ(compileFailure(fragment,
                             assembleShaderSource(target, ShaderKind::Scene,
                                                  readFile("shader/simple_shader.frag"), library)),
              "");
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glUseProgram(program);
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (const char* matrix : {"PV", "model", "T"})
        glUniformMatrix4fv(glGetUniformLocation(program, matrix), 1, GL_FALSE, identity);
    glUniform4f(glGetUniformLocation(program, "clipPlane"), 0.0f, 1.0f, 0.0f, 0.0f);
    const float square[16] = {-1, -1, 0, 1, 1, -1, 0, 1, 1, 1, 0, 1, -1, 1, 0, 1};
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof square, square, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(0);

    glViewport(0, 0, side, side);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    if (target == GlTarget::Desktop)
        gltarget::enableClipPlane();
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    if (target == GlTarget::Desktop)
        gltarget::disableClipPlane();
    std::vector<unsigned char> pixels(side * side * 4);
    glReadPixels(0, 0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());

    glDisableVertexAttribArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &buffer);
    glUseProgram(0);
    glDeleteProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    // Drawn (the unlit black of an unbound texture) or left (the red it was cleared to).
    std::vector<unsigned char> drawn;
    for (size_t i = 0; i < pixels.size(); i += 4)
        drawn.push_back(pixels[i] < 128);
    return drawn;
}

TEST(ShaderSource, TheWatersClipPlaneCutsTheSamePixelsOnBothTargets) {
    if (!ensureGlContext())
        GTEST_SKIP() << "no display";
    GLFWwindow* desktop = glfwGetCurrentContext();
    ASSERT_NE(esContext(), nullptr) << "no OpenGL ES 3.0 context";
    std::vector<unsigned char> onDesktop = clippedSquare(GlTarget::Desktop);
    glfwMakeContextCurrent(esContext());
    std::vector<unsigned char> onWeb = clippedSquare(GlTarget::Web);
    glfwMakeContextCurrent(desktop);
    // The upper half is drawn, the lower half cut away.
    EXPECT_EQ(onDesktop.front(), 0);
    EXPECT_EQ(onDesktop.back(), 1);
    EXPECT_EQ(onWeb, onDesktop);
}

} // namespace
