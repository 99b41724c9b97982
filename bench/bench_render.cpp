// GPU time of one whole scene frame and of each of its passes at the game's window size,
// measured with GL timer queries. Needs a display and the generated level: run under
// xvfb-run from the run/ folder.
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <IL/il.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <sstream>

#include "app/AppState.h"
#include "platform/Window.h"
#include "render/Water.h"
#include "scene/Clock.h"
#include "scene/Scene.h"

namespace {

struct QuietConsole {
    std::streambuf* saved;
    std::ostringstream sink;
    QuietConsole() : saved(std::cout.rdbuf(sink.rdbuf())) {}
    ~QuietConsole() { std::cout.rdbuf(saved); }
};

// One window and one level for every benchmark of this program, released in main.
Scene* scene = nullptr;
Clock* gameClock = nullptr;
bool windowOpen = false;

Scene* level() {
    static bool tried = false;
    if (tried)
        return scene;
    tried = true;
    setenv("ALSOFT_DRIVERS", "null", 1);
    if (!platform::initialize())
        return nullptr;
    windowOpen = true;
    if (!platform::openWindow(1024, 768, 24, 8, 4))
        return nullptr;
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        return nullptr;
    ilInit();
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    setWindowSize(1024, 768);
    glViewport(0, 0, 1024, 768);
    QuietConsole quiet;
    scene = new Scene();
    scene->init();
    gameClock = Clock::instance();
    return scene;
}

// Times `work` on the GPU with a GL_TIME_ELAPSED query; reports milliseconds per call.
void timeOnGpu(benchmark::State& state, const std::function<void(Scene*)>& work) {
    Scene* scene = level();
    if (!scene) {
        state.SkipWithError("no display");
        return;
    }
    GLuint query = 0;
    glGenQueries(1, &query);
    work(scene); // warm up: shader variants and first texture uploads
    glFinish();
    double wallSeconds = 0.0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        glBeginQuery(GL_TIME_ELAPSED, query);
        work(scene);
        // llvmpipe rasterises lazily; finishing inside the query puts the work in it.
        glFinish();
        glEndQuery(GL_TIME_ELAPSED);
        wallSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        GLuint64 nanoseconds = 0;
        glGetQueryObjectui64v(query, GL_QUERY_RESULT, &nanoseconds);
        state.SetIterationTime(static_cast<double>(nanoseconds) * 1e-9);
    }
    glDeleteQueries(1, &query);
    // A software rasteriser's timer may miss work it defers; the wall clock does not.
    state.counters["wall_ms"] = benchmark::Counter(wallSeconds * 1000.0 / state.iterations());
}

void BM_FullSceneFrame(benchmark::State& state) {
    timeOnGpu(state, [](Scene* scene) { scene->render(); });
}
BENCHMARK(BM_FullSceneFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ShadowPass(benchmark::State& state) {
    timeOnGpu(state, [](Scene* scene) { scene->renderShadowPass(); });
}
BENCHMARK(BM_ShadowPass)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The three off-screen renders of one surface (512 x 512 each).
void BM_LakeWaterTextures(benchmark::State& state) {
    timeOnGpu(state, [](Scene* scene) { scene->getLakeWater()->renderTextures(); });
}
BENCHMARK(BM_LakeWaterTextures)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RiverWaterTextures(benchmark::State& state) {
    timeOnGpu(state, [](Scene* scene) { scene->getRiverWater()->renderTextures(); });
}
BENCHMARK(BM_RiverWaterTextures)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Sky, opaque and animated models and the plants, into the 1024 x 768 window.
void BM_MainPass(benchmark::State& state) {
    timeOnGpu(state, [](Scene* scene) { scene->renderMainPass(); });
}
BENCHMARK(BM_MainPass)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AlphaPass(benchmark::State& state) {
    timeOnGpu(state, [](Scene* scene) {
        scene->renderAlphaPass();
        glUseProgram(0);
    });
}
BENCHMARK(BM_AlphaPass)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_WaterSurfaces(benchmark::State& state) {
    timeOnGpu(state, [](Scene* scene) {
        scene->getLakeWater()->draw();
        scene->getRiverWater()->draw();
    });
}
BENCHMARK(BM_WaterSurfaces)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The game's own shutdown order: the scene (which stops the music and closes the sound
// device), the clock, then GLFW.
void releaseLevel() {
    delete scene;
    scene = nullptr;
    delete gameClock;
    gameClock = nullptr;
    if (windowOpen)
        platform::terminate();
    windowOpen = false;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    releaseLevel();
    return 0;
}
