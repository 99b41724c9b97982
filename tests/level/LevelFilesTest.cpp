// The generated mesh files: all there, all loadable by the game's loader, written the same
// way every time, and small enough to draw eight times a frame.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "LevelGeometry.h"
#include "ReadFile.h"
#include "TestFiles.h"
#include "assets/AnimationModel.h"
#include "assets/ModelCoordinates.h"

namespace fs = std::filesystem;

TEST(LevelFiles, EveryMeshOfTheLevelLoads) {
    for (const LoadedMesh& m : loadedLevel()) {
        SCOPED_TRACE(m.row.file);
        EXPECT_TRUE(fs::is_regular_file(m.row.file));
        ASSERT_NE(m.model, nullptr);
        EXPECT_GT(m.model->getTriangleCount(), 0);
        EXPECT_EQ(static_cast<int>(m.world.size()), m.model->getTriangleCount());
        EXPECT_EQ(dynamic_cast<AnimationModel*>(m.model.get()) != nullptr, m.row.animated);
    }
}

TEST(LevelFiles, IndicesStayWithinTheVertices) {
    for (const LoadedMesh& m : loadedLevel()) {
        SCOPED_TRACE(m.row.file);
        ASSERT_NE(m.model, nullptr);
        const ModelCoordinates* c = m.model->getCoordinates();
        for (int i = 0; i < c->getIndexCount(); ++i)
            ASSERT_LT(c->getIndices()[i], static_cast<unsigned>(c->getVertexCount()));
    }
}

TEST(LevelFiles, TheSphereHasRadiusOneAndLooksOutward) {
    const LoadedMesh* sphere = findMesh(level::sphereFile);
    ASSERT_NE(sphere, nullptr);
    ASSERT_NE(sphere->model, nullptr);
    const ModelCoordinates* c = sphere->model->getCoordinates();
    ASSERT_GT(c->getVertexCount(), 100);
    for (int i = 0; i < c->getVertexCount(); ++i) {
        const glm::vec3 p(c->getPositions()[i]);
        EXPECT_NEAR(glm::length(p), 1.0f, 1e-5f);
        EXPECT_GT(glm::dot(c->getNormals()[i], p), 0.999f);
        const glm::vec2 uv = c->getTexCoords()[i];
        EXPECT_TRUE(uv.x >= 0.0f && uv.x <= 1.0f && uv.y >= 0.0f && uv.y <= 1.0f);
    }
    const unsigned* idx = c->getIndices();
    for (int t = 0; t + 2 < c->getIndexCount(); t += 3) {
        const glm::vec3 a(c->getPositions()[idx[t]]), b(c->getPositions()[idx[t + 1]]),
            d(c->getPositions()[idx[t + 2]]);
        const glm::vec3 n = glm::cross(b - a, d - a);
        ASSERT_GT(glm::length(n), 0.0f) << "triangle " << t / 3 << " has no area";
        EXPECT_GT(glm::dot(n, a + b + d), 0.0f) << "triangle " << t / 3 << " faces inward";
    }
}

TEST(LevelFiles, WaterSurfacesAreFlatAtTheirOrigin) {
    for (const char* file : {level::riverFile, level::lakeFile}) {
        const LoadedMesh* water = findMesh(file);
        ASSERT_NE(water, nullptr);
        ASSERT_NE(water->model, nullptr);
        const ModelCoordinates* c = water->model->getCoordinates();
        for (int i = 0; i < c->getVertexCount(); ++i)
            ASSERT_EQ(c->getPositions()[i].y, 0.0f) << file;
        for (const Triangle& t : water->world)
            EXPECT_GT(glm::cross(t.c1 - t.c0, t.c2 - t.c0).y, 0.0f) << file << " faces down";
    }
}

TEST(LevelFiles, TheLevelStaysWithinItsTriangleBudget) {
    int total = 0;
    for (const LoadedMesh& m : loadedLevel()) {
        ASSERT_NE(m.model, nullptr);
        total += m.model->getTriangleCount();
        // Planes are swept in full every step: tens or hundreds of triangles, not thousands.
        if (m.row.role == level::Role::Plane) {
            EXPECT_LT(m.model->getTriangleCount(), 400) << m.row.file;
        }
    }
    EXPECT_LT(total, 60000);
    std::cout << "level triangles: " << total << std::endl;
}

namespace {} // namespace

TEST(LevelFiles, TwoRunsWriteTheSameMeshesAndMap) {
    const char* generator = std::getenv("QUILLORB_LEVELGEN");
    if (generator == nullptr || *generator == '\0')
        GTEST_SKIP() << "QUILLORB_LEVELGEN does not name the generator";
    const std::string dirs[2] = {scratchDir() + "/level-run-1", scratchDir() + "/level-run-2"};
    for (const std::string& dir : dirs) {
        const std::string command = std::string("\"") + generator + "\" \"" + dir + "\" --map \"" +
                                    dir + "/map.png\" > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    int compared = 0;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(dirs[0] + "/models")) {
        if (!e.is_regular_file())
            continue;
        const fs::path other = dirs[1] / fs::relative(e.path(), dirs[0]);
        EXPECT_EQ(readFile(e.path()), readFile(other)) << e.path();
        ++compared;
    }
    EXPECT_EQ(compared, 19);
    const std::string map = readFile(dirs[0] + "/map.png");
    EXPECT_GT(map.size(), 1000u);
    EXPECT_EQ(map, readFile(dirs[1] + "/map.png"));
}
