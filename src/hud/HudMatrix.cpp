#include "hud/HudMatrix.h"

#include <algorithm>

#include <glm/gtc/matrix_transform.hpp>

glm::mat4 computeHudMatrix(int width, int height) {
    // A minimised window's zero span would divide by zero; one pixel keeps the matrix finite.
    width = std::max(width, 1);
    height = std::max(height, 1);
    return glm::ortho(static_cast<float>(-(width / 2)), width / 2.0f,
                      static_cast<float>(-(height / 2)), height / 2.0f, -2.0f, 2.0f);
}
