#pragma once

#include <string>
#include <vector>

#include <glm/glm.hpp>
#include <gtest/gtest.h>

class Scene;
class Model;
class ScriptedClock;

// A tiny level written as mesh files into a scratch folder, loaded by the real Scene so the
// passes draw exactly what a test put there:
//   marble and static ball   a 2-unit cube ("models/Sphere.mesh.xml")
//   ground                   a flat quad at y = 0 over x -60..60, z -160..60 (PfadFluss)
//   tree                     an upright 10 x 10 quad in the z = 0 plane, facing +z (Tree)
//   finish banner            a 2-unit cube 40 units down its local -z (BannerTest)
//   lake                     a 60 x 60 surface at the level's lake placement (Lake)
//   reeds                    the tree's quad (Schilf)
//   ground plane             a flat 40 x 40 quad facing up, centred on its origin (PlaneFluss)
//   saw beam and blade       2-unit cubes (saegeblattQuerbalken, saegeblattUndSchraube)
//   stop barrier             a 2-unit cube in both keyframes; its unanimated positions lie
//                            100 units below them (stop, animated)
// Every other file is missing, so those models stay null. Textures are solid colours the
// tests create; the sky keeps the loader's magenta placeholder. Between tests everything
// that moves is parked far below the ground, except the tree, which stands at the origin.
namespace fixture {

// Base of the tests that draw the fixture level: skipped without a display, the scene reset
// before each test and after it. A derived SetUp calls this one first and returns when the
// test was skipped.
class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    Scene* scene = nullptr;
};

constexpr int width = 128;
constexpr int height = 96;

// The shared scene (created on first use with a GL context; nullptr without a display).
Scene* scene();
// Restores the fixture's placements, textures, options and the camera looking at (0,5,0).
void resetScene();

// Points the scene camera and keeps the sky cube centred on the eye, as the chase camera
// does in the game.
void lookAt(const glm::vec3& eye, const glm::vec3& centre);

// The scripted time source the fixture installs (frames advance it by hand).
ScriptedClock& clock();
// Parks a model's geometry at a world point (the banner cube sits 40 units down its -z).
void place(Model* model, const glm::vec3& position);
void placeBanner(const glm::vec3& cubeCentre);

// Solid RGB texture; alpha-map texture whose left half is 0 and right half 255.
unsigned int solidTexture(unsigned char r, unsigned char g, unsigned char b);
unsigned int halfAlphaMap();

struct Pixel {
    int r, g, b;
};
// Shadow pass and main pass into the window's back buffer, read back whole.
std::vector<unsigned char> renderAndRead();
Pixel pixelAt(const std::vector<unsigned char>& image, int x, int y);
// The window pixel (x right, y up) where the scene camera sees a world point.
glm::ivec2 project(const glm::vec3& world);

bool isRed(const Pixel& p);
bool isMagenta(const Pixel& p);

// Mesh XML for the fixture files (also usable on its own).
class MeshWriter {
  public:
    // Corners in counter-clockwise order seen from the side the normal points to.
    void quad(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec3& d,
              const glm::vec3& normal);
    void box(const glm::vec3& centre, float halfSize);
    std::string xml() const;
    // The keyframed form: every keyframe holds the written positions, the unanimated ones
    // are moved by baseOffset.
    std::string animatedXml(int keyframeCount, const glm::vec3& baseOffset) const;

  private:
    std::string facesXml() const;

    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
    std::vector<unsigned int> indices;
};

} // namespace fixture
