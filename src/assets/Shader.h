#pragma once

#include <string>

#include <glm/glm.hpp>

#include "assets/ShaderSource.h"

// One linked GLSL program (a vertex and a fragment stage read from files), its stored clip
// plane, the uniform setters and the indexed-triangle draws every drawable uses.
// Users make the program current themselves with glUseProgram(program()).
// Array arguments of the draws are client pointers, or byte offsets into buffers the
// caller has bound; locations are looked up by name at every call.
class Shader {
  public:
    Shader();
    ~Shader();
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // Compile (the target's version lines put before each file), link with fragment output 0
    // bound to "fragColor", then drop the stage objects.
    void load(const char* vertexPath, const char* fragmentPath);
    // The same with a library of functions several programs share joined to the fragment
    // stage. It prints nothing when it compiles; when it does not, its log and its file are
    // named.
    void load(const char* vertexPath, const char* fragmentPath, const char* fragmentLibraryPath);
    // The same with output 0 bound to "hudColor".
    void loadHud(const char* vertexPath, const char* fragmentPath);
    unsigned int program() const { return programName; }
    // False when the program did not link: GL refuses to use it, so its passes are skipped.
    bool isUsable() const { return linked; }

    glm::vec4 clipPlane() const { return storedClipPlane; }
    void setClipPlane(const glm::vec4& plane) { storedClipPlane = plane; }

    void setLights(const glm::vec3& position, const glm::vec4& color, const glm::vec4& ambient);
    void setModel(const glm::mat4& model);
    void setMatrices(const glm::mat4& perspective, const glm::mat4& view, const glm::mat4& model);
    void setInt(int value, const char* name);

    void drawTextured(const void* positions, const void* texCoords, const void* indices,
                      int indexCount);
    void drawLit(const void* positions, const void* normals, const void* texCoords,
                 const void* indices, int indexCount);
    void drawMorph(float weight, const void* positionsA, const void* positionsB,
                   const void* normalsA, const void* normalsB, const void* texCoords,
                   const void* indices, int indexCount);

  private:
    void compile(const char* vertexPath, const char* fragmentPath);
    void link(const char* outputName);
    void loadWithOutput(const char* vertexPath, const char* fragmentPath, const char* output,
                        bool namePairIfUnlinked = true);

    unsigned int programName = 0;
    unsigned int vertexShader = 0;
    unsigned int fragmentShader = 0;
    std::string fragmentLibrary;
    ShaderKind kind = ShaderKind::Scene;
    bool stagesCompiled = false;
    bool linked = false;
    glm::vec4 storedClipPlane;
};
