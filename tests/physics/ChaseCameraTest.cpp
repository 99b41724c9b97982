#include <cmath>

#include "MotionWorld.h"
#include "NearlyEqual.h"
#include "level/LevelTable.h"

using ChaseCamera = MotionWorld;

namespace {
glm::vec2 horizontalDirection(const glm::vec3& from, const glm::vec3& to) {
    return glm::normalize(glm::vec2(to.x - from.x, to.z - from.z));
}
} // namespace

TEST_F(ChaseCamera, AtRestTheEyeSettles15AwayAnd4AboveOnItsOwnSide) {
    camera.lookAt(position() + glm::vec3(20, 30, -10), position());
    const glm::vec2 side = horizontalDirection(position(), camera.getPosition());
    frames(30);
    const glm::vec3 m = position();
    const glm::vec3 eye = camera.getPosition();
    EXPECT_NEAR(15.0f, glm::length(eye - m), 1e-3f);
    EXPECT_NEAR(4.0f, eye.y - m.y, 1e-3f);
    EXPECT_NEAR(std::sqrt(209.0f), glm::length(glm::vec2(eye.x - m.x, eye.z - m.z)), 1e-3f);
    EXPECT_GT(glm::dot(side, horizontalDirection(m, eye)), 0.9999f);
}

TEST_F(ChaseCamera, AFallingMarbleKeepsTheEye4AboveButNearerHorizontally) {
    marble.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(900, 300, 900)));
    camera.lookAt(position() + glm::vec3(0, 4, std::sqrt(209.0f)), position());
    for (int i = 0; i < 60; ++i) {
        frame(dt);
        EXPECT_NEAR(4.0f, camera.getPosition().y - position().y, 1e-3f);
    }
    const glm::vec3 eye = camera.getPosition();
    EXPECT_LT(glm::length(glm::vec2(eye.x - position().x, eye.z - position().z)), 14.4f)
        << "at rest it would be sqrt(209) = 14.457";
}

TEST_F(ChaseCamera, TheSkyboxFollowsTheEyeWithoutTurning) {
    const glm::mat4 turn = glm::rotate(glm::mat4(1.0f), 0.7f, glm::vec3(0, 1, 0));
    skybox.setTransform(turn);
    keys.press(GLFW_KEY_W);
    keys.press(GLFW_KEY_D);
    for (int i = 0; i < 20; ++i) {
        frame(dt);
        const glm::vec3 eye = camera.getPosition();
        const glm::vec3 centre = skybox.getCenter();
        EXPECT_TRUE(nearlyEqual(eye, centre, 1e-3f));
    }
    const glm::mat4 now = skybox.getTransform();
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(turn[c], now[c]);
}

TEST_F(ChaseCamera, ASkyboxAlreadyOnTheEyeIsLeftExactlyAsItIs) {
    const glm::mat4 placed = glm::translate(glm::mat4(1.0f), camera.getPosition()) *
                             glm::rotate(glm::mat4(1.0f), 0.3f, glm::vec3(1, 0, 0));
    skybox.setTransform(placed);
    skybox.centreOn(camera.getPosition());
    EXPECT_EQ(placed, skybox.getTransform());
}

TEST_F(ChaseCamera, TheRespawnViewMakesTheChaseCameraComeFromTheStartSide) {
    marble.setTransform(glm::translate(glm::mat4(1.0f), level::startPosition));
    camera.setMatrix(PhysicsWorld::respawnView());
    physics().followCamera();
    const glm::vec3 m = level::startPosition;
    const glm::vec3 eye = camera.getPosition();
    EXPECT_NEAR(4.0f, eye.y - m.y, 1e-3f);
    // W then rolls towards the lake, as at the very start.
    const glm::vec2 forward = horizontalDirection(eye, m);
    EXPECT_NEAR(-0.67f, forward.x, 0.01f);
    EXPECT_NEAR(0.74f, forward.y, 0.01f);
}
