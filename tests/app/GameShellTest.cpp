#include <gtest/gtest.h>

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "hud/HudMatrix.h"
#include "physics/RaceState.h"
#include "platform/GlErrorReport.h"
#include "render/Projection.h"
#include "scene/Scene.h"
#include "settings/GameOptions.h"

namespace {

glm::vec2 hudToNdc(const glm::mat4& hud, float x, float y) {
    glm::vec4 p = hud * glm::vec4(x, y, 0.0f, 1.0f);
    return glm::vec2(p.x, p.y);
}

TEST(GameShell, StartsWithThreeSpareLivesNoOutcomeAndThe1024x768Matrices) {
    const GameOptions defaults;
    Scene scene;
    EXPECT_EQ(scene.getRace().lives, 3);
    EXPECT_FALSE(scene.getRace().isOver());
    EXPECT_EQ(defaults.width, 1024);
    EXPECT_EQ(defaults.height, 768);
    glm::mat4 expected = glm::perspective(glm::radians(60.0f), 1024.0f / 768.0f, 0.1f, 1000.0f);
    EXPECT_EQ(scene.getProjectionMatrix(), expected);
    // The HUD spans -512..512 by -384..384.
    glm::vec2 corner = hudToNdc(computeHudMatrix(1024, 768), -512.0f, 384.0f);
    EXPECT_FLOAT_EQ(corner.x, -1.0f);
    EXPECT_FLOAT_EQ(corner.y, 1.0f);
}

TEST(GameShell, OddWindowSizesUseIntegerHalvesOnTheLeftAndBottomEdges) {
    glm::mat4 hud = computeHudMatrix(1025, 767);
    EXPECT_EQ(hud, glm::ortho(-512.0f, 512.5f, -383.0f, 383.5f, -2.0f, 2.0f));
    EXPECT_FLOAT_EQ(hudToNdc(hud, -512.0f, -383.0f).x, -1.0f);
    EXPECT_FLOAT_EQ(hudToNdc(hud, 512.5f, 383.5f).y, 1.0f);
    // Projection follows the aspect of the new size, in floating point.
    Scene scene;
    scene.setViewSize(1025, 767);
    EXPECT_EQ(scene.getProjectionMatrix(),
              glm::perspective(glm::radians(60.0f), 1025.0f / 767.0f, 0.1f, 1000.0f));
}

bool isFinite(const glm::mat4& m) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (!std::isfinite(m[c][r]))
                return false;
    return true;
}

TEST(GameShell, AMinimisedWindowKeepsFiniteMatrices) {
    // A minimised window reports a zero width, height or both.
    for (glm::ivec2 size : {glm::ivec2(800, 0), glm::ivec2(0, 600), glm::ivec2(0, 0)}) {
        EXPECT_TRUE(isFinite(computeProjectionMatrix(size.x, size.y))) << size.x << " x " << size.y;
        EXPECT_TRUE(isFinite(computeHudMatrix(size.x, size.y))) << size.x << " x " << size.y;
    }
}

TEST(GameShell, ARestartedRaceHasItsLivesCountdownAndNoOutcome) {
    RaceState race;
    race.outcome = RaceState::Outcome::Won;
    race.lives = 0;
    race.remainingTime = 12.0;
    race.simulationTime = 80.0;
    race.restart();
    EXPECT_FALSE(race.isOver());
    EXPECT_EQ(race.lives, 3);
    EXPECT_EQ(race.remainingTime, 300.0);
    EXPECT_EQ(race.simulationTime, 0.0);
}

TEST(GlErrorMessage, EveryErrorHasItsText) {
    using platform::glErrorMessage;
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
