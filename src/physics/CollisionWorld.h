#pragma once

#include <glm/glm.hpp>

class Model;
class AnimationModel;

// The level's triangle soup, seen through the scene's model lists, each with its role:
// ground (walkable), static (solid), animated and saw parts (deadly), planes (out of
// bounds) and the finish area. Borrows everything, owns nothing. Null entries (meshes
// that failed to load) are skipped by every query.
class CollisionWorld {
  public:
    CollisionWorld(Model** groundModels, int groundCount, Model** staticModels, int staticCount,
                   AnimationModel** animatedModels, int animatedCount, Model* finishArea, int planeCount,
                   Model** planeModels, Model* sawBeam, Model* sawBlade);

    // Sweeps the marble from base along velocity with sliding; velocity comes back holding
    // the last slide. Sets the win when the marble is over the finish area.
    glm::vec3 collideAndSlide(const glm::vec3& base, glm::vec3& velocity, int depth);
    bool touchesDeadlyObstacle(const glm::vec3& position);
    bool fallsOut(const glm::vec3& position, const glm::vec3& velocity);

  private:
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
};
