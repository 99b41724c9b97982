#include "session/WinRecorder.h"

#include "physics/RaceState.h"
#include "session/BestTimes.h"

WinRecord WinRecorder::recordWin(double seconds) {
    WinRecord win;
    win.known = true;
    win.seconds = seconds;
    if (bestTimes == nullptr)
        return win;
    if (bestTimesEnabled) {
        int place = bestTimes->record(seconds, BestTimes::today());
        win.newBest = place == 1;
        if (place > 0)
            bestTimes->save();
    }
    if (!bestTimes->entries().empty()) {
        win.hasBest = true;
        win.bestSeconds = bestTimes->entries().front().seconds;
    }
    return win;
}

void WinRecorder::noteRaceOutcome(const RaceState& race) {
    if (!race.isWon())
        current = WinRecord();
    else if (!current.known)
        current = recordWin(race.winningTime);
}
