#pragma once

#include <glm/glm.hpp>

// One triangle of collision geometry, corners in world space in the order of the mesh's
// index list. Its front face is the side of normalize(cross(c1 - c0, c2 - c0)).
struct Triangle {
    glm::vec3 c0;
    glm::vec3 c1;
    glm::vec3 c2;
};
