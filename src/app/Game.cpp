#include "app/Game.h"

#include <GL/glew.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/DisplayOptions.h"
#include "app/GameSetup.h"
#include "app/RenderFrame.h"
#include "app/TimedemoReport.h"
#include "assets/TextureLoader.h"
#include "hud/BitmapFont.h"
#include "hud/MenuScreen.h"
#include "platform/GlTarget.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/StopSignals.h"
#include "platform/WholeFile.h"
#include "platform/Window.h"
#include "render/PassTimer.h"
#include "render/SceneTarget.h"
#include "scene/Scene.h"
#include "session/BestTimes.h"
#include "session/LevelHash.h"
#include "session/PlayerInput.h"
#include "session/RaceSession.h"
#include "session/ReplayReader.h"
#include "settings/SettingsFile.h"
#include "settings/UserDirectories.h"

namespace {

const char* const banner =
    "Quillorb 3D\n"
    "  A marble race against the clock through lake, forest and river.\n"
    "  Roll with W, A, S and D; Escape quits; F2 to F9 switch display options.\n"
    "  Code, level, pictures, font and music made by the Quillorb team.\n"
    "  Built on GLFW, GLEW, DevIL, OpenAL, TinyXML and GLM.\n";

const char* const screenTextureFiles[4] = {
    "texture/sphereMitte.png",
    "texture/TestLoadingScreen.bmp",
    "texture/GameOver.bmp",
    "texture/WinnerScreen.bmp",
};

// Where a console "pause" would wait for a key, wait for Enter instead.
void waitForEnter() {
    std::cerr << "Press Enter to continue . . ." << std::endl;
    std::string line;
    std::getline(std::cin, line);
}

// The one game the window's resize handler speaks to.
Game* resizedGame = nullptr;

void resizeHandler(int width, int height) {
    if (resizedGame)
        resizedGame->onWindowResize(width, height);
}

// A timedemo compares runs: it draws at one fixed rung, full unless --quality names another.
GameOptions withTimedemoQuality(GameOptions options) {
    if (!options.timedemoFile.empty() && options.qualityAuto) {
        options.qualityAuto = false;
        options.quality = QualityRung::Full;
    }
    return options;
}

} // namespace

Game::Game(const GameOptions& options)
    : gameOptions(options), width(options.width), height(options.height), ghostRace(options.ghost),
      quality(withTimedemoQuality(options)), pauseMenu(options, isShowFpsOn()) {}

Game::~Game() {
    if (resizedGame == this)
        resizedGame = nullptr;
}

RaceState& Game::race() {
    return scene ? scene->getRace() : noRace;
}

unsigned int Game::getScreenTexture(int slot) const {
    return slot >= 0 && slot < 4 ? screenTextures[slot] : 0;
}

void Game::setScreenTexture(int slot, unsigned int texture) {
    if (slot >= 0 && slot < 4)
        screenTextures[slot] = texture;
}

void Game::adoptScene(Scene* made) {
    ownedScene.reset(made);
    scene = made;
}

// A watched race is not the player's own: its win shows, but is no best time.
void Game::useSession(RaceSession* replacement) {
    session = replacement;
    winRecorder.setBestTimesEnabled(!(session && session->isReplaying()));
}

void Game::setRaceSession(RaceSession* replacement) {
    useSession(replacement);
}

void Game::adoptRaceSession(RaceSession* started) {
    ownedSession.reset(started);
    useSession(started);
}

void Game::showLoadingScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    font->drawQuad(static_cast<float>(-width / 2), static_cast<float>(height / 2),
                   screenTextures[1], static_cast<float>(width), static_cast<float>(height));
    platform::swapBuffers();
}

// Without a home folder the game runs as before, only without a list of best times.
void Game::loadBestTimes() {
    std::string path = BestTimes::defaultPath();
    if (path.empty()) {
        std::cerr << "Best times are not kept: neither XDG_DATA_HOME nor HOME is set" << std::endl;
        return;
    }
    bestTimes.reset(new BestTimes(path));
    bestTimes->load();
    winRecorder.setBestTimes(bestTimes.get());
    ghostRace.setBestFile(GhostRace::bestFileBeside(path));
}

void Game::onWindowResize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    if (scene)
        scene->setViewSize(width, height);
    if (font)
        font->setScreenSize(width, height);
    glViewport(0, 0, width, height);
    // A paused picture of the old size would be stretched: the next frame keeps a new one.
    releaseFrameResources(*this);
}

bool Game::init() {
    if (!platform::initialize()) {
        std::cerr << "Could not init GLFW!" << std::endl;
        return false;
    }
    std::cout << "GLFW initialized" << std::endl;

    // The window needs no samples of its own: the scene's picture has them.
    if (!platform::openWindow(width, height, 24, 8, 0, true, gameOptions.fullscreen)) {
        std::cerr << "Failed to create OpenGL window!" << std::endl;
        platform::terminate();
        return false;
    }
    platform::setVsync(gameOptions.vsync);
    resizedGame = this;
    platform::setResizeHandler(resizeHandler);
    platform::setWindowTitle("Quillorb 3D");

    glewExperimental = GL_TRUE;
    GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK) {
        std::cerr << "GLEW Error: " << glewGetErrorString(glewStatus) << "\n" << std::endl;
        waitForEnter();
        return false;
    }
    // GLEW may trip over entry points the context lacks; that is not the game's error.
    glGetError();
    if (glewIsSupported("GL_VERSION_3_2"))
        std::cout << "OpenGL Version: " << glGetString(GL_VERSION) << std::endl;

    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, width, height);
    startQuality();
    setAnisotropyLimit(static_cast<float>(quality.settings().anisotropy));

    ownedFont.reset(new BitmapFont("data/basicFont_0.tga", "data/basicFont.fnt"));
    font = ownedFont.get();
    font->loadShader();
    font->setScreenSize(width, height);

    gltarget::enableTexturing();
    glGenTextures(4, screenTextures);
    screenTexturesMade = true;
    for (int slot = 0; slot < 4; ++slot)
        loadTexture(screenTextureFiles[slot], screenTextures, slot, false, false);

    showLoadingScreen();
    // The level textures load with the filter and mipmaps the player chose to start with,
    // the off-screen images at the sizes chosen.
    resetDisplayOptions(gameOptions.bilinearFiltering, gameOptions.mipmapMode);
    scene->setStartTextureMode(gameOptions.bilinearFiltering, gameOptions.mipmapMode);
    scene->setMusicVolume(static_cast<float>(gameOptions.musicVolume));
    scene->setSoundVolume(static_cast<float>(gameOptions.soundVolume));
    applyQuality();
    scene->setViewSize(width, height);
    scene->init();
    return true;
}

// Auto quality starts where it settled the last time on this renderer and window size.
void Game::startQuality() {
    const std::string path = QualityMemory::defaultPath();
    if (!quality.isAuto())
        return;
    if (path.empty()) {
        std::cerr << "Where the quality settled is not kept: neither XDG_STATE_HOME nor HOME is set"
                  << std::endl;
        return;
    }
    auto glText = [](GLenum name) {
        const GLubyte* text = glGetString(name);
        return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
    };
    QualityMemory::Key key{glText(GL_RENDERER), glText(GL_VERSION), width, height};
    quality.useMemory(std::make_unique<QualityMemory>(path), key);
}

void Game::applyQuality() {
    if (!scene)
        return;
    const QualitySettings settings = quality.settings();
    scene->setPictureSamples(settings.samples);
    scene->setRenderScale(settings.renderScale);
    scene->setShadowMapSize(settings.shadowMapSize);
    scene->setWaterMapSize(settings.waterMapSize);
    scene->setAnisotropy(settings.anisotropy);
}

void Game::updateFrame() {
    frameClock.tick();
    frameClock.countFrame();
    bool replaying = session && session->isReplaying();
    PlayEvent event = handleMenu(playControls.handle(scene, race(), !replaying));
    if (session)
        session->recordEvent(event);
    frameStep = StepResult();
    // A new race is shown at its start before anything moves.
    if (!playControls.isPaused() && event != PlayEvent::PlayAgain) {
        const double frameTime = frameClock.getFrameTime();
        // Without a session (a test driving the frame) the player plays the scene directly.
        if (session)
            frameStep = session->advance(frameTime, playerInput(), scene);
        else if (scene)
            frameStep = scene->advance(frameTime, playerInput());
    }
    if (scene) {
        scene->setFrameTime(frameClock.getFrameTime());
        scene->playSounds();
    }
    const bool won = winRecorder.noteRaceOutcome(race());
    ghostRace.afterFrame(event, won && winRecorder.record().newBest, session, scene);
    if (lastFrameDrewRace && quality.frame(frameClock.getFrameTime()))
        applyQuality();
    lastFrameDrewRace = scene && !playControls.isPaused() && !race().isOver();
    if (!playControls.isPaused())
        hintLeft = std::max(0.0, hintLeft - frameClock.getFrameTime());
    if (watching && session && session->replayEnded()) {
        std::cout << session->replayVerdict(watchedFile) << std::endl;
        stopWatching();
    }
}

// While paused the menu has the keys; P or Start (the play controls') resumes from any of its
// screens, and leaving the options that way saves them too.
PlayEvent Game::handleMenu(PlayEvent event) {
    const MenuInput input = menuKeys.read(pointedMenuLine());
    if (event == PlayEvent::Paused)
        openMenu();
    if (event == PlayEvent::Resumed && pauseMenu.screen() == PauseMenu::Screen::Options)
        saveMenuOptions();
    if (event != PlayEvent::None)
        return event;
    if (watching && !playControls.isPaused() && input.back) {
        stopWatching();
        return PlayEvent::None;
    }
    if (!playControls.isPaused())
        return PlayEvent::None;
    const MenuAction action = pauseMenu.handle(input);
    if (pauseMenu.leftOptions())
        saveMenuOptions();
    switch (action) {
    case MenuAction::Resume:
        playControls.apply(PlayEvent::Resumed, scene, race());
        return PlayEvent::Resumed;
    case MenuAction::Restart:
        return restartFromMenu();
    case MenuAction::WatchBest:
        watch(ghostRace.getBestFile());
        break;
    case MenuAction::WatchLast:
        watch(lastRaceFile());
        break;
    case MenuAction::Quit:
        quitRequested = true;
        break;
    case MenuAction::OptionChanged:
        applyMenuOptions();
        break;
    case MenuAction::None:
        break;
    }
    return PlayEvent::None;
}

int Game::pointedMenuLine() {
    double x = 0.0;
    double y = 0.0;
    if (!font || !playControls.isPaused() || !platform::cursorPosition(x, y))
        return -1;
    return MenuScreen(*font, HudCanvas(width, height)).lineAt(pauseMenu.page(), x, y);
}

void Game::openMenu() {
    pauseMenu.open();
    pauseMenu.setUnavailable(PauseMenu::Item::Resume,
                             raceLeft ? "The race was left for a replay: restart it" : "");
    if (const BestTimes* times = winRecorder.getBestTimes())
        pauseMenu.setBestTimes(times->entries(), times->newest());
    pauseMenu.setUnavailable(PauseMenu::Item::WatchBest,
                             replayProblem(ghostRace.getBestFile(), "No best race kept yet"));
    // The race under way becomes the last one as soon as a replay is chosen.
    const bool playing = session && !session->isReplaying() && session->hasRecordedFrames();
    pauseMenu.setUnavailable(PauseMenu::Item::WatchLast,
                             playing ? "" : replayProblem(lastRaceFile(), "No race recorded yet"));
}

std::string Game::lastRaceFile() const {
    return gameOptions.recordFile.empty() ? defaultReplayPath() : gameOptions.recordFile;
}

uint64_t Game::levelHash() {
    if (!levelHashKnown)
        levelHashValue = hashLevelData(".");
    levelHashKnown = true;
    return levelHashValue;
}

std::string Game::replayProblem(const std::string& file, const char* whenMissing) {
    std::error_code error;
    if (file.empty())
        return "No home folder to keep it in";
    if (!std::filesystem::exists(file, error))
        return whenMissing;
    Replay replay;
    ReplayProblem problem;
    ReplayReader().read(file, levelHash(), replay, problem);
    return problem.menuLine();
}

// The options take effect in the running game as they change; the settings file hears of them
// as the player leaves the screen.
void Game::applyMenuOptions() {
    const GameOptions& chosen = pauseMenu.options().options();
    if (scene) {
        scene->setMusicVolume(static_cast<float>(chosen.musicVolume));
        scene->setSoundVolume(static_cast<float>(chosen.soundVolume));
    }
    if (chosen.vsync != gameOptions.vsync)
        platform::setVsync(chosen.vsync);
    if (chosen.fullscreen != gameOptions.fullscreen)
        platform::setFullscreen(chosen.fullscreen, gameOptions.width, gameOptions.height);
    const bool qualityChanged = chosen.qualityAuto != gameOptions.qualityAuto ||
                                chosen.quality != gameOptions.quality ||
                                chosen.targetFps != gameOptions.targetFps;
    ghostRace.setChoice(chosen.ghost);
    setShowFps(pauseMenu.options().showFps());
    gameOptions = chosen;
    if (qualityChanged && scene && font) {
        quality = QualityControl(withTimedemoQuality(gameOptions));
        startQuality();
        applyQuality();
    }
}

// A file that cannot be written costs a line on the menu and one on the console; the new
// values hold for this run all the same, and the next leave tries again.
void Game::saveMenuOptions() {
    const std::vector<std::string> keys = pauseMenu.options().changedKeys();
    if (keys.empty())
        return;
    const std::string problem =
        saveSettings(gameOptions.settingsFile, pauseMenu.options().options(), keys);
    if (problem.empty()) {
        pauseMenu.options().markSaved();
        return;
    }
    std::cerr << "Settings could not be saved to " << gameOptions.settingsFile << ": " << problem
              << "; they hold for this run" << std::endl;
    pauseMenu.setMessage("Settings not saved: " + problem);
}

// A new race for the player, as play again starts one; after a replay, with a new recording.
PlayEvent Game::restartFromMenu() {
    if (session && session->isReplaying()) {
        GameOptions recording = gameOptions;
        recording.replayFile.clear();
        recording.timedemoFile.clear();
        adoptRaceSession(startRaceSession(recording));
        watching = false;
    } else if (session) {
        // The recording goes on: its pause ends before the new race starts.
        session->recordEvent(PlayEvent::Resumed);
    }
    raceLeft = false;
    playControls.apply(PlayEvent::Resumed, scene, race());
    playControls.apply(PlayEvent::PlayAgain, scene, race());
    return PlayEvent::PlayAgain;
}

// The player's race ends where it stands and is kept as the last race (unless nothing was
// played: the last race kept stays the one before), then the replay runs in the window as
// --replay runs it. Watching records nothing.
void Game::watch(const std::string& file) {
    // The last race is the one under way: it is put in place before it is read.
    const bool lastRace = file == lastRaceFile();
    if (lastRace)
        keepRaceUnderWay();
    Replay replay;
    ReplayProblem problem;
    if (!ReplayReader().read(file, levelHash(), replay, problem)) {
        std::cout << problem.consoleLine(file) << std::endl;
        pauseMenu.setMessage("That replay cannot be played");
        return;
    }
    if (!lastRace)
        keepRaceUnderWay();
    RaceSession* watched = new RaceSession();
    watched->startReplay(replay, RaceSession::Pace::Recorded);
    adoptRaceSession(watched);
    if (scene)
        scene->restartRace();
    watchedFile = file;
    watching = true;
    raceLeft = true;
    playControls.apply(PlayEvent::Resumed, scene, race());
}

void Game::keepRaceUnderWay() {
    if (!session || session->isReplaying())
        return;
    if (session->hasRecordedFrames())
        session->finish(scene);
    else
        session->discard();
}

void Game::stopWatching() {
    watching = false;
    playControls.apply(PlayEvent::Paused, scene, race());
    openMenu();
}

// The first start leaves a settings file with every setting commented out, for the player to
// find, and shows how to reach the menu for a while.
void Game::noteFirstStart() {
    const std::string& path = gameOptions.settingsFile;
    std::error_code error;
    if (path.empty() || std::filesystem::exists(path, error))
        return;
    hintLeft = 10.0;
    const std::string problem = replaceFileWhole(path, commentedSettingsText(GameOptions()));
    if (!problem.empty())
        std::cerr << "Settings file " << path << " could not be written: " << problem << std::endl;
}

void Game::checkGLError() {
    GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        std::cerr << glErrorMessage(error) << std::endl;
}

void Game::shutdown() {
    if (frames.begun)
        endFrames();
    keptRace = session ? session->finish(scene) : "";
    session = nullptr;
    ownedSession.reset();
    scene = nullptr;
    ownedScene.reset();
    font = nullptr;
    ownedFont.reset();
    winRecorder.setBestTimes(nullptr);
    bestTimes.reset();
    if (screenTexturesMade)
        glDeleteTextures(4, screenTextures);
    screenTexturesMade = false;
    releaseFrameResources(*this);
    platform::terminate();
}

// A timedemo times every frame after the first (which pays for the first draws) and each
// pass on the GPU, and ends with the replay.
void Game::beginFrames() {
    frames = FrameRun();
    frames.begun = true;
    frames.timedemo = !gameOptions.timedemoFile.empty() && session && session->isReplaying();
    // Where the GL has no timer queries the timedemo says so instead of the pass times.
    if (frames.timedemo && gltarget::hasPassTimer())
        frames.passTimer = std::make_unique<PassTimer>();
    frames.replayFile = frames.timedemo ? gameOptions.timedemoFile : gameOptions.replayFile;
    frames.verdictDue = session && session->isReplaying();
    // The clock starts with the first frame: loading is not part of its first frame time.
    frameClock = Clock();
}

bool Game::frame() {
    updateFrame();
    renderFrame(*this);
    // The rasteriser draws lazily: a frame is only done, and timed, once its drawing is.
    // Timing from one frame's end to the next leaves nothing out of the total.
    if (frames.timedemo)
        glFinish();
    const double frameDone = platform::getTime();
    // The race starts with the first picture the player sees: loading and drawing it cost no
    // countdown.
    if (frames.first) {
        frameClock.restartFrameTiming();
        PassTimer::install(frames.passTimer.get());
    } else if (frames.timedemo) {
        frames.times.push_back(frameDone - frames.lastDone);
    }
    frames.lastDone = frameDone;
    frames.first = false;
    checkGLError();
    if (frames.verdictDue && !frames.timedemo && session->replayEnded()) {
        std::cout << session->replayVerdict(frames.replayFile) << std::endl;
        frames.verdictDue = false;
    }
    return !platform::isKeyDown(GLFW_KEY_ESCAPE) && !quitRequested && platform::isWindowOpen() &&
           platform::stopSignal() == 0 && !(frames.timedemo && session->replayEnded());
}

void Game::endFrames() {
    if (frames.timedemo) {
        const std::map<std::string, PassTimer::Total> noPassTimes;
        const std::vector<std::string> noPassOrder;
        GLint samples = 0;
        glGetIntegerv(GL_SAMPLES, &samples);
        if (scene->getPictureTarget().isReady())
            samples = scene->getPictureTarget().samples();
        std::cout << timedemoSettings(width, height, samples, scene->getShadowMapSize(),
                                      scene->getWaterMapSize(), anisotropyInUse(),
                                      quality.settings().renderScale, rungName(quality.rung()))
                  << timedemoReport(gameOptions.timedemoFile, frames.times,
                                    frames.passTimer ? frames.passTimer->totals() : noPassTimes,
                                    frames.passTimer ? frames.passTimer->order() : noPassOrder);
        if (!frames.passTimer)
            std::cout << "GPU time per frame: not measured (pass timers are desktop only)\n";
        std::cout << std::flush;
        PassTimer::install(nullptr);
    }
    if (frames.verdictDue && session->replayEnded())
        std::cout << session->replayVerdict(frames.replayFile) << std::endl;
    frames = FrameRun();
}

bool Game::startUp() {
    // The scene exists before the window does; it makes no GL call until init.
    if (!scene)
        adoptScene(new Scene());
    if (!session)
        adoptRaceSession(new RaceSession());
    std::cout << banner << std::endl;
    noteFirstStart();

    if (!init())
        return false;
    loadBestTimes();
    ghostRace.load(*scene);
    scene->setGhost(&ghostRace.track());
    beginFrames();
    return true;
}

int Game::run() {
    if (!startUp())
        return 1;
    while (frame()) {
    }
    shutdown();
    // Stopped from outside, the player may not have seen the game end: say how it did.
    if (const int signal = platform::stopSignal()) {
        std::cerr << "Stopped by " << platform::stopSignalName(signal);
        if (!keptRace.empty())
            std::cerr << ": the race is saved to " << keptRace;
        std::cerr << std::endl;
    }
    return 0;
}
