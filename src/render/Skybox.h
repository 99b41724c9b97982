#pragma once

#include <glm/glm.hpp>

class Shader;

// A 200-unit textured cube drawn first in every main pass with depth test and culling off,
// kept centred on the viewer by the chase camera.
class Skybox {
  public:
    // One side of the cube: its picture, corners, texture coordinates and two triangles.
    struct Face {
        const char* file;
        glm::vec4 corners[4];
        glm::vec2 texCoords[4];
        unsigned int indices[6];
    };
    static constexpr int faceCount = 6;
    // The faces in draw order: up, bottom, front, back, right (x = -100), left (x = +100).
    static const Face& face(int index);

    Skybox() = default;
    ~Skybox();
    Skybox(const Skybox&) = delete;
    Skybox& operator=(const Skybox&) = delete;

    // Loads the shader and the six face textures (needs a GL context).
    void init();
    void draw(const glm::mat4& projection, const glm::mat4& view);
    // The faces take the texture loader's anisotropy limit as it is now.
    void reapplyAnisotropy();

    glm::mat4 getTransform() const { return transform; }
    void setTransform(const glm::mat4& matrix) { transform = matrix; }
    // Moves the cube, without turning it, so that its centre is the eye.
    void centreOn(const glm::vec3& eye);
    glm::vec3 getCenter() const { return glm::vec3(transform * glm::vec4(0, 0, 0, 1)); }

  private:
    Shader* shader = nullptr;
    // One per face, in draw order.
    unsigned int faceTextures[faceCount] = {0, 0, 0, 0, 0, 0};
    glm::mat4 transform;
};
