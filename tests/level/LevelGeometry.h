#pragma once

#include <memory>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "assets/Model.h"
#include "assets/Triangle.h"
#include "level/LevelTable.h"

// The generated level as the game loads it: each row of the level table through the mesh
// loader, placed by its matrix, with its world triangles at hand.
struct LoadedMesh {
    level::PlacedMesh row;
    std::unique_ptr<Model> model; // null when the file did not load
    std::vector<Triangle> world;  // world triangles at the row's matrix
};

// Loads every row (relative to the working directory, the game's run folder) once per
// test program.
const std::vector<LoadedMesh>& loadedLevel();
// The loaded rows holding `file`.
const LoadedMesh* findMesh(const char* file);
std::vector<Triangle> trianglesOf(level::Role role);

// Highest point of `triangles` straight below `from` (x, z, starting at from.y), or
// -1e9 when nothing lies under it; `normal` receives that triangle's front direction.
float heightBelow(const std::vector<Triangle>& triangles, const glm::vec3& from,
                  glm::vec3* normal = nullptr);
