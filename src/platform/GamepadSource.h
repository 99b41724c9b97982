#pragma once

#include "platform/GamepadState.h"

// Where the game reads the gamepad from. The GLFW backend reads the first connected joystick
// that GLFW knows as a gamepad; tests install a scripted gamepad.
class GamepadSource {
  public:
    virtual ~GamepadSource() = default;
    virtual GamepadState state() = 0;
};
