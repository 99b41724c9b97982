// The GL state each pass leaves behind: the next pass and the HUD rely on it.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <vector>

#include "QuietScene.h"
#include "RenderFixture.h"
#include "TestFiles.h"
#include "assets/Shader.h"
#include "render/SceneTarget.h"
#include "render/ShadowLight.h"
#include "render/Skybox.h"
#include "render/Water.h"
#include "scene/Scene.h"

namespace {

namespace fs = std::filesystem;

GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

GLint boundTextureOnUnit(int unit) {
    GLint active = integer(GL_ACTIVE_TEXTURE);
    glActiveTexture(GL_TEXTURE0 + unit);
    GLint bound = integer(GL_TEXTURE_BINDING_2D);
    glActiveTexture(static_cast<GLenum>(active));
    return bound;
}

bool texturingOnUnit(int unit) {
    GLint active = integer(GL_ACTIVE_TEXTURE);
    glActiveTexture(GL_TEXTURE0 + unit);
    bool on = glIsEnabled(GL_TEXTURE_2D);
    glActiveTexture(static_cast<GLenum>(active));
    return on;
}

class PassState : public fixture::SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        if (IsSkipped())
            return;
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    void expectWindowViewport() {
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], 0);
        EXPECT_EQ(viewport[1], 0);
        EXPECT_EQ(viewport[2], fixture::width);
        EXPECT_EQ(viewport[3], fixture::height);
    }
};

TEST_F(PassState, ShadowMapIsAnOversizedComparingDepthTexture) {
    GLuint texture = scene->getShadowDepthTexture();
    ASSERT_NE(texture, 0u);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint width = 0, format = 0, compareMode = 0, compareFunc = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compareMode);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, &compareFunc);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(width, shadowlight::defaultMapSize);
    EXPECT_EQ(format, GL_DEPTH_COMPONENT24);
    EXPECT_EQ(compareMode, GL_COMPARE_REF_TO_TEXTURE);
    EXPECT_EQ(compareFunc, GL_LEQUAL);

    glBindFramebuffer(GL_FRAMEBUFFER, scene->getShadowFramebuffer());
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(PassState, ShadowPassGivesTheWindowBackItsViewportMaskCullingAndFramebuffer) {
    glCullFace(GL_BACK);
    EXPECT_EQ(scene->renderShadowPass(), scene->getShadowDepthTexture());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    expectWindowViewport();
    GLboolean mask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]);
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(PassState, MainPassEndsOnUnitOneWithNothingBoundOrEnabled) {
    scene->renderShadowPass();
    scene->renderMainPass();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    expectWindowViewport();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CLIP_PLANE0));
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    for (int unit = 0; unit < 2; ++unit) {
        EXPECT_EQ(boundTextureOnUnit(unit), 0) << "unit " << unit;
        EXPECT_FALSE(texturingOnUnit(unit)) << "unit " << unit;
    }
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);
}

TEST_F(PassState, AlphaPassLeavesItsProgramAndTheTestItConfigured) {
    scene->renderAlphaPass();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), GLint(scene->getAlphaShader()->program()));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE1);
    // Blending weighs by the destination's alpha; the test keeps alpha above 0.1.
    EXPECT_EQ(integer(GL_BLEND_SRC_RGB), GL_DST_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST_RGB), GL_ONE_MINUS_DST_ALPHA);
    EXPECT_EQ(integer(GL_ALPHA_TEST_FUNC), GL_GREATER);
    GLfloat reference = 0.0f;
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_FLOAT_EQ(reference, 0.1f);
    glUseProgram(0);
}

TEST_F(PassState, SkyboxLeavesDepthTestAndCullingOffAndNoProgram) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glActiveTexture(GL_TEXTURE0);
    scene->getSkybox()->draw(glm::mat4(1.0f), glm::mat4(1.0f));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    glEnable(GL_DEPTH_TEST);
}

TEST_F(PassState, MainPassHandsTheStoredClipPlaneThroughUnchanged) {
    Shader* main = scene->getMainShader();
    const glm::vec4 planes[2] = {glm::vec4(0.0f), glm::vec4(0.0f, -1.0f, 0.0f, 9.3f)};
    for (const glm::vec4& plane : planes) {
        main->setClipPlane(plane);
        scene->getAnimationShader()->setClipPlane(plane);
        scene->renderMainPass();
        glm::vec4 uploaded(-7.0f);
        glGetUniformfv(main->program(), glGetUniformLocation(main->program(), "clipPlane"),
                       &uploaded[0]);
        EXPECT_EQ(uploaded, plane);
    }
    main->setClipPlane(glm::vec4(0.0f));
    scene->getAnimationShader()->setClipPlane(glm::vec4(0.0f));
}

GLint textureWidth(GLuint texture) {
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glBindTexture(GL_TEXTURE_2D, 0);
    return width;
}

TEST_F(PassState, ImageSizesGivenBeforeInitAreTheOnesMade) {
    Scene sized;
    sized.setShadowMapSize(1024);
    sized.setShadowMapSize(0); // sizes below one are ignored
    sized.setWaterMapSize(128);
    sized.setWaterMapSize(-4);
    startSceneQuietly(sized, fs::path(scratchDir()) / "level");

    EXPECT_EQ(textureWidth(sized.getShadowDepthTexture()), 1024);
    ASSERT_NE(sized.getLakeWater(), nullptr);
    EXPECT_EQ(textureWidth(sized.getLakeWater()->getReflectionTexture()), 128);
    EXPECT_EQ(textureWidth(sized.getLakeWater()->getDepthTexture()), 128);
    // The sizes of one scene are not the game's defaults for the next.
    EXPECT_EQ(textureWidth(scene->getShadowDepthTexture()), shadowlight::defaultMapSize);
    EXPECT_EQ(textureWidth(scene->getLakeWater()->getReflectionTexture()),
              Water::defaultTargetSize);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// A quality rung as the game applies it while playing.
void applySettings(Scene* scene, int samples, int anisotropy, int shadowMap, int waterMap,
                   double scale) {
    scene->setPictureSamples(samples);
    scene->setRenderScale(scale);
    scene->setShadowMapSize(shadowMap);
    scene->setWaterMapSize(waterMap);
    scene->setAnisotropy(anisotropy);
}

std::vector<unsigned char> renderWhole(Scene* scene) {
    scene->render();
    std::vector<unsigned char> image(static_cast<size_t>(fixture::width) * fixture::height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, fixture::width, fixture::height, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    return image;
}

GLfloat anisotropyOf(GLuint texture) {
    GLfloat value = 0.0f;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

TEST_F(PassState, ACheapRungWhilePlayingRemakesItsImagesAndFullThenDrawsTheSamePicture) {
    fixture::lookAt(glm::vec3(12.0f, 9.0f, 30.0f), glm::vec3(0.0f, 5.0f, 0.0f));
    const std::vector<unsigned char> full = renderWhole(scene);
    applySettings(scene, 0, 1, 1024, 128, 0.5);
    const std::vector<unsigned char> cheap = renderWhole(scene);
    EXPECT_EQ(textureWidth(scene->getShadowDepthTexture()), 1024);
    EXPECT_EQ(textureWidth(scene->getLakeWater()->getReflectionTexture()), 128);
    EXPECT_EQ(scene->getPictureTarget().samples(), 0);
    EXPECT_EQ(scene->getPictureTarget().width(), fixture::width / 2);
    EXPECT_EQ(anisotropyOf(scene->getLevelTextures()[0]), 1.0f);
    EXPECT_NE(cheap, full);

    applySettings(scene, 4, 0, shadowlight::defaultMapSize, Water::defaultTargetSize, 1.0);
    EXPECT_EQ(renderWhole(scene), full);
    EXPECT_EQ(scene->getPictureTarget().samples(), 4);
    EXPECT_GT(anisotropyOf(scene->getLevelTextures()[0]), 1.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(ShadowLight, TextureMatrixMapsTheLitLevelIntoTheMap) {
    // The light looks at (0, 0, -130): that point lands in the middle of the map, and the
    // ground under the light lies inside the depth range.
    glm::vec4 centre = shadowlight::textureMatrix() * glm::vec4(0.0f, 0.0f, -130.0f, 1.0f);
    glm::vec3 p = glm::vec3(centre) / centre.w;
    EXPECT_NEAR(p.x, 0.5f, 1e-4f);
    EXPECT_NEAR(p.y, 0.5f, 1e-4f);
    EXPECT_GT(p.z, 0.0f);
    EXPECT_LT(p.z, 1.0f);
    // Higher ground is nearer to the light.
    glm::vec4 higher = shadowlight::textureMatrix() * glm::vec4(0.0f, 16.0f, -130.0f, 1.0f);
    EXPECT_LT(higher.z / higher.w, p.z);
    // The marble's start and the finish gate are both on the map.
    for (glm::vec3 world : {glm::vec3(28, 17, -338), glm::vec3(-56, 0, 37)}) {
        glm::vec4 q = shadowlight::textureMatrix() * glm::vec4(world, 1.0f);
        EXPECT_GT(q.x / q.w, 0.0f);
        EXPECT_LT(q.x / q.w, 1.0f);
        EXPECT_GT(q.y / q.w, 0.0f);
        EXPECT_LT(q.y / q.w, 1.0f);
    }
}

} // namespace
