#include "LevelGeometry.h"

#include <algorithm>
#include <cmath>

#include "assets/AnimationModel.h"
#include "assets/MeshLoader.h"

namespace {

std::vector<LoadedMesh> loadAll() {
    std::vector<LoadedMesh> out;
    MeshLoader loader;
    for (const level::PlacedMesh& row : level::placedMeshes()) {
        LoadedMesh m;
        m.row = row;
        if (row.animated)
            m.model.reset(loader.loadAnimationModel(row.file));
        else
            m.model.reset(loader.loadModel(row.file));
        if (m.model) {
            m.model->setTransform(row.matrix);
            const Triangle* t = m.model->getWorldTriangles();
            if (t != nullptr)
                m.world.assign(t, t + m.model->getTriangleCount());
        }
        out.push_back(std::move(m));
    }
    return out;
}

} // namespace

const std::vector<LoadedMesh>& loadedLevel() {
    static const std::vector<LoadedMesh> level = loadAll();
    return level;
}

const LoadedMesh* findMesh(const char* file) {
    for (const LoadedMesh& m : loadedLevel())
        if (std::string(m.row.file) == file)
            return &m;
    return nullptr;
}

std::vector<Triangle> trianglesOf(level::Role role) {
    std::vector<Triangle> out;
    for (const LoadedMesh& m : loadedLevel())
        if (m.row.role == role)
            out.insert(out.end(), m.world.begin(), m.world.end());
    return out;
}

float heightBelow(const std::vector<Triangle>& triangles, const glm::vec3& from,
                  glm::vec3* normal) {
    float best = -1e9f;
    for (const Triangle& t : triangles) {
        const glm::vec3 &a = t.c0, &b = t.c1, &c = t.c2;
        const float area = (b.x - a.x) * (c.z - a.z) - (b.z - a.z) * (c.x - a.x);
        if (std::fabs(area) < 1e-9f)
            continue; // standing on edge: nothing to land on from above
        const float u = ((b.x - from.x) * (c.z - from.z) - (b.z - from.z) * (c.x - from.x)) / area;
        const float v = ((c.x - from.x) * (a.z - from.z) - (c.z - from.z) * (a.x - from.x)) / area;
        const float w = 1.0f - u - v;
        const float eps = -1e-5f;
        if (u < eps || v < eps || w < eps)
            continue;
        const float y = u * a.y + v * b.y + w * c.y;
        if (y <= from.y && y > best) {
            best = y;
            if (normal != nullptr)
                *normal = glm::normalize(glm::cross(b - a, c - a));
        }
    }
    return best;
}
