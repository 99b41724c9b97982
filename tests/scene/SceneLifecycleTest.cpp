// The scene on the real generated level: start-up order, the per-frame update order, texture
// reloads and a clean release. Needs a display and the generated data in run/.
#include <memory>

#include <gtest/gtest.h>

#include <AL/al.h>
#include <GL/glew.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ChaseView.h"
#include "GlTestContext.h"
#include "PrintedOutput.h"
#include "QuietScene.h"
#include "TextCounts.h"
#include "app/DisplayOptions.h"
#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/ModelCoordinates.h"
#include "assets/Sphere.h"
#include "level/LevelTable.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/ScriptedClock.h"
#include "platform/ScriptedKeys.h"
#include "render/Skybox.h"
#include "scene/Scene.h"
#include "session/PlayerInput.h"
#include "settings/GameOptions.h"
#include "sound/BackgroundMusic.h"

namespace {

class SceneLifecycleTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!ensureGlContext())
            GTEST_SKIP() << "no display";
        setenv("ALSOFT_DRIVERS", "null", 1);
        time.set(100.0);
        platform::setTimeSource(&time);
        platform::setKeySource(&keys);
    }
    void TearDown() override {
        platform::setTimeSource(nullptr);
        platform::setKeySource(nullptr);
    }

    // One frame of the game's update, with the clock advanced by dt.
    void frame(Scene& scene, double dt) {
        time.advance(dt);
        if (!frameClock)
            frameClock.reset(new Clock());
        frameClock->tick();
        frameClock->countFrame();
        scene.advance(frameClock->getFrameTime(), playerInput());
    }

    ScriptedClock time;
    ScriptedKeys keys;
    // The game's frame clock, made where the game makes it: for the first frame.
    std::unique_ptr<Clock> frameClock;
};

TEST_F(SceneLifecycleTest, InitLoadsThePlacedLevelAndUpdateRunsTheRaceClock) {
    Scene scene;
    std::string out = startSceneQuietly(scene);
    // Four scene programs, the skybox's and the two water surfaces'.
    EXPECT_EQ(countOf(out, "Shader-program linked successfully."), 7) << out;
    EXPECT_EQ(countOf(out, "Texture could not be loaded"), 0) << out;
    EXPECT_EQ(countOf(out, "GL: Error while binding"), 0) << out;

    ASSERT_NE(scene.getMarble(), nullptr);
    EXPECT_EQ(scene.getMarble()->getBoundingCenter(), level::startPosition);
    EXPECT_TRUE(seesTheStartFromBehind(scene));
    ASSERT_EQ(scene.getStaticCount(), 7);
    EXPECT_EQ(scene.getStaticModel(4), scene.getSawBeam());
    EXPECT_EQ(scene.getStaticModel(5), scene.getSawBlade());
    EXPECT_EQ(scene.getStaticModel(6), scene.getAnimatedModel(0));
    EXPECT_DOUBLE_EQ(scene.getGroundModel(2)->getBoundingRadius(), 150.0);
    EXPECT_DOUBLE_EQ(scene.getTransparentModel(2)->getBoundingRadius(), 4.0);
    EXPECT_EQ(scene.getGroundModel(0)->getTexture(), scene.getLevelTextures()[level::PathTexture]);
    EXPECT_EQ(scene.getTransparentModel(0)->getAlphaMap(),
              scene.getLevelTextures()[level::TreeAlpha]);

    // The game starts its clock with the first frame; here it starts right after loading.
    frameClock.reset(new Clock());
    // The first frame takes its time off the countdown and moves the saw.
    frame(scene, 0.25);
    EXPECT_NEAR(scene.getRemainingTime(), 299.75, 1e-9);
    glm::vec3 saw = scene.getSawBeam()->getBoundingCenter();
    EXPECT_NEAR(saw.y, 4.0f + 2.0f * std::cos(3.1415927f * 0.25f), 1e-4f);
    EXPECT_GT(scene.getAnimatedModel(0)->getPhase(), 0.0f);
    EXPECT_EQ(scene.getRace().lives, 3);

    // A stalled frame takes no more than a quarter second off the countdown.
    frame(scene, 300.0);
    EXPECT_NEAR(scene.getRemainingTime(), 299.5, 1e-9);
    EXPECT_EQ(scene.getRace().lives, 3);
    // A step longer than what is left costs one life in that same step and restores the time.
    scene.step(300.0, RaceInput());
    EXPECT_EQ(scene.getRace().lives, 2);
    EXPECT_DOUBLE_EQ(scene.getRemainingTime(), 300.0);
    EXPECT_NEAR(scene.getMarble()->getBoundingCenter().x, level::startPosition.x, 1.0f);
}

TEST_F(SceneLifecycleTest, ReloadingTexturesKeepsTheSameFourteenNames) {
    Scene scene;
    capturePrinted();
    scene.loadLevelTextures(true, 2);
    std::vector<unsigned int> before(scene.getLevelTextures(), scene.getLevelTextures() + 14);
    scene.loadLevelTextures(false, 0);
    scene.loadLevelTextures(true, 1);
    takePrinted();
    std::vector<unsigned int> after(scene.getLevelTextures(), scene.getLevelTextures() + 14);
    EXPECT_EQ(before, after);
    for (unsigned int name : after)
        EXPECT_TRUE(glIsTexture(name));
    glBindTexture(GL_TEXTURE_2D, after[0]);
    GLint minFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_NEAREST_MIPMAP_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(SceneLifecycleTest, ShutdownRightAfterStartUpReleasesTheLevelsGlObjects) {
    std::vector<unsigned int> textures;
    unsigned int vertexBuffer = 0;
    unsigned int shadowTexture = 0;
    {
        Scene scene;
        startSceneQuietly(scene);
        textures.assign(scene.getLevelTextures(), scene.getLevelTextures() + 14);
        vertexBuffer = scene.getGroundModel(2)->getVertexBuffer();
        shadowTexture = scene.getShadowDepthTexture();
        EXPECT_TRUE(glIsBuffer(vertexBuffer));
        EXPECT_TRUE(glIsTexture(shadowTexture));
    }
    for (unsigned int name : textures)
        EXPECT_FALSE(glIsTexture(name));
    EXPECT_FALSE(glIsBuffer(vertexBuffer));
    EXPECT_FALSE(glIsTexture(shadowTexture));
}

TEST_F(SceneLifecycleTest, StartUpLoadsTexturesAndMusicAsThePlayerChose) {
    GameOptions chosen;
    chosen.bilinearFiltering = false;
    chosen.mipmapMode = 0;
    chosen.musicVolume = 0.25;
    {
        Scene scene;
        scene.setStartTextureMode(chosen.bilinearFiltering, chosen.mipmapMode);
        scene.setMusicVolume(static_cast<float>(chosen.musicVolume));
        startSceneQuietly(scene);
        for (int i = 0; i < 14; ++i) {
            glBindTexture(GL_TEXTURE_2D, scene.getLevelTextures()[i]);
            GLint magFilter = 0;
            GLint minFilter = 0;
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
            glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
            EXPECT_EQ(magFilter, GL_NEAREST) << i;
            EXPECT_EQ(minFilter, GL_NEAREST) << i;
        }
        glBindTexture(GL_TEXTURE_2D, 0);
        ALfloat gain = -1.0f;
        alGetSourcef(scene.getMusic()->getSource(), AL_GAIN, &gain);
        EXPECT_FLOAT_EQ(gain, 0.25f);
    }
}

} // namespace
