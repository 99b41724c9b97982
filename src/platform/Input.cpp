#include "platform/Input.h"

#include "platform/GamepadSource.h"
#include "platform/KeySource.h"
#include "platform/Keys.h"
#include "platform/TimeSource.h"

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

bool isMouseButtonDown(int button) {
    if (keySource)
        return keySource->isMouseButtonDown(button);
    GLFWwindow* window = glfwGetCurrentContext();
    return window && glfwGetMouseButton(window, button) == GLFW_PRESS;
}

// GLFW gives the cursor in screen units, which a high-density display scales against the
// framebuffer's pixels: the HUD is laid out in the latter.
bool cursorPosition(double& x, double& y) {
    if (keySource)
        return keySource->cursorPosition(x, y);
    GLFWwindow* window = glfwGetCurrentContext();
    if (!window || glfwGetWindowAttrib(window, GLFW_HOVERED) != GLFW_TRUE)
        return false;
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
    GLFWwindow* window = glfwGetCurrentContext();
    return !window || glfwGetWindowAttrib(window, GLFW_FOCUSED) == GLFW_TRUE;
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
