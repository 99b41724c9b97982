#include "GlTestContext.h"

#include <GL/glew.h>

#include <IL/il.h>

#include "platform/Window.h"

bool ensureGlContext(int width, int height) {
    static bool tried = false;
    static bool ready = false;
    if (tried)
        return ready;
    tried = true;
    if (!platform::initialize())
        return false;
    if (!platform::openWindow(width, height, 24, 8, 4))
        return false;
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        return false;
    glGetError();
    ilInit();
    glViewport(0, 0, width, height);
    ready = true;
    return ready;
}
