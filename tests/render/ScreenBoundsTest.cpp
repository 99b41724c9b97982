// Where on the screen a mesh can show: the water and the shadow map save their work outside
// these bounds, so they must never be too small.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <glm/gtc/matrix_transform.hpp>

#include "render/ScreenBounds.h"

namespace {

const unsigned int quadIndices[6] = {0, 1, 2, 0, 2, 3};

glm::mat4 camera(const glm::vec3& eye, const glm::vec3& centre) {
    return glm::perspective(glm::radians(60.0f), 4.0f / 3.0f, 0.1f, 1000.0f) *
           glm::lookAt(eye, centre, glm::vec3(0.0f, 1.0f, 0.0f));
}

TEST(ScreenBounds, GroundReachingBehindTheEyeIsBoundedByWhatLiesInFront) {
    // A floor from 50 units behind the eye to 50 in front, looked at level from 2 above:
    // it fills the lower part of the view up to just under the horizon.
    const glm::vec4 floor[4] = {{-20, 0, 50, 1}, {20, 0, 50, 1}, {20, 0, -50, 1}, {-20, 0, -50, 1}};
    glm::mat4 clip = camera(glm::vec3(0, 2, 0), glm::vec3(0, 2, -1));
    ScreenBounds bounds = screenBoundsOf(floor, 4, quadIndices, 6, clip);
    ASSERT_FALSE(bounds.isEmpty());
    EXPECT_FLOAT_EQ(bounds.low.y, -1.0f);
    EXPECT_FLOAT_EQ(bounds.low.x, -1.0f);
    EXPECT_FLOAT_EQ(bounds.high.x, 1.0f);
    // The far edge, 50 ahead and 2 below the eye, is the highest point seen.
    glm::vec4 farEdge = clip * glm::vec4(0, 0, -50, 1);
    EXPECT_NEAR(bounds.high.y, farEdge.y / farEdge.w, 1e-5f);
    EXPECT_LT(bounds.high.y, 0.0f);

    // Every corner projected as it is would put the ones behind the eye above the horizon.
    glm::vec4 behind = clip * floor[0];
    EXPECT_GT(behind.y / behind.w, 0.0f);
}

TEST(ScreenBounds, NothingInViewIsEmptyAndBrokenCoordinatesGiveTheWholeView) {
    const glm::vec4 quad[4] = {{-5, -5, 20, 1}, {5, -5, 20, 1}, {5, 5, 20, 1}, {-5, 5, 20, 1}};
    glm::mat4 lookingAway = camera(glm::vec3(0.0f), glm::vec3(0, 0, -1));
    EXPECT_TRUE(screenBoundsOf(quad, 4, quadIndices, 6, lookingAway).isEmpty());
    glm::mat4 lookingAside = camera(glm::vec3(0.0f), glm::vec3(-1, 0, 0));
    EXPECT_TRUE(screenBoundsOf(quad, 4, quadIndices, 6, lookingAside).isEmpty());
    glm::mat4 lookingAt = camera(glm::vec3(0.0f), glm::vec3(0, 0, 1));
    EXPECT_FALSE(screenBoundsOf(quad, 4, quadIndices, 6, lookingAt).isEmpty());

    glm::vec4 broken[4] = {quad[0], quad[1], quad[2], quad[3]};
    broken[2].x = std::numeric_limits<float>::quiet_NaN();
    ScreenBounds whole = screenBoundsOf(broken, 4, quadIndices, 6, lookingAway);
    EXPECT_EQ(whole.low, glm::vec2(-1.0f));
    EXPECT_EQ(whole.high, glm::vec2(1.0f));
    // Indices past the vertices are skipped, not read.
    const unsigned int pastTheEnd[3] = {0, 1, 7};
    EXPECT_TRUE(screenBoundsOf(quad, 4, pastTheEnd, 3, lookingAt).isEmpty());
}

} // namespace
