#pragma once

#include <cstdint>

#include <glm/glm.hpp>

// Deterministic noise for the generated pictures: the same seed gives the same values on every
// run (integer hashing only, no library random generators, no global state).
namespace noise {

// A well-mixed 32-bit hash of up to three integers and a seed.
uint32_t hash(int32_t x, int32_t y, int32_t z, uint32_t seed);
// The hash as a float in [0, 1).
float unit(int32_t x, int32_t y, int32_t z, uint32_t seed);

// Gradient noise in about [-1, 1] over the plane, repeating every `period` units in x and y.
float tiled(float x, float y, int period, uint32_t seed);
// The same with separate periods along x and y (streaks, wood grain).
float tiled(float x, float y, int periodX, int periodY, uint32_t seed);
// Fractal sum of tiled noise over u, v in [0, 1): tileable, `cells` lattice cells at the
// coarsest octave, each octave twice as fine and half as strong. About [-1, 1].
float tiledFbm(float u, float v, int cells, int octaves, uint32_t seed);

// Worley (cellular) noise over u, v in [0, 1), tileable, with `cells` x `cells` feature points.
struct Cell {
    float nearest; // distance to the nearest feature point, in cell units
    float second;  // distance to the second nearest
    uint32_t id;   // hash of the nearest point's cell, for per-stone colours
};
Cell tiledCells(float u, float v, int cells, uint32_t seed);

// Gradient noise over space (not periodic), about [-1, 1], and its fractal sum.
float solid(const glm::vec3& p, uint32_t seed);
float solidFbm(const glm::vec3& p, int octaves, uint32_t seed);

} // namespace noise
