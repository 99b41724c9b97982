#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "physics/RaceInput.h"
#include "scene/SimulationVersion.h"

// One recorded race as the game hands it to the replay file and gets it back: enough to run
// the simulation again frame by frame (the real frame times and what was steered), with the
// pauses and restarts where they happened, and checks of where the race stood, so that playing
// it back can tell whether it still goes the same way.

// The file layout this game writes (see ReplayFormat.h); it reads every layout from the first.
constexpr uint16_t replayFormatVersion = 2;

struct ReplayHeader {
    // The layout of the file: the reader takes this one and every earlier one.
    uint16_t formatVersion = replayFormatVersion;
    // The game that recorded it, for people looking at an old file; not checked on reading.
    std::string gameVersion = QUILLORB_VERSION;
    // hashLevelData() of the level the race ran on; a replay only plays on the same level.
    uint64_t levelHash = 0;
    // From format 2 on: the SimulationVersion the race ran under. A format-1 file does not
    // say (it reads as 0): its checks tell (simulationVersionOf).
    uint16_t simulationVersion = static_cast<uint16_t>(currentSimulationVersion);
    // From format 2 on: the course raced, at most 32 of a-z, 0-9 and '-'; empty for the
    // first course.
    std::string course;
};

struct ReplayRecord {
    // A Check follows the frame that reached a whole second of race time; the End closes a
    // finished recording.
    enum class Kind : uint8_t {
        Frame = 1,
        Pause = 2,
        Resume = 3,
        PlayAgain = 4,
        Check = 5,
        End = 6
    };
    // How the race stood when the recording ended: Quit is a race still running.
    enum class Outcome : uint8_t { Won = 1, GameOver = 2, Quit = 3 };

    // Only a Frame carries these two; the other kinds leave them at zero.
    double frameTime = 0.0; // seconds, as the clock measured the drawn frame
    RaceInput input;
    // A Check and an End carry these two: the race's simulated time (which starts again at 0
    // with a new race) and the marble's centre.
    double raceTime = 0.0;
    glm::vec3 position = glm::vec3(0.0f);
    // Only an End carries these.
    Outcome outcome = Outcome::Quit;
    int lives = 0; // spare lives left
    Kind kind = Kind::Frame;
};

struct Replay {
    ReplayHeader header;
    // In the order they happened.
    std::vector<ReplayRecord> records;
};
