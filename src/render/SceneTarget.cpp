#include "render/SceneTarget.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace {

// The window's own resolve, as llvmpipe does it: each pixel takes its first sample. The
// window's picture was always that; a blit's resolve averages the samples instead, which
// softens every edge (1 to 4 % of the pixels of the reference frames differ).
const char* const resolveVertex = R"(#version 150
void main() {
    vec2 corner = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0);
    gl_Position = vec4(corner, 0.0, 1.0);
}
)";
const char* const resolveFragment = R"(#version 150
uniform sampler2DMS picture;
out vec4 colour;
void main() {
    colour = texelFetch(picture, ivec2(gl_FragCoord.xy), 0);
}
)";

GLuint compile(GLenum stage, const char* source) {
    GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

GLuint linkResolveProgram() {
    GLuint program = glCreateProgram();
    GLuint vertex = compile(GL_VERTEX_SHADER, resolveVertex);
    GLuint fragment = compile(GL_FRAGMENT_SHADER, resolveFragment);
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindFragDataLocation(program, 0, "colour");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

GLuint makeFramebuffer(GLenum colourTarget, GLuint colour, GLuint depth) {
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    glBindFramebuffer(GL_FRAMEBUFFER, name);
    if (colourTarget == GL_RENDERBUFFER)
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    else
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, colourTarget, colour, 0);
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
    if (resolveProgram)
        glDeleteProgram(resolveProgram);
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
    if (grantedSamples > 0 && !resolveProgram)
        resolveProgram = linkResolveProgram();

    // The window's own formats: 8 bits a colour channel without alpha, 24 depth, 8 stencil.
    depthBuffer =
        makeRenderbuffer(grantedSamples, GL_DEPTH24_STENCIL8, pictureWidth, pictureHeight);
    if (grantedSamples > 0) {
        glGenTextures(1, &sampledColour);
        glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, sampledColour);
        glTexImage2DMultisample(GL_TEXTURE_2D_MULTISAMPLE, grantedSamples, GL_RGB8, pictureWidth,
                                pictureHeight, GL_TRUE);
        glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, 0);
        drawFramebuffer = makeFramebuffer(GL_TEXTURE_2D_MULTISAMPLE, sampledColour, depthBuffer);
    } else {
        colourBuffer = makeRenderbuffer(0, GL_RGB8, pictureWidth, pictureHeight);
        drawFramebuffer = makeFramebuffer(GL_RENDERBUFFER, colourBuffer, depthBuffer);
    }
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (complete && grantedSamples > 0) {
        resolveBuffer = makeRenderbuffer(0, GL_RGB8, pictureWidth, pictureHeight);
        resolveFramebuffer = makeFramebuffer(GL_RENDERBUFFER, resolveBuffer, 0);
        complete =
            resolveProgram && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
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
    upsideDown = GLEW_ARB_clip_control || GLEW_VERSION_4_5;
    if (upsideDown)
        glClipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
}

void SceneTarget::resolve() const {
    GLint activeUnit = GL_TEXTURE0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_VIEWPORT_BIT | GL_DEPTH_BUFFER_BIT |
                 GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer);
    glViewport(0, 0, pictureWidth, pictureHeight);
    glUseProgram(resolveProgram);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, sampledColour);
    glUniform1i(glGetUniformLocation(resolveProgram, "picture"), 0);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glBindTexture(GL_TEXTURE_2D_MULTISAMPLE, 0);
    glUseProgram(0);
    glActiveTexture(static_cast<GLenum>(activeUnit));
    glPopAttrib();
}

void SceneTarget::present(unsigned int window) {
    // A blit is clipped by the scissor, which a pass may have left on.
    glPushAttrib(GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    if (upsideDown)
        glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    GLuint source = drawFramebuffer;
    if (grantedSamples > 0) {
        resolve();
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
            scaledFramebuffer = makeFramebuffer(GL_RENDERBUFFER, scaledBuffer, 0);
        }
        copy(source, scaledFramebuffer, pictureWidth, pictureHeight, windowWidth, windowHeight,
             false);
        source = scaledFramebuffer;
        sourceWidth = windowWidth;
        sourceHeight = windowHeight;
    }
    copy(source, window, sourceWidth, sourceHeight, windowWidth, windowHeight, upsideDown);
    glPopAttrib();
    glBindFramebuffer(GL_FRAMEBUFFER, window);
    glViewport(0, 0, windowWidth, windowHeight);
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
    if (sampledColour)
        glDeleteTextures(1, &sampledColour);
    drawFramebuffer = resolveFramebuffer = scaledFramebuffer = 0;
    colourBuffer = depthBuffer = resolveBuffer = scaledBuffer = sampledColour = 0;
    pictureWidth = pictureHeight = grantedSamples = 0;
}
