#pragma once

#include <glm/glm.hpp>

// Six clip planes (top, bottom, left, right, near, far) taken from a clip matrix, and a
// conservative bounding-sphere test against them.
class Frustum {
  public:
    enum { OUTSIDE = 0, INTERSECT = 1, INSIDE = 2 };

    struct Plane {
        glm::vec3 normal;
        float distance = 0.0f;
    };

    void update(const glm::mat4& clip);
    int testSphere(const glm::vec3& center, float radius) const;
    const Plane& plane(int index) const { return planes[index]; }

  private:
    Plane planes[6];
};
