#pragma once

#include <vector>

#include <glm/glm.hpp>

// A triangle mesh being put together: vertices with normal and texture coordinate, and
// triangles as index triples. Front faces are counter-clockwise seen from outside, so
// normalize(cross(b - a, c - a)) points the way the face looks.
class MeshBuilder {
  public:
    struct Vertex {
        glm::vec3 position;
        glm::vec3 normal;
        glm::vec2 uv;
    };

    int addVertex(const glm::vec3& position, const glm::vec3& normal, const glm::vec2& uv);
    void addTriangle(int a, int b, int c);
    // Two triangles a-b-c and a-c-d over a quad given counter-clockwise from its front.
    void addQuad(int a, int b, int c, int d);
    // A flat quad with its own four vertices; the normal follows from the winding.
    void addFlatQuad(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec3& d,
                     const glm::vec2& uvA, const glm::vec2& uvB, const glm::vec2& uvC,
                     const glm::vec2& uvD);
    // A triangle or quad wound so that its front looks toward `toward` (a direction).
    void addTriangleFacing(int a, int b, int c, const glm::vec3& toward);
    void addQuadFacing(int a, int b, int c, int d, const glm::vec3& toward);
    // Vertex normals from the area-weighted normals of the faces around each vertex.
    void smoothNormals();
    // An axis-aligned box, every face looking outward, textured by size / tile.
    void addBox(const glm::vec3& lo, const glm::vec3& hi, float tile = 2.0f);
    // Appends another mesh's vertices and triangles.
    void append(const MeshBuilder& other);
    // Moves every vertex by m (normals by its rotation part).
    void transform(const glm::dmat4& m);

    const std::vector<Vertex>& vertices() const { return verts; }
    std::vector<Vertex>& vertices() { return verts; }
    const std::vector<int>& indices() const { return tris; }
    int vertexCount() const { return static_cast<int>(verts.size()); }
    int triangleCount() const { return static_cast<int>(tris.size() / 3); }

  private:
    std::vector<Vertex> verts;
    std::vector<int> tris;
};
