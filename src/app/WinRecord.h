#pragma once

class BestTimes;
class Scene;

// What the winner screen tells about the race just won: its time (every attempt of the race
// counted, as simulated) and how it stands against the best times kept.
struct WinRecord {
    bool known = false;
    double seconds = 0.0;
    bool hasBest = false;
    double bestSeconds = 0.0;
    bool newBest = false;
};

// Called after each frame's simulation. The first frame that finds the race won takes its
// time and puts it among the best times (once a race, however long the winner screen stays);
// a frame without a win forgets it for the next race.
void noteRaceOutcome(const Scene* scene);
const WinRecord& getWinRecord();
// Shows a win told from elsewhere (a test, a replay's own result).
void setWinRecord(const WinRecord& record);

// The best-times list wins are put in (null: none is kept). The caller owns it.
void setBestTimes(BestTimes* times);
BestTimes* getBestTimes();
// A replayed race is watched, not run: its win still shows, but is not a best time.
void setBestTimesEnabled(bool enabled);
