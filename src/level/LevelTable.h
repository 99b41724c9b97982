#pragma once

#include <vector>

#include <glm/glm.hpp>

// The level as data: which files are loaded, where each model stands and how far its
// geometry may reach. The scene builds the level from it; the asset generator shapes the
// meshes to fit it; the tests check one against the other.
namespace level {

constexpr int textureCount = 14;
extern const char* const textureFiles[textureCount];

enum TextureSlot {
    GreenPlane = 0,
    MarbleTexture = 1,
    GateWood = 2,
    BannerTexture = 3,
    PathTexture = 4,
    BallTexture = 5,
    StopTexture = 6,
    MeadowPlane = 7,
    TreeColor = 8,
    TreeAlpha = 9,
    SawWood = 10,
    BladeMetal = 11,
    ReedColor = 12,
    ReedAlpha = 13
};

extern const char* const sphereFile;
extern const char* const riverFile;
extern const char* const lakeFile;
extern const char* const finishAreaFile;
extern const char* const sawBeamFile;
extern const char* const sawBladeFile;
extern const char* const bannerFile;
extern const char* const gateFile;
extern const char* const sawFrameFile;
extern const char* const stopFile;
extern const char* const pathRiverFile;
extern const char* const riverBedFile;
extern const char* const path2File;
extern const char* const path3File;
extern const char* const planeRiverFile;
extern const char* const planeFile;
extern const char* const treeFile;
extern const char* const tree2File;
extern const char* const reedsFile;

const glm::vec3 startPosition(28.0f, 17.0f, -338.0f);

glm::mat4 marbleStartMatrix();
glm::mat4 riverMatrix(); // also the river bed
glm::mat4 lakeMatrix();
glm::mat4 sawMatrix(); // crossbar and blade placement
glm::mat4 staticBallMatrix();
glm::mat4 finishMatrix(); // banner and gate
glm::mat4 sawFrameMatrix();
glm::mat4 stopMatrix();
glm::mat4 path2Matrix();
glm::mat4 path3Matrix();
glm::mat4 planeMatrix();
// The skybox starts on the camera's start matrix; the camera adds the first viewing direction.
glm::mat4 skyboxStartMatrix();
glm::mat4 cameraStartMatrix();

// The saw assembly's parent transform and the blade's spin at t seconds of running time.
glm::mat4 sawParentTransform(float seconds);
glm::mat4 sawBladeLocalTransform(float seconds);

enum class Role { Marble, Water, Finish, Static, Saw, Animated, Ground, Plane, Transparent };

// One mesh file as it stands in the level (the marble sphere appears twice: marble and ball).
struct PlacedMesh {
    const char* file;
    Role role;
    glm::mat4 matrix;
    double radius; // 0 where the level sets none
    bool animated; // in the keyframe format
};

// The twenty rows in load order.
std::vector<PlacedMesh> placedMeshes();

} // namespace level
