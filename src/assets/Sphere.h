#pragma once

#include "assets/Model.h"

// The player's marble: a Model that can roll.
class Sphere : public Model {
  public:
    explicit Sphere(ModelCoordinates* coordinates) : Model(coordinates) {}
    ~Sphere() override = default;

    // Moves the marble by d in world space and turns it about its centre as a ball of
    // radius 1 rolling along d would turn (one unit of travel, one radian).
    void roll(const glm::vec3& d);
};
