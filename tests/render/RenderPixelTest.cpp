// What the passes put on screen, read back from a small window over the fixture level.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>

#include "RenderFixture.h"
#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/Model.h"
#include "assets/Sphere.h"
#include "physics/Camera.h"
#include "scene/Scene.h"

namespace {

using fixture::Pixel;

using RenderPixels = fixture::SceneTest;

glm::mat4 at(const glm::vec3& position) {
    return glm::translate(glm::mat4(1.0f), position);
}

TEST_F(RenderPixels, SkyFillsTheTopOfTheFrame) {
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    std::vector<unsigned char> image = fixture::renderAndRead();
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    // Looking level over the ground: the upper third is sky (the placeholder magenta), never
    // the blue the buffer was cleared to.
    for (int y = fixture::height * 2 / 3; y < fixture::height; y += 4) {
        for (int x = 0; x < fixture::width; x += 4)
            ASSERT_TRUE(fixture::isMagenta(fixture::pixelAt(image, x, y))) << x << "," << y;
    }
    // The ground covers the bottom edge.
    EXPECT_FALSE(fixture::isMagenta(fixture::pixelAt(image, fixture::width / 2, 2)));
}

// A cube whose centre sits just beyond the left edge of the view: half of it shows.
struct EdgeCase {
    glm::vec3 centre;
    glm::ivec2 visiblePixel;
};

EdgeCase cubeAtLeftEdge() {
    fixture::lookAt(glm::vec3(0, 5, 20), glm::vec3(0, 5, 0));
    // At 10 units the half-width of the view is 10 tan(30 deg) x 4/3 = 7.70.
    glm::vec3 centre(-8.2f, 5.0f, 10.0f);
    glm::ivec2 visible = fixture::project(centre + glm::vec3(0.9f, 0.0f, 0.0f));
    return EdgeCase{centre, visible};
}

TEST_F(RenderPixels, MarbleIsDrawnWhereCullingRejectsAnyOtherModel) {
    unsigned int red = fixture::solidTexture(255, 0, 0);
    EdgeCase edge = cubeAtLeftEdge();
    ASSERT_GE(edge.visiblePixel.x, 0);

    Model* ball = scene->getStaticModel(0);
    ball->setTexture(red);
    ball->setBoundingRadius(0.0);
    ball->setTransform(at(edge.centre));
    Pixel culled =
        fixture::pixelAt(fixture::renderAndRead(), edge.visiblePixel.x, edge.visiblePixel.y);
    EXPECT_FALSE(fixture::isRed(culled)) << "the same cube as an ordinary model is culled";

    ball->setTransform(at(glm::vec3(0, -500, 0)));
    scene->getMarble()->setTexture(red);
    scene->getMarble()->setBoundingRadius(0.0);
    scene->getMarble()->setTransform(at(edge.centre));
    Pixel marble =
        fixture::pixelAt(fixture::renderAndRead(), edge.visiblePixel.x, edge.visiblePixel.y);
    EXPECT_TRUE(fixture::isRed(marble)) << marble.r << " " << marble.g << " " << marble.b;
    glDeleteTextures(1, &red);
}

TEST_F(RenderPixels, FarObjectOutsideTheViewIsSkippedOnlyWithCullingOn) {
    unsigned int red = fixture::solidTexture(255, 0, 0);
    // The banner fixture is a cube 40 units down its local -z: with its origin 30 units
    // behind the eye, the cube itself floats 10 units in front of it.
    Model* banner = scene->getStaticModel(1);
    banner->setTexture(red);
    banner->setBoundingRadius(2.0);
    banner->setTransform(at(glm::vec3(0, 5, 50)));
    glm::ivec2 cube = fixture::project(glm::vec3(0, 5, 11));

    Pixel withCulling = fixture::pixelAt(fixture::renderAndRead(), cube.x, cube.y);
    scene->toggleFrustumCulling();
    Pixel withoutCulling = fixture::pixelAt(fixture::renderAndRead(), cube.x, cube.y);
    EXPECT_FALSE(fixture::isRed(withCulling));
    EXPECT_TRUE(fixture::isRed(withoutCulling));
    glDeleteTextures(1, &red);
}

// Where the light from (0, 250, -110) through (x, 10, z) meets the ground.
glm::vec3 shadowOf(float x, float z) {
    const float stretch = 250.0f / 240.0f;
    return glm::vec3(x * stretch, 0.0f, -110.0f + (z + 110.0f) * stretch);
}

// Looking at the ground from the side, under the spot 10 units above (0, 0, -130): true when
// each ground point is clearly darker than lit ground away from every caster.
bool shaded(std::initializer_list<glm::vec3> points) {
    fixture::lookAt(glm::vec3(14, 4, -128), glm::vec3(0, 0, -128));
    std::vector<unsigned char> image = fixture::renderAndRead();
    glm::ivec2 l = fixture::project(glm::vec3(0.0f, 0.0f, -118.0f));
    Pixel lit = fixture::pixelAt(image, l.x, l.y);
    bool all = true;
    for (const glm::vec3& point : points) {
        glm::ivec2 s = fixture::project(point);
        Pixel p = fixture::pixelAt(image, s.x, s.y);
        // Same white ground, so the light alone makes the difference.
        EXPECT_EQ(p.r, p.g);
        all = all && p.r + 60 < lit.r;
    }
    return all;
}

TEST_F(RenderPixels, ShadowedGroundIsDarkerThanLitGround) {
    EXPECT_FALSE(shaded({shadowOf(0, -130)})) << "nothing casts a shadow yet";
    scene->getStaticModel(0)->setTransform(at(glm::vec3(0, 10, -130)));
    EXPECT_TRUE(shaded({shadowOf(0, -130)}));
}

TEST_F(RenderPixels, SawPartsCastTheirShadowWhereTheirWorldMatrixPutsThem) {
    // Parent, placement and local offset each alone leave the part far from the spot.
    for (HierarchicalAnimationModel* part : {scene->getSawBeam(), scene->getSawBlade()}) {
        part->setParentTransform(at(glm::vec3(0, 10, 400)));
        part->setTransform(at(glm::vec3(0, 0, -500)));
        part->setLocalTransform(at(glm::vec3(0, 0, -30)));
        EXPECT_TRUE(shaded({shadowOf(0, -130)}));
        part->setTransform(at(glm::vec3(0, -500, 0)));
        EXPECT_FALSE(shaded({shadowOf(0, -130)}));
    }
}

TEST_F(RenderPixels, TreesAndReedsCastSolidShadowsThroughTheirHoles) {
    unsigned int alpha = fixture::halfAlphaMap();
    // Laid flat 10 units up, facing down: x < 0 is the alpha map's hole.
    glm::mat4 flat = at(glm::vec3(0, 10, -135)) *
                     glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), glm::vec3(1, 0, 0));
    for (int i : {0, 2}) {
        Model* plant = scene->getTransparentModel(i);
        plant->setTextures(plant->getTexture(), alpha);
        plant->setTransform(flat);
        EXPECT_TRUE(shaded({shadowOf(-2.5f, -130), shadowOf(2.5f, -130)})) << "plant " << i;
        plant->setTransform(at(glm::vec3(0, -500, 0)));
    }
    glDeleteTextures(1, &alpha);
}

TEST_F(RenderPixels, TheBarrierCastsTheShadowOfItsKeyframes) {
    // Its unanimated positions lie 100 units lower, outside the light's reach.
    scene->getAnimatedModel(0)->setTransform(at(glm::vec3(0, 10, -130)));
    EXPECT_TRUE(shaded({shadowOf(0, -130)}));
}

TEST_F(RenderPixels, GroundPlanesAreSeenFromBelowAsWellAsFromAbove) {
    unsigned int red = fixture::solidTexture(255, 0, 0);
    Model* plane = scene->getPlaneModel(0);
    plane->setTexture(red);
    plane->setTransform(at(glm::vec3(0, 20, -50)));
    for (float eyeHeight : {8.0f, 32.0f}) {
        fixture::lookAt(glm::vec3(0, eyeHeight, -40), glm::vec3(0, 20, -50));
        glm::ivec2 centre = fixture::project(glm::vec3(0, 20, -50));
        Pixel seen = fixture::pixelAt(fixture::renderAndRead(), centre.x, centre.y);
        EXPECT_TRUE(fixture::isRed(seen))
            << "eye at " << eyeHeight << ": " << seen.r << " " << seen.g << " " << seen.b;
    }
    glDeleteTextures(1, &red);
}

TEST_F(RenderPixels, AMovingCastersShadowFollowsItAndLeavesNothingBehind) {
    // The marble moves every frame; the map keeps the ground's depth from earlier frames and
    // must give back what the marble covered before.
    Sphere* marble = scene->getMarble();
    fixture::lookAt(glm::vec3(14, 4, -128), glm::vec3(0, 0, -128));
    glm::vec3 first(0.0f, 0.0f, -130.82f), second(-6.0f, 0.0f, -130.82f);
    glm::ivec2 a = fixture::project(first), b = fixture::project(second);

    marble->setTransform(at(glm::vec3(0, 10, -130)));
    std::vector<unsigned char> before = fixture::renderAndRead();
    marble->setTransform(at(glm::vec3(-6, 10, -130)));
    std::vector<unsigned char> after = fixture::renderAndRead();
    marble->setTransform(at(glm::vec3(0, -500, 0)));
    std::vector<unsigned char> gone = fixture::renderAndRead();

    Pixel shadowedFirst = fixture::pixelAt(before, a.x, a.y);
    Pixel litFirst = fixture::pixelAt(after, a.x, a.y);
    Pixel shadowedSecond = fixture::pixelAt(after, b.x, b.y);
    EXPECT_LT(shadowedFirst.r + 60, litFirst.r) << shadowedFirst.r << " vs " << litFirst.r;
    EXPECT_LT(shadowedSecond.r + 60, litFirst.r);
    // With the marble away the ground is as lit as if it had never been there.
    EXPECT_EQ(fixture::pixelAt(gone, a.x, a.y).r, litFirst.r);
    EXPECT_EQ(fixture::pixelAt(gone, b.x, b.y).r, fixture::pixelAt(before, b.x, b.y).r);
}

class TreePixels : public RenderPixels {
  protected:
    void SetUp() override {
        RenderPixels::SetUp();
        if (!scene)
            return;
        green = fixture::solidTexture(0, 255, 0);
        alpha = fixture::halfAlphaMap();
        scene->getTransparentModel(0)->setTextures(green, alpha);
        // Facing the upright quad: its left half (u < 0.5) is a hole, its right half leaves.
        fixture::lookAt(glm::vec3(0, 5, 15), glm::vec3(0, 5, 0));
        hole = fixture::project(glm::vec3(-2.5f, 5, 0));
        leaves = fixture::project(glm::vec3(2.5f, 5, 0));
    }
    void TearDown() override {
        if (scene) {
            glDeleteTextures(1, &green);
            glDeleteTextures(1, &alpha);
        }
        RenderPixels::TearDown();
    }
    static bool isGreen(const Pixel& p) { return p.g > 150 && p.r < 60 && p.b < 60; }
    unsigned int green = 0;
    unsigned int alpha = 0;
    glm::ivec2 hole;
    glm::ivec2 leaves;
};

TEST_F(TreePixels, AlphaMapCutsHolesOnlyWhileTransparencyIsOn) {
    std::vector<unsigned char> on = fixture::renderAndRead();
    EXPECT_FALSE(isGreen(fixture::pixelAt(on, hole.x, hole.y)));
    EXPECT_TRUE(isGreen(fixture::pixelAt(on, leaves.x, leaves.y)));

    scene->toggleTransparency();
    std::vector<unsigned char> off = fixture::renderAndRead();
    EXPECT_TRUE(isGreen(fixture::pixelAt(off, hole.x, hole.y)));
    EXPECT_TRUE(isGreen(fixture::pixelAt(off, leaves.x, leaves.y)));
}

TEST_F(TreePixels, BothFacesOfALeafAreDrawn) {
    fixture::lookAt(glm::vec3(0, 5, -15), glm::vec3(0, 5, 0));
    // From behind, the leafy half is on the left of the picture.
    glm::ivec2 back = fixture::project(glm::vec3(2.5f, 5, 0));
    EXPECT_TRUE(isGreen(fixture::pixelAt(fixture::renderAndRead(), back.x, back.y)));
}

TEST_F(TreePixels, BufferObjectsAndClientArraysDrawTheSameImage) {
    // Something of every group in view: the ground, the tree and a cube.
    scene->getStaticModel(0)->setTransform(at(glm::vec3(3, 2, 5)));
    std::vector<unsigned char> buffered = fixture::renderAndRead();
    scene->toggleVbo();
    std::vector<unsigned char> clientArrays = fixture::renderAndRead();
    EXPECT_EQ(buffered, clientArrays);
}

} // namespace
