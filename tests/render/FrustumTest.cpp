#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "render/Frustum.h"

namespace {

// The view the game starts with: 60 degrees, 4:3, near 0.1, far 1000, looking down -z.
glm::mat4 gameClip() {
    return glm::perspective(glm::radians(60.0f), 1024.0f / 768.0f, 0.1f, 1000.0f);
}

TEST(Frustum, PlanesComeFromTheClipMatrixRowsNormalisedOverAllFourCoefficients) {
    // An orthographic clip matrix has simple rows: row0 = (1,0,0,0), row1 = (0,0.5,0,0),
    // row2 = (0,0,-0.25,0) and row3 = (0,0,0,1) after the constant terms below.
    glm::mat4 clip(1.0f);
    clip[1][1] = 0.5f;
    clip[2][2] = -0.25f;
    clip[3][2] = 0.5f; // row 2 gets a constant
    Frustum frustum;
    frustum.update(clip);

    // top = row3 - row1 = (0, -0.5, 0, 1) divided by sqrt(1.25)
    float k = 1.0f / std::sqrt(1.25f);
    EXPECT_NEAR(frustum.plane(0).normal.y, -0.5f * k, 1e-6f);
    EXPECT_NEAR(frustum.plane(0).distance, k, 1e-6f);
    // bottom = row3 + row1
    EXPECT_NEAR(frustum.plane(1).normal.y, 0.5f * k, 1e-6f);
    // left = row3 + row0 = (1, 0, 0, 1) / sqrt(2); right = row3 - row0
    EXPECT_NEAR(frustum.plane(2).normal.x, 1.0f / std::sqrt(2.0f), 1e-6f);
    EXPECT_NEAR(frustum.plane(2).distance, 1.0f / std::sqrt(2.0f), 1e-6f);
    EXPECT_NEAR(frustum.plane(3).normal.x, -1.0f / std::sqrt(2.0f), 1e-6f);
    // near = row3 + row2 = (0, 0, -0.25, 1.5); far = row3 - row2 = (0, 0, 0.25, 0.5)
    float nearLength = std::sqrt(0.0625f + 2.25f);
    EXPECT_NEAR(frustum.plane(4).normal.z, -0.25f / nearLength, 1e-6f);
    EXPECT_NEAR(frustum.plane(4).distance, 1.5f / nearLength, 1e-6f);
    float farLength = std::sqrt(0.0625f + 0.25f);
    EXPECT_NEAR(frustum.plane(5).normal.z, 0.25f / farLength, 1e-6f);
    EXPECT_NEAR(frustum.plane(5).distance, 0.5f / farLength, 1e-6f);
}

TEST(Frustum, SpheresInsideOutsideAndStraddling) {
    Frustum frustum;
    frustum.update(gameClip());
    // The far plane's four-component length is about 0.2 (its d), so its distances shrink to
    // roughly 1 - z/1000: only small spheres are wholly inside, and only spheres well past
    // the far plane are out.
    EXPECT_EQ(frustum.testSphere(glm::vec3(0, 0, -50), 0.5f), Frustum::INSIDE);
    EXPECT_EQ(frustum.testSphere(glm::vec3(0, 0, -50), 1.0f), Frustum::INTERSECT);
    EXPECT_EQ(frustum.testSphere(glm::vec3(0, 0, 50), 1.0f), Frustum::OUTSIDE); // behind
    EXPECT_EQ(frustum.testSphere(glm::vec3(0, 0, -1500), 1.0f), Frustum::INTERSECT);
    EXPECT_EQ(frustum.testSphere(glm::vec3(0, 0, -5000), 1.0f), Frustum::OUTSIDE); // past far
    EXPECT_EQ(frustum.testSphere(glm::vec3(500, 0, -50), 1.0f), Frustum::OUTSIDE); // right
    // The scaled-down distances make the test generous: a big sphere whose centre is
    // behind the eye still reaches in.
    EXPECT_EQ(frustum.testSphere(glm::vec3(0, 0, 5), 150.0f), Frustum::INTERSECT);
    EXPECT_EQ(frustum.testSphere(glm::vec3(0, 0, -1), 5.0f), Frustum::INTERSECT); // near plane
}

// The signed distance exactly as the sphere test computes it, so a radius chosen from it
// lands on the boundary without rounding.
float distanceTo(const Frustum& frustum, int plane, const glm::vec3& point) {
    return glm::dot(frustum.plane(plane).normal, point) + frustum.plane(plane).distance;
}

TEST(Frustum, RadiusExactlyEqualToTheDistanceCountsAsInside) {
    Frustum frustum;
    frustum.update(gameClip());
    glm::vec3 centre(3.0f, -2.0f, -40.0f);
    float nearest = distanceTo(frustum, 0, centre);
    for (int i = 1; i < 6; ++i)
        nearest = std::min(nearest, distanceTo(frustum, i, centre));
    ASSERT_GT(nearest, 0.0f);
    EXPECT_EQ(frustum.testSphere(centre, nearest), Frustum::INSIDE);
    EXPECT_EQ(frustum.testSphere(centre, std::nextafter(nearest, 1e9f)), Frustum::INTERSECT);
}

TEST(Frustum, DistanceExactlyMinusRadiusIsNotOutside) {
    Frustum frustum;
    frustum.update(gameClip());
    // Far to the right of the view at 50 units: only the right plane (3) is negative.
    glm::vec3 centre(200.0f, 0.0f, -50.0f);
    float s = distanceTo(frustum, 3, centre);
    ASSERT_LT(s, 0.0f);
    for (int i = 0; i < 6; ++i) {
        if (i != 3) {
            ASSERT_GE(distanceTo(frustum, i, centre), s) << "plane " << i;
        }
    }
    EXPECT_EQ(frustum.testSphere(centre, -s), Frustum::INTERSECT);
    EXPECT_EQ(frustum.testSphere(centre, std::nextafter(-s, 0.0f)), Frustum::OUTSIDE);
}

TEST(Frustum, TheFirstRejectingPlaneDecidesWhateverFollows) {
    // A sphere outside two planes at once is outside, never merely intersecting.
    Frustum frustum;
    frustum.update(gameClip());
    EXPECT_EQ(frustum.testSphere(glm::vec3(400.0f, 400.0f, 100.0f), 1.0f), Frustum::OUTSIDE);
    // Moving the camera moves the volume: the same sphere is inside a turned view.
    glm::mat4 view = glm::lookAt(glm::vec3(0.0f), glm::vec3(1, 0, 0), glm::vec3(0, 1, 0));
    frustum.update(gameClip() * view);
    EXPECT_EQ(frustum.testSphere(glm::vec3(50, 0, 0), 0.5f), Frustum::INSIDE);
    EXPECT_EQ(frustum.testSphere(glm::vec3(0, 0, -50), 1.0f), Frustum::OUTSIDE);
}

} // namespace
