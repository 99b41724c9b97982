#pragma once

#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "MeshBuilder.h"

// Writes meshes in the game's XML mesh format. Numbers are printed so that every float
// reads back exactly, and the output depends on nothing but the mesh: two runs give the
// same bytes. Each writer creates the folders above path and returns false when the file
// could not be written.

// One vertex buffer (position, normal, texcoord per vertex) and one submesh.
bool writeStaticMesh(const std::string& path, const MeshBuilder& mesh);

// The keyframe form: positions, normals and texture coordinates in three vertex buffers
// (positions from the mesh itself), then one animation of `seconds` whose keyframes each
// give a full set of vertex positions.
bool writeAnimatedMesh(const std::string& path, const MeshBuilder& mesh, float seconds,
                       const std::vector<std::vector<glm::vec3>>& keyframes);
