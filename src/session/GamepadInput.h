#pragma once

#include "physics/RaceInput.h"
#include "platform/GamepadState.h"

// The gamepad's share of the player's steering: the d-pad presses the W, A, S, D bits and the
// left stick adds an analogue direction.

// A stick at rest rarely reads exactly zero; inside this radius it steers nothing.
constexpr float stickDeadZone = 0.2f;

// The d-pad as key bits and the left stick as (x right, y forward). Past the dead zone the
// stick's length is rescaled so the steering grows from 0 at the zone's edge to 1 at full
// tilt, without a jump; a diagonal beyond the unit circle is held at length 1.
RaceInput gamepadInput(const GamepadState& pad);

// Keyboard and gamepad at once: the keys of either, and the gamepad's stick.
RaceInput combineInputs(const RaceInput& keyboard, const RaceInput& gamepad);
