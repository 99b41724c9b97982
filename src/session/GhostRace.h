#pragma once

#include <string>
#include <utility>

#include "physics/GhostTrack.h"
#include "session/PlayControls.h"
#include "session/Replay.h"

class RaceSession;
class Scene;

// The best race, run again as a ghost beside the player's: where its replay comes from, the
// track it leaves, and keeping each new best's race (best.qbr beside the best times) for the
// races after it.
class GhostRace {
  public:
    // choice: "best" (the kept best race, when there is one), "off" or a replay file.
    explicit GhostRace(std::string choice = "best") : choice(std::move(choice)) {}

    // Where a new best's race is kept; "" keeps none.
    void setBestFile(const std::string& path) { bestFile = path; }
    const std::string& getBestFile() const { return bestFile; }
    // best.qbr in the folder of the best-times file at bestTimesPath.
    static std::string bestFileBeside(const std::string& bestTimesPath);

    // Reads the chosen replay and traces it on scene, which stands at a race's start and is
    // left there. A replay that cannot be played is named in one line and the race goes on
    // without a ghost.
    void load(Scene& scene);
    // After each frame's simulation, with the play event of the frame: a new best (newBest
    // on the frame it was won) keeps its race, and the next race brings it as the ghost.
    void afterFrame(PlayEvent event, bool newBest, const RaceSession* session, Scene* scene);

    const GhostTrack& track() const { return ghostTrack; }
    // A new choice during the game: "off" takes the ghost away at once; another one comes with
    // the next race (tracing it runs the scene, which only a race's start allows).
    void setChoice(const std::string& newChoice);

    // The marble of replay's first won race (or of all of it, when it never wins) at every
    // simulation step, run through scene's own simulation under the rules it was recorded
    // with. scene must stand at a race's start and is put back there, with its own rules.
    static GhostTrack trace(const Replay& replay, Scene& scene);

  private:
    std::string choice;
    std::string bestFile;
    GhostTrack ghostTrack;
    // A new best's race, traced when the next race starts (the won one still shows).
    Replay nextGhost;
    bool nextGhostDue = false;
    bool reloadDue = false;
};
