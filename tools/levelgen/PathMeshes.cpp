// The three paths the marble rolls on, laid as one slab along the route's centreline and
// cut into the level's three ground meshes: Path2 on the plateau, Path3 down to the saw,
// PfadFluss along the river to the finish. Neighbouring pieces share their seam row, so the
// marble rolls over the joins without a step.
#include <cmath>

#include "Course.h"
#include "CourseRoute.h"
#include "CourseTerrain.h"
#include "level/LevelTable.h"

namespace {

constexpr float rowSpacing = 2.0f;
constexpr int acrossQuads = 4;
// Deep enough that the slab's foot sinks into the meadow where the ground dips under it;
// a gap there shows the shadowed meadow as dashes from low angles.
constexpr float slabThickness = 1.3f;
constexpr float pillarSpacing = 14.0f;
constexpr float pillarHalf = 0.8f;
constexpr float textureLength = 8.0f;

glm::vec3 leftOf(const level::RoutePoint& p) {
    return glm::vec3(p.tangent.z, 0.0f, -p.tangent.x);
}

// Top surface: acrossQuads strips from the left edge to the right edge, looking up.
void addTop(MeshBuilder& m, const std::vector<level::RoutePoint>& line, size_t from, size_t to) {
    const int first = m.vertexCount();
    for (size_t i = from; i <= to; ++i) {
        const level::RoutePoint& p = line[i];
        for (int j = 0; j <= acrossQuads; ++j) {
            const float f = 1.0f - 2.0f * static_cast<float>(j) / acrossQuads;
            m.addVertex(p.surface + leftOf(p) * (p.halfWidth * f), glm::vec3(0, 1, 0),
                        {static_cast<float>(j) / acrossQuads, p.distance / textureLength});
        }
    }
    const int row = acrossQuads + 1;
    for (size_t i = 0; i + from < to; ++i)
        for (int j = 0; j < acrossQuads; ++j) {
            const int a = first + static_cast<int>(i) * row + j;
            m.addQuad(a, a + 1, a + 1 + row, a + row);
        }
}

// Sides and underside of the slab; the underside shows in the water's reflections.
void addSidesAndBottom(MeshBuilder& m, const std::vector<level::RoutePoint>& line, size_t from,
                       size_t to) {
    const glm::vec3 down(0.0f, -slabThickness, 0.0f);
    for (size_t i = from; i < to; ++i) {
        const level::RoutePoint& p = line[i];
        const level::RoutePoint& q = line[i + 1];
        const glm::vec3 pl = p.surface + leftOf(p) * p.halfWidth;
        const glm::vec3 pr = p.surface - leftOf(p) * p.halfWidth;
        const glm::vec3 ql = q.surface + leftOf(q) * q.halfWidth;
        const glm::vec3 qr = q.surface - leftOf(q) * q.halfWidth;
        const float v0 = p.distance / textureLength, v1 = q.distance / textureLength;
        const float t = slabThickness / textureLength;
        m.addFlatQuad(pl, ql, ql + down, pl + down, {0, v0}, {0, v1}, {t, v1}, {t, v0});
        m.addFlatQuad(pr, pr + down, qr + down, qr, {0, v0}, {t, v0}, {t, v1}, {0, v1});
        m.addFlatQuad(pl + down, ql + down, qr + down, pr + down, {0, v0}, {0, v1}, {1, v1},
                      {1, v0});
    }
}

// The end face of the slab at sample p, looking along `out`.
void addCap(MeshBuilder& m, const level::RoutePoint& p, const glm::vec3& out) {
    const glm::vec3 l = p.surface + leftOf(p) * p.halfWidth;
    const glm::vec3 r = p.surface - leftOf(p) * p.halfWidth;
    const glm::vec3 down(0.0f, -slabThickness, 0.0f);
    const int a = m.addVertex(l, out, {0, 0}), b = m.addVertex(r, out, {1, 0});
    const int c = m.addVertex(r + down, out, {1, 0.1f}), d = m.addVertex(l + down, out, {0, 0.1f});
    m.addQuadFacing(a, b, c, d, out);
}

// Square pillars under the slab wherever it stands well above the land, down into it.
void addPillars(MeshBuilder& m, const std::vector<level::RoutePoint>& line, size_t from,
                size_t to) {
    float next = std::ceil(line[from].distance / pillarSpacing) * pillarSpacing;
    for (size_t i = from; i <= to; ++i) {
        const level::RoutePoint& p = line[i];
        if (p.distance < next)
            continue;
        next += pillarSpacing;
        const glm::dvec2 xz(p.surface.x, p.surface.z);
        const float top = p.surface.y - slabThickness - 0.02f;
        double foot = terrain::groundBelow(xz);
        for (int k = 0; k < 4; ++k) {
            const glm::dvec2 corner = xz + glm::dvec2(k % 2 ? 1.0 : -1.0, k / 2 ? 1.0 : -1.0);
            foot = std::min(foot, terrain::groundBelow(corner));
        }
        if (top - foot < 2.0)
            continue;
        const glm::vec3 lo(p.surface.x - pillarHalf, static_cast<float>(foot) - 1.0f,
                           p.surface.z - pillarHalf);
        const glm::vec3 hi(p.surface.x + pillarHalf, top, p.surface.z + pillarHalf);
        MeshBuilder box;
        box.addBox(lo, hi, 4.0f);
        // Only the four sides: top and bottom are never seen.
        MeshBuilder sides;
        for (int f = 0; f < 4; ++f)
            for (int k = 0; k < 4; ++k) {
                const MeshBuilder::Vertex& v = box.vertices()[f * 4 + k];
                sides.addVertex(v.position, v.normal, v.uv);
            }
        for (int f = 0; f < 4; ++f)
            sides.addQuad(f * 4, f * 4 + 1, f * 4 + 2, f * 4 + 3);
        m.append(sides);
    }
}

MeshBuilder pathPiece(const std::vector<level::RoutePoint>& line, size_t from, size_t to) {
    MeshBuilder top;
    addTop(top, line, from, to);
    top.smoothNormals();
    MeshBuilder m = top;
    addSidesAndBottom(m, line, from, to);
    if (from == 0)
        addCap(m, line.front(), -line.front().tangent);
    if (to + 1 == line.size())
        addCap(m, line.back(), line.back().tangent);
    addPillars(m, line, from, to);
    return m;
}

size_t firstSampleOf(const std::vector<level::RoutePoint>& line, int segment) {
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i].segment >= segment)
            return i;
    return line.size() - 1;
}

} // namespace

void addPaths(Course& course) {
    const std::vector<level::RoutePoint> line = level::routeCentreline(rowSpacing);
    const size_t plateauEnd = firstSampleOf(line, level::routeDescentStartControl);
    const size_t sawEnd = firstSampleOf(line, level::routeSawControl + 1);
    const size_t last = line.size() - 1;

    const glm::dmat4 identity(1.0);
    const glm::dmat4 path2(level::path2Matrix()), path3(level::path3Matrix());
    course.meshes.push_back(
        {level::pathRiverFile, CourseMesh::Ground, identity, pathPiece(line, sawEnd, last)});
    course.meshes.push_back({level::path2File, CourseMesh::Ground, path2,
                             toModel(pathPiece(line, 0, plateauEnd), path2)});
    course.meshes.push_back({level::path3File, CourseMesh::Ground, path3,
                             toModel(pathPiece(line, plateauEnd, sawEnd), path3)});
}
