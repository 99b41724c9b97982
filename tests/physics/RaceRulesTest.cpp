#include "MotionWorld.h"
#include "level/LevelTable.h"

using RaceRules = MotionWorld;

namespace {
// Lets the scene's countdown run for a while in one step (the scene has no physics world of
// its own).
void runCountdown(Scene& scene, double seconds) {
    scene.step(seconds, RaceInput());
}
} // namespace

TEST_F(RaceRules, ALostLifeRestoresTimeAndPutsTheMarbleBackAtRestAndUpright) {
    keys.press(GLFW_KEY_W);
    frames(20);
    runCountdown(scene, 42.0);
    ASSERT_LT(scene.getRemainingTime(), 260.0);
    ASSERT_NE(glm::vec3(0.0f), physics().getVelocity());

    loseLife();
    EXPECT_EQ(2, race.lives);
    EXPECT_FALSE(race.isGameOver());
    EXPECT_EQ(300.0, scene.getRemainingTime());
    EXPECT_EQ(glm::vec3(0.0f), physics().getVelocity());
    EXPECT_EQ(glm::translate(glm::mat4(1.0f), level::startPosition), marble.getTransform())
        << "the rolled orientation is discarded";
    EXPECT_EQ(PhysicsWorld::respawnView(), camera.getMatrix());
    const glm::vec3 eye = camera.getPosition(), centre = skybox.getCenter();
    EXPECT_NEAR(0.0f, glm::length(eye - centre), 1e-3f);
}

TEST_F(RaceRules, TheFourthLossEndsTheGameWithLivesAtZeroAndTheCountdownSpent) {
    for (int expected = 2; expected >= 0; --expected) {
        runCountdown(scene, 10.0);
        loseLife();
        EXPECT_EQ(expected, race.lives);
        EXPECT_EQ(300.0, scene.getRemainingTime());
        EXPECT_FALSE(race.isGameOver());
    }
    runCountdown(scene, 10.0);
    loseLife();
    EXPECT_TRUE(race.isGameOver());
    EXPECT_EQ(0, race.lives);
    EXPECT_EQ(290.0, scene.getRemainingTime());
    EXPECT_EQ(glm::translate(glm::mat4(1.0f), level::startPosition), marble.getTransform());
}

TEST_F(RaceRules, TouchingADeadlyObstacleCostsALifeAndTheStepGoesOnFromTheStart) {
    // A blade standing in the marble's way, 0.5 ahead of its surface.
    sawBeam = keep(modelOf({{{-5, -5, 0}, {5, -5, 0}, {0, 5, 0}}},
                           glm::translate(glm::mat4(1.0f), glm::vec3(5, 1, 3.5f)), 5.0));
    physics().setVelocity({0, 0, -12});
    // The test is made at the start of each step, on where the marble stands then.
    float gapAtStart = 0.0f;
    for (int i = 0; i < 20 && race.lives == 3; ++i) {
        gapAtStart = position().z - 3.5f;
        frame(dt);
    }
    EXPECT_EQ(2, race.lives);
    EXPECT_LT(gapAtStart, 1.0f);
    EXPECT_GT(gapAtStart, 1.0f - 12.0f * dt);
    // The step continued from the start: the marble fell a frame's worth there.
    const glm::vec3 s = level::startPosition;
    EXPECT_EQ(glm::vec2(s.x, s.z), horizontal(position()));
    EXPECT_LT(position().y, s.y);

    // A frame without time moves nothing, yet the obstacle is tested all the same.
    marble.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(5, 1, 4.2f)));
    frame(0.0);
    EXPECT_EQ(1, race.lives);
    EXPECT_EQ(s, position());
}
