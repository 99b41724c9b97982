#pragma once

#include "platform/GlSampledColour.h"

// The 3D picture, drawn off the window so that its samples and size can change while the game
// runs: a framebuffer of the window's size times a scale, multisampled when asked, resolved
// and scaled into the window once the passes are done. The HUD is then drawn over it at the
// window's own resolution.
class SceneTarget {
  public:
    SceneTarget() = default;
    ~SceneTarget();
    SceneTarget(const SceneTarget&) = delete;
    SceneTarget& operator=(const SceneTarget&) = delete;

    // The images for a window of this size drawn at `scale` of it each way, with `samples`
    // samples a pixel (0 for none; more than the driver allows is reduced to that). Keeps the
    // images when nothing changed. False, with nothing made, for an empty window or when the
    // framebuffer cannot be completed: the caller then draws into the window itself.
    bool configure(int windowWidth, int windowHeight, int samples, double scale);
    bool isReady() const { return drawFramebuffer != 0; }

    // Makes the picture the target of the passes, with its viewport, until present.
    void bind();
    // Resolves the picture into framebuffer `window` (of the configured window size), scaled
    // to cover it, and leaves that framebuffer bound with the window's viewport.
    void present(unsigned int window = 0);
    void release();

    unsigned int framebuffer() const { return drawFramebuffer; }
    int width() const { return pictureWidth; }
    int height() const { return pictureHeight; }
    // The samples the picture has (what the driver granted).
    int samples() const { return grantedSamples; }

  private:
    void blitToWindow(unsigned int window);
    void releaseImages();

    int windowWidth = 0;
    int windowHeight = 0;
    int askedSamples = -1;
    double askedScale = 0.0;
    int pictureWidth = 0;
    int pictureHeight = 0;
    int grantedSamples = 0;
    unsigned int drawFramebuffer = 0;
    // The colour: a renderbuffer without samples, the GL target's sampled image with them.
    unsigned int colourBuffer = 0;
    GlSampledColour sampledColour;
    unsigned int depthBuffer = 0;
    // The picture resolved, without samples, at its own size: what is scaled into the window.
    unsigned int resolveFramebuffer = 0;
    unsigned int resolveBuffer = 0;
    // The picture scaled to the window's size, for a multisampled window, which takes a blit
    // only at the source's own size.
    unsigned int scaledFramebuffer = 0;
    unsigned int scaledBuffer = 0;
    bool upsideDown = false;
};
