#include <cmath>

#include "MotionWorld.h"
#include "NearlyEqual.h"
#include "level/LevelTable.h"

using MarbleMotion = MotionWorld;

TEST_F(MarbleMotion, DragSlowsARollingMarbleOnLevelGroundAndTheFloorTakesGravity) {
    physics().setVelocity({10, 0, 0});
    float speed = 10.0f;
    for (int i = 0; i < 60; ++i) {
        frame(dt);
        glm::vec3 v = physics().getVelocity();
        float expected = speed * (1.0f - 0.45f * dt);
        // Backing off from each floor contact tilts the sliding plane very slightly against
        // the motion, which costs well under 0.001 a frame.
        EXPECT_NEAR(expected, glm::length(horizontal(v)), 0.001f) << "frame " << i;
        // Gravity's 0.7 a frame is taken by the floor; only the push-out is left.
        EXPECT_LT(std::fabs(v.y), 0.05f);
        EXPECT_NEAR(1.001f, position().y, 0.001f);
        speed = glm::length(horizontal(v));
    }
    EXPECT_NEAR(10.0f * std::pow(1.0f - 0.45f * dt, 60.0f), speed, 0.06f);
    EXPECT_NEAR(0.0f, position().z - 5.0f, 1e-4f);
}

TEST_F(MarbleMotion, OppositeKeysCancelWhileDragAndGravityGoOn) {
    keys.press(GLFW_KEY_W);
    keys.press(GLFW_KEY_S);
    frames(30);
    EXPECT_EQ(glm::vec2(0, 0), horizontal(physics().getVelocity()));
    EXPECT_EQ(glm::vec2(5, 5), horizontal(position()));
    EXPECT_NEAR(1.001f, position().y, 0.001f);

    keys.release(GLFW_KEY_S);
    frame(dt);
    EXPECT_GT(glm::length(horizontal(physics().getVelocity())), 0.3f);
}

TEST_F(MarbleMotion, TwoOrThreeKeysSteerWithUnitStrengthRelativeToTheCamera) {
    // The camera looks along -z: W is -z, A is -x.
    keys.press(GLFW_KEY_W);
    keys.press(GLFW_KEY_A);
    frame(dt);
    glm::vec2 v = horizontal(physics().getVelocity());
    EXPECT_NEAR(24.0f * dt, glm::length(v), 24.0f * dt * 1e-3f) << "not 24 times sqrt 2";
    EXPECT_NEAR(-std::sqrt(0.5f), v.x / glm::length(v), 1e-4f);
    EXPECT_NEAR(-std::sqrt(0.5f), v.y / glm::length(v), 1e-4f);

    physics().setVelocity({0, 0, 0});
    keys.press(GLFW_KEY_D);
    frame(dt);
    v = horizontal(physics().getVelocity());
    EXPECT_NEAR(24.0f * dt, glm::length(v), 24.0f * dt * 1e-3f);
    EXPECT_NEAR(-1.0f, v.y / glm::length(v), 1e-4f) << "A and D cancel, W remains";
}

TEST_F(MarbleMotion, TheGamepadSteersLikeTheKeysAndNeverHarder) {
    // Camera along -z: the stick's up is -z, its right +x.
    const float full = 24.0f * dt;
    auto push = [&](float x, float y) {
        physics().setVelocity({0, 0, 0});
        gamepad.setLeftStick(x, y);
        frame(dt);
        return horizontal(physics().getVelocity());
    };
    glm::vec2 v = push(1.0f, -1.0f);
    EXPECT_NEAR(full, glm::length(v), full * 1e-3f) << "a full diagonal is the keys' push";
    EXPECT_NEAR(std::sqrt(0.5f), v.x / glm::length(v), 1e-4f);
    EXPECT_NEAR(-std::sqrt(0.5f), v.y / glm::length(v), 1e-4f);
    EXPECT_NEAR(0.5f * full, glm::length(push(0.0f, -0.6f)), full * 1e-3f);
    EXPECT_EQ(glm::vec2(0.0f), push(0.15f, -0.1f)) << "inside the dead zone";

    keys.press(GLFW_KEY_W);
    v = push(1.0f, 0.0f);
    EXPECT_NEAR(full, glm::length(v), full * 1e-3f) << "W and the stick together";
    // The chase camera has turned a little behind the rolling marble since the first push.
    EXPECT_NEAR(std::sqrt(0.5f), v.x / glm::length(v), 1e-3f);
    keys.release(GLFW_KEY_W);

    gamepad.setLeftStick(0.0f, 0.0f);
    gamepad.press(gamepad::DpadLeft);
    v = push(0.0f, 0.0f);
    EXPECT_NEAR(full, glm::length(v), full * 1e-3f);
    EXPECT_NEAR(-1.0f, v.x / glm::length(v), 1e-3f) << "the d-pad's left is A";
}

TEST_F(MarbleMotion, ASpeedBelowTheRestThresholdStopsTheMarbleWithoutTurningIt) {
    const glm::mat4 before = marble.getTransform();
    physics().setVelocity({0.0009f, 0, 0});
    frame(dt);
    EXPECT_EQ(0.0f, physics().getVelocity().x);
    EXPECT_EQ(5.0f, position().x);
    // The marble still took its gravity step: it moved vertically, without rotating.
    glm::mat4 after = marble.getTransform();
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(before[c], after[c]);

    physics().setVelocity({0.0012f, 0, 0});
    frame(dt);
    EXPECT_GT(physics().getVelocity().x, 0.001f);
}

TEST_F(MarbleMotion, RollingTurnsAboutUpCrossMotionByTheDistanceTravelled) {
    physics().setVelocity({6, 0, 0});
    const glm::vec3 start = position();
    frame(dt);
    const glm::vec3 d = position() - start;
    ASSERT_GT(d.x, 0.09f);

    const glm::mat4 m = marble.getTransform();
    float angle = std::acos(glm::clamp((m[0][0] + m[1][1] + m[2][2] - 1.0f) / 2.0f, -1.0f, 1.0f));
    EXPECT_NEAR(glm::length(d), angle, 1e-4f) << "one radian per unit";
    glm::vec3 axis =
        glm::normalize(glm::vec3(m[1][2] - m[2][1], m[2][0] - m[0][2], m[0][1] - m[1][0]));
    EXPECT_TRUE(nearlyEqual(glm::vec3(0.0f, 0.0f, -1.0f), axis, 1e-3f)) << "up x (+x) is -z";
    // Rolling forward carries the top of the marble ahead of its centre.
    EXPECT_GT((m * glm::vec4(0, 1, 0, 0)).x, 0.0f);
}

TEST_F(MarbleMotion, AFrameWithoutTimeMovesNothing) {
    physics().setVelocity({3, 0, 1});
    keys.press(GLFW_KEY_W);
    const glm::vec3 start = position();
    frame(0.0);
    frame(-0.5);
    EXPECT_EQ(start, position());
    EXPECT_EQ(glm::vec3(3, 0, 1), physics().getVelocity());
    frame(dt);
    EXPECT_NE(start, position());
}

TEST_F(MarbleMotion, AnEyeStraightAboveKeepsTheLastForwardDirection) {
    keys.press(GLFW_KEY_W);
    frame(dt); // forward is -z from here
    physics().setVelocity({0, 0, 0});
    const glm::vec3 m = position();
    camera.setMatrix(glm::lookAt(m + glm::vec3(0, 15, 0), m, glm::vec3(0, 0, -1)));
    frame(dt);
    glm::vec3 v = physics().getVelocity();
    ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
    EXPECT_NEAR(-24.0f * dt, v.z, 24.0f * dt * 1e-3f);
    EXPECT_NEAR(0.0f, v.x, 1e-5f);
    // Following from straight above, the chase camera falls back to standing behind the
    // marble as last steered.
    const glm::vec3 now = position();
    camera.setMatrix(glm::lookAt(now + glm::vec3(0, 15, 0), now, glm::vec3(0, 0, -1)));
    physics().followCamera();
    glm::vec3 eye = camera.getPosition();
    EXPECT_NEAR(15.0f, eye.z - now.z, 1e-3f);
    EXPECT_NEAR(now.x, eye.x, 1e-3f);
    EXPECT_NEAR(now.y + 4.0f, eye.y, 1e-3f);
}

TEST_F(MarbleMotion, AFallRestartsTheStepFromTheStartAtMostOnceAFrame) {
    // A plane just under the marble, away from the floor.
    planes.push_back(keep(modelOf({{{250, 0, 250}, {250, 0, 350}, {350, 0, 250}}})));
    marble.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(260, 1.005f, 260)));
    frame(dt);
    EXPECT_EQ(2, race.lives);
    const glm::vec3 start = level::startPosition;
    EXPECT_EQ(start.x, position().x);
    EXPECT_EQ(start.z, position().z);
    EXPECT_LT(position().y, start.y) << "the repeated step already fell a little";
    EXPECT_NEAR(-42.0f * dt, physics().getVelocity().y, 1e-4f);
}

TEST_F(MarbleMotion, AStartThatFallsOutAtOnceCostsOneMoreLifeAndNoMore) {
    planes.push_back(keep(modelOf({{{250, 0, 250}, {250, 0, 350}, {350, 0, 250}}})));
    const glm::vec3 s = level::startPosition;
    planes.push_back(
        keep(modelOf({{s + glm::vec3(-10, -1.001f, -10), s + glm::vec3(-10, -1.001f, 10),
                       s + glm::vec3(10, -1.001f, -10)}})));
    marble.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(260, 1.005f, 260)));
    frame(dt);
    EXPECT_EQ(1, race.lives);
    EXPECT_EQ(glm::translate(glm::mat4(1.0f), s), marble.getTransform());
    EXPECT_FALSE(race.isGameOver());
    frame(dt); // the third and the fourth loss
    EXPECT_TRUE(race.isGameOver());
    EXPECT_EQ(0, race.lives);
}
