#pragma once

#include <ostream>

#include "settings/GameOptions.h"

// Two option sets are equal when every field is: what the tests compare when a whole set must
// come through (a settings file read back, defaults kept). The game itself never compares
// them, so this lives with the tests.
bool operator==(const GameOptions& a, const GameOptions& b);
bool operator!=(const GameOptions& a, const GameOptions& b);

// Every field by name, so a failed comparison shows which one differs.
void PrintTo(const GameOptions& options, std::ostream* out);
