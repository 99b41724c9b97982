#pragma once

#include <glm/glm.hpp>

// One sweep of the marble: what moves, from where, and the best contact found so far.
// Positions and directions are float like the rest of the game; lengths, distances and
// sweep parameters are double so that comparing hits along a long step stays exact enough.
struct CollisionPacket {
    glm::vec3 velocity{0.0f};
    glm::vec3 normalizedVelocity{0.0f};
    double velocityLength = 0.0;
    double velocitySquaredLength = 0.0;
    glm::vec3 basePoint{0.0f};
    glm::vec3 intersectionPoint{0.0f};
    double nearestDistance = 0.0;
};
