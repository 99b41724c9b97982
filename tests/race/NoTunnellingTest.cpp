// Property: whatever the keys and however long the frames, the marble never passes through
// the level's fixed geometry (its centre never crosses a ground or fixed obstacle triangle
// from the front through the inside) and never sinks into the ground (a step never ends
// closer than 0.99 to a front-facing ground triangle it was not already touching).
#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "RaceSupport.h"
#include "assets/Model.h"
#include "assets/Sphere.h"
#include "levelgen/CourseRoute.h"
#include "physics/CollisionGeometry.h"
#include "physics/RaceState.h"
#include "platform/Keys.h"
#include "scene/Scene.h"

namespace {

using glm::dvec3;

struct Face {
    dvec3 a, b, c, n;
    Triangle corners;
    bool ground;
};

// Closest distance from p to the triangle (Voronoi regions of corners, edges and face).
double distanceTo(const Face& f, const dvec3& p) {
    const dvec3 ab = f.b - f.a, ac = f.c - f.a, ap = p - f.a;
    const double d1 = glm::dot(ab, ap), d2 = glm::dot(ac, ap);
    if (d1 <= 0 && d2 <= 0)
        return glm::length(ap);
    const dvec3 bp = p - f.b;
    const double d3 = glm::dot(ab, bp), d4 = glm::dot(ac, bp);
    if (d3 >= 0 && d4 <= d3)
        return glm::length(bp);
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0)
        return glm::length(p - (f.a + ab * (d1 / (d1 - d3))));
    const dvec3 cp = p - f.c;
    const double d5 = glm::dot(ab, cp), d6 = glm::dot(ac, cp);
    if (d6 >= 0 && d5 <= d6)
        return glm::length(cp);
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0)
        return glm::length(p - (f.a + ac * (d2 / (d2 - d6))));
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) {
        const double w = (d4 - d3) / ((d4 - d3) + (d5 - d6));
        return glm::length(p - (f.b + (f.c - f.b) * w));
    }
    const double denominator = 1.0 / (va + vb + vc);
    return glm::length(p - (f.a + ab * (vb * denominator) + ac * (vc * denominator)));
}

// The fixed triangles (ground and the obstacles that never move), bucketed by XZ cell.
class FixedGeometry {
  public:
    explicit FixedGeometry(Scene& scene) {
        for (int i = 0; i < scene.getGroundModelCount(); ++i)
            add(scene.getGroundModel(i), true);
        // The plain obstacles head the static list; the saw parts and the barrier move.
        for (int i = 0; i < scene.getStaticCount() - 3; ++i)
            add(scene.getStaticModel(i), false);
    }

    // Faces whose box, widened by 1.5, meets the box around the step.
    std::vector<const Face*> near(const glm::vec3& p, const glm::vec3& q) {
        std::vector<const Face*> out;
        ++stamp;
        for (int x = cell(std::min(p.x, q.x) - 1.5f); x <= cell(std::max(p.x, q.x) + 1.5f); ++x)
            for (int z = cell(std::min(p.z, q.z) - 1.5f); z <= cell(std::max(p.z, q.z) + 1.5f);
                 ++z) {
                auto found = cells.find(key(x, z));
                if (found == cells.end())
                    continue;
                for (int index : found->second) {
                    if (seen[index] != stamp) {
                        seen[index] = stamp;
                        out.push_back(&faces[index]);
                    }
                }
            }
        return out;
    }
    size_t size() const { return faces.size(); }

  private:
    static int cell(float v) { return static_cast<int>(std::floor(v / 8.0f)); }
    static unsigned long long key(int x, int z) {
        return (static_cast<unsigned long long>(static_cast<unsigned int>(x)) << 32) |
               static_cast<unsigned int>(z);
    }

    void add(Model* model, bool ground) {
        if (model == nullptr)
            return;
        const Triangle* triangles = model->getWorldTriangles();
        for (int t = 0; triangles && t < model->getTriangleCount(); ++t) {
            const Triangle& tri = triangles[t];
            if (!collision::hasArea(tri))
                continue;
            Face f{dvec3(tri.c0), dvec3(tri.c1), dvec3(tri.c2), dvec3(0.0), tri, ground};
            f.n = glm::normalize(glm::cross(f.b - f.a, f.c - f.a));
            const int index = static_cast<int>(faces.size());
            faces.push_back(f);
            seen.push_back(0);
            float minX = std::min({tri.c0.x, tri.c1.x, tri.c2.x}) - 1.5f;
            float maxX = std::max({tri.c0.x, tri.c1.x, tri.c2.x}) + 1.5f;
            float minZ = std::min({tri.c0.z, tri.c1.z, tri.c2.z}) - 1.5f;
            float maxZ = std::max({tri.c0.z, tri.c1.z, tri.c2.z}) + 1.5f;
            for (int x = cell(minX); x <= cell(maxX); ++x)
                for (int z = cell(minZ); z <= cell(maxZ); ++z)
                    cells[key(x, z)].push_back(index);
        }
    }

    std::vector<Face> faces;
    std::vector<int> seen;
    int stamp = 0;
    std::map<unsigned long long, std::vector<int>> cells;
};

struct Tally {
    long steps = 0;
    long onGround = 0;
    long crossings = 0;
    long sinkings = 0;
    std::ostringstream first;
};

void checkStep(FixedGeometry& geometry, const glm::vec3& from, const glm::vec3& to, Tally& tally) {
    const dvec3 p(from), q(to);
    bool touching = false;
    for (const Face* f : geometry.near(from, to)) {
        const double sp = glm::dot(f->n, p - f->a), sq = glm::dot(f->n, q - f->a);
        if (sp > 0.0 && sq < 0.0) {
            const glm::vec3 crossing(p + (q - p) * (sp / (sp - sq)));
            if (collision::pointInTriangle(f->corners, glm::vec3(f->n), crossing)) {
                if (tally.crossings++ == 0)
                    tally.first << "crossed from " << from.x << ", " << from.y << ", " << from.z
                                << " to " << to.x << ", " << to.y << ", " << to.z << "\n";
            }
        }
        if (!f->ground)
            continue;
        const double after = distanceTo(*f, q);
        touching = touching || after < 1.1;
        if (sq > 0.0 && after < 0.99 && distanceTo(*f, p) >= 1.0) {
            if (tally.sinkings++ == 0)
                tally.first << "sank to " << after << " at " << to.x << ", " << to.y << ", " << to.z
                            << "\n";
        }
    }
    ++tally.steps;
    tally.onGround += touching ? 1 : 0;
}

int randomKeys(std::mt19937& random) {
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    const double odds[4] = {0.7, 0.3, 0.2, 0.3}; // W, A, S, D
    int mask = 0;
    for (int k = 0; k < 4; ++k)
        mask |= chance(random) < odds[k] ? 1 << k : 0;
    return mask;
}

} // namespace

TEST(NoTunnelling, RandomDrivingNeverPassesThroughOrSinksIntoTheLevel) {
    REQUIRE_LEVEL();
    FixedGeometry geometry(*race::scene());
    ASSERT_GT(geometry.size(), 100u);
    const int routeLength = static_cast<int>(level::routeWaypoints().size());
    const int keyCodes[4] = {GLFW_KEY_W, GLFW_KEY_A, GLFW_KEY_S, GLFW_KEY_D};

    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> logFrame(std::log(1.0 / 240.0), std::log(1.0 / 5.0));
    std::uniform_int_distribution<int> startAt(0, routeLength - 2), hold(1, 40);
    Tally tally;
    for (int run = 0; run < 80; ++run) {
        race::restartRace();
        if (run % 4 != 0)
            race::placeOnRoute(startAt(random));
        int keysLeft = 0;
        for (int frame = 0; frame < 400 && !race::state().isWon(); ++frame) {
            if (keysLeft-- <= 0) {
                const int mask = randomKeys(random);
                for (int k = 0; k < 4; ++k)
                    race::keys().set(keyCodes[k], mask & (1 << k));
                keysLeft = hold(random);
            }
            const glm::vec3 before = race::scene()->getMarble()->getBoundingCenter();
            const int lives = race::state().lives;
            race::runFrame(std::exp(logFrame(random)));
            const glm::vec3 after = race::scene()->getMarble()->getBoundingCenter();
            // A lost life puts the marble back at the start: that is no motion to check.
            if (race::state().lives == lives && !race::state().isGameOver())
                checkStep(geometry, before, after, tally);
            else
                race::state().lives = 3; // keep the run going from the start
        }
    }
    race::keys().releaseAll();
    std::cout << "[ property ] " << tally.steps << " steps checked, " << tally.onGround
              << " on the ground" << std::endl;
    EXPECT_EQ(0, tally.crossings) << tally.first.str();
    EXPECT_EQ(0, tally.sinkings) << tally.first.str();
    // The drives must really have rolled on the level, not only flown over it.
    EXPECT_GT(tally.onGround, tally.steps / 2);
}
