#include "scene/Scene.h"

#include <GL/glew.h>

#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/Shader.h"
#include "assets/Sphere.h"
#include "assets/TextureLoader.h"
#include "level/LevelTable.h"
#include "physics/Camera.h"
#include "physics/PhysicsWorld.h"
#include "render/Frustum.h"
#include "render/PassTimer.h"
#include "render/Projection.h"
#include "render/SceneTarget.h"
#include "render/ShadowLight.h"
#include "render/ShadowMap.h"
#include "render/Skybox.h"
#include "render/Water.h"
#include "scene/SimulationSteps.h"
#include "sound/BackgroundMusic.h"
#include "sound/SoundEffects.h"

Scene::Scene()
    : transparencyEnabled(true), vboEnabled(true), frustumCullingEnabled(true),
      skybox(new Skybox()), shadowMapSize(shadowlight::defaultMapSize),
      waterMapSize(Water::defaultTargetSize), pictureTarget(new SceneTarget()),
      projection(computeProjectionMatrix(1024, 768)) {}

void Scene::setStartTextureMode(bool bilinear, int mipmapMode) {
    startBilinear = bilinear;
    startMipmapMode = mipmapMode;
}

void Scene::setViewSize(int width, int height) {
    viewWidth = width;
    viewHeight = height;
    projection = computeProjectionMatrix(width, height);
}

void Scene::setShadowMapSize(int texels) {
    if (texels <= 0)
        return;
    const bool remake = shadowMap && texels != shadowMapSize;
    shadowMapSize = texels;
    if (remake) {
        delete shadowMap;
        shadowMap = nullptr;
        createShadowFramebuffer();
    }
}

void Scene::setWaterMapSize(int texels) {
    if (texels <= 0)
        return;
    waterMapSize = texels;
    for (Water* water : {lakeWater, riverWater}) {
        if (water) {
            water->setTargetSize(texels);
            waterMapSize = water->getTargetSize();
        }
    }
}

void Scene::setPictureSamples(int samples) {
    pictureSamples = samples;
}

void Scene::setRenderScale(double scale) {
    renderScale = scale;
}

void Scene::setAnisotropy(int limit) {
    setAnisotropyLimit(static_cast<float>(limit));
    if (levelTexturesCreated) {
        for (unsigned int texture : levelTextures)
            reapplyAnisotropy(texture, levelTexturesMipmapped);
    }
    skybox->reapplyAnisotropy();
}

namespace {
Shader* loadShader(const char* vertexPath, const char* fragmentPath) {
    Shader* shader = new Shader();
    shader->load(vertexPath, fragmentPath);
    return shader;
}

// The programs that colour the level with its textures share their lookup.
Shader* loadLevelShader(const char* vertexPath, const char* fragmentPath) {
    Shader* shader = new Shader();
    shader->load(vertexPath, fragmentPath, "shader/level_texture.frag");
    return shader;
}
} // namespace

void Scene::init() {
    mainShader = loadLevelShader("shader/simple_shader.vert", "shader/simple_shader.frag");
    animationShader =
        loadLevelShader("shader/animation_shader.vert", "shader/animation_shader.frag");
    shadowShader = loadShader("shader/shadow_shader.vert", "shader/shadow_shader.frag");
    alphaShader = loadLevelShader("shader/alpha_shader.vert", "shader/alpha_shader.frag");

    loadLevelTextures(startBilinear, startMipmapMode);
    loadModels();
    placeObjects();
    skybox->init();
    frustum = new Frustum();
    camera = new Camera(startViewMatrix);

    // The water's off-screen images are the level's main pass, seen mirrored and clipped.
    Water::View view{camera, &projection, lightPosition, [this] { renderMainPass(); }};
    riverWater = new Water(river, view, mainShader, animationShader);
    riverWater->setTargetSize(waterMapSize);
    riverWater->init();
    lakeWater = new Water(lake, view, mainShader, animationShader);
    lakeWater->setTargetSize(waterMapSize);
    lakeWater->init();

    physicsWorld = new PhysicsWorld(camera, marble, groundModels, groundModelCount, staticModels,
                                    staticCount, animatedModels, animatedCount, finishArea,
                                    planeModelCount, planeModels, sawBeam, sawBlade);
    placeChaseCamera();
    createShadowFramebuffer();

    music = new BackgroundMusic();
    music->setVolume(musicVolume);
    music->start();
    // The effects play on the music's audio device, so they start after it.
    soundEffects = new SoundEffects();
    soundEffects->setVolume(soundVolume);
    soundEffects->start();
}

StepResult Scene::advance(double frameTime, const RaceInput& input) {
    StepResult frame;
    SimulationSteps steps = SimulationSteps::forFrame(frameTime);
    for (int i = 0; i < steps.count; ++i)
        frame.merge(step(steps.stepTime, input));
    return frame;
}

StepResult Scene::step(double dt, const RaceInput& input) {
    if (race.isOver())
        return StepResult();
    StepResult result = runStep(dt, input);
    StepSound heard;
    heard.onGround = result.touching;
    heard.groundSpeed = result.speed;
    heard.impactSpeed = result.impactSpeed;
    heard.lifeLost = result.lifeLost;
    heard.won = race.isWon();
    heard.gameOver = race.isGameOver();
    heard.remainingTime = race.remainingTime;
    soundCues.step(dt, heard);
    return result;
}

void Scene::playSounds() {
    if (!soundEffects)
        return;
    for (const SoundCue& cue : soundCues.takeCues())
        soundEffects->play(cue);
    soundEffects->setRolling(race.isOver() ? 0.0f : soundCues.rollLevel());
}

StepResult Scene::runStep(double dt, const RaceInput& input) {
    // Under the first rules the camera stood at the start matrix until the first step: that
    // step steers from its eye, though the pictures before it showed the chase camera's.
    if (!raceStepped && simulationVersion == SimulationVersion::StartMatrixSteers && camera)
        camera->setMatrix(startViewMatrix);
    raceStepped = true;
    StepResult result;
    race.remainingTime -= dt;
    if (race.remainingTime <= 0.0 && physicsWorld) {
        physicsWorld->loseLife(race, result, LifeLoss::TimeUp);
        centreSkybox();
        if (race.isOver()) {
            result.gameOver = true;
            return result;
        }
    }
    race.simulationTime += dt;
    animateSawBlade(static_cast<float>(race.simulationTime));
    for (int i = 0; i < animatedCount; ++i) {
        if (animatedModels[i]) {
            animatedModels[i]->update(static_cast<float>(dt));
            // Each step collides with the pose of its own time, not the last drawn one.
            animatedModels[i]->selectKeyframes();
        }
    }
    if (physicsWorld) {
        result.merge(physicsWorld->step(static_cast<float>(dt), input, race));
        centreSkybox();
    }
    return result;
}

// The start matrix only says from which side the race is seen: its eye stands far outside the
// sky. The first picture of a race, drawn before any step (a watched race may draw several
// before its first recorded frame is due), must already be the chase camera's.
void Scene::placeChaseCamera() {
    if (physicsWorld)
        physicsWorld->followCamera();
    centreSkybox();
}

void Scene::centreSkybox() {
    if (skybox && camera)
        skybox->centreOn(camera->getPosition());
}

void Scene::restartRace() {
    race.restart();
    raceStepped = false;
    animateSawBlade(0.0f);
    for (int i = 0; i < animatedCount; ++i) {
        if (animatedModels[i])
            animatedModels[i]->restart();
    }
    if (physicsWorld)
        physicsWorld->respawn();
    if (camera)
        camera->setMatrix(startViewMatrix);
    placeChaseCamera();
    soundCues.reset();
    if (soundEffects)
        soundEffects->setRolling(0.0f);
    if (music)
        music->restart();
}

// Each pass is timed when a timedemo asks; otherwise the timings cost nothing.
void Scene::render() {
    {
        PassTiming timing("shadow");
        renderShadowPass();
    }
    // What is bound is the window the picture goes to (the water's images come back to it).
    GLint window = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &window);
    const bool offScreen =
        pictureTarget->configure(viewWidth, viewHeight, pictureSamples, renderScale);
    {
        PassTiming timing("lake water maps");
        lakeWater->renderTextures();
    }
    {
        PassTiming timing("river water maps");
        riverWater->renderTextures();
    }
    if (offScreen)
        pictureTarget->bind();
    {
        PassTiming timing("main pass");
        renderMainPass();
    }
    {
        PassTiming timing("water surfaces");
        lakeWater->draw(frameTime);
        riverWater->draw(frameTime);
    }
    if (offScreen) {
        PassTiming timing("resolve");
        pictureTarget->present(static_cast<unsigned int>(window));
    }
}

void Scene::deleteModelList(Model** list, int count) {
    for (int i = 0; i < count; ++i)
        delete list[i];
    delete[] list;
}

Scene::~Scene() {
    delete marble;
    delete skybox;
    delete riverWater;
    delete lakeWater;
    delete river;
    delete lake;
    delete sawBeam;
    delete sawBlade;
    delete frustum;

    // The saw parts and the animated obstacle in staticModels go through their own handles.
    if (staticModels) {
        for (int i = 0; i < plainStaticCount(); ++i)
            delete staticModels[i];
        delete[] staticModels;
    }
    if (animatedModels) {
        for (int i = 0; i < animatedCount; ++i)
            delete animatedModels[i];
        delete[] animatedModels;
    }
    deleteModelList(groundModels, groundModels ? groundModelCount : 0);
    deleteModelList(planeModels, planeModels ? planeModelCount : 0);
    deleteModelList(transparentModels, transparentModels ? transparentModelCount : 0);
    delete finishArea;

    delete camera;
    delete physicsWorld;

    delete mainShader;
    delete animationShader;
    delete shadowShader;
    delete alphaShader;

    if (levelTexturesCreated)
        glDeleteTextures(14, levelTextures);

    // The effects' sources go before the music closes the audio device they play on.
    if (soundEffects) {
        soundEffects->release();
        delete soundEffects;
    }
    if (music) {
        music->release();
        delete music;
    }
    delete shadowMap;
    delete pictureTarget;
}

void Scene::setMusicVolume(float volume) {
    musicVolume = volume;
    if (music)
        music->setVolume(volume);
}

void Scene::setSoundVolume(float volume) {
    soundVolume = volume;
    if (soundEffects)
        soundEffects->setVolume(volume);
}
