#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "physics/RaceInput.h"

// One recorded race as the game hands it to the replay file and gets it back: enough to run
// the simulation again frame by frame (the real frame times and what was steered), with the
// pauses and restarts where they happened.

// The file layout this game writes and reads (see ReplayFormat.h).
constexpr uint16_t replayFormatVersion = 1;

struct ReplayHeader {
    // The layout of the file; a reader only takes its own.
    uint16_t formatVersion = replayFormatVersion;
    // The game that recorded it, for people looking at an old file; not checked on reading.
    std::string gameVersion = QUILLORB_VERSION;
    // hashLevelData() of the level the race ran on; a replay only plays on the same level.
    uint64_t levelHash = 0;
};

struct ReplayRecord {
    enum class Kind : uint8_t { Frame = 1, Pause = 2, Resume = 3, PlayAgain = 4 };

    // Only a Frame carries the two values below; the other kinds leave them at zero.
    double frameTime = 0.0; // seconds, as the clock measured the drawn frame
    RaceInput input;
    Kind kind = Kind::Frame;
};

struct Replay {
    ReplayHeader header;
    // In the order they happened.
    std::vector<ReplayRecord> records;
};
