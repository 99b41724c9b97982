// Start-up time (from an empty process state to the first presented frame) and the frame
// loop's own overhead (everything a frame does besides the scene's update and drawing).
// Needs a display: run under xvfb-run from the run/ folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <sstream>

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

// The game talks a lot on start-up; keep the benchmark's own report readable.
struct QuietConsole {
    std::streambuf* saved;
    std::ostringstream sink;
    QuietConsole() : saved(std::cout.rdbuf(sink.rdbuf())) {}
    ~QuietConsole() { std::cout.rdbuf(saved); }
};

void BM_StartUpToFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        QuietConsole quiet;
        resetAppState();
        resetDisplayOptions();
        setScene(new Scene());
        if (!initApplication()) {
            state.SkipWithError("start-up failed (is there a display?)");
            return;
        }
        updateFrame();
        renderFrame();
        checkGLError();
        state.PauseTiming();
        shutdownApplication();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

// The loop's own work per frame: the clock, the option keys, the error check and the two
// loop conditions.
void BM_FrameLoopOverhead(benchmark::State& state) {
    QuietConsole quiet;
    resetDisplayOptions();
    if (!platform::initialize() || !platform::openWindow(320, 240, 24, 8, 4)) {
        state.SkipWithError("no display");
        return;
    }
    for (auto _ : state) {
        Clock* clock = Clock::instance();
        clock->tick();
        clock->countFrame();
        handleDisplayOptions();
        checkGLError();
        bool running = !platform::isKeyDown(GLFW_KEY_ESCAPE) && platform::isWindowOpen();
        benchmark::DoNotOptimize(running);
    }
    delete Clock::instance();
    platform::terminate();
}
BENCHMARK(BM_FrameLoopOverhead)->Unit(benchmark::kNanosecond);

} // namespace

int main(int argc, char** argv) {
    if (chdir(QUILLORB_RUN_DIR) != 0)
        return 1;
    setenv("ALSOFT_DRIVERS", "null", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
