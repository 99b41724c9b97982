#include "render/SceneTarget.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "platform/GlTarget.h"
#include "platform/GlViewScope.h"

namespace {

// A framebuffer, left bound, around a colour renderbuffer (0: the caller attaches its colour).
GLuint makeFramebuffer(GLuint colour, GLuint depth) {
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    glBindFramebuffer(GL_FRAMEBUFFER, name);
    if (colour)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    if (depth)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  depth);
    return name;
}

GLuint makeRenderbuffer(int samples, GLenum format, int width, int height) {
    GLuint name = 0;
    glGenRenderbuffers(1, &name);
    glBindRenderbuffer(GL_RENDERBUFFER, name);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
    return name;
}

// The colour of `from` over the whole of `to`, smoothed when the sizes differ, turned upside
// down when asked.
void copy(GLuint from, GLuint to, int fromWidth, int fromHeight, int toWidth, int toHeight,
          bool flip) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    const bool sameSize = fromWidth == toWidth && fromHeight == toHeight;
    glBlitFramebuffer(0, flip ? fromHeight : 0, fromWidth, flip ? 0 : fromHeight, 0, 0, toWidth,
                      toHeight, GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
}

} // namespace

SceneTarget::~SceneTarget() {
    releaseImages();
}

bool SceneTarget::configure(int width, int height, int samples, double scale) {
    // A target that could not be made is not tried again, and not reported again, until
    // something changes.
    if (width == windowWidth && height == windowHeight && samples == askedSamples &&
        scale == askedScale)
        return isReady();
    releaseImages();
    windowWidth = width;
    windowHeight = height;
    askedSamples = samples;
    askedScale = scale;
    if (width <= 0 || height <= 0)
        return false;
    pictureWidth = std::max(1, static_cast<int>(std::lround(width * scale)));
    pictureHeight = std::max(1, static_cast<int>(std::lround(height * scale)));
    GLint largest = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &largest);
    grantedSamples = std::clamp(samples, 0, static_cast<int>(largest));

    // The window's own formats: 8 bits a colour channel without alpha, 24 depth, 8 stencil.
    depthBuffer =
        makeRenderbuffer(grantedSamples, GL_DEPTH24_STENCIL8, pictureWidth, pictureHeight);
    bool resolvable = true;
    if (grantedSamples > 0) {
        drawFramebuffer = makeFramebuffer(0, depthBuffer);
        resolvable = sampledColour.create(grantedSamples, pictureWidth, pictureHeight);
    } else {
        colourBuffer = makeRenderbuffer(0, GL_RGB8, pictureWidth, pictureHeight);
        drawFramebuffer = makeFramebuffer(colourBuffer, depthBuffer);
    }
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete && grantedSamples > 0) {
        resolveBuffer = makeRenderbuffer(0, GL_RGB8, pictureWidth, pictureHeight);
        resolveFramebuffer = makeFramebuffer(resolveBuffer, 0);
        complete =
            resolvable && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (!complete) {
        std::cerr << "GL: the off-screen picture could not be made; drawing into the window"
                  << std::endl;
        releaseImages();
        return false;
    }
    return true;
}

void SceneTarget::bind() {
    glBindFramebuffer(GL_FRAMEBUFFER, drawFramebuffer);
    glViewport(0, 0, pictureWidth, pictureHeight);
    // The driver keeps the window's rows top down. Drawn the same way, with the first sample
    // taken, the picture is the window's to the pixel; where the orientation cannot be chosen
    // it is drawn the other way up, which moves a few edge pixels.
    upsideDown = gltarget::drawUpsideDown(true);
}

void SceneTarget::present(unsigned int window) {
    {
        GlViewScope keepScissor;
        // A blit is clipped by the scissor, which a pass may have left on.
        glDisable(GL_SCISSOR_TEST);
        blitToWindow(window);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, window);
    glViewport(0, 0, windowWidth, windowHeight);
}

void SceneTarget::blitToWindow(unsigned int window) {
    if (upsideDown)
        gltarget::drawUpsideDown(false);
    GLuint source = drawFramebuffer;
    if (grantedSamples > 0) {
        sampledColour.resolve(drawFramebuffer, resolveFramebuffer, pictureWidth, pictureHeight);
        source = resolveFramebuffer;
    }
    const bool sameSize = pictureWidth == windowWidth && pictureHeight == windowHeight;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, window);
    GLint windowSampleBuffers = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &windowSampleBuffers);
    int sourceWidth = pictureWidth, sourceHeight = pictureHeight;
    if (!sameSize && windowSampleBuffers > 0) {
        if (!scaledFramebuffer) {
            scaledBuffer = makeRenderbuffer(0, GL_RGB8, windowWidth, windowHeight);
            scaledFramebuffer = makeFramebuffer(scaledBuffer, 0);
        }
        copy(source, scaledFramebuffer, pictureWidth, pictureHeight, windowWidth, windowHeight,
             false);
        source = scaledFramebuffer;
        sourceWidth = windowWidth;
        sourceHeight = windowHeight;
    }
    copy(source, window, sourceWidth, sourceHeight, windowWidth, windowHeight, upsideDown);
}

void SceneTarget::release() {
    releaseImages();
    askedSamples = -1;
}

void SceneTarget::releaseImages() {
    const GLuint framebuffers[3] = {drawFramebuffer, resolveFramebuffer, scaledFramebuffer};
    const GLuint renderbuffers[4] = {colourBuffer, depthBuffer, resolveBuffer, scaledBuffer};
    if (drawFramebuffer || resolveFramebuffer || scaledFramebuffer)
        glDeleteFramebuffers(3, framebuffers);
    if (colourBuffer || depthBuffer || resolveBuffer || scaledBuffer)
        glDeleteRenderbuffers(4, renderbuffers);
    sampledColour.release();
    drawFramebuffer = resolveFramebuffer = scaledFramebuffer = 0;
    colourBuffer = depthBuffer = resolveBuffer = scaledBuffer = 0;
    pictureWidth = pictureHeight = grantedSamples = 0;
}
