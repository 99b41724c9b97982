#pragma once

#include <cstdint>
#include <string>

#include "session/Replay.h"
#include "session/ReplayProblem.h"

// Reads a replay file back for playing, trusting nothing in it: the layout is in
// ReplayFormat.h, and every value the simulation would use is checked against what a real
// race can produce, with limits that keep a hostile file from making it allocate without end.
class ReplayReader {
  public:
    // True when path holds a whole replay of one of this game's formats, recorded on the level
    // whose hashLevelData() is expectedLevelHash; out then holds it. Otherwise false, out is
    // empty and problem says what is wrong (its consoleLine names the file). A file ending
    // exactly between two records (as a crash leaves it) is a whole replay.
    bool read(const std::string& path, uint64_t expectedLevelHash, Replay& out,
              ReplayProblem& problem);
};
