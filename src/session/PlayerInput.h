#pragma once

#include "physics/RaceInput.h"

// What the player asks of the marble right now, read through the platform's key and gamepad
// sources (which tests replace).

// The W, A, S, D keys as they are held now.
RaceInput keyboardInput();
// The keyboard and the gamepad together.
RaceInput playerInput();
