// The land and the water: the out-of-bounds planes (the plateau with its lake basin, and
// the meadow with the river cut out of it), the river bed and the two water surfaces.
// The planes are tested against the marble in full every step, so they stay at a few
// hundred triangles; the river bed is ground and keeps its edges short.
#include <cmath>

#include "Course.h"
#include "CourseTerrain.h"
#include "level/LevelTable.h"

namespace {

constexpr int plateauSegments = 24;
constexpr int lakeSegments = 48;
constexpr double pi = 3.14159265358979323846;
const glm::vec3 up(0.0f, 1.0f, 0.0f);

glm::vec2 tiled(double x, double z, double tile) {
    return glm::vec2(static_cast<float>(x / tile), static_cast<float>(z / tile));
}

int groundVertex(MeshBuilder& m, double x, double y, double z, double tile) {
    return m.addVertex(glm::vec3(glm::dvec3(x, y, z)), up, tiled(x, z, tile));
}

double segmentAngle(int k, int count) {
    return -pi + 2.0 * pi * k / count;
}

// The first area's plane: rings around the lake centre from the basin floor out to the
// plane's edge (floor, shore top, plateau rim, foot of the rim's slope, edge).
MeshBuilder plateauPlane() {
    MeshBuilder m;
    const glm::dvec2 c = terrain::lakeCentre;
    const int centre = groundVertex(m, c.x, terrain::basinFloorY, c.y, 16.0);
    const double heights[5] = {terrain::basinFloorY, terrain::plateauTopY, terrain::plateauTopY,
                               0.0, 0.0};
    for (int k = 0; k < plateauSegments; ++k) {
        const double a = segmentAngle(k, plateauSegments);
        const terrain::PlateauRings g = terrain::plateauRings(a);
        const double radii[5] = {g.floorEdge, g.shoreTop, g.rim, g.foot, g.edge};
        for (int ring = 0; ring < 5; ++ring)
            groundVertex(m, c.x + radii[ring] * std::cos(a), heights[ring],
                         c.y + radii[ring] * std::sin(a), 16.0);
    }
    for (int k = 0; k < plateauSegments; ++k) {
        const int a = 1 + 5 * k, b = 1 + 5 * ((k + 1) % plateauSegments);
        m.addTriangleFacing(centre, a, b, up);
        for (int ring = 0; ring < 4; ++ring)
            m.addQuadFacing(a + ring, b + ring, b + ring + 1, a + ring + 1, up);
    }
    m.smoothNormals();
    return m;
}

// The meadow: strips across the disc from south to north; where the river runs, each strip
// leaves out the channel between its banks.
MeshBuilder meadowPlane() {
    MeshBuilder m;
    const double r = terrain::meadowRadius;
    std::vector<double> xs;
    for (double x = -127.0; x < terrain::riverWestX - 1.0; x += 16.25)
        xs.push_back(x);
    for (int k = 0; k <= terrain::riverColumnCount; ++k)
        xs.push_back(terrain::riverWestX + terrain::riverColumnWidth * k);
    for (double x = terrain::riverEastX() + 12.75; x <= 127.01; x += 12.75)
        xs.push_back(x);
    auto rim = [r](double x) { return std::sqrt(std::max(r * r - x * x, 0.0)); };
    auto strip = [&](double x0, double z0a, double z0b, double x1, double z1a, double z1b) {
        const int a = groundVertex(m, x0, 0.0, z0a, 20.0), b = groundVertex(m, x0, 0.0, z0b, 20.0);
        const int c = groundVertex(m, x1, 0.0, z1b, 20.0), d = groundVertex(m, x1, 0.0, z1a, 20.0);
        m.addQuadFacing(a, b, c, d, up);
    };
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        const double x0 = xs[i], x1 = xs[i + 1];
        terrain::RiverSection s0, s1;
        const bool river = terrain::riverSectionAt(x0, s0) && terrain::riverSectionAt(x1, s1);
        if (river) {
            strip(x0, -rim(x0), s0.south, x1, -rim(x1), s1.south);
            strip(x0, s0.north, rim(x0), x1, s1.north, rim(x1));
        } else {
            strip(x0, -rim(x0), rim(x0), x1, -rim(x1), rim(x1));
        }
    }
    return m;
}

// The river bed in world coordinates: 2-unit rows along the channel, 12 strips across.
MeshBuilder riverBedWorld() {
    const double vs[13] = {-1, -0.85, -0.7, -0.55, -0.4, -0.2, 0, 0.2, 0.4, 0.55, 0.7, 0.85, 1};
    const int rows = terrain::riverColumnCount * 3;
    MeshBuilder m;
    for (int i = 0; i <= rows; ++i) {
        const double x = terrain::riverWestX + 2.0 * i;
        terrain::RiverSection s;
        terrain::riverSectionAt(std::min(x, terrain::riverEastX()), s);
        for (double v : vs) {
            const double z = s.south + (s.north - s.south) * (v + 1.0) / 2.0;
            groundVertex(m, x, terrain::riverBedHeight(x, v), z, 8.0);
        }
    }
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < 12; ++j) {
            const int a = i * 13 + j;
            m.addQuadFacing(a, a + 1, a + 14, a + 13, up);
        }
    m.smoothNormals();
    return m;
}

// The river's water: one quad per column between the banks, flat at the water line.
MeshBuilder riverWaterWorld() {
    MeshBuilder m;
    for (int k = 0; k <= terrain::riverColumnCount; ++k) {
        const terrain::RiverSection s = terrain::riverColumn(k);
        groundVertex(m, s.x, terrain::riverWaterY, s.south, 30.0);
        groundVertex(m, s.x, terrain::riverWaterY, s.north, 30.0);
    }
    for (int k = 0; k < terrain::riverColumnCount; ++k)
        m.addQuadFacing(2 * k, 2 * k + 1, 2 * k + 3, 2 * k + 2, up);
    return m;
}

// The lake's water: a fan out to the top of the shore, where the land hides its edge.
MeshBuilder lakeWaterWorld() {
    MeshBuilder m;
    const glm::dvec2 c = terrain::lakeCentre;
    const int centre = groundVertex(m, c.x, terrain::lakeWaterY, c.y, 30.0);
    for (int k = 0; k < lakeSegments; ++k) {
        const double a = segmentAngle(k, lakeSegments);
        const double r = terrain::plateauRings(a).shoreTop;
        groundVertex(m, c.x + r * std::cos(a), terrain::lakeWaterY, c.y + r * std::sin(a), 30.0);
    }
    for (int k = 0; k < lakeSegments; ++k)
        m.addTriangleFacing(centre, 1 + k, 1 + (k + 1) % lakeSegments, up);
    return m;
}

// Water lies exactly at its model's y = 0.
MeshBuilder flatWater(MeshBuilder world, const glm::dmat4& matrix) {
    MeshBuilder m = toModel(std::move(world), matrix);
    for (MeshBuilder::Vertex& v : m.vertices()) {
        v.position.y = 0.0f;
        v.normal = up;
    }
    return m;
}

} // namespace

void addTerrain(Course& course) {
    const glm::dmat4 identity(1.0);
    const glm::dmat4 river(level::riverMatrix()), lake(level::lakeMatrix()),
        plane(level::planeMatrix());
    course.meshes.push_back(
        {level::riverFile, CourseMesh::Water, river, flatWater(riverWaterWorld(), river)});
    course.meshes.push_back(
        {level::lakeFile, CourseMesh::Water, lake, flatWater(lakeWaterWorld(), lake)});
    course.meshes.push_back(
        {level::riverBedFile, CourseMesh::Ground, river, toModel(riverBedWorld(), river)});
    course.meshes.push_back({level::planeRiverFile, CourseMesh::Plane, identity, meadowPlane()});
    course.meshes.push_back(
        {level::planeFile, CourseMesh::Plane, plane, toModel(plateauPlane(), plane)});
}
