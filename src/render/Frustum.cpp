#include "render/Frustum.h"

#include <cmath>

namespace {

glm::vec4 row(const glm::mat4& m, int k) {
    return glm::vec4(m[0][k], m[1][k], m[2][k], m[3][k]);
}

// Dividing by the length of all four coefficients (not just the normal) shrinks the
// distances, so the test only rejects spheres that are clearly outside.
Frustum::Plane makePlane(const glm::vec4& coefficients) {
    float length = std::sqrt(glm::dot(coefficients, coefficients));
    glm::vec4 p = length > 0.0f ? coefficients / length : coefficients;
    return Frustum::Plane{glm::vec3(p), p.w};
}

} // namespace

void Frustum::update(const glm::mat4& clip) {
    glm::vec4 r0 = row(clip, 0);
    glm::vec4 r1 = row(clip, 1);
    glm::vec4 r2 = row(clip, 2);
    glm::vec4 r3 = row(clip, 3);
    planes[0] = makePlane(r3 - r1); // top
    planes[1] = makePlane(r3 + r1); // bottom
    planes[2] = makePlane(r3 + r0); // left
    planes[3] = makePlane(r3 - r0); // right
    planes[4] = makePlane(r3 + r2); // near
    planes[5] = makePlane(r3 - r2); // far
}

int Frustum::testSphere(const glm::vec3& center, float radius) const {
    int result = INSIDE;
    for (const Plane& p : planes) {
        float s = glm::dot(p.normal, center) + p.distance;
        if (s < -radius)
            return OUTSIDE;
        if (s < radius)
            result = INTERSECT;
    }
    return result;
}
