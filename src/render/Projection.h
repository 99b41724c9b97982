#pragma once

#include <glm/glm.hpp>

// The level's perspective for a window of this size: 60 degrees vertically, near 0.1, far
// 1000, aspect width / height.
glm::mat4 computeProjectionMatrix(int width, int height);
