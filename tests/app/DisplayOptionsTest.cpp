#include <gtest/gtest.h>

#include <GL/glew.h>

#include <vector>

#include "app/DisplayOptions.h"
#include "physics/RaceState.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/ScriptedKeys.h"
#include "scene/Scene.h"
#include "settings/GameOptions.h"
#include "support/GlTestContext.h"

namespace {

class DisplayOptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetDisplayOptions();
        platform::setKeySource(&keys);
    }
    void TearDown() override {
        platform::setKeySource(nullptr);
        resetDisplayOptions();
    }
    // One frame's poll with exactly these keys held.
    void frame(std::initializer_list<int> held) {
        keys.releaseAll();
        for (int key : held)
            keys.press(key);
        handleDisplayOptions(switched);
    }
    void tap(int key) {
        frame({key});
        frame({});
    }

    ScriptedKeys keys;
    // The scene the keys switch, when a test has one.
    Scene* switched = nullptr;
};

} // namespace

TEST_F(DisplayOptionsTest, HoldingAKeySwitchesOnceUntilReleased) {
    for (int i = 0; i < 20; ++i)
        frame({GLFW_KEY_F3});
    EXPECT_TRUE(isWireframeOn());
    EXPECT_EQ(getStatusText(3), "WIREFRAME ON");
    frame({});
    frame({GLFW_KEY_F3});
    EXPECT_FALSE(isWireframeOn());
    EXPECT_EQ(getStatusText(3), "WIREFRAME OFF");
}

TEST_F(DisplayOptionsTest, MipmapKeyCyclesOffNearestLinear) {
    const char* expected[3] = {"AUS", "NEAREST NEIGHBOR", "LINEAR"};
    const int modes[3] = {0, 1, 2};
    for (int press = 0; press < 3; ++press) {
        tap(GLFW_KEY_F5);
        EXPECT_EQ(getStatusText(5), expected[press]);
        EXPECT_EQ(getMipmapMode(), modes[press]);
        EXPECT_EQ(getStatusFrames(5), 100);
    }
    EXPECT_TRUE(isBilinearFilteringOn());
}

TEST_F(DisplayOptionsTest, FilterAndMipmapsStartAsChosenAndTheKeysGoOnFromThere) {
    GameOptions chosen;
    chosen.bilinearFiltering = false;
    chosen.mipmapMode = 0;
    resetDisplayOptions(chosen.bilinearFiltering, chosen.mipmapMode);
    EXPECT_FALSE(isBilinearFilteringOn());
    EXPECT_EQ(getMipmapMode(), 0);
    tap(GLFW_KEY_F5);
    EXPECT_EQ(getMipmapMode(), 1);
    tap(GLFW_KEY_F4);
    EXPECT_TRUE(isBilinearFilteringOn());
}

TEST_F(DisplayOptionsTest, FilterAndFpsKeysAnnounceTheirNewState) {
    tap(GLFW_KEY_F4);
    EXPECT_FALSE(isBilinearFilteringOn());
    EXPECT_EQ(getStatusText(4), "NEAREST NEIGHBOR");
    tap(GLFW_KEY_F4);
    EXPECT_EQ(getStatusText(4), "BILINEAR");
    tap(GLFW_KEY_F2);
    EXPECT_TRUE(isShowFpsOn());
    EXPECT_EQ(getStatusText(2), "Fps ON");
    tap(GLFW_KEY_F2);
    EXPECT_EQ(getStatusText(2), "Fps OFF");
}

TEST_F(DisplayOptionsTest, TwoKeysInOneFrameBothActInTheirOwnSlots) {
    frame({GLFW_KEY_F2, GLFW_KEY_F3});
    EXPECT_TRUE(isShowFpsOn());
    EXPECT_TRUE(isWireframeOn());
    EXPECT_EQ(getStatusFrames(2), 100);
    EXPECT_EQ(getStatusFrames(3), 100);
    // Releasing one while holding the other acts on neither.
    frame({GLFW_KEY_F3});
    EXPECT_TRUE(isShowFpsOn());
    EXPECT_TRUE(isWireframeOn());
}

TEST_F(DisplayOptionsTest, KeysWithoutAnOptionWriteNoSlot) {
    frame({GLFW_KEY_F1, GLFW_KEY_F7, GLFW_KEY_F10, GLFW_KEY_F11, GLFW_KEY_F12});
    for (int slot = 0; slot < 10; ++slot) {
        EXPECT_EQ(getStatusFrames(slot), 0) << slot;
        EXPECT_EQ(getStatusText(slot), "") << slot;
    }
    EXPECT_EQ(getStatusText(-1), "");
    EXPECT_EQ(getStatusFrames(10), 0);
}

TEST_F(DisplayOptionsTest, StatusLinesLastExactlyOneHundredHudFrames) {
    tap(GLFW_KEY_F2);
    for (int i = 0; i < 99; ++i)
        takeStatusLines();
    EXPECT_EQ(getStatusFrames(2), 1);
    EXPECT_EQ(getStatusText(2), "Fps ON");
    takeStatusLines();
    EXPECT_EQ(getStatusFrames(2), 0);
    takeStatusLines();
    EXPECT_EQ(getStatusFrames(2), 0);

    // A new press restarts the count and replaces the text; other lines keep their own.
    tap(GLFW_KEY_F3);
    for (int i = 0; i < 60; ++i)
        takeStatusLines();
    tap(GLFW_KEY_F3);
    tap(GLFW_KEY_F2);
    takeStatusLines();
    EXPECT_EQ(getStatusFrames(3), 99);
    EXPECT_EQ(getStatusText(3), "WIREFRAME OFF");
    EXPECT_EQ(getStatusFrames(2), 99);
}

TEST_F(DisplayOptionsTest, SceneSwitchesAnnounceTheSceneState) {
    Scene scene;
    switched = &scene;
    frame({GLFW_KEY_F6, GLFW_KEY_F8, GLFW_KEY_F9});
    EXPECT_FALSE(scene.isVboOn());
    EXPECT_FALSE(scene.isFrustumCullingOn());
    EXPECT_FALSE(scene.isTransparencyOn());
    EXPECT_EQ(getStatusText(6), "VA");
    EXPECT_EQ(getStatusText(8), "Frustum Culling OFF");
    EXPECT_EQ(getStatusText(9), "Transparenz OFF");
    frame({});
    frame({GLFW_KEY_F6, GLFW_KEY_F8, GLFW_KEY_F9});
    EXPECT_EQ(getStatusText(6), "VBO");
    EXPECT_EQ(getStatusText(8), "Frustum Culling ON");
    EXPECT_EQ(getStatusText(9), "Transparenz ON");
}

namespace {

GLint textureParameter(unsigned int name, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

} // namespace

TEST_F(DisplayOptionsTest, FilterKeysReloadTheLevelTexturesIntoTheSameNames) {
    if (!ensureGlContext(1024, 768))
        GTEST_SKIP() << "no display";
    Scene scene;
    scene.loadLevelTextures(true, 2);
    switched = &scene;
    const int count = 14;
    std::vector<unsigned int> before(scene.getLevelTextures(), scene.getLevelTextures() + count);
    for (unsigned int name : before)
        ASSERT_EQ(textureParameter(name, GL_TEXTURE_MAG_FILTER), GL_LINEAR);

    tap(GLFW_KEY_F4);
    EXPECT_EQ(getStatusText(4), "NEAREST NEIGHBOR");
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(scene.getLevelTextures()[i], before[i]);
        EXPECT_TRUE(glIsTexture(before[i]));
        EXPECT_EQ(textureParameter(before[i], GL_TEXTURE_MAG_FILTER), GL_NEAREST);
        EXPECT_EQ(textureParameter(before[i], GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    }

    // Mipmaps off with nearest filtering: plain nearest both ways, still in the same names.
    tap(GLFW_KEY_F5);
    EXPECT_EQ(getStatusText(5), "AUS");
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(scene.getLevelTextures()[i], before[i]);
        EXPECT_EQ(textureParameter(before[i], GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}
