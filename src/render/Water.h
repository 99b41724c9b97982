#pragma once

#include <glm/glm.hpp>

class Model;
class Scene;
class Camera;
class Shader;

// Turns one flat model into reflecting and refracting water: three off-screen renders of
// the main pass per frame (mirrored above the surface, clipped below it, depth below it),
// then the surface drawn with the water shader.
class Water {
  public:
    Water(Model* waterModel, Scene* scene, Camera* camera, Shader* mainShader,
          Shader* animationShader);
    ~Water();
    Water(const Water&) = delete;
    Water& operator=(const Water&) = delete;

    // The side of each off-screen image in texels unless told otherwise before init.
    static constexpr int defaultTargetSize = 512;
    // Before init: a size below 1 is ignored, one above what the driver allows is reduced.
    void setTargetSize(int texels);
    int getTargetSize() const { return targetSize; }

    void init();
    void renderTextures();
    void draw();

    glm::vec4 getWaterPlane() const { return waterPlane; }
    float getWavePhase() const { return wavePhase; }
    unsigned int getReflectionTexture() const { return reflectionTexture; }
    unsigned int getRefractionTexture() const { return refractionTexture; }
    unsigned int getDepthTexture() const { return depthTexture; }

  private:
    unsigned int dudvMap = 0;
    unsigned int normalMap = 0;
    unsigned int reflectionTexture = 0;
    unsigned int refractionTexture = 0;
    unsigned int depthTexture = 0;
    unsigned int reflectionDepthBuffer = 0;
    unsigned int refractionDepthBuffer = 0;
    unsigned int reflectionFramebuffer = 0;
    unsigned int refractionFramebuffer = 0;
    unsigned int depthFramebuffer = 0;
    Model* waterModel;
    Scene* scene;
    Camera* camera;
    Shader* mainShader;
    Shader* animationShader;
    Shader* waterShader = nullptr;
    int targetSize = defaultTargetSize;
    float wavePhase = 0.1f;
    glm::vec4 waterPlane;
};
