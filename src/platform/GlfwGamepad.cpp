// Desktop only: the browser's GLFW (3.2) has neither these calls nor their constants.
#ifndef __EMSCRIPTEN__

#include "platform/GlfwGamepad.h"

#include "platform/Keys.h"

// Our layout is GLFW's, index for index, so a reading is copied across as it is.
static_assert(gamepad::axisCount == GLFW_GAMEPAD_AXIS_LAST + 1);
static_assert(gamepad::buttonCount == GLFW_GAMEPAD_BUTTON_LAST + 1);
static_assert(gamepad::LeftX == GLFW_GAMEPAD_AXIS_LEFT_X &&
              gamepad::LeftY == GLFW_GAMEPAD_AXIS_LEFT_Y &&
              gamepad::RightTrigger == GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER);
static_assert(gamepad::A == GLFW_GAMEPAD_BUTTON_A && gamepad::Start == GLFW_GAMEPAD_BUTTON_START &&
              gamepad::DpadUp == GLFW_GAMEPAD_BUTTON_DPAD_UP &&
              gamepad::DpadRight == GLFW_GAMEPAD_BUTTON_DPAD_RIGHT &&
              gamepad::DpadDown == GLFW_GAMEPAD_BUTTON_DPAD_DOWN &&
              gamepad::DpadLeft == GLFW_GAMEPAD_BUTTON_DPAD_LEFT);

GamepadState GlfwGamepad::state() {
    GamepadState state;
    if (!glfwGetCurrentContext())
        return state;
    for (int joystick = GLFW_JOYSTICK_1; joystick <= GLFW_JOYSTICK_LAST; ++joystick) {
        GLFWgamepadstate pad;
        if (!glfwJoystickIsGamepad(joystick) || !glfwGetGamepadState(joystick, &pad))
            continue;
        for (int axis = 0; axis < gamepad::axisCount; ++axis)
            state.axes[axis] = pad.axes[axis];
        for (int button = 0; button < gamepad::buttonCount; ++button)
            state.buttons[button] = pad.buttons[button] == GLFW_PRESS;
        break;
    }
    return state;
}

#endif
