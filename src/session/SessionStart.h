#pragma once

#include "settings/GameOptions.h"

class RaceSession;

// After setUpGame, in the data tree: a replay (or timedemo) is read and checked before any
// window opens; otherwise the race is recorded, to --record's file or to the last race's.
// Null, having said why, when the replay cannot be played (the game exits with code 2).
RaceSession* startRaceSession(const GameOptions& options);
