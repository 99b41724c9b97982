#include "session/WinRecorder.h"

#include <ctime>

#include "physics/RaceState.h"
#include "session/BestTimes.h"

WinRecord WinRecorder::recordWin(double seconds) {
    WinRecord win;
    win.known = true;
    win.seconds = seconds;
    if (bestTimes == nullptr)
        return win;
    if (!bestTimes->entries().empty()) {
        win.hadPreviousBest = true;
        win.previousBestSeconds = bestTimes->entries().front().seconds;
    }
    if (bestTimesEnabled) {
        int place = bestTimes->record(seconds, BestTimes::today(), std::time(nullptr));
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

bool WinRecorder::noteRaceOutcome(const RaceState& race) {
    if (!race.isWon()) {
        current = WinRecord();
        return false;
    }
    if (current.known)
        return false;
    current = recordWin(race.winningTime);
    return true;
}
