#pragma once

#include <glm/glm.hpp>

// The level's one fixed light and the matrices that render and sample its shadow map.
// The light never moves, so every value here is a constant of the game.
namespace shadowlight {

// The game's shadow map is this many texels on a side unless the scene is told otherwise.
constexpr int defaultMapSize = 8192;

const glm::vec3 position(0.0f, 250.0f, -110.0f);
const glm::vec4 color(1.0f, 1.0f, 1.0f, 1.0f);
const glm::vec4 ambient(0.5f, 0.5f, 0.5f, 0.5f);

// Looks from the light down at the middle of the level.
const glm::mat4& view();
// A tight depth range (220 to 260) keeps the 24-bit map precise over the level's height.
const glm::mat4& projection();
// bias x scale x projection x view: world position to map coordinates and depth in [0, 1].
const glm::mat4& textureMatrix();

} // namespace shadowlight
