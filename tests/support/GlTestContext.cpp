#include "GlTestContext.h"

#include <GL/glew.h>

#include <GLFW/glfw3.h>
#include <IL/il.h>

#include "platform/Window.h"

namespace {

// One window serves every test of the program, so it takes the size each test asks for:
// otherwise a test would see the window of whichever GL test happened to run first.
bool sizeWindow(int width, int height) {
    GLFWwindow* window = glfwGetCurrentContext();
    int shownWidth = 0;
    int shownHeight = 0;
    glfwGetFramebufferSize(window, &shownWidth, &shownHeight);
    if (shownWidth != width || shownHeight != height) {
        glfwSetWindowSize(window, width, height);
        // The X server answers at once without a window manager; give one a few seconds.
        for (int tries = 0; tries < 100 && (shownWidth != width || shownHeight != height);
             ++tries) {
            glfwWaitEventsTimeout(0.05);
            glfwGetFramebufferSize(window, &shownWidth, &shownHeight);
        }
        // The driver takes the new size for its buffers at a swap.
        glfwSwapBuffers(window);
    }
    glViewport(0, 0, width, height);
    return shownWidth == width && shownHeight == height;
}

} // namespace

bool ensureGlContext(int width, int height) {
    static bool tried = false;
    static bool ready = false;
    if (tried)
        return ready && sizeWindow(width, height);
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
    ready = true;
    return sizeWindow(width, height);
}
