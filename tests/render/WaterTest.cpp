// The water's off-screen renders and surface, on the fixture's lake.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <set>
#include <vector>

#include "PrintedOutput.h"
#include "RenderFixture.h"
#include "assets/AnimationModel.h"
#include "assets/Model.h"
#include "assets/Shader.h"
#include "physics/Camera.h"
#include "platform/Clock.h"
#include "platform/ScriptedClock.h"
#include "render/Water.h"
#include "scene/Scene.h"

namespace {

constexpr float lakeHeight = 9.3f;

class WaterRender : public fixture::SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_NE(scene->getLakeWater(), nullptr);
        ASSERT_NE(scene->getLake(), nullptr) << "the fixture writes a lake";
        // Over the lake, looking down at it from the shore.
        fixture::lookAt(glm::vec3(-22.84f, 15.0f, -262.0f), glm::vec3(-22.84f, 8.0f, -292.0f));
    }
    void TearDown() override {
        if (!scene)
            return;
        scene->getMainShader()->setClipPlane(glm::vec4(0.0f));
        scene->getAnimationShader()->setClipPlane(glm::vec4(0.0f));
        SceneTest::TearDown();
    }
};

std::vector<unsigned char> readTexture(unsigned int texture) {
    std::vector<unsigned char> texels(512 * 512 * 3);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

int countTexels(const std::vector<unsigned char>& texels, bool (*match)(int, int, int)) {
    int count = 0;
    for (size_t i = 0; i + 2 < texels.size(); i += 3)
        count += match(texels[i], texels[i + 1], texels[i + 2]) ? 1 : 0;
    return count;
}

bool red(int r, int g, int b) {
    return r > 100 && g < r / 3 && b < r / 3;
}
bool blue(int r, int g, int b) {
    return b > 100 && r < b / 3 && g < b / 3;
}

TEST_F(WaterRender, PlaneComesFromTheModelsHeight) {
    EXPECT_FLOAT_EQ(scene->getLakeWater()->getWaterPlane().y, 1.0f);
    EXPECT_FLOAT_EQ(scene->getLakeWater()->getWaterPlane().w, -lakeHeight);
}

TEST_F(WaterRender, ReflectionKeepsWhatIsAboveAndRefractionWhatIsBelow) {
    unsigned int redTexture = fixture::solidTexture(255, 0, 0);
    unsigned int blueTexture = fixture::solidTexture(0, 0, 255);
    Model* above = scene->getStaticModel(0);
    above->setTexture(redTexture);
    fixture::place(above, glm::vec3(-22.84f, lakeHeight + 2.5f, -285.0f));
    scene->getStaticModel(1)->setTexture(blueTexture);
    fixture::placeBanner(glm::vec3(-22.84f, lakeHeight - 2.5f, -285.0f));
    // Its origin is behind the eye; a generous sphere keeps culling out of this test.
    scene->getStaticModel(1)->setBoundingRadius(100.0);

    // A little aside, where mirroring the view twice does not round back to it exactly.
    fixture::lookAt(glm::vec3(-20.5f, 14.7f, -263.3f), glm::vec3(-22.84f, 8.0f, -292.0f));
    glm::mat4 viewBefore = scene->getCamera()->getMatrix();
    scene->renderShadowPass();
    scene->getLakeWater()->renderTextures();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    std::vector<unsigned char> reflection =
        readTexture(scene->getLakeWater()->getReflectionTexture());
    std::vector<unsigned char> refraction =
        readTexture(scene->getLakeWater()->getRefractionTexture());
    EXPECT_GT(countTexels(reflection, red), 100);
    EXPECT_EQ(countTexels(reflection, blue), 0);
    EXPECT_GT(countTexels(refraction, blue), 100);
    EXPECT_EQ(countTexels(refraction, red), 0);

    // The camera is back exactly where it was, not just up to the rounding of mirroring it
    // twice: the window's frame must be the one the player's camera sees. And so is the window.
    EXPECT_EQ(scene->getCamera()->getMatrix(), viewBefore);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], fixture::width);
    EXPECT_EQ(viewport[3], fixture::height);
    GLint framebuffer = -1, cullFace = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_EQ(cullFace, GL_BACK);
    EXPECT_FALSE(glIsEnabled(GL_CLIP_PLANE0));
    // The programs' plane is back to (0, 0, 0, 0), which clips nothing where they clip for
    // themselves (WebGL); the window pass is unclipped.
    EXPECT_EQ(scene->getMainShader()->clipPlane(), glm::vec4(0.0f));
    EXPECT_EQ(scene->getAnimationShader()->clipPlane(), glm::vec4(0.0f));
    std::vector<unsigned char> window = fixture::renderAndRead();
    EXPECT_GT(countTexels(window, red), 0);
    EXPECT_GT(countTexels(window, blue), 0);

    glDeleteTextures(1, &redTexture);
    glDeleteTextures(1, &blueTexture);
}

TEST_F(WaterRender, TheAnimatedModelIsClippedLikeTheOthers) {
    unsigned int redTexture = fixture::solidTexture(255, 0, 0);
    AnimationModel* barrier = scene->getAnimatedModel(0);
    barrier->setTexture(redTexture);
    Water* water = scene->getLakeWater();
    for (float offset : {2.5f, -2.5f}) {
        fixture::place(barrier, glm::vec3(-22.84f, lakeHeight + offset, -285.0f));
        scene->renderShadowPass();
        water->renderTextures();
        int reflected = countTexels(readTexture(water->getReflectionTexture()), red);
        int refracted = countTexels(readTexture(water->getRefractionTexture()), red);
        if (offset > 0.0f) {
            EXPECT_GT(reflected, 100);
            EXPECT_EQ(refracted, 0);
        } else {
            EXPECT_EQ(reflected, 0);
            EXPECT_GT(refracted, 100);
        }
    }
    glDeleteTextures(1, &redTexture);
}

TEST_F(WaterRender, SurfaceDrawsAndTheWavesAdvanceWithFrameTime) {
    Water* water = scene->getLakeWater();
    Clock frameClock;
    fixture::clock().advance(0.5);
    frameClock.tick();
    double frameTime = frameClock.getFrameTime();
    ASSERT_GT(frameTime, 0.0);
    float phase = water->getWavePhase();
    scene->renderShadowPass();
    water->renderTextures();
    scene->renderMainPass();
    water->draw(frameTime);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_NEAR(water->getWavePhase(), phase + frameTime * 0.2, 1e-5);
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    for (int unit = 0; unit < 5; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "unit " << unit;
    }
    glActiveTexture(GL_TEXTURE0);
}

namespace {

// The names of one kind of GL object that exist now. Drivers hand out either the next unused
// name or the lowest free one; both stay well within a few thousand above a fresh name here.
std::set<unsigned int> living(void (*generate)(GLsizei, GLuint*),
                              void (*remove)(GLsizei, const GLuint*), GLboolean (*exists)(GLuint)) {
    GLuint next = 0;
    generate(1, &next);
    remove(1, &next);
    std::set<unsigned int> names;
    for (GLuint name = 1; name <= next + 4096; ++name)
        if (exists(name))
            names.insert(name);
    return names;
}

} // namespace

TEST_F(WaterRender, DeletingTheWaterReleasesEverythingItsInitCreated) {
    auto textures = [] { return living(glGenTextures, glDeleteTextures, glIsTexture); };
    auto framebuffers = [] {
        return living(glGenFramebuffers, glDeleteFramebuffers, glIsFramebuffer);
    };
    auto renderbuffers = [] {
        return living(glGenRenderbuffers, glDeleteRenderbuffers, glIsRenderbuffer);
    };
    std::set<unsigned int> texturesBefore = textures();
    std::set<unsigned int> framebuffersBefore = framebuffers();
    std::set<unsigned int> renderbuffersBefore = renderbuffers();
    {
        const glm::mat4 projection = scene->getProjectionMatrix();
        Water::View view{scene->getCamera(), &projection, scene->getLightPosition(),
                         [this] { scene->renderMainPass(); }};
        Water water(scene->getLake(), view, scene->getMainShader(), scene->getAnimationShader());
        printedBy([&] { water.init(); });
        // Its render targets and its two wave maps.
        EXPECT_GE(textures().size(), texturesBefore.size() + 2);
    }
    EXPECT_EQ(textures(), texturesBefore);
    EXPECT_EQ(framebuffers(), framebuffersBefore);
    EXPECT_EQ(renderbuffers(), renderbuffersBefore);
}

void fillTexture(unsigned int texture, unsigned char r, unsigned char g, unsigned char b) {
    GLint size = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size);
    std::vector<unsigned char> texels(static_cast<size_t>(size) * size * 3);
    for (size_t i = 0; i + 2 < texels.size(); i += 3) {
        texels[i] = r;
        texels[i + 1] = g;
        texels[i + 2] = b;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
}

bool green(int r, int g, int b) {
    return g > r + 80 && g > b + 80;
}

TEST_F(WaterRender, SurfaceReadsOnlyWhatTheImagesDrewForIt) {
    // The whole lake in view with the land around it. The images are drawn only around where
    // the surface shows; what lies outside that keeps whatever it held (green here, a colour
    // nothing in the fixture has), and the surface, waves and all, must never reach it.
    fixture::lookAt(glm::vec3(-22.84f, 110.0f, -250.0f), glm::vec3(-22.84f, 9.3f, -298.84f));
    Water* water = scene->getLakeWater();
    fillTexture(water->getReflectionTexture(), 0, 255, 0);
    fillTexture(water->getRefractionTexture(), 0, 255, 0);
    scene->renderShadowPass();
    water->renderTextures();
    Water::ImageRegion region = water->getImageRegion();
    ASSERT_FALSE(region.isEmpty());
    EXPECT_GT(region.x, 0) << "the lake is meant to show whole, with land around it";
    EXPECT_LT(region.x + region.width, water->getTargetSize());
    std::vector<unsigned char> reflection = readTexture(water->getReflectionTexture());
    EXPECT_GT(countTexels(reflection, green), 0) << "green left outside the surface's region";

    scene->renderMainPass();
    water->draw(0.0);
    std::vector<unsigned char> window(fixture::width * fixture::height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, fixture::width, fixture::height, GL_RGB, GL_UNSIGNED_BYTE, window.data());
    EXPECT_EQ(countTexels(window, green), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(WaterRender, SurfaceOutOfViewDrawsNoImages) {
    Water* water = scene->getLakeWater();
    fixture::lookAt(glm::vec3(-22.84f, 15.0f, -262.0f), glm::vec3(-22.84f, 15.0f, -200.0f));
    fillTexture(water->getReflectionTexture(), 0, 255, 0);
    glm::vec4 clip = scene->getMainShader()->clipPlane();
    water->renderTextures();
    EXPECT_TRUE(water->getImageRegion().isEmpty());
    std::vector<unsigned char> reflection = readTexture(water->getReflectionTexture());
    EXPECT_EQ(reflection[0], 0);
    EXPECT_EQ(reflection[1], 255);
    EXPECT_EQ(scene->getMainShader()->clipPlane(), clip) << "no pass ran";
}

TEST_F(WaterRender, WaterWithoutAMeshDoesNothing) {
    const glm::mat4 projection = scene->getProjectionMatrix();
    Water::View sight{scene->getCamera(), &projection, scene->getLightPosition(),
                      [this] { scene->renderMainPass(); }};
    Water water(nullptr, sight, scene->getMainShader(), scene->getAnimationShader());
    EXPECT_EQ(water.getWaterPlane(), glm::vec4(0.0f, 1.0f, 0.0f, 0.0f));
    water.init();
    glm::mat4 view = scene->getCamera()->getMatrix();
    glm::vec4 clip = scene->getMainShader()->clipPlane();
    water.renderTextures();
    water.draw(0.5);
    EXPECT_EQ(scene->getCamera()->getMatrix(), view);
    EXPECT_EQ(scene->getMainShader()->clipPlane(), clip);
    EXPECT_FLOAT_EQ(water.getWavePhase(), 0.1f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
