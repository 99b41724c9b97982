#pragma once

#include <glm/glm.hpp>

#include "physics/RaceInput.h"
#include "physics/RaceState.h"
#include "physics/StepResult.h"
#include "scene/SimulationVersion.h"
#include "sound/SoundCues.h"

class Shader;
class Model;
class Sphere;
class AnimationModel;
class HierarchicalAnimationModel;
class Skybox;
class Frustum;
class Camera;
class Water;
class ShadowMap;
class SceneTarget;
class PhysicsWorld;
class BackgroundMusic;
class SoundEffects;
class GhostTrack;

// The hub of the game: owns every shader, texture, model and support object of the level and
// the race run on it, runs the level's start-up, advances the race and the moving obstacles
// each frame, dispatches the render passes and releases everything at the end.
// Model pointers in the lists may be null when a mesh failed to load; every user skips them.
class Scene {
  public:
    Scene();
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    void init();
    // Simulates one drawn frame of the given length in short equal steps; what a frame holds
    // beyond a quarter of a second is a stall and is not simulated. Says what its steps did.
    StepResult advance(double frameTime, const RaceInput& input);
    // One simulation step: countdown, obstacles, marble. Once the race is won or lost nothing
    // changes any more.
    StepResult step(double dt, const RaceInput& input);
    // A new race without reloading anything: four attempts, a full countdown, the marble and
    // obstacles as at the start, the chase camera behind the marble and the music from its
    // beginning.
    void restartRace();
    // The rules the race under way runs under from its first step on (a race already stepped
    // keeps its own), and every race after it: a replay plays under the ones it was recorded
    // with. Today's unless told otherwise. What is drawn before the first step is the same
    // under all of them.
    void setSimulationVersion(SimulationVersion version) { simulationVersion = version; }
    SimulationVersion getSimulationVersion() const { return simulationVersion; }
    void render();

    void loadLevelTextures(bool bilinear, int mipmapMode);
    // Before init: the filter and mipmaps the level's textures load with (bilinear, linear
    // mipmaps unless told otherwise) and the music's volume.
    void setStartTextureMode(bool bilinear, int mipmapMode);
    // Any time: music and effects playing take the new volume at once.
    void setMusicVolume(float volume);
    void setSoundVolume(float volume);
    // The window's size in pixels: the passes' projection follows its aspect.
    void setViewSize(int width, int height);
    glm::mat4 getProjectionMatrix() const { return projection; }
    // The drawn frame's real length, which the water's waves move by.
    void setFrameTime(double seconds) { frameTime = seconds; }
    void loadModels();
    void placeObjects();
    void animateSawBlade(float seconds);

    // Sizes of the off-screen images in texels (the defaults are the game's: 8192 for the
    // shadow map, 512 for each water image). A size below 1 is ignored; one above what the
    // driver allows is reduced to that when the images are made. Set after init, the images
    // are made again at once.
    void setShadowMapSize(int texels);
    int getShadowMapSize() const { return shadowMapSize; }
    void setWaterMapSize(int texels);
    int getWaterMapSize() const { return waterMapSize; }
    // How the 3D picture is drawn before it reaches the window: samples a pixel (0 none) and
    // its size as a share of the window's each way (0.5 to 1). Takes effect with the next
    // frame. The defaults are the game's full picture: 4 samples at the window's size.
    void setPictureSamples(int samples);
    void setRenderScale(double scale);
    const SceneTarget& getPictureTarget() const { return *pictureTarget; }
    // The anisotropy limit the level's textures and the sky filter with (0 the driver's
    // maximum, 1 none), applied to the textures already loaded as to later loads.
    void setAnisotropy(int limit);

    void createShadowFramebuffer();
    unsigned int renderShadowPass();
    void renderMainPass();
    void renderAlphaPass();

    // The race run on this level: lives, countdown, race time and outcome.
    RaceState& getRace() { return race; }
    const RaceState& getRace() const { return race; }
    double getRemainingTime() const { return race.remainingTime; }
    double getTimeLimit() const { return RaceState::timeLimit; }
    // Seconds simulated in this race; the obstacles move by it.
    double getSimulationTime() const { return race.simulationTime; }

    // Another race's marble, drawn see-through where it was at this race's time; it takes
    // no part in the race. Null for none; the caller keeps it alive while it is set.
    void setGhost(const GhostTrack* track) { ghost = track; }
    const GhostTrack* getGhost() const { return ghost; }

    void toggleTransparency() { transparencyEnabled = !transparencyEnabled; }
    bool isTransparencyOn() const { return transparencyEnabled; }
    void toggleVbo() { vboEnabled = !vboEnabled; }
    bool isVboOn() const { return vboEnabled; }
    void toggleFrustumCulling() { frustumCullingEnabled = !frustumCullingEnabled; }
    bool isFrustumCullingOn() const { return frustumCullingEnabled; }

    glm::vec3 getLightPosition() const { return lightPosition; }

    // Read access for the passes' collaborators and for tests.
    Sphere* getMarble() const { return marble; }
    Model* getRiver() const { return river; }
    Model* getLake() const { return lake; }
    Model* getFinishArea() const { return finishArea; }
    HierarchicalAnimationModel* getSawBeam() const { return sawBeam; }
    HierarchicalAnimationModel* getSawBlade() const { return sawBlade; }
    Model* getStaticModel(int i) const { return staticModels[i]; }
    int getStaticCount() const { return staticCount; }
    AnimationModel* getAnimatedModel(int i) const { return animatedModels[i]; }
    int getAnimatedCount() const { return animatedCount; }
    Model* getGroundModel(int i) const { return groundModels[i]; }
    int getGroundModelCount() const { return groundModelCount; }
    Model* getPlaneModel(int i) const { return planeModels[i]; }
    int getPlaneModelCount() const { return planeModelCount; }
    Model* getTransparentModel(int i) const { return transparentModels[i]; }
    int getTransparentModelCount() const { return transparentModelCount; }
    Skybox* getSkybox() const { return skybox; }
    BackgroundMusic* getMusic() const { return music; }
    SoundEffects* getSoundEffects() const { return soundEffects; }
    // What the steps since the last call asked to be heard; a test reads them here instead of
    // letting playSounds play them.
    SoundCues& getSoundCues() { return soundCues; }
    // Plays what the race's steps since the last frame asked for, and the rolling at its
    // level; silent rolling once the race is over.
    void playSounds();
    Camera* getCamera() const { return camera; }
    Frustum* getFrustum() const { return frustum; }
    PhysicsWorld* getPhysicsWorld() const { return physicsWorld; }
    Water* getRiverWater() const { return riverWater; }
    Water* getLakeWater() const { return lakeWater; }
    Shader* getMainShader() const { return mainShader; }
    Shader* getAnimationShader() const { return animationShader; }
    Shader* getShadowShader() const { return shadowShader; }
    Shader* getAlphaShader() const { return alphaShader; }
    const unsigned int* getLevelTextures() const { return levelTextures; }
    unsigned int getShadowDepthTexture() const;
    unsigned int getShadowFramebuffer() const;
    glm::mat4 getWorldMatrix() const { return worldMatrix; }
    // The camera matrix placeObjects computed for the side the first view looks from.
    glm::mat4 getStartViewMatrix() const { return startViewMatrix; }

  private:
    // The step itself, for step() to hear what it did.
    StepResult runStep(double dt, const RaceInput& input);
    // The sky cube stays centred on the eye wherever the camera went.
    void centreSkybox();
    // The eye behind the marble where the chase camera puts it, on the start matrix's side.
    void placeChaseCamera();
    // The plain static models at the head of staticModels.
    int plainStaticCount() const { return staticCount - animatedCount - hierarchicalCount; }
    void drawOpaqueModel(Model* model);
    void drawGhost();
    bool stillShadowCastersNeedDrawing(int polygonMode);
    void deleteModelList(Model** list, int count);

    RaceState race;
    SimulationVersion simulationVersion = currentSimulationVersion;
    // Whether the race under way has run a step since it started.
    bool raceStepped = false;
    bool transparencyEnabled;
    bool vboEnabled;
    bool frustumCullingEnabled;

    Shader* mainShader = nullptr;
    Shader* animationShader = nullptr;
    Shader* shadowShader = nullptr;
    Shader* alphaShader = nullptr;
    unsigned int levelTextures[14] = {};
    bool levelTexturesCreated = false;
    bool levelTexturesMipmapped = false;

    Sphere* marble = nullptr;
    Model* river = nullptr;
    Model* lake = nullptr;
    Model* finishArea = nullptr;
    HierarchicalAnimationModel* sawBeam = nullptr;
    HierarchicalAnimationModel* sawBlade = nullptr;
    Model** staticModels = nullptr;
    int staticCount = 0;
    int hierarchicalCount = 0;
    AnimationModel** animatedModels = nullptr;
    int animatedCount = 0;
    Model** groundModels = nullptr;
    int groundModelCount = 0;
    Model** planeModels = nullptr;
    int planeModelCount = 0;
    Model** transparentModels = nullptr;
    int transparentModelCount = 0;

    Skybox* skybox;
    Frustum* frustum = nullptr;
    Camera* camera = nullptr;
    Water* riverWater = nullptr;
    Water* lakeWater = nullptr;
    PhysicsWorld* physicsWorld = nullptr;
    int shadowMapSize;
    int waterMapSize;
    ShadowMap* shadowMap = nullptr;
    SceneTarget* pictureTarget;
    int viewWidth = 1024;
    int viewHeight = 768;
    int pictureSamples = 4;
    double renderScale = 1.0;
    BackgroundMusic* music = nullptr;
    SoundEffects* soundEffects = nullptr;
    SoundCues soundCues;
    const GhostTrack* ghost = nullptr;
    bool startBilinear = true;
    int startMipmapMode = 2;
    float musicVolume = 1.0f;
    float soundVolume = 1.0f;
    glm::mat4 projection;
    double frameTime = 0.0;
    glm::mat4 worldMatrix;
    glm::mat4 startViewMatrix;
    glm::vec3 lightPosition{0.0f, 250.0f, -110.0f};
};
