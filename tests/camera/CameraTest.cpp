#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "NearlyEqual.h"
#include "physics/Camera.h"

namespace {

TEST(Camera, TheEyeComesBackFromTheViewMatrix) {
    Camera camera(glm::mat4(1.0f));
    EXPECT_TRUE(nearlyEqual(camera.getPosition(), {0, 0, 0}, 1e-6f));
    camera.lookAt({37.92f, 21.0f, -349.11f}, {28.0f, 17.0f, -338.0f});
    EXPECT_TRUE(nearlyEqual(camera.getPosition(), {37.92f, 21.0f, -349.11f}, 1e-3f));
    // The marble lies straight ahead, on the view's -z axis.
    glm::vec4 marble = camera.getMatrix() * glm::vec4(28.0f, 17.0f, -338.0f, 1.0f);
    EXPECT_NEAR(marble.x, 0.0f, 1e-3f);
    EXPECT_NEAR(marble.y, 0.0f, 1e-3f);
    EXPECT_LT(marble.z, 0.0f);
    // A matrix set afterwards replaces the looked-at view; the eye follows it alone.
    camera.setMatrix(glm::translate(glm::mat4(1.0f), glm::vec3(-5.0f, -6.0f, -7.0f)));
    EXPECT_TRUE(nearlyEqual(camera.getPosition(), {5, 6, 7}, 1e-5f));
}

} // namespace
