#pragma once

#include <glm/glm.hpp>

#include "assets/Triangle.h"

// Mesh data as the loaders fill it: positions (w = 1), normals, texture coordinates and a
// triangle index list, plus a lazily built array of world-space triangles.
// Owns every array (allocated with new[]).
class ModelCoordinates {
  public:
    ModelCoordinates(int indexCount, glm::vec4* positions, int vertexCount, glm::vec3* normals,
                     glm::vec2* texCoords, unsigned int* indices);
    virtual ~ModelCoordinates();
    ModelCoordinates(const ModelCoordinates&) = delete;
    ModelCoordinates& operator=(const ModelCoordinates&) = delete;

    int getIndexCount() const { return indexCount; }
    int getVertexCount() const { return vertexCount; }
    int getTriangleCount() const { return indexCount / 3; }
    glm::vec4* getPositions() const { return positions; }
    glm::vec3* getNormals() const { return normals; }
    glm::vec2* getTexCoords() const { return texCoords; }
    unsigned int* getIndices() const { return indices; }

    // Built once from the matrix given on the first call; later calls return the cache.
    const Triangle* getWorldTriangles(const glm::mat4& matrix);
    // Rebuilt from the matrix at every call (moving models).
    const Triangle* computeWorldTriangles(const glm::mat4& matrix);
    // Rebuilt at every call from caller-supplied positions (an animation keyframe).
    const Triangle* computeWorldTriangles(const glm::mat4& matrix, const glm::vec4* source);

  private:
    int indexCount;
    glm::vec4* positions;
    int vertexCount;
    glm::vec3* normals;
    glm::vec2* texCoords;
    unsigned int* indices;
    Triangle* triangles = nullptr;
};
