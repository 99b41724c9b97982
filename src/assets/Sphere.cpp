#include "assets/Sphere.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

void Sphere::roll(const glm::vec3& d) {
    float distance = glm::length(d);
    if (distance == 0.0f)
        return;
    // The move happens in world space, before whatever turning the marble already has.
    transform = glm::translate(glm::mat4(1.0f), d) * transform;
    if (std::fabs(d.x) <= 1e-6f && std::fabs(d.z) <= 1e-6f)
        return;

    // up x d in the marble's own frame: the row vector times M undoes the marble's rotation.
    glm::vec4 worldAxis(d.z, 0.0f, -d.x, 1.0f);
    glm::vec3 localAxis(glm::dot(worldAxis, transform[0]), glm::dot(worldAxis, transform[1]),
                        glm::dot(worldAxis, transform[2]));
    if (glm::length(localAxis) == 0.0f)
        return; // a degenerate (zero-scale) transform has no axis to turn about
    float degrees = distance / 3.1415927f * 180.0f;
    transform = glm::rotate(transform, glm::radians(degrees), localAxis);
}
