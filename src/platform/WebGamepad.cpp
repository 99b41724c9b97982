#include "platform/WebGamepad.h"

#include <emscripten/html5.h>

#include <cstring>

namespace {

// The browser's standard mapping numbers its buttons otherwise than we do, and gives the
// triggers as buttons (0 released to 1 pressed) where GLFW has axes (-1 to 1).
constexpr int standardButtonOf[gamepad::buttonCount] = {
    0,  // A
    1,  // B
    2,  // X
    3,  // Y
    4,  // LeftBumper
    5,  // RightBumper
    8,  // Back
    9,  // Start
    16, // Guide
    10, // LeftThumb
    11, // RightThumb
    12, // DpadUp
    15, // DpadRight
    13, // DpadDown
    14, // DpadLeft
};
constexpr int standardLeftTrigger = 6;
constexpr int standardRightTrigger = 7;

GamepadState fromStandard(const EmscriptenGamepadEvent& pad) {
    GamepadState state;
    for (int axis = gamepad::LeftX; axis <= gamepad::RightY && axis < pad.numAxes; ++axis)
        state.axes[axis] = static_cast<float>(pad.axis[axis]);
    for (int button = 0; button < gamepad::buttonCount; ++button) {
        const int standard = standardButtonOf[button];
        state.buttons[button] = standard < pad.numButtons && pad.digitalButton[standard];
    }
    auto trigger = [&pad](int standard) {
        const double pressed = standard < pad.numButtons ? pad.analogButton[standard] : 0.0;
        return static_cast<float>(pressed * 2.0 - 1.0);
    };
    state.axes[gamepad::LeftTrigger] = trigger(standardLeftTrigger);
    state.axes[gamepad::RightTrigger] = trigger(standardRightTrigger);
    return state;
}

} // namespace

GamepadState WebGamepad::state() {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS)
        return GamepadState();
    const int count = emscripten_get_num_gamepads();
    for (int index = 0; index < count; ++index) {
        EmscriptenGamepadEvent pad;
        if (emscripten_get_gamepad_status(index, &pad) == EMSCRIPTEN_RESULT_SUCCESS &&
            pad.connected && std::strcmp(pad.mapping, "standard") == 0)
            return fromStandard(pad);
    }
    return GamepadState();
}
