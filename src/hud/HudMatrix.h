#pragma once

#include <glm/glm.hpp>

// HUD coordinates for a window of this size: origin at the window centre, one unit per pixel,
// y up; the left and bottom edges use integer halves so odd sizes keep whole-pixel text on
// the left.
glm::mat4 computeHudMatrix(int width, int height);
