#include "session/GamepadInput.h"

#include <cmath>

namespace {

// A broken axis reading (NaN, or beyond the stick's range) counts as a stick at rest or at
// its edge, never as a push harder than the keys.
float axisValue(const GamepadState& pad, int axis) {
    float value = pad.axes[axis];
    if (!std::isfinite(value))
        return 0.0f;
    return std::fmax(-1.0f, std::fmin(1.0f, value));
}

} // namespace

RaceInput gamepadInput(const GamepadState& pad) {
    RaceInput input;
    if (pad.buttons[gamepad::DpadUp])
        input.keyMask |= RaceInput::Forward;
    if (pad.buttons[gamepad::DpadLeft])
        input.keyMask |= RaceInput::Left;
    if (pad.buttons[gamepad::DpadDown])
        input.keyMask |= RaceInput::Back;
    if (pad.buttons[gamepad::DpadRight])
        input.keyMask |= RaceInput::Right;

    // GLFW's stick y grows downward; forward is up.
    const float x = axisValue(pad, gamepad::LeftX);
    const float y = -axisValue(pad, gamepad::LeftY);
    const float length = std::sqrt(x * x + y * y);
    if (length <= stickDeadZone)
        return input;
    const float strength = std::fmin(1.0f, (length - stickDeadZone) / (1.0f - stickDeadZone));
    input.stickX = x / length * strength;
    input.stickY = y / length * strength;
    return input;
}

RaceInput combineInputs(const RaceInput& keyboard, const RaceInput& gamepad) {
    RaceInput input;
    input.keyMask = keyboard.keyMask | gamepad.keyMask;
    input.stickX = gamepad.stickX;
    input.stickY = gamepad.stickY;
    return input;
}
