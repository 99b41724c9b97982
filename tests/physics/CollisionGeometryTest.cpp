#include <cmath>

#include <gtest/gtest.h>

#include "NearlyEqual.h"
#include "physics/CollisionGeometry.h"

using namespace collision;

namespace {

// A right triangle in the plane y = 0, facing up, legs of 10 along +z and +x from the origin.
const Triangle floorCorner{{0, 0, 0}, {0, 0, 10}, {10, 0, 0}};

int sweep(const glm::vec3& base, const glm::vec3& velocity, const Triangle& triangle,
          CollisionPacket& packet) {
    packet = makePacket(base, velocity);
    return sweepSphereTriangle(packet, triangle);
}

} // namespace

TEST(TriangleTests, NormalFollowsCornerOrderAndPrismIgnoresHeight) {
    EXPECT_TRUE(nearlyEqual({0, 1, 0}, triangleNormal(floorCorner), 0.0f));
    Triangle flipped{floorCorner.c0, floorCorner.c2, floorCorner.c1};
    EXPECT_TRUE(nearlyEqual({0, -1, 0}, triangleNormal(flipped), 0.0f));

    glm::vec3 n(0, 1, 0);
    EXPECT_TRUE(pointInTriangle(floorCorner, n, {2, 0, 2}));
    EXPECT_TRUE(pointInTriangle(floorCorner, n, {2, 500, 2}));
    EXPECT_TRUE(pointInTriangle(floorCorner, n, {2, -500, 2}));
    EXPECT_TRUE(pointInTriangle(floorCorner, n, {0, 3, 5})) << "a point on an edge is inside";
    EXPECT_TRUE(pointInTriangle(floorCorner, n, {5, 3, 5})) << "on the long edge";
    EXPECT_FALSE(pointInTriangle(floorCorner, n, {-0.01f, 0, 5}));
    EXPECT_FALSE(pointInTriangle(floorCorner, n, {5.01f, 0, 5}));
}

TEST(TriangleTests, ZeroAreaTrianglesAreSkippedByEveryTest) {
    const Triangle line{{0, 0, 0}, {5, 0, 0}, {10, 0, 0}};
    const Triangle point{{1, 1, 1}, {1, 1, 1}, {1, 1, 1}};
    for (const Triangle& t : {line, point}) {
        EXPECT_FALSE(hasArea(t));
        CollisionPacket packet;
        EXPECT_EQ(NoHit, sweep({5, 0.5f, 0}, {0, -2, 0}, t, packet));
        EXPECT_EQ(NoHit, sweep({-3, 0, 0}, {6, 0, 0}, t, packet));
        EXPECT_FALSE(sphereTouchesTriangle(t.c1, t));
    }
    EXPECT_TRUE(hasArea(floorCorner));
}

// Face, corner and edge contacts of a sphere dropping on the triangle, with their times.
TEST(SweepTests, FaceCornerAndEdgeHitsReportTheirContactAndDistance) {
    CollisionPacket packet;
    // Straight down inside the triangle: the lowest point meets the plane at t = 0.5.
    ASSERT_EQ(FaceHit, sweep({2, 3, 2}, {0, -4, 0}, floorCorner, packet));
    EXPECT_DOUBLE_EQ(2.0, packet.nearestDistance);
    EXPECT_TRUE(nearlyEqual({2, 0, 2}, packet.intersectionPoint, 1e-6f));

    // Down just outside the corner at the origin: only the corner is in reach,
    // touched when (3 - 4t)^2 + 0.5 = 1.
    ASSERT_EQ(CornerHit, sweep({-0.5f, 3, -0.5f}, {0, -4, 0}, floorCorner, packet));
    EXPECT_NEAR(3.0 - std::sqrt(0.5), packet.nearestDistance, 1e-6);
    EXPECT_TRUE(nearlyEqual({0, 0, 0}, packet.intersectionPoint, 0.0f));

    // Down just beside the edge along z: touched when 0.25 + y^2 = 1, in the edge's middle.
    ASSERT_EQ(EdgeHit, sweep({-0.5f, 3, 5}, {0, -4, 0}, floorCorner, packet));
    EXPECT_NEAR(3.0 - std::sqrt(0.75), packet.nearestDistance, 1e-6);
    EXPECT_TRUE(nearlyEqual({0, 0, 5}, packet.intersectionPoint, 1e-6f));

    // Too short a step to reach anything.
    EXPECT_EQ(NoHit, sweep({2, 3, 2}, {0, -1.9f, 0}, floorCorner, packet));
    EXPECT_EQ(NoHit, sweep({-0.5f, 3, 5}, {0, -2.1f, 0}, floorCorner, packet));
}

TEST(SweepTests, ACornerMetBeforeTheEdgesWouldBeBeyondTheirEnds) {
    CollisionPacket packet;
    // Sliding in the plane towards the corner at (0, 0, 10) from straight beyond it: the
    // corner is met at t = 0.5; the edges through it only beyond their ends.
    ASSERT_EQ(CornerHit, sweep({0, 0, 13}, {0, 0, -4}, floorCorner, packet));
    EXPECT_NEAR(2.0, packet.nearestDistance, 1e-6);
    EXPECT_TRUE(nearlyEqual({0, 0, 10}, packet.intersectionPoint, 0.0f));
}

TEST(SweepTests, MovingAwayFromTheFrontOrSeeingTheBackNeverBlocks) {
    CollisionPacket packet;
    EXPECT_EQ(NoHit, sweep({2, -0.5f, 2}, {0, 4, 0}, floorCorner, packet));
    EXPECT_EQ(NoHit, sweep({2, 0.5f, 2}, {0, 4, 0}, floorCorner, packet)) << "embedded, leaving";
    Triangle flipped{floorCorner.c0, floorCorner.c2, floorCorner.c1};
    EXPECT_EQ(NoHit, sweep({2, 3, 2}, {0, -4, 0}, flipped, packet));
    EXPECT_EQ(NoHit, sweep({2, -3, 2}, {0, 4, 0}, floorCorner, packet));
}

TEST(SweepTests, AnEmbeddedSphereMovingIntoTheFaceHitsAtOnce) {
    CollisionPacket packet;
    ASSERT_EQ(FaceHit, sweep({2, 0.5f, 2}, {0, -1, 0}, floorCorner, packet));
    EXPECT_EQ(0.0, packet.nearestDistance);
    // Responding backs the sphere off against its motion.
    respondToCollision(packet);
    EXPECT_NEAR(0.501f, packet.basePoint.y, 1e-6f);
}

TEST(SweepTests, AParallelEmbeddedSphereMeetsOnlyCornersAndEdges) {
    CollisionPacket packet;
    // Centre 0.5 above the plane, over the triangle, sliding along it: no face contact.
    EXPECT_EQ(NoHit, sweep({3, 0.5f, 3}, {1, 0, 0}, floorCorner, packet));
    // From beside the triangle towards the edge along z: met when the horizontal
    // distance is sqrt(0.75).
    ASSERT_EQ(EdgeHit, sweep({-3, 0.5f, 5}, {4, 0, 0}, floorCorner, packet));
    EXPECT_NEAR(3.0 - std::sqrt(0.75), packet.nearestDistance, 1e-6);
    EXPECT_TRUE(nearlyEqual({0, 0, 5}, packet.intersectionPoint, 1e-6f));
    // A parallel sphere clear of the plane never touches it.
    EXPECT_EQ(NoHit, sweep({-3, 1.0f, 5}, {4, 0, 0}, floorCorner, packet));
}

TEST(SweepTests, RootsAreStrictlyInsideTheStep) {
    // Touching exactly at the end of the step, or already touching at its start, is no hit.
    EXPECT_EQ(-1.0, sweepVertex({0, 0, 0}, {2, 0, 0}, 4.0, {3, 0, 0}, 1.0));
    EXPECT_NEAR(0.5, sweepVertex({0, 0, 0}, {4, 0, 0}, 16.0, {3, 0, 0}, 1.0), 1e-12);
    EXPECT_EQ(-1.0, sweepVertex({0, 0, 0}, {4, 0, 0}, 16.0, {3, 0, 0}, 0.5));
    EXPECT_EQ(-1.0, sweepVertex({0, 0, 0}, {4, 0, 0}, 16.0, {0.5f, 0, 0}, 1.0));
    EXPECT_EQ(-1.0, sweepVertex({0, 0, 0}, {0, 0, 0}, 0.0, {0.5f, 0, 0}, 1.0));

    glm::vec3 contact(-7.0f);
    EXPECT_NEAR(0.5, sweepEdge({0, 0, 0}, {4, 0, 0}, 16.0, {3, 0, -1}, {3, 0, 1}, 1.0, contact),
                1e-12);
    EXPECT_TRUE(nearlyEqual({3, 0, 0}, contact, 1e-6f));
    // Past the end of the segment, and moving along the edge's own line.
    EXPECT_EQ(-1.0, sweepEdge({0, 0, 0}, {4, 0, 0}, 16.0, {3, 0, 1}, {3, 0, 5}, 1.0, contact));
    EXPECT_EQ(-1.0, sweepEdge({0, 0, 0}, {4, 0, 0}, 16.0, {2, 0, 0}, {6, 0, 0}, 1.0, contact));
}

// Resting on a floor with only gravity: the marble stops 0.001 short and keeps only what
// runs along the floor, plus the push-out.
TEST(ResponseTests, GravityOnAFloorLeavesOnlyThePushOut) {
    CollisionPacket packet = makePacket({2, 1.001f, 2}, {0, -0.01f, 0});
    ASSERT_EQ(FaceHit, sweepSphereTriangle(packet, floorCorner));
    EXPECT_NEAR(0.001, packet.nearestDistance, 1e-6);
    respondToCollision(packet);
    EXPECT_NEAR(1.001f, packet.basePoint.y, 2e-6f);
    EXPECT_EQ(0.0f, packet.velocity.x);
    EXPECT_EQ(0.0f, packet.velocity.z);
    EXPECT_NEAR(0.00001f, packet.velocity.y, 1e-9f);
}

TEST(ResponseTests, ASlideKeepsTheWholeAlongPartAndPushesAwayFromTheContact) {
    const glm::vec3 v(0.5f, -0.01f, 0.25f);
    CollisionPacket packet = makePacket({2, 1.001f, 2}, v);
    ASSERT_EQ(FaceHit, sweepSphereTriangle(packet, floorCorner));
    const glm::vec3 contact = packet.intersectionPoint;
    respondToCollision(packet);
    // Stopped 0.001 short of the contact along the motion.
    const double travelled = glm::length(glm::dvec3(packet.basePoint) - glm::dvec3(2, 1.001, 2));
    EXPECT_NEAR(0.1 * glm::length(v) - 0.001, travelled, 1e-5);
    // The new velocity leaves the sliding plane by exactly the push-out...
    glm::vec3 n = glm::normalize(packet.basePoint - contact);
    EXPECT_NEAR(0.00001, glm::dot(glm::dvec3(n), glm::dvec3(packet.velocity)), 1e-8);
    // ...and keeps the part along the floor, not shortened by the distance travelled.
    EXPECT_NEAR(v.x, packet.velocity.x, 1e-4f);
    EXPECT_NEAR(v.z, packet.velocity.z, 1e-4f);
    EXPECT_GT(packet.velocity.y, 0.0f);
    EXPECT_LT(packet.velocity.y, 0.001f);
}

TEST(ResponseTests, APartAlreadyPointingAwayIsDoubledPlusThePush) {
    CollisionPacket packet;
    packet.basePoint = {0, 2, 0};
    packet.velocity = {0, 0.5f, 0};
    packet.normalizedVelocity = {0, 1, 0};
    packet.velocityLength = 0.5;
    packet.nearestDistance = 0.001;
    packet.intersectionPoint = {0, 1, 0};
    respondToCollision(packet);
    EXPECT_TRUE(nearlyEqual({0, 2, 0}, packet.basePoint, 1e-6f));
    EXPECT_NEAR(1.00001f, packet.velocity.y, 1e-6f);
}

TEST(OverlapTests, SphereTouchesFaceCornersAndEdgesStrictlyWithinOne) {
    EXPECT_TRUE(sphereTouchesTriangle({2, 0.999f, 2}, floorCorner));
    EXPECT_TRUE(sphereTouchesTriangle({2, -0.999f, 2}, floorCorner)) << "both sides count";
    EXPECT_FALSE(sphereTouchesTriangle({2, 1.0f, 2}, floorCorner));
    // Near a corner but outside the prism and the edges' spans.
    EXPECT_TRUE(sphereTouchesTriangle({-0.5f, 0.5f, -0.5f}, floorCorner));
    EXPECT_FALSE(sphereTouchesTriangle({-0.8f, 0.0f, -0.8f}, floorCorner));
    // Beside an edge, between its ends, and beside its line beyond an end.
    EXPECT_TRUE(sphereTouchesTriangle({-0.9f, 0.0f, 5}, floorCorner));
    EXPECT_FALSE(sphereTouchesTriangle({-1.0f, 0.0f, 5}, floorCorner));
    EXPECT_FALSE(sphereTouchesTriangle({0, 0.5f, 11.5f}, floorCorner));
}
