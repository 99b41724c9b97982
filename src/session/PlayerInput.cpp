#include "session/PlayerInput.h"

#include "platform/Input.h"
#include "platform/Keys.h"
#include "session/GamepadInput.h"

RaceInput keyboardInput() {
    RaceInput input;
    if (platform::isKeyDown(GLFW_KEY_W))
        input.keyMask |= RaceInput::Forward;
    if (platform::isKeyDown(GLFW_KEY_A))
        input.keyMask |= RaceInput::Left;
    if (platform::isKeyDown(GLFW_KEY_S))
        input.keyMask |= RaceInput::Back;
    if (platform::isKeyDown(GLFW_KEY_D))
        input.keyMask |= RaceInput::Right;
    return input;
}

RaceInput playerInput() {
    return combineInputs(keyboardInput(), gamepadInput(platform::gamepadState()));
}
