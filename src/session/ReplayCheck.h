#pragma once

#include <string>

#include "session/Replay.h"

// Tells, while a replay plays back, whether the race still goes the way it was recorded: each
// Check and End record of the replay is compared with the same record made from the race as it
// is played again, and the first one that differs is remembered.
class ReplayCheck {
  public:
    // recorded: a Check or End record of the replay; replayed: one of the same kind describing
    // the race at that point of the playback.
    void compare(const ReplayRecord& recorded, const ReplayRecord& replayed);

    bool wentAnotherWay() const { return differed; }
    // The recorded race time of the first record that differed.
    double firstDifference() const { return differenceTime; }

    // The one line the game prints for a replay played to its end, naming file, e.g.
    //   Replay "demo.qbr": went another way at race time 12.34 s
    std::string verdict(const std::string& file) const;

  private:
    bool compared = false;
    bool differed = false;
    double differenceTime = 0.0;
};
