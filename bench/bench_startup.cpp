// Start-up time (from an empty process state to the first presented frame) and the frame
// loop's own overhead (everything a frame does besides the scene's update and drawing).
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

#include "app/AppState.h"
#include "app/Application.h"
#include "app/DisplayOptions.h"
#include "app/RenderFrame.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/Window.h"
#include "scene/Clock.h"
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

bool startUpToFirstFrame(double& seconds) {
    QuietConsole quiet;
    resetAppState();
    resetDisplayOptions();
    setScene(new Scene());
    auto begin = std::chrono::steady_clock::now();
    if (!initApplication())
        return false;
    updateFrame();
    renderFrame();
    checkGLError();
    seconds = Seconds(std::chrono::steady_clock::now() - begin).count();
    shutdownApplication();
    return true;
}

// The loop's own work per frame: the clock, the option keys, the error check and the two
// loop conditions.
double frameLoopOverheadNanoseconds(int frames) {
    QuietConsole quiet;
    resetDisplayOptions();
    if (!platform::initialize() || !platform::openWindow(320, 240, 24, 8, 4))
        return -1.0;
    auto begin = std::chrono::steady_clock::now();
    int running = 0;
    for (int i = 0; i < frames; ++i) {
        Clock* clock = Clock::instance();
        clock->tick();
        clock->countFrame();
        handleDisplayOptions();
        checkGLError();
        running += !platform::isKeyDown(GLFW_KEY_ESCAPE) && platform::isWindowOpen();
    }
    double total = Seconds(std::chrono::steady_clock::now() - begin).count();
    delete Clock::instance();
    platform::terminate();
    return running == frames ? total / frames * 1e9 : -1.0;
}

// Each start-up runs in a child process of its own, as a real launch does (the X connection
// of a finished run is not reused).
bool startUpInChild(double& seconds) {
    int channel[2];
    if (pipe(channel) != 0)
        return false;
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        double measured = -1.0;
        if (!startUpToFirstFrame(measured))
            measured = -1.0;
        ssize_t written = write(channel[1], &measured, sizeof measured);
        _exit(written == sizeof measured ? 0 : 1);
    }
    close(channel[1]);
    ssize_t got = read(channel[0], &seconds, sizeof seconds);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return got == sizeof seconds && seconds >= 0.0;
}

} // namespace

int main() {
    if (chdir(QUILLORB_RUN_DIR) != 0)
        return 1;
    setenv("ALSOFT_DRIVERS", "null", 0);

    std::vector<double> runs;
    for (int i = 0; i < 3; ++i) {
        double seconds = 0.0;
        if (!startUpInChild(seconds)) {
            std::fprintf(stderr, "start-up failed (is there a display?)\n");
            return 1;
        }
        runs.push_back(seconds);
    }
    std::sort(runs.begin(), runs.end());
    std::printf("start-up to first frame: median %.0f ms, best %.0f ms, worst %.0f ms (%zu runs)\n",
                runs[1] * 1e3, runs.front() * 1e3, runs.back() * 1e3, runs.size());

    double overhead = frameLoopOverheadNanoseconds(1000000);
    if (overhead < 0.0) {
        std::fprintf(stderr, "no window for the frame loop\n");
        return 1;
    }
    std::printf("frame loop overhead: %.0f ns per frame (1000000 frames)\n", overhead);
    return 0;
}
