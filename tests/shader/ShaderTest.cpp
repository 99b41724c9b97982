#include <gtest/gtest.h>

#include <GL/glew.h>

#include <sstream>
#include <string>

#include <glm/gtc/type_ptr.hpp>

#include "GlTestContext.h"
#include "TestFiles.h"
#include "assets/DataFileReport.h"
#include "render/Shader.h"

namespace {

const char* const goodVertex = R"(#version 130
in vec4 vertex;
in vec2 texCoord;
uniform mat4 perspective;
uniform mat4 view;
uniform mat4 model;
out vec2 uv;
void main() { uv = texCoord; gl_Position = perspective * view * model * vertex; }
)";

const char* const goodFragment = R"(#version 130
in vec2 uv;
out vec4 fragColor;
void main() { fragColor = vec4(uv, 0.0, 1.0); }
)";

const char* const hudFragment = R"(#version 130
in vec2 uv;
out vec4 hudColor;
void main() { hudColor = vec4(uv, 1.0, 1.0); }
)";

class ShaderTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!ensureGlContext())
            GTEST_SKIP() << "no display";
        while (glGetError() != GL_NO_ERROR) {
        }
        forgetReportedDataFiles();
    }

    static std::string file(const char* name, const char* text) {
        return writeScratchFile(name, text);
    }
};

TEST_F(ShaderTest, AGoodPairPrintsThreeSuccessLinesAndDropsItsStageObjects) {
    std::string v = file("good.vert", goodVertex);
    std::string f = file("good.frag", goodFragment);
    Shader shader;
    testing::internal::CaptureStdout();
    shader.load(v.c_str(), f.c_str());
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Vertex-shader loaded and compiled successfully.\n"
                   "Fragment-shader loaded and compiled successfully.\n"
                   "Shader-program linked successfully.\n\n");
    EXPECT_TRUE(shader.isUsable());
    EXPECT_TRUE(glIsProgram(shader.program()));
    EXPECT_EQ(glGetFragDataLocation(shader.program(), "fragColor"), 0);

    GLint attached = -1;
    glGetProgramiv(shader.program(), GL_ATTACHED_SHADERS, &attached);
    GLuint stages[2] = {0, 0};
    glGetAttachedShaders(shader.program(), 2, nullptr, stages);
    EXPECT_EQ(attached, 2);
    // Flagged for deletion: they vanish with the program.
    GLint flagged = 0;
    glGetShaderiv(stages[0], GL_DELETE_STATUS, &flagged);
    EXPECT_EQ(flagged, GL_TRUE);
}

TEST_F(ShaderTest, HudProgramsBindTheirOutputToHudColor) {
    std::string v = file("hud.vert", goodVertex);
    std::string f = file("hud.frag", hudFragment);
    Shader shader;
    testing::internal::CaptureStdout();
    shader.loadHud(v.c_str(), f.c_str());
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Shader-program linked successfully."), std::string::npos);
    EXPECT_EQ(glGetFragDataLocation(shader.program(), "hudColor"), 0);
}

TEST_F(ShaderTest, ABrokenVertexStageStillReportsTheFragmentStageAndTheLink) {
    std::string v = file("broken.vert", "#version 130\nvoid main() { this is not glsl }\n");
    std::string f = file("ok.frag", goodFragment);
    Shader shader;
    testing::internal::CaptureStdout();
    shader.load(v.c_str(), f.c_str());
    std::string out = testing::internal::GetCapturedStdout();
    size_t vertexError = out.find("Vertex-shader compile error:\n\n");
    size_t fragmentOk = out.find("Fragment-shader loaded and compiled successfully.\n");
    size_t linkError = out.find("Shader-program link error:\n\n");
    ASSERT_NE(vertexError, std::string::npos) << out;
    ASSERT_NE(fragmentOk, std::string::npos) << out;
    ASSERT_NE(linkError, std::string::npos) << out;
    EXPECT_LT(vertexError, fragmentOk);
    EXPECT_LT(fragmentOk, linkError);
    // The driver's log is printed between the heading and the next stage.
    EXPECT_GT(fragmentOk - vertexError, std::string("Vertex-shader compile error:\n\n\n").size());
    // The broken file is named right after the driver's log, and only that file.
    size_t named = out.find("\nData file \"" + v + "\": shader did not compile\n");
    EXPECT_LT(vertexError, named) << out;
    EXPECT_EQ(named + 1, out.find("Data file")) << out;
    EXPECT_LT(named, fragmentOk);
    EXPECT_EQ(out.find("Data file", named + 2), std::string::npos) << out;
    EXPECT_FALSE(shader.isUsable());
}

TEST_F(ShaderTest, TwoGoodStagesThatDoNotLinkAreNamedAsAPair) {
    std::string v = file("lonely.vert", goodVertex);
    // Each stage compiles on its own; only the link finds that nobody wrote a main().
    std::string f = file("no-main.frag", R"(#version 130
in vec2 uv;
out vec4 fragColor;
void shade() { fragColor = vec4(uv, 0.0, 1.0); }
)");
    Shader shader;
    testing::internal::CaptureStdout();
    shader.load(v.c_str(), f.c_str());
    std::string out = testing::internal::GetCapturedStdout();
    size_t linkError = out.find("Shader-program link error:\n\n");
    size_t named =
        out.find("Data file \"" + v + "\": shader program did not link with \"" + f + "\"\n");
    ASSERT_NE(linkError, std::string::npos) << out;
    EXPECT_LT(linkError, named) << out;
    EXPECT_FALSE(shader.isUsable());
}

TEST_F(ShaderTest, MissingFilesAreHandedToTheDriverAsEmptySources) {
    // Whatever the driver makes of an empty source, a missing file must get the same verdict,
    // and each missing file is named as missing.
    std::string v = file("empty.vert", "");
    std::string f = file("empty.frag", "");
    forgetReportedDataFiles();
    std::string outputs[2];
    bool usable[2] = {true, true};
    const char* paths[2][2] = {{v.c_str(), f.c_str()},
                               {"/nonexistent/a.vert", "/nonexistent/b.frag"}};
    for (int i = 0; i < 2; ++i) {
        Shader shader;
        testing::internal::CaptureStdout();
        shader.load(paths[i][0], paths[i][1]);
        outputs[i] = testing::internal::GetCapturedStdout();
        usable[i] = shader.isUsable();
    }
    EXPECT_NE(outputs[1].find("Data file \"/nonexistent/a.vert\": missing\n"), std::string::npos)
        << outputs[1];
    EXPECT_NE(outputs[1].find("Data file \"/nonexistent/b.frag\": missing\n"), std::string::npos)
        << outputs[1];
    // Past the naming of the files, the driver's verdicts are the same.
    for (std::string& out : outputs) {
        std::istringstream lines(out);
        std::string kept;
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("Data file ", 0) != 0)
                kept += line + "\n";
        out = kept;
    }
    EXPECT_NE(outputs[0].find("Vertex-shader"), std::string::npos) << outputs[0];
    EXPECT_EQ(outputs[1], outputs[0]);
    EXPECT_FALSE(usable[1]);
    EXPECT_EQ(usable[0], usable[1]);
}

TEST_F(ShaderTest, SetMatricesFillsPerspectiveViewAndModelInThatOrder) {
    std::string v = file("m.vert", goodVertex);
    std::string f = file("m.frag", goodFragment);
    Shader shader;
    testing::internal::CaptureStdout();
    shader.load(v.c_str(), f.c_str());
    testing::internal::GetCapturedStdout();
    glUseProgram(shader.program());
    glm::mat4 a(1.0f), b(2.0f), c(3.0f);
    shader.setMatrices(a, b, c);
    const char* names[3] = {"perspective", "view", "model"};
    const glm::mat4* expected[3] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i) {
        glm::mat4 read(0.0f);
        glGetUniformfv(shader.program(), glGetUniformLocation(shader.program(), names[i]),
                       glm::value_ptr(read));
        EXPECT_EQ(read, *expected[i]) << names[i];
    }
    glUseProgram(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShaderTest, TheProgramIsDeletedWithTheShader) {
    std::string v = file("d.vert", goodVertex);
    std::string f = file("d.frag", goodFragment);
    GLuint program = 0;
    {
        Shader shader;
        testing::internal::CaptureStdout();
        shader.load(v.c_str(), f.c_str());
        testing::internal::GetCapturedStdout();
        program = shader.program();
        EXPECT_TRUE(glIsProgram(program));
    }
    EXPECT_FALSE(glIsProgram(program));
}

TEST_F(ShaderTest, DrawTexturedRendersAndLeavesItsAttributesDisabled) {
    std::string v = file("t.vert", goodVertex);
    std::string f = file("t.frag", goodFragment);
    Shader shader;
    testing::internal::CaptureStdout();
    shader.load(v.c_str(), f.c_str());
    testing::internal::GetCapturedStdout();

    glm::vec4 positions[3] = {{-1, -1, 0, 1}, {3, -1, 0, 1}, {-1, 3, 0, 1}};
    glm::vec2 uvs[3] = {{1, 0}, {1, 0}, {1, 0}};
    unsigned int indices[3] = {0, 1, 2};
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(shader.program());
    shader.setMatrices(glm::mat4(1.0f), glm::mat4(1.0f), glm::mat4(1.0f));
    shader.drawTextured(positions, uvs, indices, 3);
    glUseProgram(0);
    unsigned char pixel[4] = {};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_GT(pixel[0], 200);
    EXPECT_LT(pixel[1], 50);
    GLint enabled = 1;
    glGetVertexAttribiv(static_cast<GLuint>(glGetAttribLocation(shader.program(), "vertex")),
                        GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
