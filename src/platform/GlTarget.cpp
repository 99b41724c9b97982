#include "platform/GlTarget.h"

#include "platform/GlApi.h"

namespace gltarget {

#ifndef __EMSCRIPTEN__

void enableTexturing() {
    glEnable(GL_TEXTURE_2D);
}

void disableTexturing() {
    glDisable(GL_TEXTURE_2D);
}

void enableAlphaTest(float threshold) {
    glAlphaFunc(GL_GREATER, threshold);
    glEnable(GL_ALPHA_TEST);
}

void disableAlphaTest() {
    glDisable(GL_ALPHA_TEST);
}

// The programs hand their signed distance over as the x of their clip vertex; this fixed
// plane picks it out, so GL_CLIP_PLANE0 alone switches the clipping.
void enableClipPlane() {
    const GLdouble selectX[4] = {1.0, 0.0, 0.0, 0.0};
    glClipPlane(GL_CLIP_PLANE0, selectX);
    glEnable(GL_CLIP_PLANE0);
}

void disableClipPlane() {
    glDisable(GL_CLIP_PLANE0);
}

bool hasWireframe() {
    return true;
}

void setWireframe(bool on) {
    glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
}

int polygonMode() {
    GLint modes[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0];
}

bool hasPassTimer() {
    return true;
}

void beginTimeQuery(unsigned int query) {
    glBeginQuery(GL_TIME_ELAPSED, query);
}

double endTimeQueryMilliseconds(unsigned int query) {
    glEndQuery(GL_TIME_ELAPSED);
    GLuint64 nanoseconds = 0;
    glGetQueryObjectui64v(query, GL_QUERY_RESULT, &nanoseconds);
    return static_cast<double>(nanoseconds) * 1e-6;
}

int clampWrap() {
    return GL_CLAMP;
}

int depthImageFilter() {
    return GL_LINEAR;
}

void bindFragmentOutput(unsigned int program, const char* name) {
    glBindFragDataLocation(program, 0, name);
}

bool drawUpsideDown(bool on) {
    if (!GLEW_ARB_clip_control && !GLEW_VERSION_4_5)
        return false;
    glClipControl(on ? GL_UPPER_LEFT : GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    return true;
}

#else

// WebGL has no fixed-function texturing, alpha test or clip planes: the programs sample what
// is bound and discard for themselves.
void enableTexturing() {}

void disableTexturing() {}

void enableAlphaTest(float) {}

void disableAlphaTest() {}

void enableClipPlane() {}

void disableClipPlane() {}

bool hasWireframe() {
    return false;
}

void setWireframe(bool) {}

int polygonMode() {
    // GL_FILL, which GLES does not name.
    return 0x1B02;
}

bool hasPassTimer() {
    return false;
}

void beginTimeQuery(unsigned int) {}

double endTimeQueryMilliseconds(unsigned int) {
    return 0.0;
}

int clampWrap() {
    return GL_CLAMP_TO_EDGE;
}

int depthImageFilter() {
    return GL_NEAREST;
}

void bindFragmentOutput(unsigned int, const char*) {}

bool drawUpsideDown(bool) {
    return false;
}

#endif

} // namespace gltarget
