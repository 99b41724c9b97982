#include "platform/GlViewScope.h"

#include "platform/GlApi.h"

#ifndef __EMSCRIPTEN__

GlViewScope::GlViewScope() {
    glPushAttrib(GL_VIEWPORT_BIT | GL_SCISSOR_BIT);
}

GlViewScope::~GlViewScope() {
    glPopAttrib();
}

#else

GlViewScope::GlViewScope() {
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_SCISSOR_BOX, scissor);
    scissorOn = glIsEnabled(GL_SCISSOR_TEST);
}

GlViewScope::~GlViewScope() {
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
    if (scissorOn)
        glEnable(GL_SCISSOR_TEST);
    else
        glDisable(GL_SCISSOR_TEST);
}

#endif
