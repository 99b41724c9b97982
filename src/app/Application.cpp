#include "app/Application.h"

#include <GL/glew.h>

#include <IL/il.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/BestTimes.h"
#include "app/DisplayOptions.h"
#include "app/GameOptions.h"
#include "app/PlayControls.h"
#include "app/RaceSession.h"
#include "app/RenderFrame.h"
#include "app/TimedemoReport.h"
#include "app/WinRecord.h"
#include "assets/TextureLoader.h"
#include "hud/BitmapFont.h"
#include "physics/PhysicsWorld.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/Window.h"
#include "render/PassTimer.h"
#include "scene/Clock.h"
#include "scene/Scene.h"

namespace {

const char* const banner =
    "Quillorb 3D\n"
    "  A marble race against the clock through lake, forest and river.\n"
    "  Roll with W, A, S and D; Escape quits; F2 to F9 switch display options.\n"
    "  Code, level, pictures, font and music made by the Quillorb team.\n"
    "  Built on GLFW, GLEW, DevIL, OpenAL, TinyXML and GLM.\n";

Scene* scene = nullptr;
BitmapFont* font = nullptr;
unsigned int screenTextures[4] = {0, 0, 0, 0};
Clock* gameClock = nullptr;
RaceSession* session = nullptr;
BestTimes* bestTimes = nullptr;

const char* const screenTextureFiles[4] = {
    "texture/sphereMitte.png",
    "texture/TestLoadingScreen.bmp",
    "texture/GameOver.bmp",
    "texture/WinnerScreen.bmp",
};

// Where a console "pause" would wait for a key, wait for Enter instead.
void waitForEnter() {
    std::cout << "Press Enter to continue . . ." << std::endl;
    std::string line;
    std::getline(std::cin, line);
}

void showLoadingScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    font->drawQuad(static_cast<float>(-getWindowWidth() / 2),
                   static_cast<float>(getWindowHeight() / 2), screenTextures[1],
                   static_cast<float>(getWindowWidth()), static_cast<float>(getWindowHeight()));
    platform::swapBuffers();
}

// Without a home folder the game runs as before, only without a list of best times.
void loadBestTimes() {
    std::string path = BestTimes::defaultPath();
    if (path.empty()) {
        std::cout << "Best times are not kept: neither XDG_DATA_HOME nor HOME is set" << std::endl;
        return;
    }
    bestTimes = new BestTimes(path);
    bestTimes->load();
    setBestTimes(bestTimes);
}

} // namespace

Scene* getScene() {
    return scene;
}
BitmapFont* getFont() {
    return font;
}
unsigned int getScreenTexture(int slot) {
    return slot >= 0 && slot < 4 ? screenTextures[slot] : 0;
}
RaceSession* getRaceSession() {
    return session;
}
void setRaceSession(RaceSession* replacement) {
    session = replacement;
}
void setScene(Scene* replacement) {
    scene = replacement;
}
void setFont(BitmapFont* replacement) {
    font = replacement;
}
void setScreenTexture(int slot, unsigned int texture) {
    if (slot >= 0 && slot < 4)
        screenTextures[slot] = texture;
}

void onWindowResize(int width, int height) {
    setWindowSize(width, height);
    glViewport(0, 0, width, height);
}

bool initApplication() {
    if (!platform::initialize()) {
        std::cout << "Could not init GLFW!" << std::endl;
        return false;
    }
    std::cout << "GLFW initialized" << std::endl;

    const GameOptions& options = gameOptions();
    setWindowSize(options.width, options.height);
    if (!platform::openWindow(getWindowWidth(), getWindowHeight(), 24, 8, options.samples, true,
                              options.fullscreen)) {
        std::cout << "Failed to create OpenGL window!" << std::endl;
        platform::terminate();
        return false;
    }
    platform::setVsync(options.vsync);
    platform::setResizeHandler(onWindowResize);
    platform::setWindowTitle("Quillorb 3D");

    glewExperimental = GL_TRUE;
    GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK) {
        std::cout << "GLEW Error: " << glewGetErrorString(glewStatus) << "\n" << std::endl;
        waitForEnter();
        return false;
    }
    // GLEW may trip over entry points the context lacks; that is not the game's error.
    glGetError();
    if (glewIsSupported("GL_VERSION_3_2"))
        std::cout << "OpenGL Version: " << glGetString(GL_VERSION) << std::endl;

    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, getWindowWidth(), getWindowHeight());
    ilInit();
    setAnisotropyLimit(static_cast<float>(options.anisotropy));

    font = new BitmapFont("data/basicFont_0.tga", "data/basicFont.fnt");
    font->loadShader();

    glEnable(GL_TEXTURE_2D);
    glGenTextures(4, screenTextures);
    for (int slot = 0; slot < 4; ++slot)
        loadTexture(screenTextureFiles[slot], screenTextures, slot, false, false);

    showLoadingScreen();
    // The level textures load with the filter and mipmaps the player chose to start with,
    // the off-screen images at the sizes chosen.
    resetDisplayOptions();
    scene->setShadowMapSize(options.shadowMapSize);
    scene->setWaterMapSize(options.waterMapSize);
    scene->init();
    return true;
}

void updateFrame() {
    gameClock = Clock::instance();
    gameClock->tick();
    gameClock->countFrame();
    bool replaying = session && session->isReplaying();
    PlayEvent event = handlePlayControls(scene, !replaying);
    if (session)
        session->recordEvent(event);
    // A new race is shown at its start before anything moves.
    if (!isPaused() && event != PlayEvent::PlayAgain) {
        // Without a session (a test driving the frame) the player plays the scene directly.
        if (session)
            session->advance(gameClock->getFrameTime(), PhysicsWorld::playerInput(), scene);
        else
            scene->update();
    }
    noteRaceOutcome(scene);
}

void checkGLError() {
    GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        std::cout << glErrorMessage(error) << std::endl;
}

void shutdownApplication() {
    if (session)
        session->finish();
    delete session;
    session = nullptr;
    delete scene;
    scene = nullptr;
    delete font;
    font = nullptr;
    delete gameClock;
    gameClock = nullptr;
    setBestTimes(nullptr);
    delete bestTimes;
    bestTimes = nullptr;
    glDeleteTextures(4, screenTextures);
    releaseFrameResources();
    platform::terminate();
}

int runGame() {
    // The scene exists before the window does; it makes no GL call until init.
    if (!scene)
        scene = new Scene();
    if (!session)
        session = new RaceSession();
    std::cout << banner << std::endl;

    if (!initApplication())
        return 1;
    loadBestTimes();

    // A timedemo times every frame after the first (which pays for the first draws) and each
    // pass on the GPU, and ends with the replay.
    const std::string& timedemoFile = gameOptions().timedemoFile;
    const bool timedemo = !timedemoFile.empty() && session->isReplaying();
    PassTimer* passTimer = timedemo ? new PassTimer() : nullptr;
    std::vector<double> frameTimes;
    double lastFrameDone = 0.0;

    bool running = true;
    bool firstFrame = true;
    while (running) {
        updateFrame();
        renderFrame();
        // The rasteriser draws lazily: a frame is only done, and timed, once its drawing is.
        // Timing from one frame's end to the next leaves nothing out of the total.
        if (timedemo)
            glFinish();
        const double frameDone = platform::getTime();
        // The race starts with the first picture the player sees: loading and drawing it
        // cost no countdown.
        if (firstFrame) {
            gameClock->restartFrameTiming();
            PassTimer::install(passTimer);
        } else if (timedemo) {
            frameTimes.push_back(frameDone - lastFrameDone);
        }
        lastFrameDone = frameDone;
        firstFrame = false;
        checkGLError();
        running = !platform::isKeyDown(GLFW_KEY_ESCAPE) && platform::isWindowOpen() &&
                  !(timedemo && session->replayEnded());
    }
    if (passTimer) {
        GLint samples = 0;
        glGetIntegerv(GL_SAMPLES, &samples);
        std::cout << timedemoSettings(getWindowWidth(), getWindowHeight(), samples,
                                      scene->getShadowMapSize(), scene->getWaterMapSize(),
                                      anisotropyInUse())
                  << timedemoReport(timedemoFile, frameTimes, passTimer->totals(),
                                    passTimer->order())
                  << std::flush;
        PassTimer::install(nullptr);
        delete passTimer;
    }
    shutdownApplication();
    return 0;
}
