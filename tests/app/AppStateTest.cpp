#include <gtest/gtest.h>

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "app/AppState.h"
#include "app/Application.h"

namespace {

glm::vec2 hudToNdc(const glm::mat4& hud, float x, float y) {
    glm::vec4 p = hud * glm::vec4(x, y, 0.0f, 1.0f);
    return glm::vec2(p.x, p.y);
}

TEST(AppState, StartsWithThreeSpareLivesNoFlagsAndThe1024x768Matrices) {
    resetAppState();
    EXPECT_EQ(getLives(), 3);
    EXPECT_FALSE(isGameOver());
    EXPECT_FALSE(isGameWon());
    EXPECT_EQ(getWindowWidth(), 1024);
    EXPECT_EQ(getWindowHeight(), 768);
    glm::mat4 expected = glm::perspective(glm::radians(60.0f), 1024.0f / 768.0f, 0.1f, 1000.0f);
    EXPECT_EQ(getProjectionMatrix(), expected);
    // The HUD spans -512..512 by -384..384.
    glm::vec2 corner = hudToNdc(getHudMatrix(), -512.0f, 384.0f);
    EXPECT_FLOAT_EQ(corner.x, -1.0f);
    EXPECT_FLOAT_EQ(corner.y, 1.0f);
}

TEST(AppState, OddWindowSizesUseIntegerHalvesOnTheLeftAndBottomEdges) {
    resetAppState();
    setWindowSize(1025, 767);
    glm::mat4 hud = getHudMatrix();
    EXPECT_EQ(hud, glm::ortho(-512.0f, 512.5f, -383.0f, 383.5f, -2.0f, 2.0f));
    EXPECT_FLOAT_EQ(hudToNdc(hud, -512.0f, -383.0f).x, -1.0f);
    EXPECT_FLOAT_EQ(hudToNdc(hud, 512.5f, 383.5f).y, 1.0f);
    // Projection follows the aspect of the new size, in floating point.
    EXPECT_EQ(getProjectionMatrix(),
              glm::perspective(glm::radians(60.0f), 1025.0f / 767.0f, 0.1f, 1000.0f));
    resetAppState();
}

bool isFinite(const glm::mat4& m) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (!std::isfinite(m[c][r]))
                return false;
    return true;
}

TEST(AppState, AMinimisedWindowKeepsFiniteMatrices) {
    // A minimised window reports a zero width, height or both.
    for (glm::ivec2 size : {glm::ivec2(800, 0), glm::ivec2(0, 600), glm::ivec2(0, 0)}) {
        setWindowSize(size.x, size.y);
        EXPECT_TRUE(isFinite(getProjectionMatrix())) << size.x << " x " << size.y;
        EXPECT_TRUE(isFinite(getHudMatrix())) << size.x << " x " << size.y;
    }
    resetAppState();
}

TEST(AppState, EndFlagsStaySetAndLivesAreStoredAsGiven) {
    resetAppState();
    setGameWon();
    setGameOver();
    setGameWon();
    EXPECT_TRUE(isGameWon());
    EXPECT_TRUE(isGameOver());
    setLives(0);
    EXPECT_EQ(getLives(), 0);
    resetAppState();
    EXPECT_FALSE(isGameWon());
}

TEST(GlErrorMessage, EveryErrorHasItsText) {
    EXPECT_STREQ(glErrorMessage(0), "");
    EXPECT_STREQ(glErrorMessage(0x500), "GL: enum argument out of range.");
    EXPECT_STREQ(glErrorMessage(0x501), "GL: Numeric argument out of range.");
    EXPECT_STREQ(glErrorMessage(0x502), "GL: Operation illegal in current state.");
    EXPECT_STREQ(glErrorMessage(0x505), "GL: Not enough memory left to execute command.");
    EXPECT_STREQ(glErrorMessage(0x506), "GL: Framebuffer object is not complete.");
    EXPECT_STREQ(glErrorMessage(0x503), "GL: Unknown error.");
    EXPECT_STREQ(glErrorMessage(0x504), "GL: Unknown error.");
    EXPECT_STREQ(glErrorMessage(0x1234), "GL: Unknown error.");
}

} // namespace
