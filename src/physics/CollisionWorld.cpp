#include "physics/CollisionWorld.h"

#include <algorithm>

#include <vector>

#include "assets/AnimationModel.h"
#include "assets/Model.h"
#include "physics/CollisionGeometry.h"
#include "physics/CollisionPacket.h"

using collision::collisionRadius;

namespace {

const int maxDepth = 5;
const double noHitYet = 1e10;
const float fallFloor = -2.0f;
// Ground edges are kept shorter than this, so a corner of any triangle the marble could
// reach in one sweep lies in the box.
const float boxMargin = 30.0f + static_cast<float>(collisionRadius);

// Keeps the packet's hit when it is strictly nearer than the best so far.
struct NearestHit {
    double distance = noHitYet;
    glm::vec3 point{0.0f};
    int result = collision::NoHit;

    void consider(CollisionPacket& packet, const Triangle& triangle) {
        int hit = collision::sweepSphereTriangle(packet, triangle);
        if (hit > 0 && distance > packet.nearestDistance) {
            distance = packet.nearestDistance;
            point = packet.intersectionPoint;
            result = hit;
        }
    }
};

const Triangle* trianglesOf(Model* model, int& count) {
    count = 0;
    if (model == nullptr)
        return nullptr;
    const Triangle* triangles = model->getWorldTriangles();
    if (triangles != nullptr)
        count = model->getTriangleCount();
    return triangles;
}

// A missing list or a negative count means no models of that role.
template <typename T> int usableCount(T** list, int count) {
    return (list != nullptr && count > 0) ? count : 0;
}

} // namespace

CollisionWorld::CollisionWorld(Model** groundModels, int groundCount, Model** staticModels,
                               int staticCount, AnimationModel** animatedModels, int animatedCount,
                               Model* finishArea, int planeCount, Model** planeModels,
                               Model* sawBeam, Model* sawBlade)
    : groundModels(groundModels), groundCount(usableCount(groundModels, groundCount)),
      staticModels(staticModels), staticCount(usableCount(staticModels, staticCount)),
      animatedModels(animatedModels), animatedCount(usableCount(animatedModels, animatedCount)),
      finishArea(finishArea), planeCount(usableCount(planeModels, planeCount)),
      planeModels(planeModels), sawBeam(sawBeam), sawBlade(sawBlade) {}

CollisionWorld::XZBox CollisionWorld::XZBox::around(const glm::vec3& base,
                                                    const glm::vec3& velocity) {
    glm::vec3 end = base + velocity;
    XZBox box;
    if (velocity.x >= 0.0f) {
        box.minX = base.x - boxMargin;
        box.maxX = end.x + boxMargin;
    } else {
        box.maxX = base.x + boxMargin;
        box.minX = end.x - boxMargin;
    }
    if (velocity.z >= 0.0f) {
        box.minZ = base.z - boxMargin;
        box.maxZ = end.z + boxMargin;
    } else {
        box.maxZ = base.z + boxMargin;
        box.minZ = end.z - boxMargin;
    }
    return box;
}

bool CollisionWorld::XZBox::holdsCornerOf(const Triangle& triangle) const {
    // Evaluated without branching: this runs for every ground triangle at every level.
    auto inside = [this](const glm::vec3& c) {
        return (minX <= c.x) & (c.x <= maxX) & (minZ <= c.z) & (c.z <= maxZ);
    };
    return inside(triangle.c0) | inside(triangle.c1) | inside(triangle.c2);
}

int CollisionWorld::findStaticCandidates(const glm::vec3& base, const glm::vec3& velocity,
                                         Model** out) const {
    const glm::dvec3 v(velocity);
    const double length = glm::length(v);
    const glm::dvec3 dir = length == 0.0 ? v : v / length;
    int found = 0;
    for (int i = 0; i < staticCount; ++i) {
        Model* model = staticModels[i];
        if (model == nullptr)
            continue;
        double r = model->getBoundingRadius() + collisionRadius;
        glm::dvec3 w = glm::dvec3(model->getBoundingCenter()) - glm::dvec3(base);
        double along = glm::dot(w, dir);
        // r^2 minus the squared distance of the centre from the line.
        if (r * r - (glm::dot(w, w) - along * along) >= 0.0)
            out[found++] = model;
    }
    return found;
}

int CollisionWorld::findDeadlyCandidates(const glm::vec3& position, Model** out) const {
    int found = 0;
    auto consider = [&](Model* model) {
        if (model == nullptr)
            return;
        double distance = glm::length(glm::dvec3(model->getBoundingCenter() - position));
        if (model->getBoundingRadius() + collisionRadius > distance)
            out[found++] = model;
    };
    for (int i = 0; i < animatedCount; ++i)
        consider(animatedModels[i]);
    consider(sawBeam);
    consider(sawBlade);
    return found;
}

int CollisionWorld::findNearestCollision(CollisionPacket& packet, Model* const* candidates,
                                         int candidateCount) {
    NearestHit nearest;
    const XZBox box = XZBox::around(packet.basePoint, packet.velocity);
    for (int i = 0; i < groundCount; ++i) {
        int count = 0;
        const Triangle* triangles = trianglesOf(groundModels[i], count);
        for (int t = 0; t < count; ++t) {
            if (box.holdsCornerOf(triangles[t]))
                nearest.consider(packet, triangles[t]);
        }
    }
    for (int i = 0; i < candidateCount; ++i) {
        int count = 0;
        const Triangle* triangles = trianglesOf(candidates[i], count);
        for (int t = 0; t < count; ++t)
            nearest.consider(packet, triangles[t]);
    }
    if (nearest.result > 0) {
        packet.nearestDistance = nearest.distance;
        packet.intersectionPoint = nearest.point;
        collision::respondToCollision(packet);
    }
    return nearest.result;
}

bool CollisionWorld::overFinishArea(const glm::vec3& position) {
    int count = 0;
    const Triangle* triangles = trianglesOf(finishArea, count);
    for (int t = 0; t < count; ++t) {
        if (!collision::hasArea(triangles[t]))
            continue;
        glm::vec3 n = collision::triangleNormal(triangles[t]);
        if (collision::pointInTriangle(triangles[t], n, position))
            return true;
    }
    return false;
}

bool CollisionWorld::crossesFinishArea(const glm::vec3& from, const glm::vec3& to,
                                       glm::vec3& entry) {
    int count = 0;
    const Triangle* triangles = trianglesOf(finishArea, count);
    double first = 2.0;
    for (int t = 0; t < count; ++t) {
        if (!collision::hasArea(triangles[t]))
            continue;
        double enter = 0.0;
        glm::vec3 n = collision::triangleNormal(triangles[t]);
        if (collision::segmentCrossesPrism(triangles[t], n, from, to, enter))
            first = std::min(first, enter);
    }
    if (first > 1.0)
        return false;
    entry = from + static_cast<float>(first) * (to - from);
    return true;
}

glm::vec3 CollisionWorld::collideAndSlide(const glm::vec3& base, glm::vec3& velocity, int depth) {
    if (depth == 0)
        reachedFinish = false;
    if (depth > maxDepth)
        return base;
    // Checked at every level, so a slide that ends over the finish still wins this frame.
    if (overFinishArea(base)) {
        reachedFinish = true;
        return base;
    }
    // Nothing to sweep: only a zero frame time gives a zero displacement.
    if (velocity == glm::vec3(0.0f))
        return base;

    std::vector<Model*> candidates(static_cast<size_t>(staticCount));
    int candidateCount = findStaticCandidates(base, velocity, candidates.data());
    CollisionPacket packet = collision::makePacket(base, velocity);
    bool hit = findNearestCollision(packet, candidates.data(), candidateCount) > 0;
    // A long step can carry the marble over the finish and beyond within one leg.
    glm::vec3 legEnd = hit ? packet.basePoint : packet.basePoint + velocity;
    glm::vec3 entry;
    if (crossesFinishArea(base, legEnd, entry)) {
        reachedFinish = true;
        return entry;
    }
    if (hit) {
        velocity = packet.velocity;
        return collideAndSlide(packet.basePoint, velocity, depth + 1);
    }
    return legEnd;
}

bool CollisionWorld::touchesDeadlyObstacle(const glm::vec3& position) {
    return deadlyObstacleAt(position) != LifeLoss::None;
}

LifeLoss CollisionWorld::deadlyObstacleAt(const glm::vec3& position) {
    std::vector<Model*> candidates(static_cast<size_t>(animatedCount + 2));
    int candidateCount = findDeadlyCandidates(position, candidates.data());
    for (int i = 0; i < candidateCount; ++i) {
        int count = 0;
        const Triangle* triangles = trianglesOf(candidates[i], count);
        for (int t = 0; t < count; ++t) {
            if (collision::sphereTouchesTriangle(position, triangles[t]))
                return candidates[i] == sawBeam || candidates[i] == sawBlade ? LifeLoss::Saw
                                                                             : LifeLoss::Barrier;
        }
    }
    return LifeLoss::None;
}

bool CollisionWorld::fallsOut(const glm::vec3& position, const glm::vec3& velocity) {
    CollisionPacket packet = collision::makePacket(position, velocity);
    for (int i = 0; i < planeCount; ++i) {
        int count = 0;
        const Triangle* triangles = trianglesOf(planeModels[i], count);
        for (int t = 0; t < count; ++t) {
            if (collision::sweepSphereTriangle(packet, triangles[t]) > 0)
                return true;
        }
    }
    return position.y <= fallFloor;
}
