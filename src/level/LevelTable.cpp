#include "level/LevelTable.h"

#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace level {

const char* const textureFiles[textureCount] = {
    "texture/Green2.png",
    "texture/Black Marble.jpg",
    "texture/Cherry_Wood_Texture.png",
    "texture/Ziel.bmp",
    "texture/Test2.png",
    "texture/wall2.jpg",
    "texture/grey12.jpg",
    "texture/testPlane.png",
    "texture/trees/tree_summer08.jpg",
    "texture/trees/tree_summer08Alpha.jpg",
    "texture/wood05.jpg",
    "texture/material08Gray.jpg",
    "texture/trees/grass_summer10.jpg",
    "texture/trees/grass_summer10Alpha.jpg",
};

const char* const sphereFile = "models/Sphere.mesh.xml";
const char* const riverFile = "models/Fluss.mesh.xml";
const char* const lakeFile = "models/ebene2/Lake.mesh.xml";
const char* const finishAreaFile = "models/FinishArea.mesh.xml";
const char* const sawBeamFile = "models/animation/saegeblattQuerbalken.mesh.xml";
const char* const sawBladeFile = "models/animation/saegeblattUndSchraube.mesh.xml";
const char* const bannerFile = "models/BannerTest.mesh.xml";
const char* const gateFile = "models/Finish.mesh.xml";
const char* const sawFrameFile = "models/animation/saegeblattGeruest.mesh.xml";
const char* const stopFile = "models/animation/stop.mesh.xml";
const char* const pathRiverFile = "models/PfadFluss.mesh.xml";
const char* const riverBedFile = "models/FlussBett.mesh.xml";
const char* const path2File = "models/ebene2/Path2.mesh.xml";
const char* const path3File = "models/ebene2/Path3.mesh.xml";
const char* const planeRiverFile = "models/PlaneFluss.mesh.xml";
const char* const planeFile = "models/ebene2/Plane.mesh.xml";
const char* const treeFile = "models/ebene2/Tree.mesh.xml";
const char* const tree2File = "models/ebene2/Tree2.mesh.xml";
const char* const reedsFile = "models/ebene2/Schilf.mesh.xml";

namespace {
const glm::mat4 identity(1.0f);

glm::mat4 translate(float x, float y, float z) {
    return glm::translate(identity, glm::vec3(x, y, z));
}

// Angles in the level are written in degrees, as the level was laid out.
glm::mat4 rotate(const glm::mat4& m, float degrees, const glm::vec3& axis) {
    return glm::rotate(m, glm::radians(degrees), axis);
}
} // namespace

glm::mat4 marbleStartMatrix() {
    return glm::translate(identity, startPosition);
}

glm::mat4 riverMatrix() {
    glm::mat4 m = translate(-3.162f, -1.509f, 23.84f);
    m = rotate(m, -180.0f, glm::vec3(1, 0, 0));
    m = rotate(m, -93.665f, glm::vec3(0, 1, 0));
    return rotate(m, 180.0f, glm::vec3(0, 0, 1));
}

glm::mat4 lakeMatrix() {
    return translate(-22.8401f, 9.3f, -298.8401f);
}
glm::mat4 sawMatrix() {
    return translate(51.0f, 4.0f, -44.0f);
}
glm::mat4 staticBallMatrix() {
    return translate(28.0f, -4.5f, -0.4f);
}
glm::mat4 finishMatrix() {
    return rotate(translate(-56.0f, 0.0f, 37.0f), 90.0f, glm::vec3(0, 1, 0));
}
glm::mat4 sawFrameMatrix() {
    return translate(51.0f, 0.0f, -44.0f);
}
glm::mat4 stopMatrix() {
    return rotate(translate(-31.0f, 12.0f, -338.0f), 90.0f, glm::vec3(0, -1, 0));
}
glm::mat4 path2Matrix() {
    return translate(-47.6703f, 8.0f, -264.2298f);
}
glm::mat4 path3Matrix() {
    return translate(14.0f, 0.0f, -140.0f);
}
glm::mat4 planeMatrix() {
    return translate(-61.0f, 0.0f, -280.0f);
}

glm::mat4 skyboxStartMatrix() {
    return marbleStartMatrix() * translate(0.0f, -4.0f, -15.0f);
}

glm::mat4 cameraStartMatrix() {
    return skyboxStartMatrix() * rotate(marbleStartMatrix(), -160.0f, glm::vec3(0, 1, 0));
}

glm::mat4 sawParentTransform(float seconds) {
    const float pi = 3.1415927f;
    float h = 2.0f * std::cos(pi * seconds);
    return translate(0.0f, h, 0.0f);
}

glm::mat4 sawBladeLocalTransform(float seconds) {
    double degrees = 280.0 * static_cast<double>(seconds);
    return rotate(identity, static_cast<float>(degrees), glm::vec3(0, 0, -1));
}

std::vector<PlacedMesh> placedMeshes() {
    return {
        {sphereFile, Role::Marble, marbleStartMatrix(), 0.0, false},
        {riverFile, Role::Water, riverMatrix(), 85.0, false},
        {lakeFile, Role::Water, lakeMatrix(), 100.0, false},
        {finishAreaFile, Role::Finish, identity, 0.0, false},
        {sawBeamFile, Role::Saw, sawMatrix(), 8.0, false},
        {sawBladeFile, Role::Saw, sawMatrix(), 8.0, false},
        {sphereFile, Role::Static, staticBallMatrix(), 2.0, false},
        {bannerFile, Role::Static, finishMatrix(), 40.0, false},
        {gateFile, Role::Static, finishMatrix(), 40.0, false},
        {sawFrameFile, Role::Static, sawFrameMatrix(), 8.0, false},
        {stopFile, Role::Animated, stopMatrix(), 10.0, true},
        {pathRiverFile, Role::Ground, identity, 150.0, false},
        {riverBedFile, Role::Ground, riverMatrix(), 150.0, false},
        {path2File, Role::Ground, path2Matrix(), 150.0, false},
        {path3File, Role::Ground, path3Matrix(), 150.0, false},
        {planeRiverFile, Role::Plane, identity, 130.0, false},
        {planeFile, Role::Plane, planeMatrix(), 150.0, false},
        {treeFile, Role::Transparent, identity, 12.0, false},
        {tree2File, Role::Transparent, identity, 12.0, false},
        {reedsFile, Role::Transparent, identity, 4.0, false},
    };
}

} // namespace level
