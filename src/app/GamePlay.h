#pragma once

#include <memory>
#include <string>

#include "app/FrameView.h"
#include "physics/RaceState.h"
#include "platform/Clock.h"
#include "quality/QualityControl.h"
#include "session/GhostRace.h"
#include "session/MenuFlow.h"
#include "session/PlayControls.h"
#include "session/WinRecorder.h"
#include "settings/GameOptions.h"

class RaceSession;
class Scene;

// The game as its frames play it, apart from its window: the frame clock, the play controls
// and the pause menu's flow, the race session, the win's record, the ghost, the quality rung
// and the first start's hint. The game builds one around its scene; a test builds one around
// a scene of its own (or none) and plays it with scripted time and keys, without a window.
class GamePlay {
  public:
    explicit GamePlay(const GameOptions& options = GameOptions());
    ~GamePlay();
    GamePlay(const GamePlay&) = delete;
    GamePlay& operator=(const GamePlay&) = delete;

    // One frame's update, everything before its drawing. pointedMenuLine: the menu line under
    // the mouse where the last frame drew the menu (-1 for none).
    void update(int pointedMenuLine = -1);
    // What the frame is to show.
    FrameView view() const;

    // The scene the race runs in, borrowed (null: a test's game without one).
    void setScene(Scene* played);
    Scene* scene() const { return level; }
    // The race the frame shows: the scene's, or without a scene one not yet begun.
    RaceState& race();
    const RaceState& race() const;
    // The race session, borrowed from a test or owned when the game started it.
    void setRaceSession(RaceSession* borrowed);
    void adoptRaceSession(RaceSession* started);
    RaceSession* raceSession() const { return session; }
    // Closes the race session (a recording gets its closing record and is put in place) and
    // lets it go; returns where the race was put ("" when nowhere).
    std::string finishRaceSession();
    // The replay the session plays came from file: as it ends, the game says once whether it
    // went as recorded. Held back until tellVerdict() when atTheEnd (a timedemo's report
    // comes first).
    void tellVerdictOf(const std::string& file, bool atTheEnd = false);
    void tellVerdict();

    // Auto quality starts where it settled the last time with this renderer and window size,
    // and remembers where it settles now.
    void startQuality(const QualityMemory::Key& where);
    // The scene takes on the rung's settings.
    void applyQuality();
    QualityRung qualityRung() const { return quality.rung(); }
    const QualityControl& qualityControl() const { return quality; }
    // The window's new size: the scene's projection follows, and where the quality settles
    // is kept for that size.
    void onWindowResize(int width, int height);
    // The first start's hint shows for this many seconds of racing.
    void showHint(double seconds) { hintLeft = seconds; }

    Clock& clock() { return frameClock; }
    const Clock& clock() const { return frameClock; }
    PlayControls& controls() { return playControls; }
    const PlayControls& controls() const { return playControls; }
    WinRecorder& wins() { return winRecorder; }
    const WinRecorder& wins() const { return winRecorder; }
    // The best race's ghost, and where a new best's race is kept.
    GhostRace& ghost() { return ghostRace; }
    MenuFlow& menuFlow() { return flow; }
    const MenuFlow& menuFlow() const { return flow; }

  private:
    void useSession(RaceSession* replacement);
    void takeOnOptions(const MenuFlow::Outcome& outcome);
    void restartQuality();

    Clock frameClock;
    PlayControls playControls;
    WinRecorder winRecorder;
    GhostRace ghostRace;
    MenuFlow flow;
    QualityControl quality;
    QualityMemory::Key qualityKey;
    bool qualityKeyKnown = false;
    // Whether the last frame drew the race: only the time of such a frame tells the quality
    // governor what a rung costs (not a pause, an end screen or the first frame's loading).
    bool lastFrameDrewRace = false;
    double hintLeft = 0.0;
    RaceState noRace;
    Scene* level = nullptr;
    RaceSession* session = nullptr;
    std::unique_ptr<RaceSession> ownedSession;
    // The file of the replay the session plays, whose verdict is due as it ends.
    std::string verdictFile;
    bool verdictDue = false;
    bool verdictAtTheEnd = false;
};
