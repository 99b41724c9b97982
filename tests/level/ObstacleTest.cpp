// The two timed obstacles: the saw's stroke against the marble's height under it, and the
// stop barrier's keyframes against the open and closed phases the driver relies on.
#include <algorithm>
#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "LevelGeometry.h"
#include "assets/AnimationModel.h"
#include "assets/MeshLoader.h"
#include "assets/ModelCoordinates.h"
#include "levelgen/CourseRoute.h"

namespace {

// Lowest and highest world y of a model's mesh under `matrix`.
glm::vec2 heightRange(const Model& model, const glm::mat4& matrix) {
    const ModelCoordinates* c = model.getCoordinates();
    glm::vec2 range(1e9f, -1e9f);
    for (int i = 0; i < c->getVertexCount(); ++i) {
        const float y = (matrix * c->getPositions()[i]).y;
        range = glm::vec2(std::min(range.x, y), std::max(range.y, y));
    }
    return range;
}

float groundAt(float x, float z) {
    return heightBelow(trianglesOf(level::Role::Ground), glm::vec3(x, 40.0f, z));
}

} // namespace

TEST(Saw, HighTheMarblePassesUnderItLowTheBladeBlocksThePath) {
    const LoadedMesh* blade = findMesh(level::sawBladeFile);
    const LoadedMesh* beam = findMesh(level::sawBeamFile);
    ASSERT_TRUE(blade && beam && blade->model && beam->model);
    const float surface = groundAt(51.0f, -44.0f);
    ASSERT_NEAR(surface, level::meadowSurfaceY, 1e-3f);
    for (float t : {0.0f, 2.0f}) {
        const glm::mat4 bladeWorld =
            level::sawParentTransform(t) * level::sawMatrix() * level::sawBladeLocalTransform(t);
        const glm::mat4 beamWorld = level::sawParentTransform(t) * level::sawMatrix();
        // The marble's top is 2 above the surface; half a unit must stay free.
        EXPECT_GE(heightRange(*blade->model, bladeWorld).x, surface + 2.5f);
        EXPECT_GE(heightRange(*beam->model, beamWorld).x, surface + 2.5f);
    }
    for (float t : {1.0f, 1.37f}) {
        const glm::mat4 bladeWorld =
            level::sawParentTransform(t) * level::sawMatrix() * level::sawBladeLocalTransform(t);
        EXPECT_LE(heightRange(*blade->model, bladeWorld).x, surface + 0.3f) << t;
    }
}

TEST(Saw, TheFrameStandsBesideThePath) {
    const LoadedMesh* frame = findMesh(level::sawFrameFile);
    ASSERT_TRUE(frame && !frame->world.empty());
    for (const Triangle& t : frame->world)
        for (const glm::vec3& p : {t.c0, t.c1, t.c2})
            EXPECT_GT(std::fabs(p.x - 51.0f), 4.5f) << "frame on the path";
    EXPECT_GT(groundAt(55.3f, -44.0f), 0.5f); // path reaches 4.3 to either side
    EXPECT_GT(groundAt(46.7f, -44.0f), 0.5f);
}

namespace {

bool openAt(float phase) {
    return phase >= level::barrierOpenFrom || phase < level::barrierOpenUntil;
}

} // namespace

TEST(Barrier, ItHasEnoughKeyframesOverItsLoop) {
    const LoadedMesh* stop = findMesh(level::stopFile);
    ASSERT_NE(stop, nullptr);
    const auto* barrier = dynamic_cast<const AnimationModel*>(stop->model.get());
    ASSERT_NE(barrier, nullptr);
    EXPECT_EQ(barrier->getKeyframeCount(), level::barrierKeyframeCount);
    EXPECT_GE(barrier->getKeyframeCount(), 8);
    EXPECT_FLOAT_EQ(barrier->getDuration(), level::barrierLoopSeconds);
}

TEST(Barrier, OpenPhasesSinkItBelowThePathClosedPhasesBlockTheWholeWidth) {
    const LoadedMesh* stop = findMesh(level::stopFile);
    ASSERT_NE(stop, nullptr);
    // A barrier of its own, run the way the scene runs it: advance, then pick the pose the
    // collision uses.
    std::unique_ptr<AnimationModel> barrier(MeshLoader().loadAnimationModel(level::stopFile));
    ASSERT_NE(barrier, nullptr);
    const int vertices = barrier->getCoordinates()->getVertexCount();
    const float surface = groundAt(-31.0f, -338.0f);
    ASSERT_NEAR(surface, level::plateauSurfaceY, 1e-3f);
    // The base positions (used before any keyframe is picked) are the sunk pose.
    EXPECT_LT((stop->row.matrix * barrier->getCollisionPositions()[0]).y, surface);
    int open = 0, closed = 0;
    for (int step = 0; step < 400; ++step) {
        barrier->update(level::barrierLoopSeconds / 400.0f);
        barrier->selectKeyframes();
        const float phase = barrier->getPhase();
        const glm::vec4* pose = barrier->getCollisionPositions();
        glm::vec3 lo(1e9f), hi(-1e9f);
        for (int i = 0; i < vertices; ++i) {
            const glm::vec3 p(stop->row.matrix * pose[i]);
            lo = glm::min(lo, p);
            hi = glm::max(hi, p);
        }
        if (openAt(phase)) {
            // The marble's centre rolls 1 above the surface: nothing within 1 of it.
            EXPECT_LT(hi.y, surface - 0.3f) << "phase " << phase;
            ++open;
        } else {
            EXPECT_GT(hi.y, surface + 0.5f) << "phase " << phase;
            EXPECT_LE(lo.z, -343.9f);
            EXPECT_GE(hi.z, -332.1f);
            EXPECT_LT(hi.x - lo.x, 1.5f); // a wall across the path, not along it
            ++closed;
        }
    }
    EXPECT_GT(open, 100);
    EXPECT_GT(closed, 100);
}

TEST(Barrier, TheWaitingPointsLieBeforeTheObstacles) {
    const std::vector<glm::vec3> w = level::routeWaypoints();
    const int b = level::barrierWaitWaypoint(), s = level::sawWaitWaypoint();
    ASSERT_TRUE(b > 0 && s > b && s < static_cast<int>(w.size()));
    const glm::vec3 barrier(-31.0f, 17.0f, -338.0f), saw(51.0f, 2.0f, -44.0f);
    EXPECT_NEAR(glm::length(w[b] - barrier), 10.0f, 4.0f);
    EXPECT_GT(w[b].x, barrier.x);  // still east of the wall
    EXPECT_LT(w[b + 1].x, w[b].x); // heading for it
    EXPECT_NEAR(glm::length(w[s] - saw), 10.0f, 4.0f);
    EXPECT_LT(w[s].z, saw.z);
    EXPECT_NEAR(w[s].x, 51.0f, 1.0f); // already nearly in line with the saw
    EXPECT_GT(glm::normalize(w[s + 1] - w[s]).z, 0.97f);
}
