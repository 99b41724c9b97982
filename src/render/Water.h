#pragma once

#include <functional>

#include <glm/glm.hpp>

class Model;
class Camera;
class Shader;

// Turns one flat model into reflecting and refracting water: two off-screen renders of the
// main pass per frame (mirrored above the surface; clipped below it, whose depth is kept as
// well), then the surface drawn with the water shader. The off-screen renders cover only
// the part of the images the surface can look up this frame, and are skipped when none of
// the surface is in view.
class Water {
  public:
    // What the water sees the level through: the camera, the projection (borrowed: it follows
    // the window), the light, and the level's main pass drawn into whatever is bound.
    struct View {
        Camera* camera = nullptr;
        const glm::mat4* projection = nullptr;
        glm::vec3 lightPosition{0.0f};
        std::function<void()> drawLevel;
    };

    Water(Model* waterModel, const View& view, Shader* mainShader, Shader* animationShader);
    ~Water();
    Water(const Water&) = delete;
    Water& operator=(const Water&) = delete;

    // The side of each off-screen image in texels unless told otherwise before init.
    static constexpr int defaultTargetSize = 512;
    // A size below 1 is ignored, one above what the driver allows is reduced. After init the
    // images are made again at the new size.
    void setTargetSize(int texels);
    int getTargetSize() const { return targetSize; }

    void init();
    void renderTextures();
    // Draws the surface; its waves move on by the frame's length in seconds.
    void draw(double frameTime);

    // How far from a pixel's own place the water shader may look up the images, as a
    // fraction of their size (the waves' distortion).
    static constexpr float waveDistortion = 0.018f;

    // The part of the off-screen images the last renderTextures drew, in texels.
    struct ImageRegion {
        int x = 0, y = 0, width = 0, height = 0;
        bool isEmpty() const { return width <= 0 || height <= 0; }
    };
    ImageRegion getImageRegion() const { return imageRegion; }

    glm::vec4 getWaterPlane() const { return waterPlane; }
    float getWavePhase() const { return wavePhase; }
    unsigned int getReflectionTexture() const { return reflectionTexture; }
    unsigned int getRefractionTexture() const { return refractionTexture; }
    unsigned int getDepthTexture() const { return depthTexture; }

  private:
    void createImages();
    void releaseImages();
    // The images' texels around where the surface shows in the window, grown by the
    // shader's reach; empty when the surface is out of view.
    ImageRegion regionInImages() const;

    unsigned int dudvMap = 0;
    unsigned int normalMap = 0;
    unsigned int reflectionTexture = 0;
    unsigned int refractionTexture = 0;
    unsigned int depthTexture = 0;
    unsigned int reflectionDepthBuffer = 0;
    unsigned int reflectionFramebuffer = 0;
    unsigned int refractionFramebuffer = 0;
    Model* waterModel;
    View view;
    Camera* camera;
    Shader* mainShader;
    Shader* animationShader;
    Shader* waterShader = nullptr;
    int targetSize = defaultTargetSize;
    float wavePhase = 0.1f;
    ImageRegion imageRegion;
    glm::vec4 waterPlane;
};
