#include "ShapeMeshes.h"

#include <cmath>
#include <vector>

namespace {
constexpr float pi = 3.14159265358979f;
}

void addSphere(MeshBuilder& m, const glm::vec3& centre, float radius, int slices, int stacks) {
    const int first = m.vertexCount();
    for (int i = 0; i <= stacks; ++i) {
        const float lat = -0.5f * pi + pi * static_cast<float>(i) / stacks;
        for (int j = 0; j <= slices; ++j) {
            const float lon = 2.0f * pi * static_cast<float>(j) / slices;
            const glm::vec3 n(std::cos(lat) * std::sin(lon), std::sin(lat),
                              std::cos(lat) * std::cos(lon));
            m.addVertex(centre + radius * n, n,
                        {static_cast<float>(j) / slices, static_cast<float>(i) / stacks});
        }
    }
    const int row = slices + 1;
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const int a = first + i * row + j, b = a + 1, c = a + row + 1, d = a + row;
            const glm::vec3 out = m.vertices()[a].normal + m.vertices()[c].normal;
            // At the poles one side of the quad has shrunk to a point: keep one triangle.
            if (i != stacks - 1)
                m.addTriangleFacing(a, c, d, out);
            if (i != 0)
                m.addTriangleFacing(a, b, c, out);
        }
}

void addPrismZ(MeshBuilder& m, const glm::vec2& centre, float radius, int sides, float z0,
               float z1) {
    std::vector<glm::vec2> ring;
    for (int k = 0; k < sides; ++k) {
        const float a = 2.0f * pi * static_cast<float>(k) / sides;
        ring.push_back(centre + radius * glm::vec2(std::cos(a), std::sin(a)));
    }
    for (int k = 0; k < sides; ++k) {
        const glm::vec2 p = ring[k], q = ring[(k + 1) % sides];
        m.addFlatQuad({p, z1}, {p, z0}, {q, z0}, {q, z1}, {0, 1}, {0, 0}, {1, 0}, {1, 1});
    }
    for (int end = 0; end < 2; ++end) {
        const float z = end ? z1 : z0;
        const glm::vec3 n(0.0f, 0.0f, end ? 1.0f : -1.0f);
        const int c = m.addVertex({centre, z}, n, {0.5f, 0.5f});
        const int first = m.vertexCount();
        for (const glm::vec2& p : ring)
            m.addVertex({p, z}, n, 0.5f + 0.5f * (p - centre) / radius);
        for (int k = 0; k < sides; ++k)
            m.addTriangleFacing(c, first + k, first + (k + 1) % sides, n);
    }
}

void addSawBlade(MeshBuilder& m, float bodyRadius, float tipRadius, int teeth, float thickness) {
    // The outline counter-clockwise seen from +z: a gullet, then the tooth's tip a little
    // further round, so every tooth leans the way the blade turns.
    std::vector<glm::vec2> outline;
    for (int k = 0; k < teeth; ++k) {
        const float a = 2.0f * pi * static_cast<float>(k) / teeth;
        const float tip = a + 0.7f * 2.0f * pi / teeth;
        outline.push_back(bodyRadius * glm::vec2(std::cos(a), std::sin(a)));
        outline.push_back(tipRadius * glm::vec2(std::cos(tip), std::sin(tip)));
    }
    const float h = 0.5f * thickness;
    const int n = static_cast<int>(outline.size());
    auto uv = [tipRadius](const glm::vec2& p) { return 0.5f + 0.5f * p / tipRadius; };
    for (int side = 0; side < 2; ++side) {
        const glm::vec3 normal(0.0f, 0.0f, side ? 1.0f : -1.0f);
        const float z = side ? h : -h;
        const int c = m.addVertex({0.0f, 0.0f, z}, normal, {0.5f, 0.5f});
        const int first = m.vertexCount();
        for (const glm::vec2& p : outline)
            m.addVertex({p, z}, normal, uv(p));
        for (int k = 0; k < n; ++k)
            m.addTriangleFacing(c, first + k, first + (k + 1) % n, normal);
    }
    for (int k = 0; k < n; ++k) {
        const glm::vec2 p = outline[k], q = outline[(k + 1) % n];
        m.addFlatQuad({p, h}, {p, -h}, {q, -h}, {q, h}, uv(p), uv(p), uv(q), uv(q));
    }
}
