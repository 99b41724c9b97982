// generateMap: a top-down picture of the course, seen from above with north (+z) down the
// page and east (+x) to the right, as a player looking down would see it. Every mesh is
// drawn at its height (the highest surface wins), then the route, the start, the waiting
// points and the obstacles are marked on top.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <vector>

#include <stb_image_write.h>

#include "Course.h"
#include "CourseRoute.h"
#include "Generators.h"
#include "level/LevelTable.h"

namespace {

constexpr int mapWidth = 640;
constexpr int mapHeight = 1024;
constexpr double pixelsPerUnit = 1.75;
constexpr double westX = -225.0;
constexpr double southZ = -440.0;

struct Rgb {
    unsigned char r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto m = [t](unsigned char x, unsigned char y) {
        return static_cast<unsigned char>(std::lround(x + (y - x) * t));
    };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

// A picture with a height per pixel, so that whatever lies highest shows.
class MapCanvas {
  public:
    MapCanvas()
        : colour(static_cast<size_t>(mapWidth) * mapHeight, Rgb{24, 28, 40}),
          height(colour.size(), -1e9) {}

    static glm::dvec2 toPixel(const glm::dvec3& world) {
        return {(world.x - westX) * pixelsPerUnit, (world.z - southZ) * pixelsPerUnit};
    }

    template <typename Shade>
    void triangle(const glm::dvec3& a, const glm::dvec3& b, const glm::dvec3& c, Shade shade) {
        const glm::dvec2 p = toPixel(a), q = toPixel(b), r = toPixel(c);
        const double area = (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
        if (std::fabs(area) < 1e-9)
            return;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({p.x, q.x, r.x}))));
        const int x1 =
            std::min(mapWidth - 1, static_cast<int>(std::ceil(std::max({p.x, q.x, r.x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({p.y, q.y, r.y}))));
        const int y1 =
            std::min(mapHeight - 1, static_cast<int>(std::ceil(std::max({p.y, q.y, r.y}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const glm::dvec2 s(x + 0.5, y + 0.5);
                const double u = ((r.x - q.x) * (s.y - q.y) - (r.y - q.y) * (s.x - q.x)) / area;
                const double v = ((p.x - r.x) * (s.y - r.y) - (p.y - r.y) * (s.x - r.x)) / area;
                const double w = 1.0 - u - v;
                if (u < 0.0 || v < 0.0 || w < 0.0)
                    continue;
                const double h = u * a.y + v * b.y + w * c.y;
                plot(x, y, h, shade(h, x, y));
            }
    }

    void disc(const glm::dvec3& centre, double radiusPixels, Rgb fill, double h = 1e6) {
        const glm::dvec2 c = toPixel(centre);
        for (int y = static_cast<int>(c.y - radiusPixels) - 1; y <= c.y + radiusPixels + 1; ++y)
            for (int x = static_cast<int>(c.x - radiusPixels) - 1; x <= c.x + radiusPixels + 1; ++x)
                if (glm::length(glm::dvec2(x + 0.5, y + 0.5) - c) <= radiusPixels)
                    plot(x, y, h, fill);
    }

    void line(const glm::dvec3& a, const glm::dvec3& b, double widthPixels, Rgb ink) {
        const double steps = std::max(1.0, glm::length(toPixel(b) - toPixel(a)) * 2.0);
        for (int i = 0; i <= steps; ++i)
            disc(a + (b - a) * (i / steps), widthPixels / 2.0, ink);
    }

    bool save(const std::string& path) const {
        std::vector<unsigned char> bytes;
        for (const Rgb& c : colour) {
            bytes.push_back(c.r);
            bytes.push_back(c.g);
            bytes.push_back(c.b);
        }
        return stbi_write_png(path.c_str(), mapWidth, mapHeight, 3, bytes.data(), mapWidth * 3) !=
               0;
    }

  private:
    void plot(int x, int y, double h, Rgb c) {
        if (x < 0 || y < 0 || x >= mapWidth || y >= mapHeight)
            return;
        const size_t i = static_cast<size_t>(y) * mapWidth + x;
        if (h < height[i])
            return;
        height[i] = h;
        colour[i] = c;
    }

    std::vector<Rgb> colour;
    std::vector<double> height;
};

Rgb landColour(CourseMesh::Kind kind, double h, int x, int y) {
    switch (kind) {
    case CourseMesh::Plane:
        return mix(Rgb{70, 128, 58}, Rgb{128, 176, 92}, h / 15.0);
    case CourseMesh::Water:
        return Rgb{54, 112, 190};
    case CourseMesh::Ground:
        return h < -0.2 ? mix(Rgb{96, 84, 60}, Rgb{176, 156, 112}, (h + 5.5) / 5.0)
                        : Rgb{222, 196, 140};
    case CourseMesh::Finish:
        return ((x / 4 + y / 4) % 2) ? Rgb{250, 250, 250} : Rgb{20, 20, 20};
    case CourseMesh::Solid:
        return Rgb{150, 84, 40};
    default:
        return Rgb{200, 200, 200};
    }
}

void drawMeshes(MapCanvas& map, const Course& course) {
    for (const CourseMesh& m : course.meshes) {
        if (m.kind == CourseMesh::Plant)
            continue;
        const MeshBuilder world = toWorld(m.mesh, m.matrix);
        const auto& v = world.vertices();
        const auto& idx = world.indices();
        // The finish area is drawn on top of the path it lies on.
        const double lift = m.kind == CourseMesh::Finish ? 0.5 : 0.0;
        for (size_t i = 0; i + 2 < idx.size(); i += 3) {
            const glm::dvec3 up(0.0, lift, 0.0);
            map.triangle(glm::dvec3(v[idx[i]].position) + up,
                         glm::dvec3(v[idx[i + 1]].position) + up,
                         glm::dvec3(v[idx[i + 2]].position) + up,
                         [&](double h, int x, int y) { return landColour(m.kind, h, x, y); });
        }
    }
}

// Trees and reeds as round crowns where their cards stand.
void drawPlants(MapCanvas& map, const Course& course) {
    for (const CourseMesh& m : course.meshes) {
        if (m.kind != CourseMesh::Plant)
            continue;
        const auto& v = m.mesh.vertices();
        for (size_t i = 0; i + 3 < v.size(); i += 4) {
            const glm::dvec3 a(v[i].position), b(v[i + 1].position);
            const double r = 0.5 * glm::length(b - a) * pixelsPerUnit;
            map.disc(0.5 * (a + b), r, r > 2.5 ? Rgb{34, 90, 34} : Rgb{150, 170, 60});
        }
    }
}

void drawMarks(MapCanvas& map) {
    const std::vector<level::RoutePoint> line = level::routeCentreline(2.0f);
    for (size_t i = 0; i + 1 < line.size(); i += 2)
        if ((i / 2) % 3 != 2)
            map.line(line[i].surface, line[i + 1].surface, 1.5, Rgb{120, 70, 30});
    const std::vector<glm::vec3> waypoints = level::routeWaypoints();
    for (int i : {level::barrierWaitWaypoint(), level::sawWaitWaypoint()})
        map.disc(waypoints[static_cast<size_t>(i)], 4.0, Rgb{250, 210, 40});
    // Start: a white disc with the first direction of W.
    const glm::dvec3 start(level::startPosition);
    map.line(start, start + glm::dvec3(-0.666, 0.0, 0.746) * 12.0, 3.0, Rgb{255, 255, 255});
    map.disc(start, 7.0, Rgb{20, 20, 20});
    map.disc(start, 5.0, Rgb{255, 255, 255});
    // Obstacles: the barrier and the saw in red, the static ball in grey.
    map.line({-31.0, 16.0, -344.0}, {-31.0, 16.0, -332.0}, 5.0, Rgb{220, 30, 30});
    map.line({51.0, 4.0, -46.0}, {51.0, 4.0, -42.0}, 9.0, Rgb{220, 30, 30});
    map.disc({28.0, -4.5, -0.4}, 3.5, Rgb{110, 110, 120});
}

} // namespace

void generateMap(const std::string& mapPath) {
    const Course course = buildCourse();
    MapCanvas map;
    drawMeshes(map, course);
    drawPlants(map, course);
    drawMarks(map);
    std::error_code ignored;
    const std::filesystem::path parent = std::filesystem::path(mapPath).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ignored);
    if (!map.save(mapPath))
        std::cerr << "levelgen: could not write " << mapPath << std::endl;
}
