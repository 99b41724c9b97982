#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "physics/RaceState.h"
#include "physics/StepResult.h"
#include "platform/Clock.h"
#include "quality/QualityControl.h"
#include "session/GhostRace.h"
#include "session/MenuKeys.h"
#include "session/PauseMenu.h"
#include "session/PlayControls.h"
#include "session/WinRecorder.h"
#include "settings/GameOptions.h"

class Scene;
class BitmapFont;
class RaceSession;
class BestTimes;
class PassTimer;

// The application shell: one game, built at start-up from the player's options, owns the
// scene, the font, the screen pictures, the clock, the race session, the best times and the
// play controls, and runs the banner, start-up, the frame loop and shutdown. A test builds
// one without starting it and hands it the parts it made itself.
class Game {
  public:
    explicit Game(const GameOptions& options = GameOptions());
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Runs the whole program on the desktop: startUp, frame until it says stop, shutdown.
    // Returns the exit code. A browser's main loop makes the same three calls itself.
    int run();

    // The banner, start-up, the best times and the ghost: everything before the first frame.
    // False (having printed why) when the program must exit 1.
    bool startUp();
    // One frame: controls, simulation, drawing, the timedemo's timing and the replay's verdict.
    // Waits for nothing but the buffer swap (and a timedemo for its drawing). False once the
    // game is to end: Escape, the window closed, or a timedemo's replay over.
    bool frame();
    // The timedemo's report and a replay's last verdict when frames ran, then everything
    // released in order and the window closed.
    void shutdown();

    // Start-up after the banner; returns false (having printed why) when the program must
    // exit 1.
    bool init();
    void updateFrame();
    void checkGLError();
    void onWindowResize(int width, int height);

    const GameOptions& options() const { return gameOptions; }
    int windowWidth() const { return width; }
    int windowHeight() const { return height; }
    Clock& clock() { return frameClock; }
    PlayControls& controls() { return playControls; }
    WinRecorder& wins() { return winRecorder; }
    // The best race's ghost, and where a new best's race is kept.
    GhostRace& ghost() { return ghostRace; }
    // The race the frame shows: the scene's, or before there is a scene one not yet begun.
    RaceState& race();
    // What the last frame's simulation did.
    const StepResult& lastStep() const { return frameStep; }
    // The quality rung the scene draws at.
    QualityRung qualityRung() const { return quality.rung(); }
    // The pause screen's menu, and whether its Quit was chosen (the game then ends as on
    // Escape).
    PauseMenu& menu() { return pauseMenu; }
    bool quitChosen() const { return quitRequested; }
    // A replay chosen in the menu is being watched.
    bool isWatching() const { return watching; }
    // Seconds of racing the first-start hint still shows for.
    double hintTimeLeft() const { return hintLeft; }

    Scene* getScene() const { return scene; }
    BitmapFont* getFont() const { return font; }
    unsigned int getScreenTexture(int slot) const;
    RaceSession* getRaceSession() const { return session; }
    // The picture a pause shows, kept between frames (0 when none).
    unsigned int& frozenFrame() { return frozenFrameTexture; }

    // Parts a test made itself; the game only borrows them.
    void setScene(Scene* replacement) { scene = replacement; }
    void setFont(BitmapFont* replacement) { font = replacement; }
    void setScreenTexture(int slot, unsigned int texture);
    void setRaceSession(RaceSession* replacement);
    // The race session start-up made; the game deletes it at shutdown.
    void adoptRaceSession(RaceSession* started);
    // A scene made elsewhere that the game releases at shutdown, before the window goes.
    void adoptScene(Scene* made);

  private:
    void useSession(RaceSession* replacement);
    // The menu's side of a frame: what it makes of the play event and the menu keys.
    PlayEvent handleMenu(PlayEvent event);
    void openMenu();
    int pointedMenuLine();
    void applyMenuOptions();
    void saveMenuOptions();
    PlayEvent restartFromMenu();
    void watch(const std::string& file);
    // Ends the player's recording: kept as the last race, or dropped when nothing was played.
    void keepRaceUnderWay();
    void stopWatching();
    // Why a replay the menu offers cannot be watched ("" when it can).
    std::string replayProblem(const std::string& file, const char* whenMissing);
    std::string lastRaceFile() const;
    uint64_t levelHash();
    void noteFirstStart();
    void startQuality();
    void applyQuality();
    void showLoadingScreen();
    void loadBestTimes();
    void beginFrames();
    void endFrames();

    GameOptions gameOptions;
    int width;
    int height;
    Clock frameClock;
    PlayControls playControls;
    WinRecorder winRecorder;
    GhostRace ghostRace;
    StepResult frameStep;
    RaceState noRace;
    QualityControl quality;
    // Whether the last frame drew the race: only the time of such a frame tells the quality
    // governor what a rung costs (not a pause, an end screen or the first frame's loading).
    bool lastFrameDrewRace = false;
    PauseMenu pauseMenu;
    MenuKeys menuKeys;
    bool quitRequested = false;
    bool watching = false;
    // The player's race was left for a replay: only Restart race brings one back.
    bool raceLeft = false;
    double hintLeft = 0.0;
    std::string watchedFile;
    uint64_t levelHashValue = 0;
    bool levelHashKnown = false;

    Scene* scene = nullptr;
    BitmapFont* font = nullptr;
    RaceSession* session = nullptr;
    unsigned int screenTextures[4] = {0, 0, 0, 0};
    unsigned int frozenFrameTexture = 0;

    // What run() and start-up made; the pointers above may point at a test's own parts.
    std::unique_ptr<Scene> ownedScene;
    std::unique_ptr<BitmapFont> ownedFont;
    std::unique_ptr<RaceSession> ownedSession;
    std::unique_ptr<BestTimes> bestTimes;
    bool screenTexturesMade = false;
    // Where shutdown put the recorded race ("" when it kept none).
    std::string keptRace;

    // What the frames keep from one call to the next, from beginFrames to endFrames.
    struct FrameRun {
        bool begun = false;
        bool first = true;
        bool timedemo = false;
        std::unique_ptr<PassTimer> passTimer;
        std::vector<double> times; // the timedemo's, after the first frame
        double lastDone = 0.0;
        // A watched replay says whether it held as it ends; a timedemo after its report.
        std::string replayFile;
        bool verdictDue = false;
    };
    FrameRun frames;
};

// The GL error text for one glGetError() value ("" for no error).
const char* glErrorMessage(unsigned int error);
