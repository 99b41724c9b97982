#include "platform/Window.h"

#include <cstdio>

#include "platform/Input.h"
#include "platform/Keys.h"
#ifdef __EMSCRIPTEN__
#include "platform/WebPage.h"
#endif

namespace platform {
namespace {
GLFWwindow* window = nullptr;
ResizeHandler resizeHandler = nullptr;
SwapHook beforeSwap = nullptr;

void forwardResize(GLFWwindow*, int width, int height) {
    if (resizeHandler)
        resizeHandler(width, height);
}
} // namespace

// GLFW's own reason goes to the error stream, beside the game's console messages.
void reportGlfwError(int code, const char* description) {
    std::fprintf(stderr, "GLFW error %d: %s\n", code, description ? description : "");
}

bool initialize() {
    glfwSetErrorCallback(reportGlfwError);
    return glfwInit() == GLFW_TRUE;
}

bool openWindow(int width, int height, int depthBits, int stencilBits, int samples, bool visible,
                bool fullscreen) {
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_SAMPLES, samples);
    glfwWindowHint(GLFW_DEPTH_BITS, depthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, stencilBits);
    glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (mode) {
        // The monitor's own mode: no mode switch, and the desktop comes back as it was.
        glfwWindowHint(GLFW_RED_BITS, mode->redBits);
        glfwWindowHint(GLFW_GREEN_BITS, mode->greenBits);
        glfwWindowHint(GLFW_BLUE_BITS, mode->blueBits);
        glfwWindowHint(GLFW_REFRESH_RATE, mode->refreshRate);
        width = mode->width;
        height = mode->height;
    } else {
        monitor = nullptr;
    }
    window = glfwCreateWindow(width, height, "", monitor, nullptr);
    if (!window)
        return false;
    glfwMakeContextCurrent(window);
    // A key tapped between two slow frames still counts as pressed at the next poll.
#ifdef __EMSCRIPTEN__
    keepKeyTaps(window);
#else
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
    glfwSetInputMode(window, GLFW_STICKY_MOUSE_BUTTONS, GLFW_TRUE);
#endif
    glfwSwapInterval(0);
    return true;
}

void setFullscreen(bool fullscreen, int windowedWidth, int windowedHeight) {
    if (!window)
        return;
    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (mode)
        glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    else
        glfwSetWindowMonitor(window, nullptr, 0, 0, windowedWidth, windowedHeight, GLFW_DONT_CARE);
}

void setVsync(bool on) {
    if (window)
        glfwSwapInterval(on ? 1 : 0);
}

void setWindowTitle(const char* title) {
    if (window)
        glfwSetWindowTitle(window, title);
}

void setResizeHandler(ResizeHandler handler) {
    resizeHandler = handler;
    if (!window)
        return;
    glfwSetFramebufferSizeCallback(window, forwardResize);
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    forwardResize(window, width, height);
}

void setBeforeSwapHook(SwapHook hook) {
    beforeSwap = hook;
}

void swapBuffers() {
    if (!window)
        return;
    if (beforeSwap)
        beforeSwap();
    glfwSwapBuffers(window);
    glfwPollEvents();
    forgetInputStates();
}

bool isWindowOpen() {
    return window && !glfwWindowShouldClose(window);
}

void closeWindow() {
    if (window)
        glfwSetWindowShouldClose(window, GLFW_TRUE);
}

void terminate() {
    window = nullptr;
    resizeHandler = nullptr;
    glfwTerminate();
}

} // namespace platform
