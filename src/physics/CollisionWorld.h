#pragma once

#include <glm/glm.hpp>

#include "assets/Triangle.h"
#include "physics/LifeLoss.h"

class Model;
class AnimationModel;
struct CollisionPacket;

// The level's triangle soup, seen through the scene's model lists, each with its role:
// ground (walkable), static (solid), animated and saw parts (deadly), planes (out of
// bounds) and the finish area. Borrows everything, owns nothing. Null entries (meshes
// that failed to load) are skipped by every query.
class CollisionWorld {
  public:
    CollisionWorld(Model** groundModels, int groundCount, Model** staticModels, int staticCount,
                   AnimationModel** animatedModels, int animatedCount, Model* finishArea,
                   int planeCount, Model** planeModels, Model* sawBeam, Model* sawBlade);

    // Sweeps the marble from base along velocity with sliding; velocity comes back holding
    // the last slide. Stops where the marble is over the finish area, if it gets there.
    glm::vec3 collideAndSlide(const glm::vec3& base, glm::vec3& velocity, int depth);
    // Whether the last sweep from depth 0 stopped on the finish.
    bool finishReached() const { return reachedFinish; }
    bool touchesDeadlyObstacle(const glm::vec3& position);
    // Which deadly obstacle a marble there touches: the saw, the barrier or none.
    LifeLoss deadlyObstacleAt(const glm::vec3& position);
    bool fallsOut(const glm::vec3& position, const glm::vec3& velocity);

    // The ground broad phase: the horizontal box one sweep can reach, widened by the
    // marble's radius and a safety margin. The height is not bounded.
    struct XZBox {
        float minX, maxX, minZ, maxZ;
        static XZBox around(const glm::vec3& base, const glm::vec3& velocity);
        // True when at least one corner lies in the box (bounds included).
        bool holdsCornerOf(const Triangle& triangle) const;
    };

    // The obstacle broad phase: static models whose bounding sphere, widened by the
    // marble's radius, meets the infinite line through base along velocity. Fills out
    // (room for the static count) in list order and returns how many were found.
    int findStaticCandidates(const glm::vec3& base, const glm::vec3& velocity, Model** out) const;
    // The deadly broad phase: animated models, then the saw beam and blade, whose bounding
    // sphere widened by the marble's radius holds position (room for animated count + 2).
    int findDeadlyCandidates(const glm::vec3& position, Model** out) const;
    // Sweeps the packet against the ground (boxed) and then the given static models, keeps
    // the earliest hit (the first one on a tie) and responds to it. Returns the hit kind.
    int findNearestCollision(CollisionPacket& packet, Model* const* candidates, int candidateCount);

  private:
    bool overFinishArea(const glm::vec3& position);
    // Whether a leg of the motion passes over the finish on its way; entry is where it does.
    bool crossesFinishArea(const glm::vec3& from, const glm::vec3& to, glm::vec3& entry);

    Model** groundModels;
    int groundCount;
    Model** staticModels;
    int staticCount;
    AnimationModel** animatedModels;
    int animatedCount;
    Model* finishArea;
    int planeCount;
    Model** planeModels;
    Model* sawBeam;
    Model* sawBlade;
    bool reachedFinish = false;
};
