#include "assets/Shader.h"

#include <GL/glew.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include <glm/gtc/type_ptr.hpp>

#include "assets/ShaderSource.h"
#include "platform/DataFileReport.h"
#include "platform/GlClientArrays.h"
#include "platform/GlTarget.h"

namespace {

// A missing file gives an empty source; the driver's verdict on it is printed as for any other
// source, and the file is named after it.
bool readWholeFile(const char* path, std::string& text) {
    std::ifstream in(path);
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    // A folder opens as a stream and simply reads as empty.
    std::error_code error;
    return in.is_open() && std::filesystem::is_regular_file(path, error);
}

// The driver's log of a shader or a program; the two only differ in the query functions.
template <typename GetParameter, typename GetLog>
std::string infoLog(GLuint name, GetParameter getParameter, GetLog getLog) {
    GLint length = 0;
    getParameter(name, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 0), ' ');
    if (length > 0)
        getLog(name, length, nullptr, &log[0]);
    return log;
}

// Compiles one stage from its file as the target takes it and prints the driver's verdict (a
// success only with okMessage); false when the stage is of no use, in which case its file has
// been named. `library` is joined after the file.
bool compileStage(GLenum type, const char* path, ShaderKind kind, const std::string& library,
                  const char* okMessage, const char* errorMessage, GLuint& shader) {
    std::string file;
    bool read = readWholeFile(path, file);
    std::string source = assembleShaderSource(builtGlTarget, kind, file, library);
    shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);

    GLint status = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    bool compiled = status != 0 && glIsShader(shader);
    if (compiled) {
        if (okMessage)
            std::cout << okMessage << std::endl;
    } else {
        std::string log = infoLog(shader, glGetShaderiv, glGetShaderInfoLog);
        std::cerr << errorMessage << log.c_str() << std::endl;
    }
    // Some drivers accept an empty source; a missing file is still named.
    if (!compiled || !read)
        reportBrokenDataFile(path, "shader did not compile");
    return compiled && read;
}

} // namespace

Shader::Shader() : storedClipPlane(0.0f) {}

Shader::~Shader() {
    if (programName != 0)
        glDeleteProgram(programName);
}

void Shader::load(const char* vertexPath, const char* fragmentPath) {
    loadWithOutput(vertexPath, fragmentPath, "fragColor");
}

void Shader::load(const char* vertexPath, const char* fragmentPath,
                  const char* fragmentLibraryPath) {
    // The library joins the fragment stage's source, so its own faults would be blamed on
    // that stage's file: it is first compiled on its own, with an empty main, to name it.
    // A library that compiles says nothing: the console keeps the lines it always had.
    GLuint probe = 0;
    bool libraryUsable =
        compileStage(GL_FRAGMENT_SHADER, fragmentLibraryPath, ShaderKind::Scene, "void main() {}\n",
                     nullptr, "Fragment-shader compile error:\n\n", probe);
    glDeleteShader(probe);
    // Without its library the program does not link and its passes are skipped; the library
    // has been named, so the pair is not blamed as well.
    if (libraryUsable)
        readWholeFile(fragmentLibraryPath, fragmentLibrary);
    loadWithOutput(vertexPath, fragmentPath, "fragColor", libraryUsable);
    fragmentLibrary.clear();
}

void Shader::loadHud(const char* vertexPath, const char* fragmentPath) {
    kind = ShaderKind::Hud;
    loadWithOutput(vertexPath, fragmentPath, "hudColor");
}

void Shader::loadWithOutput(const char* vertexPath, const char* fragmentPath, const char* output,
                            bool namePairIfUnlinked) {
    compile(vertexPath, fragmentPath);
    link(output);
    // A stage that failed has been named already; two good stages that do not fit together
    // are named as a pair.
    if (!linked && stagesCompiled && namePairIfUnlinked)
        reportBrokenDataFile(vertexPath, std::string("shader program did not link with \"") +
                                             (fragmentPath ? fragmentPath : "") + "\"");
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
}

void Shader::compile(const char* vertexPath, const char* fragmentPath) {
    bool vertexOk = compileStage(GL_VERTEX_SHADER, vertexPath, kind, "",
                                 "Vertex-shader loaded and compiled successfully.",
                                 "Vertex-shader compile error:\n\n", vertexShader);
    bool fragmentOk = compileStage(GL_FRAGMENT_SHADER, fragmentPath, kind, fragmentLibrary,
                                   "Fragment-shader loaded and compiled successfully.",
                                   "Fragment-shader compile error:\n\n", fragmentShader);
    stagesCompiled = vertexOk && fragmentOk;
}

void Shader::link(const char* outputName) {
    programName = glCreateProgram();
    glAttachShader(programName, vertexShader);
    glAttachShader(programName, fragmentShader);
    gltarget::bindFragmentOutput(programName, outputName);
    glLinkProgram(programName);

    GLint status = 0;
    glGetProgramiv(programName, GL_LINK_STATUS, &status);
    linked = status != 0 && glIsProgram(programName);
    if (linked) {
        std::cout << "Shader-program linked successfully.\n" << std::endl;
    } else {
        std::string log = infoLog(programName, glGetProgramiv, glGetProgramInfoLog);
        std::cerr << "Shader-program link error:\n\n" << log.c_str() << std::endl;
    }
}

void Shader::setLights(const glm::vec3& position, const glm::vec4& color,
                       const glm::vec4& ambient) {
    glUniform3fv(glGetUniformLocation(programName, "light_position"), 1, glm::value_ptr(position));
    glUniform4fv(glGetUniformLocation(programName, "light_color"), 1, glm::value_ptr(color));
    glUniform4fv(glGetUniformLocation(programName, "ambient_color"), 1, glm::value_ptr(ambient));
}

void Shader::setModel(const glm::mat4& model) {
    glUniformMatrix4fv(glGetUniformLocation(programName, "model"), 1, GL_FALSE,
                       glm::value_ptr(model));
}

void Shader::setMatrices(const glm::mat4& perspective, const glm::mat4& view,
                         const glm::mat4& model) {
    glUniformMatrix4fv(glGetUniformLocation(programName, "perspective"), 1, GL_FALSE,
                       glm::value_ptr(perspective));
    glUniformMatrix4fv(glGetUniformLocation(programName, "view"), 1, GL_FALSE,
                       glm::value_ptr(view));
    setModel(model);
}

void Shader::setInt(int value, const char* name) {
    glUniform1i(glGetUniformLocation(programName, name), value);
}

void Shader::drawTextured(const void* positions, const void* texCoords, const void* indices,
                          int indexCount) {
    GlClientArrays arrays(indices, indexCount);
    arrays.attribute(glGetAttribLocation(programName, "vertex"), 4, positions);
    arrays.attribute(glGetAttribLocation(programName, "texCoord"), 2, texCoords);
    arrays.drawTriangles();
}

void Shader::drawLit(const void* positions, const void* normals, const void* texCoords,
                     const void* indices, int indexCount) {
    GlClientArrays arrays(indices, indexCount);
    arrays.attribute(glGetAttribLocation(programName, "vertex"), 4, positions);
    arrays.attribute(glGetAttribLocation(programName, "normal"), 3, normals);
    arrays.attribute(glGetAttribLocation(programName, "texCoord"), 2, texCoords);
    arrays.drawTriangles();
}

void Shader::drawMorph(float weight, const void* positionsA, const void* positionsB,
                       const void* normalsA, const void* normalsB, const void* texCoords,
                       const void* indices, int indexCount) {
    glUniform1fv(glGetUniformLocation(programName, "weightingFact"), 1, &weight);
    GlClientArrays arrays(indices, indexCount);
    arrays.attribute(glGetAttribLocation(programName, "vertex"), 4, positionsA);
    arrays.attribute(glGetAttribLocation(programName, "vertexB"), 4, positionsB);
    arrays.attribute(glGetAttribLocation(programName, "normal"), 3, normalsA);
    arrays.attribute(glGetAttribLocation(programName, "normalB"), 3, normalsB);
    arrays.attribute(glGetAttribLocation(programName, "texCoord"), 2, texCoords);
    arrays.drawTriangles();
}
