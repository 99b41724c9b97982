// Start-up time (from an empty process state to the loading screen, and on to the first
// presented frame of the race) and the frame loop's own overhead (everything a frame does
// besides the scene's update and drawing).
// A plain bench program: run it under xvfb-run; it works from the game's run/ folder.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <GL/glew.h>

#include "app/DisplayOptions.h"
#include "app/FrameDrawing.h"
#include "app/GamePlay.h"
#include "hud/BitmapFont.h"
#include "platform/Clock.h"
#include "platform/GlErrorReport.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/Window.h"
#include "scene/Scene.h"

namespace {

using Seconds = std::chrono::duration<double>;

// The game talks a lot on start-up; keep the report readable.
struct QuietConsole {
    std::streambuf* saved;
    std::ostringstream sink;
    QuietConsole() : saved(std::cout.rdbuf(sink.rdbuf())) {}
    ~QuietConsole() { std::cout.rdbuf(saved); }
};

using SteadyClock = std::chrono::steady_clock;

struct StartUp {
    double loadingScreen = -1.0;  // seconds until the loading screen goes to the screen
    double firstRaceFrame = -1.0; // seconds until the first frame of the level is presented
};

SteadyClock::time_point launch;
StartUp* measuring = nullptr;

void noteLoadingScreen() {
    if (measuring && measuring->loadingScreen < 0.0)
        measuring->loadingScreen = Seconds(SteadyClock::now() - launch).count();
}

// The window and GL, as the game opens them.
bool openGameWindow() {
    if (!platform::initialize() || !platform::openWindow(1024, 768, 24, 8, 0))
        return false;
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        return false;
    glGetError();
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    return true;
}

// The game's start-up as the game makes it, piece by piece (window, font, pictures and the
// loading screen, the level), and its frames, stopped after the first frame that drew the
// scene (not an end screen) and was swapped.
bool startUpToFirstRaceFrame(StartUp& result) {
    QuietConsole quiet;
    measuring = &result;
    platform::setBeforeSwapHook(noteLoadingScreen);
    launch = SteadyClock::now();
    if (!openGameWindow())
        return false;
    {
        BitmapFont font("data/basicFont_0.tga", "data/basicFont.fnt");
        font.loadShader();
        FrameDrawing drawing(1024, 768);
        drawing.setFont(&font);
        drawing.loadPictures();
        drawing.showLoadingScreen();
        platform::setBeforeSwapHook(nullptr);
        resetDisplayOptions();
        Scene scene;
        GamePlay play;
        play.setScene(&scene);
        play.applyQuality();
        scene.init();
        for (int frame = 0; frame < 100 && result.firstRaceFrame < 0.0; ++frame) {
            play.update();
            // The frame's drawing draws the scene unless an end screen stands in for it.
            bool drawsTheRace = !scene.getRace().isOver();
            drawing.draw(play.view());
            platform::reportGlError();
            if (drawsTheRace)
                result.firstRaceFrame = Seconds(SteadyClock::now() - launch).count();
        }
        measuring = nullptr;
        drawing.releaseTextures();
    }
    platform::terminate();
    return result.firstRaceFrame >= 0.0;
}

// The loop's own work per frame: the clock, the option keys, the error check and the two
// loop conditions.
double frameLoopOverheadNanoseconds(int frames) {
    QuietConsole quiet;
    resetDisplayOptions();
    Clock clock;
    if (!platform::initialize() || !platform::openWindow(320, 240, 24, 8, 4))
        return -1.0;
    auto begin = std::chrono::steady_clock::now();
    int running = 0;
    for (int i = 0; i < frames; ++i) {
        clock.tick();
        clock.countFrame();
        handleDisplayOptions(nullptr);
        platform::reportGlError();
        running += !platform::isKeyDown(GLFW_KEY_ESCAPE) && platform::isWindowOpen();
    }
    double total = Seconds(std::chrono::steady_clock::now() - begin).count();
    platform::terminate();
    return running == frames ? total / frames * 1e9 : -1.0;
}

// Each start-up runs in a child process of its own, as a real launch does (the X connection
// of a finished run is not reused).
bool startUpInChild(StartUp& result) {
    int channel[2];
    if (pipe(channel) != 0)
        return false;
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        StartUp measured;
        if (!startUpToFirstRaceFrame(measured))
            measured = StartUp();
        ssize_t written = write(channel[1], &measured, sizeof measured);
        _exit(written == sizeof measured ? 0 : 1);
    }
    close(channel[1]);
    ssize_t got = read(channel[0], &result, sizeof result);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got == sizeof result && result.loadingScreen >= 0.0 && result.firstRaceFrame >= 0.0;
}

void report(const char* what, std::vector<double> runs) {
    std::sort(runs.begin(), runs.end());
    std::printf("%s: median %.0f ms, best %.0f ms, worst %.0f ms (%zu runs)\n", what,
                runs[runs.size() / 2] * 1e3, runs.front() * 1e3, runs.back() * 1e3, runs.size());
}

} // namespace

int main() {
    if (chdir(QUILLORB_RUN_DIR) != 0)
        return 1;
    setenv("ALSOFT_DRIVERS", "null", 0);

    std::vector<double> loadingScreens;
    std::vector<double> raceFrames;
    for (int i = 0; i < 3; ++i) {
        StartUp run;
        if (!startUpInChild(run)) {
            std::fprintf(stderr, "start-up failed (is there a display?)\n");
            return 1;
        }
        loadingScreens.push_back(run.loadingScreen);
        raceFrames.push_back(run.firstRaceFrame);
    }
    report("start-up to the loading screen", loadingScreens);
    report("start-up to the first frame of the race", raceFrames);

    double overhead = frameLoopOverheadNanoseconds(1000000);
    if (overhead < 0.0) {
        std::fprintf(stderr, "no window for the frame loop\n");
        return 1;
    }
    std::printf("frame loop overhead: %.0f ns per frame (1000000 frames)\n", overhead);
    return 0;
}
