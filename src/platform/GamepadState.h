#pragma once

// The standard gamepad layout, numbered as GLFW 3.3 and SDL number it, under names of our own:
// the browser's GLFW (3.2) has no gamepad constants, and the layers above read the pad only
// through these.
namespace gamepad {
enum Axis { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger, axisCount };
enum Button {
    A,
    B,
    X,
    Y,
    LeftBumper,
    RightBumper,
    Back,
    Start,
    Guide,
    LeftThumb,
    RightThumb,
    DpadUp,
    DpadRight,
    DpadDown,
    DpadLeft,
    buttonCount
};
} // namespace gamepad

// One reading of a gamepad: gamepad::Axis indexes the axes, gamepad::Button the buttons. Sticks
// run from -1 to 1 with +y pointing down, as GLFW reports them. Without a gamepad every axis
// reads 0 and every button is up.
struct GamepadState {
    float axes[gamepad::axisCount] = {};
    bool buttons[gamepad::buttonCount] = {};
};
