#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "NearlyEqual.h"
#include "level/LevelTable.h"
#include "physics/Camera.h"

namespace {

glm::vec3 apply(const glm::mat4& m, const glm::vec3& p, float w = 1.0f) {
    return glm::vec3(m * glm::vec4(p, w));
}

TEST(LevelTable, RotatedPlacementsTurnTheWayTheLevelWasLaidOut) {
    // The stop barrier turns 90 degrees about -y: local +x faces world +z.
    EXPECT_TRUE(nearlyEqual(apply(level::stopMatrix(), {1, 0, 0}, 0.0f), {0, 0, 1}, 1e-6f));
    EXPECT_TRUE(nearlyEqual(apply(level::stopMatrix(), {0, 0, 1}, 0.0f), {-1, 0, 0}, 1e-6f));
    EXPECT_TRUE(nearlyEqual(apply(level::stopMatrix(), {0, 0, 0}), {-31, 12, -338}, 1e-5f));
    // The gate turns 90 degrees about +y: local +x faces world -z.
    EXPECT_TRUE(nearlyEqual(apply(level::finishMatrix(), {1, 0, 0}, 0.0f), {0, 0, -1}, 1e-6f));
    // The river's three turns amount to one turn about y by about -86.3 degrees.
    glm::vec3 along = apply(level::riverMatrix(), {1, 0, 0}, 0.0f);
    EXPECT_TRUE(nearlyEqual(along, {0.064f, 0.0f, 0.998f}, 2e-3f));
    EXPECT_TRUE(nearlyEqual(apply(level::riverMatrix(), {0, 1, 0}, 0.0f), {0, 1, 0}, 1e-5f));
    EXPECT_TRUE(
        nearlyEqual(apply(level::riverMatrix(), {0, 0, 0}), {-3.162f, -1.509f, 23.84f}, 1e-5f));
}

TEST(LevelTable, FirstViewLooksAtTheMarbleFromBehindTheStart) {
    // The start matrix only fixes the side: the chase camera then puts the eye 15 from the
    // marble, 4 above it, in the direction of the start eye.
    Camera camera(level::cameraStartMatrix());
    glm::vec3 marble = level::startPosition;
    glm::vec3 d = glm::normalize(camera.getPosition() - marble);
    glm::vec3 eye = marble + 15.0f * d;
    eye.y = marble.y + 4.0f;
    EXPECT_TRUE(nearlyEqual(eye, {37.92f, 21.0f, -349.11f}, 0.05f));
    // W at the start rolls from the eye toward the marble, in the horizontal plane: the lake.
    glm::vec3 forward = glm::normalize(glm::vec3(marble.x - eye.x, 0.0f, marble.z - eye.z));
    EXPECT_TRUE(nearlyEqual(forward, {-0.666f, 0.0f, 0.746f}, 2e-3f));
}

TEST(LevelTable, SawIsTwoUpAtTheStartTwoDownAfterOneSecondAndSpinsWithoutWrapping) {
    EXPECT_TRUE(nearlyEqual(apply(level::sawParentTransform(0.0f), {0, 0, 0}), {0, 2, 0}, 1e-6f));
    EXPECT_TRUE(nearlyEqual(apply(level::sawParentTransform(1.0f), {0, 0, 0}), {0, -2, 0}, 1e-5f));
    EXPECT_TRUE(nearlyEqual(apply(level::sawParentTransform(0.5f), {0, 0, 0}), {0, 0, 0}, 1e-5f));
    // 280 degrees per second about -z: after 1 s a point on +x has turned to 280 degrees
    // clockwise seen from +z, i.e. to the angle -280 = +80 degrees.
    glm::vec3 p = apply(level::sawBladeLocalTransform(1.0f), {1, 0, 0});
    EXPECT_TRUE(nearlyEqual(p, {std::cos(glm::radians(80.0f)), std::sin(glm::radians(80.0f)), 0.0f},
                            1e-5f));
    // After 10 s: 2800 degrees, the same as 280.
    glm::vec3 q = apply(level::sawBladeLocalTransform(10.0f), {1, 0, 0});
    EXPECT_TRUE(nearlyEqual(q, p, 1e-3f));
}

} // namespace
