#pragma once

#include "platform/Keys.h"

// One reading of a gamepad in GLFW's standard layout: GLFW_GAMEPAD_AXIS_* index the axes,
// GLFW_GAMEPAD_BUTTON_* the buttons. Sticks run from -1 to 1 with +y pointing down, as GLFW
// reports them. Without a gamepad every axis reads 0 and every button is up.
struct GamepadState {
    float axes[GLFW_GAMEPAD_AXIS_LAST + 1] = {};
    bool buttons[GLFW_GAMEPAD_BUTTON_LAST + 1] = {};
};
