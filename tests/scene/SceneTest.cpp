#include <gtest/gtest.h>

#include "render/Skybox.h"
#include "scene/Scene.h"

namespace {

TEST(Scene, ConstructionSetsTheRaceClockAndOptionsWithoutLoadingAnything) {
    Scene scene;
    EXPECT_DOUBLE_EQ(scene.getRemainingTime(), 300.0);
    EXPECT_DOUBLE_EQ(scene.getTimeLimit(), 300.0);
    EXPECT_TRUE(scene.isTransparencyOn());
    EXPECT_TRUE(scene.isVboOn());
    EXPECT_TRUE(scene.isFrustumCullingOn());
    EXPECT_EQ(scene.getMarble(), nullptr);
    ASSERT_NE(scene.getSkybox(), nullptr);
    EXPECT_EQ(scene.getSkybox()->getTransform(), glm::mat4(1.0f));
    EXPECT_EQ(scene.getLightPosition(), glm::vec3(0.0f, 250.0f, -110.0f));
}

TEST(Scene, TogglesAreIndependentAndTwiceRestores) {
    Scene scene;
    scene.toggleVbo();
    EXPECT_FALSE(scene.isVboOn());
    EXPECT_TRUE(scene.isFrustumCullingOn());
    EXPECT_TRUE(scene.isTransparencyOn());
    scene.toggleFrustumCulling();
    scene.toggleTransparency();
    EXPECT_FALSE(scene.isFrustumCullingOn());
    EXPECT_FALSE(scene.isTransparencyOn());
    scene.toggleVbo();
    scene.toggleFrustumCulling();
    scene.toggleTransparency();
    EXPECT_TRUE(scene.isVboOn());
    EXPECT_TRUE(scene.isFrustumCullingOn());
    EXPECT_TRUE(scene.isTransparencyOn());
}

} // namespace
