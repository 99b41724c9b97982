#include "render/Skybox.h"

#include <GL/glew.h>

#include "assets/TextureLoader.h"
#include "render/Shader.h"

namespace {

// Faces in draw order: up, bottom, front, back, right (x = -100), left (x = +100).
const glm::vec4 faceVertices[6][4] = {
    {{-100, 100, -100, 1}, {100, 100, -100, 1}, {100, 100, 100, 1}, {-100, 100, 100, 1}},
    {{100, -100, -100, 1}, {-100, -100, -100, 1}, {-100, -100, 100, 1}, {100, -100, 100, 1}},
    {{100, -100, -100, 1}, {-100, -100, -100, 1}, {-100, 100, -100, 1}, {100, 100, -100, 1}},
    {{-100, -100, 100, 1}, {100, -100, 100, 1}, {-100, 100, 100, 1}, {100, 100, 100, 1}},
    {{-100, -100, -100, 1}, {-100, -100, 100, 1}, {-100, 100, 100, 1}, {-100, 100, -100, 1}},
    {{100, -100, 100, 1}, {100, -100, -100, 1}, {100, 100, -100, 1}, {100, 100, 100, 1}},
};

const glm::vec2 faceTexCoords[6][4] = {
    {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}},
    {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}},
    {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
};

const unsigned int faceIndices[6][6] = {
    {0, 1, 2, 0, 2, 3}, {3, 2, 1, 3, 0, 1}, {0, 2, 1, 0, 3, 2},
    {0, 3, 1, 0, 2, 3}, {0, 3, 2, 0, 2, 1}, {0, 2, 1, 0, 3, 2},
};

// Index into faceTextures, in the order the files are loaded (right after left).
struct FaceFile {
    int slot;
    const char* path;
};
const FaceFile loadOrder[6] = {
    {0, "texture/Skybox/up.png"},    {1, "texture/Skybox/bottom.png"},
    {2, "texture/Skybox/front.png"}, {3, "texture/Skybox/back.png"},
    {5, "texture/Skybox/left.png"},  {4, "texture/Skybox/right.png"},
};

} // namespace

Skybox::~Skybox() {
    // Without init there are no GL objects (and maybe no context) to release.
    if (!shader)
        return;
    glDeleteTextures(6, faceTextures);
    delete shader;
}

void Skybox::init() {
    shader = new Shader();
    shader->load("shader/skybox_shader.vert", "shader/skybox_shader.frag");
    glGenTextures(6, faceTextures);
    for (const FaceFile& face : loadOrder)
        loadTexture(face.path, faceTextures, face.slot, false, true);
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
    for (int face = 0; face < 6; ++face) {
        glBindTexture(GL_TEXTURE_2D, faceTextures[face]);
        shader->drawTextured(faceVertices[face], faceTexCoords[face], faceIndices[face], 6);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
}
