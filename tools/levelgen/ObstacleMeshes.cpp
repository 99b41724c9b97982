// The made things: the marble's sphere, the saw (frame, moving crossbar, spinning blade),
// the rising stop barrier, the finish gate with its banner and the finish area under it.
// Each is modelled in its own coordinates, inside its bounding radius.
#include "Course.h"
#include "CourseRoute.h"
#include "ShapeMeshes.h"
#include "level/LevelTable.h"

namespace {

// The saw, around the placement point 4 above the meadow. The path surface under it is
// y = 1 in the world, so 3 below the crossbar's origin at rest.
constexpr float bladeRadius = 2.0f;
constexpr float bladeBody = 1.72f;
constexpr float bladeThickness = 0.16f;

MeshBuilder sawFrame() {
    MeshBuilder m;
    for (float side : {-1.0f, 1.0f}) {
        // Two guide posts beside the path (it is 9 wide here) on broad feet.
        m.addBox({side > 0 ? 5.2f : -5.9f, 0.0f, -0.35f}, {side > 0 ? 5.9f : -5.2f, 5.2f, 0.35f},
                 1.0f);
        m.addBox({side > 0 ? 4.95f : -6.15f, 0.0f, -1.2f}, {side > 0 ? 6.15f : -4.95f, 0.3f, 1.2f},
                 1.0f);
    }
    return m;
}

MeshBuilder sawBeam() {
    MeshBuilder m;
    m.addBox({-5.1f, 2.6f, -0.35f}, {5.1f, 3.2f, 0.35f}, 1.0f);
    // The hanger behind the blade that carries its bolt.
    m.addBox({-0.45f, -0.45f, -0.75f}, {0.45f, 2.6f, -0.55f}, 1.0f);
    return m;
}

MeshBuilder sawBlade() {
    MeshBuilder m;
    addSawBlade(m, bladeBody, bladeRadius, 24, bladeThickness);
    addPrismZ(m, {0.0f, 0.0f}, 0.3f, 6, -0.55f, 0.22f); // the bolt through the hub
    return m;
}

// The barrier: a wall across the path's whole width, 12 long, 1 thick, 4.2 tall. In its
// model coordinates the path's surface is 4 above the origin and the wall runs along x.
MeshBuilder barrierWall(float topAboveSurface) {
    MeshBuilder m;
    const float top = 4.0f + topAboveSurface;
    m.addBox({-6.0f, top - 4.2f, -0.5f}, {6.0f, top, 0.5f}, 2.0f);
    return m;
}

AnimatedCourseMesh barrier() {
    AnimatedCourseMesh a;
    a.file = level::stopFile;
    a.matrix = glm::dmat4(level::stopMatrix());
    a.mesh = barrierWall(level::barrierTopAboveSurface(0));
    a.seconds = level::barrierLoopSeconds;
    for (int k = 0; k < level::barrierKeyframeCount; ++k) {
        const MeshBuilder pose = barrierWall(level::barrierTopAboveSurface(k));
        std::vector<glm::vec3> positions;
        for (const MeshBuilder::Vertex& v : pose.vertices())
            positions.push_back(v.position);
        a.keyframes.push_back(positions);
    }
    return a;
}

// The gate in its own coordinates: it spans x (world z) and is passed along -z (world -x).
MeshBuilder gate() {
    MeshBuilder m;
    m.addBox({-7.6f, 0.0f, -0.6f}, {-6.4f, 9.0f, 0.6f}, 2.0f);
    m.addBox({6.4f, 0.0f, -0.6f}, {7.6f, 9.0f, 0.6f}, 2.0f);
    m.addBox({-8.6f, 9.0f, -0.7f}, {8.6f, 10.2f, 0.7f}, 2.0f);
    return m;
}

// The banner under the gate's beam, readable from both sides: u runs left to right and
// v bottom to top as each side is seen.
MeshBuilder banner() {
    MeshBuilder m;
    const float x = 6.0f, y0 = 6.0f, y1 = 8.6f, z = 0.05f;
    m.addFlatQuad({-x, y0, z}, {x, y0, z}, {x, y1, z}, {-x, y1, z}, {0, 0}, {1, 0}, {1, 1}, {0, 1});
    m.addFlatQuad({x, y0, -z}, {-x, y0, -z}, {-x, y1, -z}, {x, y1, -z}, {0, 0}, {1, 0}, {1, 1},
                  {0, 1});
    return m;
}

// World triangles on the path's surface between the gate's posts.
MeshBuilder finishArea() {
    MeshBuilder m;
    const glm::vec3 up(0, 1, 0);
    const float y = level::meadowSurfaceY;
    const int a = m.addVertex({-58.0f, y, 31.5f}, up, {0, 0});
    const int b = m.addVertex({-54.0f, y, 31.5f}, up, {1, 0});
    const int c = m.addVertex({-54.0f, y, 42.5f}, up, {1, 1});
    const int d = m.addVertex({-58.0f, y, 42.5f}, up, {0, 1});
    m.addQuadFacing(a, b, c, d, up);
    return m;
}

} // namespace

void addObstacles(Course& course) {
    const glm::dmat4 identity(1.0);
    MeshBuilder sphere;
    addSphere(sphere, glm::vec3(0.0f), 1.0f, 32, 16);
    course.meshes.push_back(
        {level::sphereFile, CourseMesh::Marble, glm::dmat4(level::staticBallMatrix()), sphere});
    course.meshes.push_back({level::finishAreaFile, CourseMesh::Finish, identity, finishArea()});
    course.meshes.push_back(
        {level::sawBeamFile, CourseMesh::Solid, glm::dmat4(level::sawMatrix()), sawBeam()});
    course.meshes.push_back(
        {level::sawBladeFile, CourseMesh::Solid, glm::dmat4(level::sawMatrix()), sawBlade()});
    course.meshes.push_back(
        {level::bannerFile, CourseMesh::Solid, glm::dmat4(level::finishMatrix()), banner()});
    course.meshes.push_back(
        {level::gateFile, CourseMesh::Solid, glm::dmat4(level::finishMatrix()), gate()});
    course.meshes.push_back(
        {level::sawFrameFile, CourseMesh::Solid, glm::dmat4(level::sawFrameMatrix()), sawFrame()});
    course.barrier = barrier();
}
