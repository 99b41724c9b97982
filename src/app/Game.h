#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/FrameDrawing.h"
#include "app/GamePlay.h"
#include "settings/GameOptions.h"

class BestTimes;
class BitmapFont;
class RaceSession;
class Scene;
class Timedemo;

// The program: built at start-up from the player's options, it opens the window, owns the
// scene, the font and the best times, and runs the banner, start-up, the frame loop and
// shutdown. Each frame is the GamePlay's update and the FrameDrawing's picture of it.
class Game {
  public:
    // Why the frame loop stopped.
    enum class StopReason { Escape, Quit, Signal, WindowClosed, ReplayEnded };

    explicit Game(const GameOptions& options);
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Runs the whole program on the desktop: startUp, frame until it says stop, shutdown.
    // Returns the exit code. A browser's main loop makes the same three calls itself.
    int run();

    // The banner, start-up, the best times and the ghost: everything before the first frame.
    // False (having printed why) when the program must exit 1.
    bool startUp();
    // One frame: the update, its picture, the timedemo's timing and the GL error check. Waits
    // for nothing but the buffer swap (and a timedemo for its drawing). False once the game is
    // to end; stopReason() then says why.
    bool frame();
    // The timedemo's report and a replay's last verdict, then everything released in order
    // and the window closed.
    void shutdown();

    // The race session start-up made; the game owns it.
    void adoptRaceSession(RaceSession* started) { play.adoptRaceSession(started); }
    std::optional<StopReason> stopReason() const { return stopped; }
    // The game as a page driving it reads it.
    const GamePlay& played() const { return play; }

  private:
    bool init();
    bool openWindow();
    void startQuality();
    void loadBestTimes();
    void noteFirstStart();
    void beginFrames();
    std::optional<StopReason> checkStop() const;
    void onWindowResize(int width, int height);
    static void resizeHandler(int width, int height);

    GameOptions options;
    GamePlay play;
    FrameDrawing drawing;
    std::unique_ptr<Scene> scene;
    std::unique_ptr<BitmapFont> font;
    std::unique_ptr<BestTimes> bestTimes;
    std::unique_ptr<Timedemo> timedemo;
    bool firstFrame = true;
    std::optional<StopReason> stopped;
    // Where shutdown put the recorded race ("" when it kept none).
    std::string keptRace;
};
