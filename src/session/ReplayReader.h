#pragma once

#include <cstdint>
#include <string>

#include "session/Replay.h"

// Reads a replay file back for playing, trusting nothing in it: the layout is in
// ReplayFormat.h, and every value the simulation would use is checked against what a real
// race can produce, with limits that keep a hostile file from making it allocate without end.
class ReplayReader {
  public:
    // True when path holds a whole replay of this game's format, recorded on the level whose
    // hashLevelData() is expectedLevelHash; out then holds it. Otherwise false, out is empty
    // and error is one line naming the file and what is wrong, ready to print, e.g.
    //   Replay "x.qbr" cannot be played: it was recorded on another level (level data differs)
    // A file ending exactly between two records (as a crash leaves it) is a whole replay.
    bool read(const std::string& path, uint64_t expectedLevelHash, Replay& out, std::string& error);
};
