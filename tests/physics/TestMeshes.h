#pragma once

#include <vector>

#include <glm/glm.hpp>

#include "assets/Model.h"
#include "assets/ModelCoordinates.h"
#include "assets/Triangle.h"

// Small hand-made models for the collision tests: each triangle gets its own three vertices.
inline ModelCoordinates* coordinatesOf(const std::vector<Triangle>& triangles) {
    int vertexCount = static_cast<int>(triangles.size()) * 3;
    glm::vec4* positions = new glm::vec4[vertexCount];
    glm::vec3* normals = new glm::vec3[vertexCount];
    glm::vec2* texCoords = new glm::vec2[vertexCount];
    unsigned int* indices = new unsigned int[vertexCount];
    for (size_t t = 0; t < triangles.size(); ++t) {
        const glm::vec3 corners[3] = {triangles[t].c0, triangles[t].c1, triangles[t].c2};
        for (int k = 0; k < 3; ++k) {
            size_t i = 3 * t + k;
            positions[i] = glm::vec4(corners[k], 1.0f);
            normals[i] = glm::vec3(0.0f, 1.0f, 0.0f);
            texCoords[i] = glm::vec2(0.0f);
            indices[i] = static_cast<unsigned int>(i);
        }
    }
    return new ModelCoordinates(vertexCount, positions, vertexCount, normals, texCoords, indices);
}

inline Model* modelOf(const std::vector<Triangle>& triangles,
                      const glm::mat4& transform = glm::mat4(1.0f), double radius = 0.0) {
    Model* model = new Model(coordinatesOf(triangles));
    model->setTransform(transform);
    model->setBoundingRadius(radius);
    return model;
}

// A level floor at height y facing up, cut into squares of the given size (two triangles
// each) over [-half, half] in x and z.
inline std::vector<Triangle> floorTriangles(float y, float half, float cell) {
    std::vector<Triangle> triangles;
    for (float x = -half; x < half; x += cell) {
        for (float z = -half; z < half; z += cell) {
            glm::vec3 a(x, y, z), b(x, y, z + cell), c(x + cell, y, z + cell), d(x + cell, y, z);
            triangles.push_back({a, b, c});
            triangles.push_back({a, c, d});
        }
    }
    return triangles;
}
