// The course as the physics sees it: models inside their bounding spheres, small ground
// triangles, ground under the start and under every waypoint, paths clear of the
// out-of-bounds planes, the finish under the gate.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "LevelGeometry.h"
#include "assets/AnimationModel.h"
#include "assets/ModelCoordinates.h"
#include "levelgen/CourseRoute.h"

namespace {

glm::vec3 centreOf(const glm::mat4& m) {
    return glm::vec3(m[3]);
}

float farthest(const std::vector<Triangle>& triangles, const glm::vec3& centre) {
    float d = 0.0f;
    for (const Triangle& t : triangles)
        for (const glm::vec3& p : {t.c0, t.c1, t.c2})
            d = std::max(d, glm::length(p - centre));
    return d;
}

} // namespace

TEST(CourseGeometry, EachModelLiesWithinItsBoundingSphere) {
    for (const LoadedMesh& m : loadedLevel()) {
        if (m.row.radius <= 0.0)
            continue;
        SCOPED_TRACE(m.row.file);
        ASSERT_FALSE(m.world.empty());
        EXPECT_LE(farthest(m.world, centreOf(m.row.matrix)), m.row.radius);
    }
}

TEST(CourseGeometry, EveryBarrierKeyframeLiesWithinItsBoundingSphere) {
    const LoadedMesh* stop = findMesh(level::stopFile);
    ASSERT_NE(stop, nullptr);
    const auto* barrier = dynamic_cast<const AnimationModel*>(stop->model.get());
    ASSERT_NE(barrier, nullptr);
    const int vertices = barrier->getCoordinates()->getVertexCount();
    for (int k = 0; k < barrier->getKeyframeCount(); ++k)
        for (int i = 0; i < vertices; ++i) {
            const glm::vec3 p(stop->row.matrix * barrier->getKeyframe(k)[i]);
            EXPECT_LE(glm::length(p - centreOf(stop->row.matrix)), stop->row.radius) << k;
        }
}

TEST(CourseGeometry, GroundTrianglesHaveNoEdgeOverTwenty) {
    const std::vector<Triangle> ground = trianglesOf(level::Role::Ground);
    ASSERT_GT(ground.size(), 1000u);
    for (const Triangle& t : ground) {
        EXPECT_LE(glm::length(t.c1 - t.c0), 20.0f);
        EXPECT_LE(glm::length(t.c2 - t.c1), 20.0f);
        EXPECT_LE(glm::length(t.c0 - t.c2), 20.0f);
    }
}

TEST(CourseGeometry, TheStartHasGroundOneUnitBelowTheMarble) {
    glm::vec3 normal(0.0f);
    const float y = heightBelow(trianglesOf(level::Role::Ground), level::startPosition, &normal);
    EXPECT_NEAR(y, level::startPosition.y - 1.0f, 1e-3f);
    EXPECT_GT(normal.y, 0.99f);
}

TEST(CourseGeometry, EveryWaypointHasGroundFacingUpUnderIt) {
    const std::vector<Triangle> ground = trianglesOf(level::Role::Ground);
    const std::vector<glm::vec3> waypoints = level::routeWaypoints();
    ASSERT_GT(waypoints.size(), 50u);
    EXPECT_EQ(waypoints.front(), level::startPosition);
    for (size_t i = 0; i < waypoints.size(); ++i) {
        glm::vec3 normal(0.0f);
        const float y = heightBelow(ground, waypoints[i] + glm::vec3(0, 0.5f, 0), &normal);
        EXPECT_NEAR(y, waypoints[i].y - 1.0f, 0.02f) << "waypoint " << i;
        EXPECT_GT(normal.y, 0.98f) << "waypoint " << i;
    }
}

TEST(CourseGeometry, PathsStandClearOfTheOutOfBoundsPlanes) {
    const std::vector<Triangle> ground = trianglesOf(level::Role::Ground);
    const std::vector<Triangle> planes = trianglesOf(level::Role::Plane);
    int checked = 0;
    for (const level::RoutePoint& p : level::routeCentreline(2.0f)) {
        const glm::vec3 left(p.tangent.z, 0.0f, -p.tangent.x);
        for (float side : {-0.98f, 0.0f, 0.98f}) {
            const glm::vec3 at = p.surface + left * (side * p.halfWidth);
            const float surface = heightBelow(ground, at + glm::vec3(0, 0.1f, 0));
            ASSERT_NEAR(surface, at.y, 0.05f) << "no path at distance " << p.distance;
            // A marble rolling here (centre 1 above) must not reach a plane in one frame.
            const float plane = heightBelow(planes, at + glm::vec3(0, 0.1f, 0));
            EXPECT_LE(plane, surface - 0.9f) << "plane too close at distance " << p.distance;
            ++checked;
        }
    }
    EXPECT_GT(checked, 600);
}

TEST(CourseGeometry, OffThePathsThereIsNoPath) {
    // A little off either edge the marble lands on a plane, in the river or falls below the
    // floor: never on another path that would make a shortcut.
    std::vector<Triangle> paths;
    for (const char* file : {level::path2File, level::path3File, level::pathRiverFile}) {
        const LoadedMesh* m = findMesh(file);
        ASSERT_NE(m, nullptr);
        paths.insert(paths.end(), m->world.begin(), m->world.end());
    }
    int checked = 0;
    for (const level::RoutePoint& p : level::routeCentreline(4.0f)) {
        const glm::vec3 left(p.tangent.z, 0.0f, -p.tangent.x);
        for (float side : {-1.0f, 1.0f}) {
            const glm::vec3 at = p.surface + left * (side * (p.halfWidth + 2.5f));
            EXPECT_LT(heightBelow(paths, at + glm::vec3(0, 0.1f, 0)), p.surface.y - 2.0f)
                << "a path beside the route at " << p.distance;
            ++checked;
        }
    }
    EXPECT_GT(checked, 300);
}

TEST(CourseGeometry, TheFinishAreaLiesUnderTheGateAcrossThePath) {
    const LoadedMesh* finish = findMesh(level::finishAreaFile);
    const LoadedMesh* gate = findMesh(level::gateFile);
    ASSERT_TRUE(finish && gate && !finish->world.empty() && !gate->world.empty());
    glm::vec3 lo(1e9f), hi(-1e9f);
    for (const Triangle& t : gate->world)
        for (const glm::vec3& p : {t.c0, t.c1, t.c2}) {
            lo = glm::min(lo, p);
            hi = glm::max(hi, p);
        }
    for (const Triangle& t : finish->world)
        for (const glm::vec3& p : {t.c0, t.c1, t.c2}) {
            EXPECT_TRUE(p.z > lo.z && p.z < hi.z) << "finish beyond the posts at z " << p.z;
            EXPECT_TRUE(p.x > lo.x - 2.5f && p.x < hi.x + 2.5f) << "finish away at x " << p.x;
            EXPECT_LT(p.y, hi.y);
        }
    // Wherever the marble crosses the gate on the path, it is over the finish area.
    const glm::vec3 gateCentre(-56.0f, 10.0f, 37.0f);
    for (float dz = -5.4f; dz <= 5.4f; dz += 0.6f)
        EXPECT_GT(heightBelow(finish->world, gateCentre + glm::vec3(0, 0, dz)), -1e8f) << dz;
    // And the route's last waypoint is past the gate.
    EXPECT_LT(level::routeWaypoints().back().x, lo.x);
}

TEST(CourseGeometry, ReedsStandInTheShallows) {
    const LoadedMesh* bed = findMesh(level::riverBedFile);
    const LoadedMesh* reeds = findMesh(level::reedsFile);
    ASSERT_TRUE(bed && reeds && reeds->model);
    const ModelCoordinates* c = reeds->model->getCoordinates();
    ASSERT_EQ(c->getVertexCount() % 4, 0);
    // Each card's first two corners are its foot; the stem stands between them.
    for (int i = 0; i < c->getVertexCount(); i += 4) {
        const glm::vec3 stem = 0.5f * glm::vec3(c->getPositions()[i] + c->getPositions()[i + 1]);
        const float below = heightBelow(bed->world, stem + glm::vec3(0, 5, 0));
        EXPECT_GT(below, -2.6f) << "reeds over deep water at " << stem.x << ", " << stem.z;
        EXPECT_LT(below, -1.509f) << "reeds on dry land at " << stem.x;
        EXPECT_LT(stem.y, below + 0.5f) << "reeds floating";
    }
}
