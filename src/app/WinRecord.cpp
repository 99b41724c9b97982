#include "app/WinRecord.h"

#include "app/AppState.h"
#include "app/BestTimes.h"
#include "scene/Scene.h"

namespace {
WinRecord current;
BestTimes* bestTimes = nullptr;
bool bestTimesEnabled = true;

WinRecord recordWin(double seconds) {
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
} // namespace

void noteRaceOutcome(const Scene* scene) {
    if (!isGameWon())
        current = WinRecord();
    else if (!current.known && scene != nullptr)
        current = recordWin(scene->getSimulationTime());
}

const WinRecord& getWinRecord() {
    return current;
}
void setWinRecord(const WinRecord& record) {
    current = record;
}
void setBestTimes(BestTimes* times) {
    bestTimes = times;
}
BestTimes* getBestTimes() {
    return bestTimes;
}
void setBestTimesEnabled(bool enabled) {
    bestTimesEnabled = enabled;
}
