#pragma once

#include "platform/GamepadSource.h"

// The desktop's gamepad: the first joystick that GLFW 3.3 knows as a gamepad, read through
// GLFW's gamepad mappings. The only door to GLFW's joystick calls, which the browser's GLFW
// lacks; nothing before GLFW is up (the keys wait for it too).
class GlfwGamepad : public GamepadSource {
  public:
    GamepadState state() override;
};
