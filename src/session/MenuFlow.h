#pragma once

#include <cstdint>
#include <string>

#include "session/MenuKeys.h"
#include "session/PauseMenu.h"
#include "session/PlayControls.h"
#include "settings/GameOptions.h"

class GhostRace;
class RaceSession;
class Scene;
class WinRecorder;
struct RaceState;

// What the pause menu's choices do in the game: the menu opens with what can be chosen now,
// Resume resumes, Restart race starts a new race (with a new recording after a replay), the
// two Watch lines leave the race for a replay of the best or the last race and come back to
// the menu when it ends (or on Backspace), a changed option is taken on at once and saved as
// the player leaves the options page, and Quit is noted for the frame loop. The play controls,
// the ghost and the win's record are the game's, handed over at the start; a session the menu
// starts is handed back for the game to own.
class MenuFlow {
  public:
    // The race a frame runs: its scene (null when a test has none), the race the frame shows
    // and the session playing it (which may be null).
    struct Race {
        Scene* scene;
        RaceState& state;
        RaceSession* session;
    };
    // What a frame of the menu leaves to the game.
    struct Outcome {
        // The frame's play event, as the menu leaves it.
        PlayEvent event = PlayEvent::None;
        // The session to play from now on, the game's to own: a replay to watch, or a new
        // recording after one. Null: the session stays.
        RaceSession* newSession = nullptr;
        // The options in force changed; what only the game can take on is then its to do.
        bool optionsChanged = false;
        bool qualityChanged = false;
    };

    MenuFlow(const GameOptions& options, bool showFps, PlayControls& controls, GhostRace& ghost,
             WinRecorder& wins);

    // Once a frame, after the play controls: what the menu makes of their event and of the
    // menu's keys. pointedLine: the menu line under the mouse (-1 for none).
    Outcome handle(PlayEvent event, int pointedLine, const Race& race);
    // The watched replay has run out: the menu comes back over its end.
    void watchedReplayEnded(const Race& race);

    PauseMenu& menu() { return pauseMenu; }
    const PauseMenu& menu() const { return pauseMenu; }
    // The options as the menu last changed them (at first, those the game started with).
    const GameOptions& options() const { return inForce; }
    bool quitChosen() const { return quitRequested; }
    // A replay chosen in the menu is being watched, from this file.
    bool isWatching() const { return watching; }
    const std::string& watchedFile() const { return watched; }

  private:
    void open(const RaceSession* session);
    void stopWatching(const Race& race);
    void restart(const Race& race, Outcome& outcome);
    void watch(const std::string& file, const Race& race, Outcome& outcome);
    // Ends the player's recording: kept as the last race, or dropped when nothing was played.
    void keepRaceUnderWay(const Race& race);
    void applyOptions(Scene* scene, Outcome& outcome);
    void saveOptions();
    // Why a replay the menu offers cannot be watched ("" when it can).
    std::string replayProblem(const std::string& file, const char* whenMissing);
    std::string lastRaceFile() const;
    uint64_t levelHash();

    GameOptions inForce;
    PlayControls& playControls;
    GhostRace& ghostRace;
    WinRecorder& winRecorder;
    PauseMenu pauseMenu;
    MenuKeys menuKeys;
    bool quitRequested = false;
    bool watching = false;
    // The player's race was left for a replay: only Restart race brings one back.
    bool raceLeft = false;
    std::string watched;
    uint64_t levelHashValue = 0;
    bool levelHashKnown = false;
};
