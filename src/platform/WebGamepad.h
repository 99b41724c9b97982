#pragma once

#include "platform/GamepadSource.h"

// The browser's gamepad: the first connected one the browser lays out in its standard mapping
// (the same buttons and sticks as GLFW's gamepads), read through the page's Gamepad API. A pad
// the browser cannot map is left alone, as GLFW leaves a joystick it knows no mapping for.
class WebGamepad : public GamepadSource {
  public:
    GamepadState state() override;
};
