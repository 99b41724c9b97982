#include "render/Skybox.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>

#include "assets/Shader.h"
#include "assets/TextureLoader.h"

namespace {

const Skybox::Face faces[Skybox::faceCount] = {
    {"texture/Skybox/up.png",
     {{-100, 100, -100, 1}, {100, 100, -100, 1}, {100, 100, 100, 1}, {-100, 100, 100, 1}},
     {{0, 0}, {0, 1}, {1, 1}, {1, 0}},
     {0, 1, 2, 0, 2, 3}},
    {"texture/Skybox/bottom.png",
     {{100, -100, -100, 1}, {-100, -100, -100, 1}, {-100, -100, 100, 1}, {100, -100, 100, 1}},
     {{0, 0}, {0, 1}, {1, 1}, {1, 0}},
     {3, 2, 1, 3, 0, 1}},
    {"texture/Skybox/front.png",
     {{100, -100, -100, 1}, {-100, -100, -100, 1}, {-100, 100, -100, 1}, {100, 100, -100, 1}},
     {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
     {0, 2, 1, 0, 3, 2}},
    {"texture/Skybox/back.png",
     {{-100, -100, 100, 1}, {100, -100, 100, 1}, {-100, 100, 100, 1}, {100, 100, 100, 1}},
     {{0, 0}, {1, 0}, {0, 1}, {1, 1}},
     {0, 3, 1, 0, 2, 3}},
    {"texture/Skybox/right.png",
     {{-100, -100, -100, 1}, {-100, -100, 100, 1}, {-100, 100, 100, 1}, {-100, 100, -100, 1}},
     {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
     {0, 3, 2, 0, 2, 1}},
    {"texture/Skybox/left.png",
     {{100, -100, 100, 1}, {100, -100, -100, 1}, {100, 100, -100, 1}, {100, 100, 100, 1}},
     {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
     {0, 2, 1, 0, 3, 2}},
};

// The faces in the order their files are loaded (right after left).
const int loadOrder[Skybox::faceCount] = {0, 1, 2, 3, 5, 4};

} // namespace

const Skybox::Face& Skybox::face(int index) {
    return faces[index];
}

Skybox::~Skybox() {
    // Without init there are no GL objects (and maybe no context) to release.
    if (!shader)
        return;
    glDeleteTextures(faceCount, faceTextures);
    delete shader;
}

void Skybox::init() {
    shader = new Shader();
    shader->load("shader/skybox_shader.vert", "shader/skybox_shader.frag");
    glGenTextures(faceCount, faceTextures);
    for (int side : loadOrder)
        loadTexture(faces[side].file, faceTextures, side, false, true);
}

void Skybox::draw(const glm::mat4& projection, const glm::mat4& view) {
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    if (!shader || !shader->isUsable())
        return;
    glUseProgram(shader->program());
    shader->setMatrices(projection, view, transform);
    shader->setInt(0, "colorTexture");
    // The faces are client arrays: no buffer object may be bound while they are drawn.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    for (int side = 0; side < faceCount; ++side) {
        const Face& f = faces[side];
        glBindTexture(GL_TEXTURE_2D, faceTextures[side]);
        shader->drawTextured(f.corners, f.texCoords, f.indices, 6);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
}

void Skybox::centreOn(const glm::vec3& eye) {
    const glm::vec3 d = eye - getCenter();
    if (glm::length(d) == 0.0f)
        return;
    transform = glm::translate(glm::mat4(1.0f), d) * transform;
}

void Skybox::reapplyAnisotropy() {
    if (!shader)
        return;
    for (unsigned int texture : faceTextures)
        ::reapplyAnisotropy(texture, true);
}
