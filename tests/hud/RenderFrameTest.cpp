#include <gtest/gtest.h>

#include <GL/glew.h>

#include "app/AppState.h"
#include "app/Application.h"
#include "app/DisplayOptions.h"
#include "app/RenderFrame.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/ScriptedKeys.h"
#include "support/GlTestContext.h"

// Frames composed without a scene and without the application's font: what is checked here
// is which branch runs and what it leaves behind, not the pictures.
namespace {

class RenderFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!ensureGlContext(1024, 768))
            GTEST_SKIP() << "no display";
        resetAppState();
        resetDisplayOptions();
        setScene(nullptr);
        platform::setKeySource(&keys);
    }
    void TearDown() override {
        platform::setKeySource(nullptr);
        resetAppState();
        resetDisplayOptions();
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    void frameWith(int key) {
        keys.press(key);
        renderFrame();
        keys.release(key);
        renderFrame();
    }

    ScriptedKeys keys;
};

GLint polygonMode() {
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0];
}

} // namespace

TEST_F(RenderFrameTest, KeysStillSwitchBehindAnEndScreenButNoLineCountsDown) {
    for (bool won : {true, false}) {
        resetAppState();
        resetDisplayOptions();
        won ? setGameWon() : setGameOver();
        frameWith(GLFW_KEY_F2);
        for (int i = 0; i < 5; ++i)
            renderFrame();
        EXPECT_TRUE(isShowFpsOn());
        EXPECT_EQ(getStatusFrames(2), 100) << (won ? "winner" : "game over");
    }
}

TEST_F(RenderFrameTest, WithoutAnEndScreenEachFrameCountsTheLinesDown) {
    frameWith(GLFW_KEY_F2);
    EXPECT_EQ(getStatusFrames(2), 98);
    // Setting the flag freezes the count where it is.
    setGameOver();
    renderFrame();
    EXPECT_EQ(getStatusFrames(2), 98);
}

TEST_F(RenderFrameTest, WireframeHoldsForEndScreensAndTheHud) {
    setGameWon();
    frameWith(GLFW_KEY_F3);
    EXPECT_TRUE(isWireframeOn());
    EXPECT_EQ(polygonMode(), GL_LINE);
    frameWith(GLFW_KEY_F3);
    EXPECT_EQ(polygonMode(), GL_FILL);

    resetAppState();
    frameWith(GLFW_KEY_F3);
    EXPECT_EQ(polygonMode(), GL_LINE);
}

TEST_F(RenderFrameTest, TheViewportFollowsTheWindowSizeAndHudStateIsReleased) {
    setWindowSize(800, 600);
    renderFrame();
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}
