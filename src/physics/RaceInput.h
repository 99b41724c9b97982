#pragma once

// What the player asks of the marble in one frame, handed to the physics step so that a
// keyboard, a gamepad or a replay can drive the same simulation.
struct RaceInput {
    enum Key { Forward = 1, Left = 2, Back = 4, Right = 8 };

    // The W, A, S, D bits above.
    int keyMask = 0;
    // An analogue stick, already past its dead zone and capped at length 1: x to the right,
    // y forward. (0, 0) when no stick is used.
    float stickX = 0.0f;
    float stickY = 0.0f;

    bool operator==(const RaceInput& other) const {
        return keyMask == other.keyMask && stickX == other.stickX && stickY == other.stickY;
    }
    bool operator!=(const RaceInput& other) const { return !(*this == other); }
};
