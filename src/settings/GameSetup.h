#pragma once

#include "settings/GameOptions.h"

// Everything between the program's arguments and the first window: the command line, the
// settings file and the data tree. Returns true when the game is to start; options then
// holds what the player chose and the working directory is the data tree; a replay named
// demo is the data tree's, last and best the player's own. Otherwise exitCode says how the
// program ends: 0 after the help, the version or --write-settings, 2 for a refused command line
// (or a settings file --write-settings will not replace, or last or best without a home
// folder), 1 when no data tree was found.
bool setUpGame(int argc, const char* const* argv, GameOptions& options, int& exitCode);
