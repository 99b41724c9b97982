#pragma once

#include "session/WinRecord.h"

class BestTimes;
struct RaceState;

// Puts each won race among the best times once and keeps what the winner screen shows.
class WinRecorder {
  public:
    // Called after each frame's simulation. The first frame that finds the race won takes its
    // time and puts it among the best times (once a race, however long the winner screen
    // stays); a frame without a win forgets it for the next race. True on that first frame.
    bool noteRaceOutcome(const RaceState& race);
    const WinRecord& record() const { return current; }
    // Shows a win told from elsewhere (a test, a replay's own result).
    void setRecord(const WinRecord& record) { current = record; }

    // The best-times list wins are put in (null: none is kept). The caller owns it.
    void setBestTimes(BestTimes* times) { bestTimes = times; }
    BestTimes* getBestTimes() const { return bestTimes; }
    // A replayed race is watched, not run: its win still shows, but is not a best time.
    void setBestTimesEnabled(bool enabled) { bestTimesEnabled = enabled; }

  private:
    WinRecord recordWin(double seconds);

    WinRecord current;
    BestTimes* bestTimes = nullptr;
    bool bestTimesEnabled = true;
};
