#include "platform/Input.h"

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
    GLFWwindow* window = glfwGetCurrentContext();
#ifdef __EMSCRIPTEN__
    if (window && takeKeyTap(key))
        return true;
#endif
    return window && glfwGetKey(window, key) == GLFW_PRESS;
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
