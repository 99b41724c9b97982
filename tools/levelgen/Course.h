#pragma once

#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "MeshBuilder.h"

// The whole level's geometry in memory: every mesh in its own model coordinates with the
// matrix the level places it by. The mesh files and the map are both written from it.
struct CourseMesh {
    enum Kind { Marble, Ground, Plane, Water, Solid, Plant, Finish };
    std::string file;
    Kind kind;
    glm::dmat4 matrix;
    MeshBuilder mesh;
};

struct AnimatedCourseMesh {
    std::string file;
    glm::dmat4 matrix;
    MeshBuilder mesh; // its positions are the first keyframe's
    float seconds;
    std::vector<std::vector<glm::vec3>> keyframes;
};

struct Course {
    std::vector<CourseMesh> meshes;
    AnimatedCourseMesh barrier;
};

Course buildCourse();

// The parts, each adding its meshes (CourseMeshes.cpp puts them together).
void addPaths(Course& course);
void addTerrain(Course& course);
void addObstacles(Course& course);
void addPlants(Course& course);

// A mesh built in world coordinates, moved into the model coordinates of `matrix`.
MeshBuilder toModel(MeshBuilder world, const glm::dmat4& matrix);
// A copy moved into world coordinates.
MeshBuilder toWorld(MeshBuilder local, const glm::dmat4& matrix);
