#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cstring>
#include <functional>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "GlTestContext.h"
#include "QuietShader.h"
#include "TestFiles.h"
#include "assets/AnimationModel.h"
#include "assets/Model.h"
#include "assets/ModelCoordinates.h"
#include "assets/Shader.h"

namespace {

const char* plainVertex = R"(
in vec4 vertex;
in vec3 normal;
in vec2 texCoord;
uniform mat4 model;
out vec3 shade;
void main() {
    gl_Position = model * vertex;
    shade = vec3(texCoord, normal.z);
}
)";

const char* morphVertex = R"(
in vec4 vertex;
in vec4 vertexB;
in vec3 normal;
in vec3 normalB;
in vec2 texCoord;
uniform mat4 model;
uniform float weightingFact;
out vec3 shade;
void main() {
    gl_Position = model * mix(vertex, vertexB, weightingFact);
    shade = vec3(texCoord, mix(normal.z, normalB.z, weightingFact));
}
)";

const char* shadeFragment = R"(
in vec3 shade;
out vec4 fragColor;
void main() { fragColor = vec4(shade, 1.0); }
)";

// A quad of half-size `half` around (cx, 0) in clip space; texture coordinate (0.25, 0.75)
// and normal +z everywhere, so every lit pixel reads (64, 191, 255).
ModelCoordinates* makeQuad(float cx, float half) {
    glm::vec4* positions = new glm::vec4[4]{{cx - half, -half, 0, 1},
                                            {cx + half, -half, 0, 1},
                                            {cx + half, half, 0, 1},
                                            {cx - half, half, 0, 1}};
    glm::vec3* normals = new glm::vec3[4]{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    glm::vec2* texCoords = new glm::vec2[4];
    for (int i = 0; i < 4; ++i)
        texCoords[i] = glm::vec2(0.25f, 0.75f);
    unsigned int* indices = new unsigned int[6]{0, 1, 2, 0, 2, 3};
    return new ModelCoordinates(6, positions, 4, normals, texCoords, indices);
}

class ModelGl : public testing::Test {
  protected:
    void SetUp() override {
        if (!ensureGlContext())
            GTEST_SKIP() << "no display";
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glGetError();
    }

    Shader* loadShader(const char* name, const char* vertexSource) {
        std::string vert = writeScratchFile(std::string(name) + ".vert", vertexSource);
        std::string frag = writeScratchFile(std::string(name) + ".frag", shadeFragment);
        Shader* shader = new Shader();
        loadShaderQuietly(*shader, vert, frag);
        glUseProgram(shader->program());
        return shader;
    }

    static glm::u8vec4 pixelAt(float clipX, float clipY) {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        GLint x = GLint((clipX * 0.5f + 0.5f) * float(viewport[2]));
        GLint y = GLint((clipY * 0.5f + 0.5f) * float(viewport[3]));
        glm::u8vec4 pixel(0);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixel[0]);
        return pixel;
    }
};

} // namespace

TEST_F(ModelGl, BufferHoldsPositionsThenNormalsThenTexCoords) {
    glm::vec4* positions = new glm::vec4[10];
    glm::vec3* normals = new glm::vec3[10];
    glm::vec2* texCoords = new glm::vec2[10];
    for (int i = 0; i < 10; ++i) {
        positions[i] = glm::vec4(float(i), 0.5f * float(i), -float(i), 1.0f);
        normals[i] = glm::vec3(0.1f * float(i), 1.0f, 0.0f);
        texCoords[i] = glm::vec2(float(i), 2.0f);
    }
    unsigned int* indices = new unsigned int[12]{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 5};
    Model* model = new Model(new ModelCoordinates(12, positions, 10, normals, texCoords, indices));
    model->createBuffers();
    ASSERT_NE(model->getVertexBuffer(), 0u);
    ASSERT_NE(model->getIndexBuffer(), 0u);

    GLint bound = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(GLuint(bound), model->getVertexBuffer());
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(GLuint(bound), model->getIndexBuffer());

    GLint size = 0;
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(size, 360);
    std::vector<unsigned char> bytes(360);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, 360, bytes.data());
    EXPECT_EQ(std::memcmp(bytes.data(), positions, 160), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + 160, normals, 120), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + 280, texCoords, 80), 0);

    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(size, 48);
    std::vector<unsigned int> readIndices(12);
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, 48, readIndices.data());
    EXPECT_EQ(std::memcmp(readIndices.data(), indices, 48), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    GLuint vertexBuffer = model->getVertexBuffer();
    GLuint indexBuffer = model->getIndexBuffer();
    delete model;
    EXPECT_FALSE(glIsBuffer(vertexBuffer));
    EXPECT_FALSE(glIsBuffer(indexBuffer));
}

TEST_F(ModelGl, AllFourDrawsPlaceTheMeshByItsTransform) {
    Shader* shader = loadShader("plain", plainVertex);
    Model model(makeQuad(0.0f, 1.0f));
    model.setShader(shader);
    model.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(0.5f, 0, 0)) *
                       glm::scale(glm::mat4(1.0f), glm::vec3(0.25f)));
    model.createBuffers();
    std::function<void()> draws[] = {[&] { model.draw(); }, [&] { model.drawBuffered(); },
                                     [&] { model.drawUnlit(); },
                                     [&] { model.drawUnlitBuffered(); }};
    for (int d = 0; d < 4; ++d) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        draws[d]();
        glm::u8vec4 inside = pixelAt(0.5f, 0.0f);
        EXPECT_NEAR(inside.r, 64, 2) << "draw " << d;
        EXPECT_NEAR(inside.g, 191, 2) << "draw " << d;
        // Only the lit draws feed the normal.
        EXPECT_EQ(inside.b, d < 2 ? 255 : 0) << "draw " << d;
        EXPECT_EQ(pixelAt(0.0f, 0.0f), glm::u8vec4(0, 0, 0, 255)) << "draw " << d;
        GLint bound = -1;
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
        if (d % 2 == 1) {
            EXPECT_EQ(bound, 0) << "draw " << d;
        }
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "draw " << d;
    }
    delete shader;
}

TEST_F(ModelGl, AnimatedDrawBlendsTheSelectedPair) {
    Shader* shader = loadShader("morph", morphVertex);
    ModelCoordinates* mesh = makeQuad(0.0f, 0.1f);
    glm::vec4** poses = new glm::vec4*[2];
    for (int k = 0; k < 2; ++k) {
        poses[k] = new glm::vec4[4];
        for (int i = 0; i < 4; ++i)
            poses[k][i] = mesh->getPositions()[i] + glm::vec4(k == 0 ? -0.6f : 0.6f, 0, 0, 0);
    }
    AnimationModel stop(mesh, 4.0f, 2, poses);
    stop.setShader(shader);
    stop.update(1.0f); // phase 0.25: half-way from keyframe 0 to keyframe 1
    Model loaded(makeQuad(0.0f, 1.0f));
    loaded.createBuffers(); // leaves its buffers bound, as level loading does
    glClear(GL_COLOR_BUFFER_BIT);
    stop.drawAnimated();
    EXPECT_NEAR(stop.getWeight(), 0.5f, 1e-6f);
    EXPECT_EQ(pixelAt(0.0f, 0.0f), glm::u8vec4(64, 191, 255, 255));
    EXPECT_EQ(pixelAt(-0.6f, 0.0f), glm::u8vec4(0, 0, 0, 255));
    EXPECT_EQ(pixelAt(0.6f, 0.0f), glm::u8vec4(0, 0, 0, 255));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    delete shader;
}
