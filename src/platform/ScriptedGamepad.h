#pragma once

#include "platform/GamepadSource.h"

// A gamepad held by a test or a scripted driver: axes and buttons stay as last set.
class ScriptedGamepad : public GamepadSource {
  public:
    GamepadState state() override { return current; }
    void setAxis(int axis, float value) {
        if (axis >= 0 && axis <= GLFW_GAMEPAD_AXIS_LAST)
            current.axes[axis] = value;
    }
    void setLeftStick(float x, float y) {
        setAxis(GLFW_GAMEPAD_AXIS_LEFT_X, x);
        setAxis(GLFW_GAMEPAD_AXIS_LEFT_Y, y);
    }
    void set(int button, bool pressed) {
        if (button >= 0 && button <= GLFW_GAMEPAD_BUTTON_LAST)
            current.buttons[button] = pressed;
    }
    void press(int button) { set(button, true); }
    void release(int button) { set(button, false); }
    // Every axis centred and every button up.
    void releaseAll() { current = GamepadState(); }

  private:
    GamepadState current;
};
