// The level's loading and placement, and the saw's motion: Scene operations driven by the
// data in LevelTable.
#include <GL/glew.h>

#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/MeshLoader.h"
#include "assets/ModelCoordinates.h"
#include "assets/Sphere.h"
#include "assets/TextureLoader.h"
#include "level/LevelTable.h"
#include "platform/GlTarget.h"
#include "render/Skybox.h"
#include "scene/Scene.h"

void Scene::loadLevelTextures(bool bilinear, int mipmapMode) {
    gltarget::enableTexturing();
    // Reloads keep the same names, so every model that holds one shows the new filtering.
    if (!levelTexturesCreated) {
        glGenTextures(level::textureCount, levelTextures);
        levelTexturesCreated = true;
    }
    for (int slot = 0; slot < level::textureCount; ++slot)
        loadTextureFiltered(level::textureFiles[slot], levelTextures, slot, mipmapMode, bilinear,
                            false);
    levelTexturesMipmapped = mipmapMode == 1 || mipmapMode == 2;
}

namespace {

template <typename T> T* wrapMesh(MeshLoader& loader, const char* path) {
    ModelCoordinates* coordinates = loader.loadMesh(path);
    return coordinates ? new T(coordinates) : nullptr;
}

void prepare(Model* model, Shader* shader) {
    if (!model)
        return;
    model->createBuffers();
    model->setShader(shader);
}

void setTexture(Model* model, unsigned int texture) {
    if (model)
        model->setTexture(texture);
}

void setTransform(Model* model, const glm::mat4& matrix) {
    if (model)
        model->setTransform(matrix);
}

void setRadius(Model* model, double radius) {
    if (model)
        model->setBoundingRadius(radius);
}

} // namespace

void Scene::loadModels() {
    MeshLoader loader;

    marble = wrapMesh<Sphere>(loader, level::sphereFile);
    river = loader.loadModel(level::riverFile);
    lake = loader.loadModel(level::lakeFile);
    finishArea = loader.loadModel(level::finishAreaFile);

    hierarchicalCount = 2;
    sawBeam = wrapMesh<HierarchicalAnimationModel>(loader, level::sawBeamFile);
    sawBlade = wrapMesh<HierarchicalAnimationModel>(loader, level::sawBladeFile);

    staticCount = 7;
    staticModels = new Model*[staticCount];
    // The ball beside the course is the marble's mesh again: when the marble's load refused
    // the file and named it, a second attempt would only name it twice.
    staticModels[0] = marble ? loader.loadModel(level::sphereFile) : nullptr;
    staticModels[1] = loader.loadModel(level::bannerFile);
    staticModels[2] = loader.loadModel(level::gateFile);
    staticModels[3] = loader.loadModel(level::sawFrameFile);
    staticModels[4] = sawBeam;
    staticModels[5] = sawBlade;
    staticModels[6] = loader.loadAnimationModel(level::stopFile);

    animatedCount = 1;
    animatedModels = new AnimationModel*[animatedCount];
    animatedModels[0] = static_cast<AnimationModel*>(staticModels[6]);

    groundModelCount = 4;
    groundModels = new Model*[groundModelCount];
    groundModels[0] = loader.loadModel(level::pathRiverFile);
    groundModels[1] = loader.loadModel(level::riverBedFile);
    groundModels[2] = loader.loadModel(level::path2File);
    groundModels[3] = loader.loadModel(level::path3File);

    planeModelCount = 2;
    planeModels = new Model*[planeModelCount];
    planeModels[0] = loader.loadModel(level::planeRiverFile);
    planeModels[1] = loader.loadModel(level::planeFile);

    transparentModelCount = 3;
    transparentModels = new Model*[transparentModelCount];
    transparentModels[0] = loader.loadModel(level::treeFile);
    transparentModels[1] = loader.loadModel(level::tree2File);
    transparentModels[2] = loader.loadModel(level::reedsFile);

    for (int i = 0; i < staticCount - animatedCount; ++i)
        prepare(staticModels[i], mainShader);
    for (int i = 0; i < animatedCount; ++i) {
        prepare(animatedModels[i], animationShader);
        setTexture(animatedModels[i], levelTextures[level::StopTexture]);
    }
    for (int i = 0; i < groundModelCount; ++i) {
        prepare(groundModels[i], mainShader);
        setTexture(groundModels[i], levelTextures[level::PathTexture]);
        setRadius(groundModels[i], 150.0);
    }
    for (int i = 0; i < planeModelCount; ++i)
        prepare(planeModels[i], mainShader);
    for (int i = 0; i < transparentModelCount; ++i) {
        prepare(transparentModels[i], alphaShader);
        setTransform(transparentModels[i], glm::mat4(1.0f));
    }
    prepare(marble, mainShader);
    setTexture(marble, levelTextures[level::MarbleTexture]);

    setTexture(staticModels[0], levelTextures[level::BallTexture]);
    setTexture(staticModels[2], levelTextures[level::GateWood]);
    setTexture(staticModels[1], levelTextures[level::BannerTexture]);
    setTexture(staticModels[3], levelTextures[level::SawWood]);
    setTexture(sawBeam, levelTextures[level::SawWood]);
    setTexture(sawBlade, levelTextures[level::BladeMetal]);
    setTexture(planeModels[0], levelTextures[level::GreenPlane]);
    setTexture(planeModels[1], levelTextures[level::MeadowPlane]);
    for (int i = 0; i < 2; ++i) {
        if (transparentModels[i])
            transparentModels[i]->setTextures(levelTextures[level::TreeColor],
                                              levelTextures[level::TreeAlpha]);
    }
    if (transparentModels[2])
        transparentModels[2]->setTextures(levelTextures[level::ReedColor],
                                          levelTextures[level::ReedAlpha]);
}

void Scene::placeObjects() {
    worldMatrix = glm::mat4(1.0f);
    skybox->setTransform(level::skyboxStartMatrix());
    startViewMatrix = level::cameraStartMatrix();

    setTransform(marble, level::marbleStartMatrix());
    setTransform(river, level::riverMatrix());
    setTransform(lake, level::lakeMatrix());
    setTransform(staticModels[0], level::staticBallMatrix());
    setTransform(staticModels[1], level::finishMatrix());
    setTransform(staticModels[2], level::finishMatrix());
    setTransform(staticModels[3], level::sawFrameMatrix());
    setTransform(sawBeam, level::sawMatrix());
    setTransform(sawBlade, level::sawMatrix());
    setTransform(animatedModels[0], level::stopMatrix());
    setTransform(groundModels[0], glm::mat4(1.0f));
    setTransform(groundModels[1], level::riverMatrix());
    setTransform(groundModels[2], level::path2Matrix());
    setTransform(groundModels[3], level::path3Matrix());
    setTransform(planeModels[0], glm::mat4(1.0f));
    setTransform(planeModels[1], level::planeMatrix());

    setRadius(staticModels[0], 2.0);
    setRadius(staticModels[1], 40.0);
    setRadius(staticModels[2], 40.0);
    setRadius(staticModels[3], 8.0);
    setRadius(sawBeam, 8.0);
    setRadius(sawBlade, 8.0);
    setRadius(animatedModels[0], 10.0);
    setRadius(transparentModels[0], 12.0);
    setRadius(transparentModels[1], 12.0);
    setRadius(transparentModels[2], 4.0);
    setRadius(river, 85.0);
    setRadius(lake, 100.0);
    setRadius(planeModels[0], 130.0);
    setRadius(planeModels[1], 150.0);
}

void Scene::animateSawBlade(float seconds) {
    glm::mat4 parent = level::sawParentTransform(seconds);
    if (sawBeam)
        sawBeam->setParentTransform(parent);
    if (sawBlade) {
        sawBlade->setParentTransform(parent);
        sawBlade->setLocalTransform(level::sawBladeLocalTransform(seconds));
    }
}
