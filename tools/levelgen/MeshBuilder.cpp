#include "MeshBuilder.h"

#include <utility>

int MeshBuilder::addVertex(const glm::vec3& position, const glm::vec3& normal,
                           const glm::vec2& uv) {
    verts.push_back({position, normal, uv});
    return static_cast<int>(verts.size()) - 1;
}

void MeshBuilder::addTriangle(int a, int b, int c) {
    tris.push_back(a);
    tris.push_back(b);
    tris.push_back(c);
}

void MeshBuilder::addQuad(int a, int b, int c, int d) {
    addTriangle(a, b, c);
    addTriangle(a, c, d);
}

void MeshBuilder::addTriangleFacing(int a, int b, int c, const glm::vec3& toward) {
    const glm::vec3 pa = verts[a].position;
    const glm::vec3 n = glm::cross(verts[b].position - pa, verts[c].position - pa);
    if (glm::dot(n, toward) < 0.0f)
        std::swap(b, c);
    addTriangle(a, b, c);
}

void MeshBuilder::addQuadFacing(int a, int b, int c, int d, const glm::vec3& toward) {
    addTriangleFacing(a, b, c, toward);
    addTriangleFacing(a, c, d, toward);
}

void MeshBuilder::smoothNormals() {
    std::vector<glm::dvec3> sum(verts.size(), glm::dvec3(0.0));
    for (size_t i = 0; i + 2 < tris.size(); i += 3) {
        const glm::dvec3 a(verts[tris[i]].position), b(verts[tris[i + 1]].position),
            c(verts[tris[i + 2]].position);
        const glm::dvec3 n = glm::cross(b - a, c - a);
        for (int k = 0; k < 3; ++k)
            sum[tris[i + k]] += n;
    }
    for (size_t v = 0; v < verts.size(); ++v)
        if (glm::length(sum[v]) > 0.0)
            verts[v].normal = glm::vec3(glm::normalize(sum[v]));
}

void MeshBuilder::addFlatQuad(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c,
                              const glm::vec3& d, const glm::vec2& uvA, const glm::vec2& uvB,
                              const glm::vec2& uvC, const glm::vec2& uvD) {
    const glm::vec3 n = glm::normalize(glm::cross(b - a, c - a));
    const int ia = addVertex(a, n, uvA);
    const int ib = addVertex(b, n, uvB);
    const int ic = addVertex(c, n, uvC);
    const int id = addVertex(d, n, uvD);
    addQuad(ia, ib, ic, id);
}

void MeshBuilder::addBox(const glm::vec3& lo, const glm::vec3& hi, float tile) {
    const glm::vec3 s = (hi - lo) / tile;
    const glm::vec3 p[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z},
                            {lo.x, hi.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z},
                            {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
    // Each face: four corners counter-clockwise from outside, and its texture extent.
    struct Face {
        int a, b, c, d;
        float u, v;
    };
    const Face faces[6] = {
        {4, 5, 6, 7, s.x, s.y}, // +z
        {1, 0, 3, 2, s.x, s.y}, // -z
        {5, 1, 2, 6, s.z, s.y}, // +x
        {0, 4, 7, 3, s.z, s.y}, // -x
        {7, 6, 2, 3, s.x, s.z}, // +y
        {0, 1, 5, 4, s.x, s.z}, // -y
    };
    for (const Face& f : faces)
        addFlatQuad(p[f.a], p[f.b], p[f.c], p[f.d], {0.0f, 0.0f}, {f.u, 0.0f}, {f.u, f.v},
                    {0.0f, f.v});
}

void MeshBuilder::append(const MeshBuilder& other) {
    const int base = vertexCount();
    verts.insert(verts.end(), other.verts.begin(), other.verts.end());
    for (int i : other.tris)
        tris.push_back(base + i);
}

void MeshBuilder::transform(const glm::dmat4& m) {
    const glm::dmat3 turn(m);
    for (Vertex& v : verts) {
        v.position = glm::vec3(m * glm::dvec4(glm::dvec3(v.position), 1.0));
        v.normal = glm::vec3(glm::normalize(turn * glm::dvec3(v.normal)));
    }
}
