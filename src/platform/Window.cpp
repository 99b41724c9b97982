#include "platform/Window.h"

#include <cstdio>

#include "platform/Keys.h"

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

bool openWindow(int width, int height, int depthBits, int stencilBits, int samples, bool visible) {
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_SAMPLES, samples);
    glfwWindowHint(GLFW_DEPTH_BITS, depthBits);
    glfwWindowHint(GLFW_STENCIL_BITS, stencilBits);
    glfwWindowHint(GLFW_VISIBLE, visible ? GLFW_TRUE : GLFW_FALSE);
    window = glfwCreateWindow(width, height, "", nullptr, nullptr);
    if (!window)
        return false;
    glfwMakeContextCurrent(window);
    // A key tapped between two slow frames still counts as pressed at the next poll.
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
    glfwSwapInterval(0);
    return true;
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
