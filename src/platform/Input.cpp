#include "platform/Input.h"

#include <map>

#include "platform/GamepadSource.h"
#ifndef __EMSCRIPTEN__
#include "platform/GlfwGamepad.h"
#endif
#include "platform/KeySource.h"
#include "platform/Keys.h"
#include "platform/TimeSource.h"
#ifdef __EMSCRIPTEN__
#include "platform/WebGamepad.h"
#include "platform/WebPage.h"
#endif

namespace platform {
namespace {
TimeSource* timeSource = nullptr;
KeySource* keySource = nullptr;
GamepadSource* gamepadSource = nullptr;
// With sticky keys GLFW reports a key tapped between two polls as pressed to the first query
// only: a frame's later readers (the menu after the play controls) must see it too.
std::map<int, bool> keysThisFrame;
std::map<int, bool> buttonsThisFrame;

bool polled(std::map<int, bool>& seen, int code, int (*query)(GLFWwindow*, int)) {
    auto known = seen.find(code);
    if (known != seen.end())
        return known->second;
    GLFWwindow* window = glfwGetCurrentContext();
    const bool down = window && query(window, code) == GLFW_PRESS;
    seen[code] = down;
    return down;
}

#ifdef __EMSCRIPTEN__
// The browser's GLFW has no sticky keys: a tap kept by the window counts as a press.
int keyWithTaps(GLFWwindow* window, int key) {
    return takeKeyTap(key) || glfwGetKey(window, key) == GLFW_PRESS ? GLFW_PRESS : GLFW_RELEASE;
}
#else
int keyWithTaps(GLFWwindow* window, int key) {
    return glfwGetKey(window, key);
}
#endif
} // namespace

void setTimeSource(TimeSource* source) {
    timeSource = source;
}
void setKeySource(KeySource* source) {
    keySource = source;
}
void setGamepadSource(GamepadSource* source) {
    gamepadSource = source;
}

double getTime() {
    return timeSource ? timeSource->now() : glfwGetTime();
}

bool isKeyDown(int key) {
    if (keySource)
        return keySource->isDown(key);
    return polled(keysThisFrame, key, keyWithTaps);
}

void forgetInputStates() {
    keysThisFrame.clear();
    buttonsThisFrame.clear();
}

bool isMouseButtonDown(int button) {
    if (keySource)
        return keySource->isMouseButtonDown(button);
    return polled(buttonsThisFrame, button, glfwGetMouseButton);
}

// GLFW gives the cursor in screen units, which a high-density display scales against the
// framebuffer's pixels: the HUD is laid out in the latter.
bool cursorPosition(double& x, double& y) {
    if (keySource)
        return keySource->cursorPosition(x, y);
    GLFWwindow* window = glfwGetCurrentContext();
    if (!window)
        return false;
        // The browser's GLFW (3.2) cannot say whether the cursor is over the window.
#ifdef GLFW_HOVERED
    if (glfwGetWindowAttrib(window, GLFW_HOVERED) != GLFW_TRUE)
        return false;
#endif
    int windowWidth = 0, windowHeight = 0, pixelWidth = 0, pixelHeight = 0;
    glfwGetWindowSize(window, &windowWidth, &windowHeight);
    glfwGetFramebufferSize(window, &pixelWidth, &pixelHeight);
    glfwGetCursorPos(window, &x, &y);
    if (windowWidth > 0 && windowHeight > 0) {
        x *= static_cast<double>(pixelWidth) / windowWidth;
        y *= static_cast<double>(pixelHeight) / windowHeight;
    }
    return true;
}

bool hasFocus() {
    if (keySource)
        return keySource->hasFocus();
#ifdef __EMSCRIPTEN__
    return pageHasFocus();
#else
    GLFWwindow* window = glfwGetCurrentContext();
    return !window || glfwGetWindowAttrib(window, GLFW_FOCUSED) == GLFW_TRUE;
#endif
}

GamepadState gamepadState() {
    if (gamepadSource)
        return gamepadSource->state();
#ifdef __EMSCRIPTEN__
    static WebGamepad webGamepad;
    return webGamepad.state();
#else
    static GlfwGamepad glfwGamepad;
    return glfwGamepad.state();
#endif
}

} // namespace platform
