#include <cmath>
#include <memory>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include "TestMeshes.h"
#include "physics/CollisionGeometry.h"
#include "physics/CollisionPacket.h"
#include "physics/CollisionWorld.h"

namespace {

// Owns the models of one test world and hands out the raw lists the world borrows.
struct TestLevel {
    std::vector<std::unique_ptr<Model>> owned;
    std::vector<Model*> ground, statics, planes;
    Model* finish = nullptr;
    Model* sawBeam = nullptr;
    Model* sawBlade = nullptr;

    Model* keep(Model* model) {
        owned.emplace_back(model);
        return model;
    }
    CollisionWorld world() {
        return CollisionWorld(ground.data(), static_cast<int>(ground.size()), statics.data(),
                              static_cast<int>(statics.size()), nullptr, 0, finish,
                              static_cast<int>(planes.size()), planes.data(), sawBeam, sawBlade);
    }
};

glm::mat4 at(float x, float y, float z) {
    return glm::translate(glm::mat4(1.0f), {x, y, z});
}

// A floor in y = 0 and a wall in x = 2 facing -x, placed so that a sphere from (0, 2, 0)
// moving by (2, -2, 0) meets both faces at exactly t = 0.5 (normals come out exact).
const Triangle tieFloor{{-4, 0, -4}, {-4, 0, 12}, {12, 0, -4}};
const Triangle tieWall{{2, -4, -4}, {2, -4, 12}, {2, 12, -4}};
const glm::vec3 tieBase(0, 2, 0);
const glm::vec3 tieVelocity(2, -2, 0);

bool slidAlongFloor(const CollisionPacket& packet) {
    return packet.velocity.x > 1.99f && std::fabs(packet.velocity.y) < 0.01f;
}
bool slidDownWall(const CollisionPacket& packet) {
    return std::fabs(packet.velocity.x) < 0.01f && packet.velocity.y < -1.99f;
}

} // namespace

TEST(NearestCollisionTests, EqualDistancesKeepTheFirstHitInListAndTriangleOrder) {
    CollisionPacket floorOnly = collision::makePacket(tieBase, tieVelocity);
    CollisionPacket wallOnly = floorOnly;
    ASSERT_EQ(collision::FaceHit, collision::sweepSphereTriangle(floorOnly, tieFloor));
    ASSERT_EQ(collision::FaceHit, collision::sweepSphereTriangle(wallOnly, tieWall));
    ASSERT_EQ(floorOnly.nearestDistance, wallOnly.nearestDistance) << "the tie must be exact";

    auto respond = [](std::vector<std::vector<Triangle>> groundModels,
                      std::vector<Triangle> staticModel = {}) {
        TestLevel level;
        for (auto& triangles : groundModels)
            level.ground.push_back(level.keep(modelOf(triangles)));
        if (!staticModel.empty())
            level.statics.push_back(level.keep(modelOf(staticModel)));
        CollisionWorld world = level.world();
        CollisionPacket packet = collision::makePacket(tieBase, tieVelocity);
        EXPECT_EQ(collision::FaceHit, world.findNearestCollision(packet, level.statics.data(),
                                                                 int(level.statics.size())));
        return packet;
    };
    EXPECT_TRUE(slidAlongFloor(respond({{tieFloor}, {tieWall}})));
    EXPECT_TRUE(slidDownWall(respond({{tieWall}, {tieFloor}})));
    EXPECT_TRUE(slidAlongFloor(respond({{tieFloor, tieWall}})));
    EXPECT_TRUE(slidDownWall(respond({{tieWall, tieFloor}})));
    // The ground is searched before the obstacles.
    EXPECT_TRUE(slidDownWall(respond({{tieWall}}, {tieFloor})));
    EXPECT_TRUE(slidAlongFloor(respond({{tieFloor}}, {tieWall})));
}

TEST(NearestCollisionTests, TheNearerHitWinsWhereverItIsListed) {
    TestLevel level;
    level.ground.push_back(level.keep(modelOf({tieFloor}, at(0, -0.5f, 0))));
    level.ground.push_back(level.keep(modelOf({tieWall})));
    CollisionWorld world = level.world();
    CollisionPacket packet = collision::makePacket(tieBase, tieVelocity);
    world.findNearestCollision(packet, nullptr, 0);
    EXPECT_TRUE(slidDownWall(packet));
}

// Inside a twelve-sided room a fast marble running along the wall meets a new wall in
// every level; the sweep stops after six of them.
TEST(CollideAndSlideTests, SixLevelsAtMostAndTheLastStopsAtItsContact) {
    TestLevel level;
    std::vector<Triangle> walls;
    const float radius = 10.0f;
    for (int k = 0; k < 12; ++k) {
        float a0 = glm::radians(-15.0f + 30.0f * k), a1 = glm::radians(15.0f + 30.0f * k);
        glm::vec3 p0(radius * std::cos(a0), 0, radius * std::sin(a0));
        glm::vec3 p1(radius * std::cos(a1), 0, radius * std::sin(a1));
        glm::vec3 up(0, 5, 0);
        walls.push_back({p0 - up, p1 - up, p1 + up});
        walls.push_back({p0 - up, p1 + up, p0 + up});
    }
    level.ground.push_back(level.keep(modelOf(walls)));
    CollisionWorld world = level.world();

    // One level at a time (depth 5 runs exactly one), keeping every stop.
    std::vector<glm::vec3> stops{{0, 0, -8.5f}};
    std::vector<glm::vec3> slides{{30, 0, 0}};
    for (int k = 0; k < 7; ++k) {
        glm::vec3 v = slides.back();
        stops.push_back(world.collideAndSlide(stops.back(), v, 5));
        ASSERT_NE(slides.back(), v) << "level " << k << " found no wall";
        slides.push_back(v);
    }
    glm::vec3 v = slides.front();
    glm::vec3 end = world.collideAndSlide(stops.front(), v, 0);
    EXPECT_EQ(stops[6], end);
    EXPECT_EQ(slides[6], v);
    EXPECT_NE(stops[5], end);
    EXPECT_NE(stops[7], end);
    // Every stop keeps the marble off every wall.
    for (const glm::vec3& p : stops) {
        for (const Triangle& wall : walls) {
            glm::vec3 n = collision::triangleNormal(wall);
            EXPECT_GT(glm::dot(n, p - wall.c0), 0.999f);
        }
    }
}

TEST(CollideAndSlideTests, AFreeSweepEndsAtBasePlusVelocityAndKeepsIt) {
    TestLevel level;
    level.ground.push_back(level.keep(modelOf(floorTriangles(0, 40, 10))));
    CollisionWorld world = level.world();
    glm::vec3 v(3, 0.5f, -2);
    EXPECT_EQ(glm::vec3(3, 5.5f, -2), world.collideAndSlide({0, 5, 0}, v, 0));
    EXPECT_EQ(glm::vec3(3, 0.5f, -2), v);
    // Deeper than six levels nothing moves at all.
    EXPECT_EQ(glm::vec3(0, 5, 0), world.collideAndSlide({0, 5, 0}, v, 6));
}

TEST(FinishTests, ThePrismOverOrUnderTheFinishCountsAtAnyHeight) {
    TestLevel level;
    level.finish = level.keep(modelOf({{{0, 0, 0}, {0, 0, 10}, {10, 0, 0}}}));
    CollisionWorld world = level.world();
    for (float y : {50.0f, 0.0f, -50.0f}) {
        glm::vec3 v(1, -1, 0);
        EXPECT_EQ(glm::vec3(2, y, 2), world.collideAndSlide({2, y, 2}, v, 0));
        EXPECT_EQ(glm::vec3(1, -1, 0), v);
        EXPECT_TRUE(world.finishReached()) << "height " << y;
    }
    glm::vec3 v(0.5f, -1, 0);
    world.collideAndSlide({-1, 3, 2}, v, 0);
    EXPECT_FALSE(world.finishReached());
}

TEST(FinishTests, MotionThatReachesOrCrossesTheFinishWinsWhereItEnters) {
    const Triangle finishTriangle{{0, 0, -10}, {0, 0, 30}, {40, 0, -10}};
    // A strip 4 units deep, as the course's finish is: one long step can leap across it.
    const Triangle stripA{{0, 0, -10}, {0, 0, 30}, {4, 0, -10}};
    const Triangle stripB{{4, 0, -10}, {0, 0, 30}, {4, 0, 30}};
    const Triangle wallAtFive{{5, -10, -10}, {5, -10, 30}, {5, 30, -10}};
    TestLevel level;
    level.finish = level.keep(modelOf({finishTriangle}));
    CollisionWorld open = level.world();
    level.ground.push_back(level.keep(modelOf({wallAtFive})));
    CollisionWorld walled = level.world();
    TestLevel stripLevel;
    stripLevel.finish = stripLevel.keep(modelOf({stripA, stripB}));
    CollisionWorld strip = stripLevel.world();

    glm::vec3 v(10, 0, 0);
    glm::vec3 end = walled.collideAndSlide({-3, 0, 2}, v, 0);
    EXPECT_TRUE(walled.finishReached());
    EXPECT_NEAR(0.0f, end.x, 1e-5f) << "stopped where it entered, before the wall";

    v = glm::vec3(10, 0, 0);
    end = open.collideAndSlide({-3, 0, 2}, v, 0);
    EXPECT_TRUE(open.finishReached()) << "ending over the finish wins in the same sweep";
    EXPECT_NEAR(0.0f, end.x, 1e-5f);

    v = glm::vec3(20, 0, 0);
    end = strip.collideAndSlide({-3, 5, 2}, v, 0);
    EXPECT_TRUE(strip.finishReached()) << "leapt over the strip between two sweeps";
    EXPECT_NEAR(0.0f, end.x, 1e-5f);
    EXPECT_EQ(5.0f, end.y);

    v = glm::vec3(20, 0, 0);
    strip.collideAndSlide({-3, 0, 40}, v, 0);
    EXPECT_FALSE(strip.finishReached()) << "passing beside the strip";
    v = glm::vec3(0, 0, 20);
    strip.collideAndSlide({6, 0, -20}, v, 0);
    EXPECT_FALSE(strip.finishReached()) << "passing alongside it";
}

TEST(FallsOutTests, TouchingAPlaneOrReachingTheFloorHeight) {
    TestLevel level;
    level.planes.push_back(nullptr);
    level.planes.push_back(level.keep(modelOf({{{0, 0, 0}, {0, 0, 10}, {10, 0, 0}}})));
    CollisionWorld world = level.world();
    EXPECT_TRUE(world.fallsOut({2, 1.5f, 2}, {0, -1, 0}));
    EXPECT_FALSE(world.fallsOut({2, 3.0f, 2}, {0, -1, 0}));
    EXPECT_FALSE(world.fallsOut({2, 1.5f, 2}, {0, 1, 0})) << "leaving the plane";
    EXPECT_TRUE(world.fallsOut({20, -2.0f, 20}, {1, 0, 0})) << "exactly -2 counts";
    EXPECT_TRUE(world.fallsOut({20, -2.0f, 20}, {0, 0, 0}));
    EXPECT_FALSE(world.fallsOut({20, -1.999f, 20}, {1, 0, 0}));
}

TEST(BroadPhaseTests, TheGroundBoxIncludesItsBoundsAndFollowsTheMotion) {
    using Box = CollisionWorld::XZBox;
    Box box = Box::around({0, 0, 0}, {5, 7, -5});
    EXPECT_EQ(-31.0f, box.minX);
    EXPECT_EQ(36.0f, box.maxX);
    EXPECT_EQ(-36.0f, box.minZ);
    EXPECT_EQ(31.0f, box.maxZ);
    const glm::vec3 far(500, 0, 500);
    EXPECT_TRUE(box.holdsCornerOf({far, far, {-31, 100, 0}}));
    EXPECT_TRUE(box.holdsCornerOf({far, {36, -100, 31}, far}));
    EXPECT_FALSE(box.holdsCornerOf({far, far, {-31.01f, 0, 0}}));
    EXPECT_FALSE(box.holdsCornerOf({{-40, 0, 0}, {0, 0, 40}, {40, 0, -40}}));

    Box back = Box::around({10, 0, 10}, {-5, 0, 0});
    EXPECT_EQ(-26.0f, back.minX);
    EXPECT_EQ(41.0f, back.maxX);
    EXPECT_EQ(-21.0f, back.minZ);
    EXPECT_EQ(41.0f, back.maxZ);
}

TEST(BroadPhaseTests, AGroundTriangleWithNoCornerInTheBoxIsNeverSwept) {
    TestLevel level;
    level.ground.push_back(
        level.keep(modelOf({{{-1000, 0, -1000}, {-1000, 0, 2000}, {2000, 0, -1000}}})));
    CollisionWorld huge = level.world();
    glm::vec3 v(0, -4, 0);
    EXPECT_EQ(glm::vec3(0, -1, 0), huge.collideAndSlide({0, 3, 0}, v, 0));

    TestLevel small;
    small.ground.push_back(small.keep(modelOf(floorTriangles(0, 20, 10))));
    CollisionWorld tiled = small.world();
    v = glm::vec3(0, -4, 0);
    // Stopped 0.001 above the floor, then the push-out of the free second level.
    EXPECT_NEAR(1.00101f, tiled.collideAndSlide({0, 3, 0}, v, 0).y, 1e-6f);
}

TEST(BroadPhaseTests, ObstaclesOnTheWholeLineOfMotionAreCandidates) {
    TestLevel level;
    Model* behind = level.keep(modelOf({}, at(0, 0, -500), 1.0));
    Model* ahead = level.keep(modelOf({}, at(0, 0, 500), 1.0));
    Model* beside = level.keep(modelOf({}, at(2.5f, 0, 100), 1.0));
    Model* pointNear = level.keep(modelOf({}, at(0.999f, 0, 50), 0.0));
    Model* pointFar = level.keep(modelOf({}, at(1.001f, 0, 50), 0.0));
    Model* touching = level.keep(modelOf({}, at(1.5f, 0, 0), 0.5));
    level.statics = {behind, nullptr, ahead, beside, pointNear, pointFar, touching};
    CollisionWorld world = level.world();

    std::vector<Model*> found(level.statics.size());
    int count = world.findStaticCandidates({0, 0, 0}, {0, 0, 0.25f}, found.data());
    ASSERT_EQ(4, count);
    EXPECT_EQ(behind, found[0]);
    EXPECT_EQ(ahead, found[1]);
    EXPECT_EQ(pointNear, found[2]);
    EXPECT_EQ(touching, found[3]) << "the line through the base, not only the step";

    // Without motion only models whose widened sphere holds the base point remain.
    count = world.findStaticCandidates({0, 0, 0}, {0, 0, 0}, found.data());
    ASSERT_EQ(1, count);
    EXPECT_EQ(touching, found[0]);
}

TEST(DeadlyTests, OnlyObstaclesNearTheirCentreAreTestedAndContactIsStrict) {
    TestLevel level;
    // A blade of radius 1 whose triangle reaches beyond its bounding sphere.
    level.sawBlade =
        level.keep(modelOf({{{-5, 1.5f, -5}, {-5, 1.5f, 5}, {5, 1.5f, -5}}}, glm::mat4(1.0f), 1.0));
    level.sawBeam = level.keep(modelOf({{{0, 0, 0}, {0, 0, 10}, {10, 0, 0}}}, at(100, 0, 0), 10.0));
    CollisionWorld world = level.world();

    Model* found[2] = {nullptr, nullptr};
    ASSERT_EQ(1, world.findDeadlyCandidates({100, 10.9f, 0}, found));
    EXPECT_EQ(level.sawBeam, found[0]);
    EXPECT_EQ(0, world.findDeadlyCandidates({100, 11.0f, 0}, found)) << "radius + 1 is excluded";

    EXPECT_TRUE(world.touchesDeadlyObstacle({102, 0.5f, 2}));
    EXPECT_FALSE(world.touchesDeadlyObstacle({102, 1.0f, 2}));
    EXPECT_TRUE(world.touchesDeadlyObstacle({-0.2f, 1.9f, -0.2f}));
    EXPECT_FALSE(world.touchesDeadlyObstacle({-0.5f, 2.0f, -0.5f}))
        << "0.5 from the blade's triangle, but outside the blade's sphere";
}

TEST(NullModelTests, MissingMeshesAreSkippedByEveryQuery) {
    TestLevel level;
    level.ground = {nullptr, level.keep(modelOf(floorTriangles(0, 20, 10)))};
    level.statics = {nullptr, nullptr};
    level.planes = {nullptr};
    CollisionWorld world = level.world();
    glm::vec3 v(0, -4, 0);
    EXPECT_NEAR(1.00101f, world.collideAndSlide({0, 3, 0}, v, 0).y, 1e-6f);
    EXPECT_FALSE(world.touchesDeadlyObstacle({0, 0, 0}));
    EXPECT_FALSE(world.fallsOut({0, 0, 0}, {0, -4, 0}));

    CollisionWorld empty(nullptr, 4, nullptr, 7, nullptr, 1, nullptr, 2, nullptr, nullptr, nullptr);
    v = glm::vec3(1, 2, 3);
    EXPECT_EQ(glm::vec3(1, 2, 3), empty.collideAndSlide({0, 0, 0}, v, 0));
    EXPECT_FALSE(empty.touchesDeadlyObstacle({0, 0, 0}));
    EXPECT_FALSE(empty.fallsOut({0, 0, 0}, {0, -1, 0}));
}
