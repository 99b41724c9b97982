#pragma once

#include "platform/GamepadSource.h"

// A gamepad held by a test or a scripted driver: axes and buttons stay as last set.
class ScriptedGamepad : public GamepadSource {
  public:
    GamepadState state() override { return current; }
    void setAxis(int axis, float value) {
        if (axis >= 0 && axis < gamepad::axisCount)
            current.axes[axis] = value;
    }
    void setLeftStick(float x, float y) {
        setAxis(gamepad::LeftX, x);
        setAxis(gamepad::LeftY, y);
    }
    void set(int button, bool pressed) {
        if (button >= 0 && button < gamepad::buttonCount)
            current.buttons[button] = pressed;
    }
    void press(int button) { set(button, true); }
    void release(int button) { set(button, false); }
    // Every axis centred and every button up.
    void releaseAll() { current = GamepadState(); }

  private:
    GamepadState current;
};
