#include "assets/ModelCoordinates.h"

ModelCoordinates::ModelCoordinates(int indexCount, glm::vec4* positions, int vertexCount,
                                   glm::vec3* normals, glm::vec2* texCoords, unsigned int* indices)
    : indexCount(indexCount < 0 ? 0 : indexCount), positions(positions),
      vertexCount(vertexCount < 0 ? 0 : vertexCount), normals(normals), texCoords(texCoords),
      indices(indices) {}

ModelCoordinates::~ModelCoordinates() {
    delete[] positions;
    delete[] normals;
    delete[] indices;
    delete[] triangles;
    delete[] texCoords;
}

const Triangle* ModelCoordinates::getWorldTriangles(const glm::mat4& matrix) {
    if (triangles != nullptr)
        return triangles;
    return computeWorldTriangles(matrix, positions);
}

const Triangle* ModelCoordinates::computeWorldTriangles(const glm::mat4& matrix) {
    return computeWorldTriangles(matrix, positions);
}

const Triangle* ModelCoordinates::computeWorldTriangles(const glm::mat4& matrix,
                                                        const glm::vec4* source) {
    int count = getTriangleCount();
    if (triangles == nullptr)
        triangles = new Triangle[static_cast<size_t>(count)]();
    for (int t = 0; t < count; ++t) {
        glm::vec3* corners[3] = {&triangles[t].c0, &triangles[t].c1, &triangles[t].c2};
        for (int k = 0; k < 3; ++k) {
            unsigned int index = indices[3 * t + k];
            // The loaders reject indices outside the vertex list; a hand-built record that
            // breaks that rule gets the origin instead of a read past the array.
            glm::vec4 local(0.0f, 0.0f, 0.0f, 1.0f);
            if (source != nullptr && index < static_cast<unsigned int>(vertexCount))
                local = source[index];
            *corners[k] = glm::vec3(matrix * local);
        }
    }
    return triangles;
}
