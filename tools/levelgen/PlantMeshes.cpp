// Trees and reeds as crossed cards for the alpha-masked plant textures: each card shows the
// whole plant, u from one side to the other and v from the ground (0) to the top (1). The
// plants' transforms are the identity and their bounding spheres sit on the origin, so they
// grow on the river's north bank and in its shallows right there.
#include <cmath>

#include "Course.h"
#include "level/LevelTable.h"

namespace {

struct Plant {
    float x, z;      // where it stands
    float halfWidth; // of each card
    float bottom, top;
};

// Three vertical cards 60 degrees apart through the plant's stem, turned by `turn`.
void addCrossedCards(MeshBuilder& m, const Plant& p, float turn) {
    for (int k = 0; k < 3; ++k) {
        const float a = turn + 1.04719755f * static_cast<float>(k);
        const glm::vec3 along(std::cos(a) * p.halfWidth, 0.0f, std::sin(a) * p.halfWidth);
        const glm::vec3 base(p.x, p.bottom, p.z), lift(0.0f, p.top - p.bottom, 0.0f);
        m.addFlatQuad(base - along, base + along, base + along + lift, base - along + lift, {0, 0},
                      {1, 0}, {1, 1}, {0, 1});
    }
}

MeshBuilder plants(const std::vector<Plant>& list) {
    MeshBuilder m;
    float turn = 0.3f;
    for (const Plant& p : list) {
        addCrossedCards(m, p, turn);
        turn += 0.7f;
    }
    return m;
}

} // namespace

void addPlants(Course& course) {
    const glm::dmat4 identity(1.0);
    // A tree with a bush beside it, and a tree with a young one, on the bank between the
    // river and the route (all within 12 of the origin).
    course.meshes.push_back(
        {level::treeFile, CourseMesh::Plant, identity,
         plants({{4.0f, 4.5f, 2.6f, -0.3f, 8.0f}, {9.5f, 3.5f, 1.3f, -0.3f, 3.0f}})});
    course.meshes.push_back(
        {level::tree2File, CourseMesh::Plant, identity,
         plants({{-4.5f, 5.0f, 2.4f, -0.3f, 7.4f}, {-0.5f, 8.5f, 1.8f, -0.3f, 5.5f}})});
    // Reed clumps standing in the shallows (within 4 of the origin), their feet under water.
    course.meshes.push_back({level::reedsFile, CourseMesh::Plant, identity,
                             plants({{-2.2f, 0.4f, 0.6f, -1.8f, 0.9f},
                                     {-1.0f, 0.6f, 0.6f, -1.8f, 1.0f},
                                     {0.3f, 0.2f, 0.6f, -1.8f, 0.8f},
                                     {1.4f, 0.5f, 0.6f, -1.8f, 1.0f},
                                     {2.3f, 0.0f, 0.6f, -1.8f, 0.7f},
                                     {0.6f, -0.9f, 0.6f, -1.8f, 0.9f}})});
}
