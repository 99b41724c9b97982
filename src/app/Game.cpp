#include "app/Game.h"

#include <GL/glew.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "app/DisplayOptions.h"
#include "app/Timedemo.h"
#include "assets/TextureLoader.h"
#include "hud/BitmapFont.h"
#include "platform/GlErrorReport.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/StopSignals.h"
#include "platform/WholeFile.h"
#include "platform/Window.h"
#include "scene/Scene.h"
#include "session/BestTimes.h"
#include "session/RaceSession.h"
#include "settings/SettingsFile.h"

namespace {

const char* const banner =
    "Quillorb 3D\n"
    "  A marble race against the clock through lake, forest and river.\n"
    "  Roll with W, A, S and D; Escape quits; F2 to F9 switch display options.\n"
    "  Code, level, pictures, font and music made by the Quillorb team.\n"
    "  Built on GLFW, GLEW, DevIL, OpenAL, TinyXML and GLM.\n";

// Where a console "pause" would wait for a key, wait for Enter instead.
void waitForEnter() {
    std::cerr << "Press Enter to continue . . ." << std::endl;
    std::string line;
    std::getline(std::cin, line);
}

// The one game the window's resize handler speaks to.
Game* resizedGame = nullptr;

} // namespace

Game::Game(const GameOptions& options)
    : options(options), play(options), drawing(options.width, options.height) {}

Game::~Game() {
    if (resizedGame == this)
        resizedGame = nullptr;
}

void Game::resizeHandler(int width, int height) {
    if (resizedGame)
        resizedGame->onWindowResize(width, height);
}

void Game::onWindowResize(int width, int height) {
    play.onWindowResize(width, height);
    drawing.setWindowSize(width, height);
}

// GLFW, the window and GLEW; false (having printed why) when the game cannot have them.
bool Game::openWindow() {
    if (!platform::initialize()) {
        std::cerr << "Could not init GLFW!" << std::endl;
        return false;
    }
    std::cout << "GLFW initialized" << std::endl;

    // The window needs no samples of its own: the scene's picture has them.
    if (!platform::openWindow(options.width, options.height, 24, 8, 0, true, options.fullscreen)) {
        std::cerr << "Failed to create OpenGL window!" << std::endl;
        platform::terminate();
        return false;
    }
    platform::setVsync(options.vsync);
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
    glViewport(0, 0, drawing.windowWidth(), drawing.windowHeight());
    return true;
}

bool Game::init() {
    if (!openWindow())
        return false;
    startQuality();
    setAnisotropyLimit(static_cast<float>(play.qualityControl().settings().anisotropy));

    font = std::make_unique<BitmapFont>("data/basicFont_0.tga", "data/basicFont.fnt");
    font->loadShader();
    font->setScreenSize(drawing.windowWidth(), drawing.windowHeight());
    drawing.setFont(font.get());
    drawing.loadPictures();
    drawing.showLoadingScreen();

    // The level textures load with the filter and mipmaps the player chose to start with,
    // the off-screen images at the sizes chosen.
    resetDisplayOptions(options.bilinearFiltering, options.mipmapMode);
    scene->setStartTextureMode(options.bilinearFiltering, options.mipmapMode);
    scene->setMusicVolume(static_cast<float>(options.musicVolume));
    scene->setSoundVolume(static_cast<float>(options.soundVolume));
    play.applyQuality();
    scene->setViewSize(drawing.windowWidth(), drawing.windowHeight());
    scene->init();
    return true;
}

void Game::startQuality() {
    auto glText = [](GLenum name) {
        const GLubyte* text = glGetString(name);
        return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
    };
    play.startQuality(
        {glText(GL_RENDERER), glText(GL_VERSION), drawing.windowWidth(), drawing.windowHeight()});
}

// Without a home folder the game runs as before, only without a list of best times.
void Game::loadBestTimes() {
    std::string path = BestTimes::defaultPath();
    if (path.empty()) {
        std::cerr << "Best times are not kept: neither XDG_DATA_HOME nor HOME is set" << std::endl;
        return;
    }
    bestTimes = std::make_unique<BestTimes>(path);
    bestTimes->load();
    play.wins().setBestTimes(bestTimes.get());
    play.ghost().setBestFile(GhostRace::bestFileBeside(path));
}

// The first start leaves a settings file with every setting commented out, for the player to
// find, and shows how to reach the menu for a while.
void Game::noteFirstStart() {
    const std::string& path = options.settingsFile;
    std::error_code error;
    if (path.empty() || std::filesystem::exists(path, error))
        return;
    play.showHint(10.0);
    const std::string problem = replaceFileWhole(path, commentedSettingsText(GameOptions()));
    if (!problem.empty())
        std::cerr << "Settings file " << path << " could not be written: " << problem << std::endl;
}

bool Game::startUp() {
    // The scene exists before the window does; it makes no GL call until init.
    scene = std::make_unique<Scene>();
    play.setScene(scene.get());
    if (!play.raceSession())
        play.adoptRaceSession(new RaceSession());
    std::cout << banner << std::endl;
    noteFirstStart();

    if (!init())
        return false;
    loadBestTimes();
    play.ghost().load(*scene);
    scene->setGhost(&play.ghost().track());
    beginFrames();
    return true;
}

// A timedemo times its frames and says its replay's verdict after its report; a replay
// watched from the command line says it as it ends.
void Game::beginFrames() {
    const RaceSession* session = play.raceSession();
    if (session && session->isReplaying()) {
        if (!options.timedemoFile.empty())
            timedemo = std::make_unique<Timedemo>(options.timedemoFile);
        play.tellVerdictOf(timedemo ? options.timedemoFile : options.replayFile,
                           timedemo != nullptr);
    }
    // The clock starts with the first frame: loading is not part of its first frame time.
    play.clock() = Clock();
    firstFrame = true;
}

bool Game::frame() {
    play.update(drawing.menuLineAtCursor());
    drawing.draw(play.view());
    if (timedemo)
        timedemo->frameDrawn();
    // The race starts with the first picture the player sees: loading and drawing it cost no
    // countdown.
    if (firstFrame)
        play.clock().restartFrameTiming();
    firstFrame = false;
    platform::reportGlError();
    stopped = checkStop();
    return !stopped;
}

// A signal is asked after first: it is the one the player may not have seen.
std::optional<Game::StopReason> Game::checkStop() const {
    if (platform::stopSignal() != 0)
        return StopReason::Signal;
    if (platform::isKeyDown(GLFW_KEY_ESCAPE))
        return StopReason::Escape;
    if (play.menuFlow().quitChosen())
        return StopReason::Quit;
    if (!platform::isWindowOpen())
        return StopReason::WindowClosed;
    if (timedemo && play.raceSession()->replayEnded())
        return StopReason::ReplayEnded;
    return std::nullopt;
}

void Game::shutdown() {
    if (timedemo)
        timedemo->report(*scene, drawing.windowWidth(), drawing.windowHeight(),
                         play.qualityControl().settings(), play.qualityRung());
    timedemo.reset();
    play.tellVerdict();
    keptRace = play.finishRaceSession();
    play.setScene(nullptr);
    scene.reset();
    drawing.setFont(nullptr);
    font.reset();
    play.wins().setBestTimes(nullptr);
    bestTimes.reset();
    drawing.releaseTextures();
    platform::terminate();
}

int Game::run() {
    if (!startUp())
        return 1;
    while (frame()) {
    }
    shutdown();
    // Stopped from outside, the player may not have seen the game end: say how it did.
    if (stopped == StopReason::Signal) {
        std::cerr << "Stopped by " << platform::stopSignalName(platform::stopSignal());
        if (!keptRace.empty())
            std::cerr << ": the race is saved to " << keptRace;
        std::cerr << std::endl;
    }
    return 0;
}
