#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include "NearlyEqual.h"
#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/Model.h"
#include "assets/ModelCoordinates.h"

namespace {

// One triangle in the y = 0 plane, plus as many trailing indices as asked.
ModelCoordinates* makeTriangle(int extraIndices = 0) {
    glm::vec4* positions = new glm::vec4[3]{{0, 0, 0, 1}, {1, 0, 0, 1}, {0, 0, 1, 1}};
    glm::vec3* normals = new glm::vec3[3]{{0, 1, 0}, {0, 1, 0}, {0, 1, 0}};
    glm::vec2* texCoords = new glm::vec2[3]();
    int indexCount = 3 + extraIndices;
    unsigned int* indices = new unsigned int[indexCount]();
    indices[1] = 2;
    indices[2] = 1;
    return new ModelCoordinates(indexCount, positions, 3, normals, texCoords, indices);
}

glm::vec4* liftedCopy(const ModelCoordinates& mesh, float lift) {
    glm::vec4* pose = new glm::vec4[3];
    for (int i = 0; i < 3; ++i)
        pose[i] = mesh.getPositions()[i] + glm::vec4(0, lift, 0, 0);
    return pose;
}

} // namespace

TEST(Model, BoundingCenterIsTheTranslationOfTheTransform) {
    Model model(makeTriangle());
    glm::mat4 placed = glm::translate(glm::mat4(1.0f), glm::vec3(1, 2, 3)) *
                       glm::rotate(glm::mat4(1.0f), glm::radians(73.0f), glm::vec3(1, 2, 0.5f));
    model.setTransform(placed);
    glm::vec3 center = model.getBoundingCenter();
    EXPECT_TRUE(nearlyEqual(center, glm::vec3(1.0f, 2.0f, 3.0f), 1e-6f));
    EXPECT_EQ(model.getTransform(), placed);
}

TEST(Model, WorldTrianglesAreComputedOnceAndKept) {
    Model model(makeTriangle());
    model.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(10, 0, 0)));
    const Triangle* first = model.getWorldTriangles();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first[0].c0, glm::vec3(10, 0, 0));
    EXPECT_EQ(first[0].c1, glm::vec3(10, 0, 1));
    EXPECT_EQ(first[0].c2, glm::vec3(11, 0, 0));

    model.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(0, 5, 0)));
    const Triangle* second = model.getWorldTriangles();
    EXPECT_EQ(second, first);
    EXPECT_EQ(second[0].c0, glm::vec3(10, 0, 0));
}

TEST(Model, TrailingIndicesBeyondWholeTrianglesAreIgnored) {
    Model model(makeTriangle(4)); // 7 indices
    EXPECT_EQ(model.getTriangleCount(), 2);
    const Triangle* triangles = model.getWorldTriangles();
    ASSERT_NE(triangles, nullptr);
    EXPECT_EQ(triangles[1].c0, glm::vec3(0, 0, 0));
    EXPECT_EQ(triangles[1].c2, glm::vec3(0, 0, 0));
}

TEST(Model, WithoutMeshEverythingIsHarmless) {
    Model model(nullptr);
    EXPECT_EQ(model.getTriangleCount(), 0);
    EXPECT_EQ(model.getWorldTriangles(), nullptr);
    model.draw();
    model.drawBuffered();
    model.drawUnlit();
    model.drawUnlitBuffered();
    model.createBuffers();
    EXPECT_EQ(model.getVertexBuffer(), 0u);

    HierarchicalAnimationModel saw(nullptr);
    EXPECT_EQ(saw.getWorldTriangles(), nullptr);
    AnimationModel animated(nullptr, 1.0f, 0, nullptr);
    animated.update(0.5f);
    animated.drawAnimated();
    EXPECT_EQ(animated.getWorldTriangles(), nullptr);
}

TEST(HierarchicalAnimationModel, WorldMatrixIsParentTimesPlacementTimesLocal) {
    HierarchicalAnimationModel blade(makeTriangle());
    EXPECT_EQ(blade.getParentTransform(), glm::mat4(1.0f));
    EXPECT_EQ(blade.getLocalTransform(), glm::mat4(1.0f));
    glm::mat4 parent = glm::translate(glm::mat4(1.0f), glm::vec3(0, 2, 0));
    glm::mat4 placement = glm::translate(glm::mat4(1.0f), glm::vec3(5, 0, 0));
    glm::mat4 local = glm::rotate(glm::mat4(1.0f), glm::radians(40.0f), glm::vec3(0, 0, 1));
    blade.setParentTransform(parent);
    blade.setTransform(placement);
    blade.setLocalTransform(local);
    EXPECT_EQ(blade.getTransform(), placement);
    glm::vec3 center = blade.getBoundingCenter();
    EXPECT_TRUE(nearlyEqual(center, glm::vec3(5.0f, 2.0f, 0.0f), 1e-6f));

    // Order matters: a scale in the parent also scales the placement's offset.
    blade.setParentTransform(glm::scale(glm::mat4(1.0f), glm::vec3(2, 1, 1)));
    blade.setLocalTransform(glm::translate(glm::mat4(1.0f), glm::vec3(1, 0, 0)));
    EXPECT_NEAR(blade.getBoundingCenter().x, 12.0f, 1e-5f);
}

TEST(HierarchicalAnimationModel, WorldTrianglesFollowEveryChange) {
    HierarchicalAnimationModel blade(makeTriangle());
    EXPECT_EQ(blade.getWorldTriangles()[0].c2, glm::vec3(1, 0, 0));
    blade.setParentTransform(glm::translate(glm::mat4(1.0f), glm::vec3(0, 3, 0)));
    EXPECT_EQ(blade.getWorldTriangles()[0].c2, glm::vec3(1, 3, 0));
    blade.setLocalTransform(glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(0, 1, 0)));
    glm::vec3 turned = blade.getWorldTriangles()[0].c2;
    EXPECT_TRUE(nearlyEqual(turned, glm::vec3(0.0f, 3.0f, -1.0f), 1e-6f));
}

TEST(AnimationModel, WorldTrianglesFollowTheCollisionPoseAndTransform) {
    ModelCoordinates* mesh = makeTriangle();
    glm::vec4** poses = new glm::vec4* [2] { liftedCopy(*mesh, 1.0f), liftedCopy(*mesh, 2.0f) };
    AnimationModel stop(mesh, 1.0f, 2, poses);
    // Before any selection: the mesh's own positions.
    EXPECT_EQ(stop.getWorldTriangles()[0].c2, glm::vec3(1, 0, 0));
    stop.selectKeyframes();
    EXPECT_EQ(stop.getWorldTriangles()[0].c2, glm::vec3(1, 1, 0));
    stop.update(0.4f); // weight 0.8 of the way to keyframe 1
    stop.selectKeyframes();
    EXPECT_EQ(stop.getWorldTriangles()[0].c2, glm::vec3(1, 2, 0));
    stop.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(0, 0, 4)));
    EXPECT_EQ(stop.getWorldTriangles()[0].c2, glm::vec3(1, 2, 4));
}
