#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "session/GamepadInput.h"

namespace {

GamepadState stick(float x, float y) {
    GamepadState pad;
    pad.axes[gamepad::LeftX] = x;
    pad.axes[gamepad::LeftY] = y;
    return pad;
}

float strength(const RaceInput& input) {
    return std::hypot(input.stickX, input.stickY);
}

} // namespace

TEST(GamepadInput, InsideTheDeadZoneTheStickSteersNothing) {
    for (const GamepadState& pad : {stick(0.19f, 0.0f), stick(0.0f, -0.2f), stick(0.14f, 0.14f),
                                    stick(-0.1f, 0.1f), GamepadState()}) {
        RaceInput input = gamepadInput(pad);
        EXPECT_EQ(RaceInput(), input) << input.stickX << ", " << input.stickY;
    }
}

TEST(GamepadInput, PastTheDeadZoneTheStrengthGrowsWithoutAJumpUpToOne) {
    // Just past the edge the push is tiny, not a fifth of the keys'.
    EXPECT_NEAR(0.0125f, strength(gamepadInput(stick(0.21f, 0.0f))), 1e-5f);
    EXPECT_NEAR(0.5f, strength(gamepadInput(stick(0.6f, 0.0f))), 1e-5f);
    // The direction stays the stick's at any strength; GLFW's y is down, forward is up.
    RaceInput half = gamepadInput(stick(0.6f * 0.6f, -0.6f * 0.8f));
    EXPECT_NEAR(0.5f * 0.6f, half.stickX, 1e-5f);
    EXPECT_NEAR(0.5f * 0.8f, half.stickY, 1e-5f);
    RaceInput forward = gamepadInput(stick(0.0f, -1.0f));
    EXPECT_FLOAT_EQ(0.0f, forward.stickX);
    EXPECT_FLOAT_EQ(1.0f, forward.stickY);
    EXPECT_FLOAT_EQ(-1.0f, gamepadInput(stick(0.0f, 1.0f)).stickY);

    // A square stick's corner reaches beyond the circle: held at the keys' strength.
    RaceInput corner = gamepadInput(stick(1.0f, -1.0f));
    EXPECT_NEAR(1.0f, strength(corner), 1e-6f);
    EXPECT_NEAR(std::sqrt(0.5f), corner.stickX, 1e-6f);
    EXPECT_NEAR(std::sqrt(0.5f), corner.stickY, 1e-6f);

    // Broken readings never push harder than full tilt.
    EXPECT_NEAR(1.0f, strength(gamepadInput(stick(7.0f, 0.0f))), 1e-6f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(RaceInput(), gamepadInput(stick(nan, nan)));
    EXPECT_NEAR(0.5f, strength(gamepadInput(stick(nan, 0.6f))), 1e-5f);
}

TEST(GamepadInput, TheDpadPressesTheKeysAlongsideTheKeyboard) {
    GamepadState pad = stick(0.0f, -1.0f);
    pad.buttons[gamepad::DpadUp] = true;
    pad.buttons[gamepad::DpadLeft] = true;
    RaceInput fromPad = gamepadInput(pad);
    EXPECT_EQ(RaceInput::Forward | RaceInput::Left, fromPad.keyMask);

    pad = GamepadState();
    pad.buttons[gamepad::DpadDown] = true;
    pad.buttons[gamepad::DpadRight] = true;
    EXPECT_EQ(RaceInput::Back | RaceInput::Right, gamepadInput(pad).keyMask);

    RaceInput keyboard;
    keyboard.keyMask = RaceInput::Right;
    RaceInput both = combineInputs(keyboard, fromPad);
    EXPECT_EQ(RaceInput::Forward | RaceInput::Left | RaceInput::Right, both.keyMask);
    EXPECT_FLOAT_EQ(1.0f, both.stickY);
}
