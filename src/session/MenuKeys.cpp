#include "session/MenuKeys.h"

#include "platform/Input.h"
#include "platform/Keys.h"

namespace {

enum Source { Key, Button, Mouse };

struct Watched {
    Source source;
    int code;
    bool MenuInput::*action;
};

const Watched watched[] = {
    {Key, GLFW_KEY_UP, &MenuInput::up},
    {Key, GLFW_KEY_W, &MenuInput::up},
    {Button, gamepad::DpadUp, &MenuInput::up},
    {Key, GLFW_KEY_DOWN, &MenuInput::down},
    {Key, GLFW_KEY_S, &MenuInput::down},
    {Button, gamepad::DpadDown, &MenuInput::down},
    {Key, GLFW_KEY_LEFT, &MenuInput::left},
    {Key, GLFW_KEY_A, &MenuInput::left},
    {Button, gamepad::DpadLeft, &MenuInput::left},
    {Key, GLFW_KEY_RIGHT, &MenuInput::right},
    {Key, GLFW_KEY_D, &MenuInput::right},
    {Button, gamepad::DpadRight, &MenuInput::right},
    {Key, GLFW_KEY_ENTER, &MenuInput::choose},
    {Key, GLFW_KEY_KP_ENTER, &MenuInput::choose},
    {Button, gamepad::A, &MenuInput::choose},
    {Key, GLFW_KEY_BACKSPACE, &MenuInput::back},
    {Button, gamepad::B, &MenuInput::back},
    {Mouse, GLFW_MOUSE_BUTTON_LEFT, &MenuInput::clicked},
};

} // namespace

MenuInput MenuKeys::read(int pointedLine) {
    static_assert(sizeof watched / sizeof watched[0] <= watchedCount, "one latch a control");
    const GamepadState pad = platform::gamepadState();
    MenuInput input;
    input.pointedLine = pointedLine;
    double x = 0.0;
    double y = 0.0;
    if (platform::cursorPosition(x, y)) {
        input.pointerMoved = x != cursorX || y != cursorY;
        cursorX = x;
        cursorY = y;
    }
    int slot = 0;
    for (const Watched& control : watched) {
        bool down = false;
        if (control.source == Key)
            down = platform::isKeyDown(control.code);
        else if (control.source == Button)
            down = pad.buttons[control.code];
        else
            down = platform::isMouseButtonDown(control.code);
        if (down && !wasDown[slot])
            input.*control.action = true;
        wasDown[slot++] = down;
    }
    return input;
}
