#include "platform/Input.h"

#include "platform/GamepadSource.h"
#include "platform/KeySource.h"
#include "platform/Keys.h"
#include "platform/TimeSource.h"
#ifdef __EMSCRIPTEN__
#include "platform/WebPage.h"
#endif

namespace platform {
namespace {
TimeSource* timeSource = nullptr;
KeySource* keySource = nullptr;
GamepadSource* gamepadSource = nullptr;

GamepadState fromGlfw(const GLFWgamepadstate& pad) {
    GamepadState state;
    for (int axis = 0; axis <= GLFW_GAMEPAD_AXIS_LAST; ++axis)
        state.axes[axis] = pad.axes[axis];
    for (int button = 0; button <= GLFW_GAMEPAD_BUTTON_LAST; ++button)
        state.buttons[button] = pad.buttons[button] == GLFW_PRESS;
    return state;
}
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
    // Joysticks are only asked once GLFW is up, as the keys are.
    if (!glfwGetCurrentContext())
        return GamepadState();
    for (int joystick = GLFW_JOYSTICK_1; joystick <= GLFW_JOYSTICK_LAST; ++joystick) {
        GLFWgamepadstate pad;
        if (glfwJoystickIsGamepad(joystick) && glfwGetGamepadState(joystick, &pad))
            return fromGlfw(pad);
    }
    return GamepadState();
}

} // namespace platform
