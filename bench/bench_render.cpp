// Time of one whole scene frame and of each of its passes in the game's 1024 x 768 window
// (the scene's own picture with 4 samples, resolved into it), from twelve places spread along
// the course (the marble on the route, the camera behind it). Needs a display and the
// generated level: run under xvfb-run from the run/ folder.
//
// The reported time is the wall clock of the pass with the rasteriser finished (llvmpipe
// draws on the processor, so that is what a frame costs). "cpu_ms" is the processor time of
// the whole process over the same span, rasteriser threads included: on a machine shared
// with other work it varies far less than the wall clock. "gpu_ms" is what the GL timer
// query saw. Cheaper settings than the game's:
//   bench_render --shadow-map=2048 --water-map=256 [Google Benchmark flags]
// The frames themselves, to compare a change of the renderer picture by picture:
//   bench_render --save-frames=FOLDER
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <IL/il.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "assets/Sphere.h"
#include "levelgen/CourseRoute.h"
#include "physics/Camera.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "render/Skybox.h"
#include "render/Water.h"
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
int shadowMapSize = 0; // 0: the game's own
int waterMapSize = 0;

Scene* level() {
    static bool tried = false;
    if (tried)
        return scene;
    tried = true;
    setenv("ALSOFT_DRIVERS", "null", 1);
    if (!platform::initialize())
        return nullptr;
    windowOpen = true;
    if (!platform::openWindow(1024, 768, 24, 8, 0))
        return nullptr;
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        return nullptr;
    ilInit();
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, 1024, 768);
    QuietConsole quiet;
    scene = new Scene();
    if (shadowMapSize > 0)
        scene->setShadowMapSize(shadowMapSize);
    if (waterMapSize > 0)
        scene->setWaterMapSize(waterMapSize);
    scene->init();
    gameClock = new Clock();
    return scene;
}

// Twelve places evenly spread over the route: the marble on it, the camera 14.4 units behind
// and 4 above, looking at the marble, as the chase camera holds it at rest.
constexpr int viewpointCount = 12;

void placeAtViewpoint(Scene* scene, int index) {
    static const std::vector<glm::vec3> route = level::routeWaypoints();
    const int last = static_cast<int>(route.size()) - 2;
    const int waypoint = last * (index % viewpointCount) / (viewpointCount - 1);
    const glm::vec3 here = route[waypoint];
    glm::vec3 along = route[waypoint + 1] - here;
    along.y = 0.0f;
    along = glm::normalize(along);
    const glm::vec3 eye = here - 14.4f * along + glm::vec3(0.0f, 4.0f, 0.0f);
    scene->getMarble()->setTransform(glm::translate(glm::mat4(1.0f), here));
    scene->getCamera()->lookAt(eye, here);
    scene->getSkybox()->setTransform(glm::translate(glm::mat4(1.0f), eye));
}

double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Runs `prepare` and then times `work` once per iteration, at the viewpoints in turn.
void timeAlongTheCourse(benchmark::State& state, const std::function<void(Scene*)>& prepare,
                        const std::function<void(Scene*)>& work) {
    Scene* scene = level();
    if (!scene) {
        state.SkipWithError("no display");
        return;
    }
    GLuint query = 0;
    glGenQueries(1, &query);
    // Warm up: every shader variant and first texture use at every viewpoint.
    for (int i = 0; i < viewpointCount; ++i) {
        placeAtViewpoint(scene, i);
        prepare(scene);
        work(scene);
    }
    glFinish();
    double gpuSeconds = 0.0;
    double cpuSeconds = 0.0;
    int viewpoint = 0;
    for (auto _ : state) {
        state.PauseTiming();
        placeAtViewpoint(scene, viewpoint++);
        prepare(scene);
        glFinish();
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        double cpuStart = processSeconds();
        glBeginQuery(GL_TIME_ELAPSED, query);
        work(scene);
        // llvmpipe rasterises lazily; finishing inside the query puts the work in it.
        glFinish();
        glEndQuery(GL_TIME_ELAPSED);
        cpuSeconds += processSeconds() - cpuStart;
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        GLuint64 nanoseconds = 0;
        glGetQueryObjectui64v(query, GL_QUERY_RESULT, &nanoseconds);
        gpuSeconds += static_cast<double>(nanoseconds) * 1e-9;
    }
    glDeleteQueries(1, &query);
    state.counters["gpu_ms"] = benchmark::Counter(gpuSeconds * 1000.0 / state.iterations());
    state.counters["cpu_ms"] = benchmark::Counter(cpuSeconds * 1000.0 / state.iterations());
}

void nothing(Scene*) {}

// What comes before a pass in the frame, so it finds the state it would find in play.
void shadow(Scene* scene) {
    scene->renderShadowPass();
}
void shadowAndWaterImages(Scene* scene) {
    scene->renderShadowPass();
    scene->getLakeWater()->renderTextures();
    scene->getRiverWater()->renderTextures();
}
void allButTheSurfaces(Scene* scene) {
    shadowAndWaterImages(scene);
    scene->renderMainPass();
}

constexpr int iterations = 2 * viewpointCount;

// The whole 3D frame as the player gets it: the scene's passes and the buffer swap.
void BM_Frame(benchmark::State& state) {
    timeAlongTheCourse(state, nothing, [](Scene* scene) {
        scene->render();
        platform::swapBuffers();
    });
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Frame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);

void BM_ShadowPass(benchmark::State& state) {
    timeAlongTheCourse(state, nothing, shadow);
}
BENCHMARK(BM_ShadowPass)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);

// The off-screen images of one surface (512 x 512 each by default).
void BM_LakeWaterImages(benchmark::State& state) {
    timeAlongTheCourse(state, shadow,
                       [](Scene* scene) { scene->getLakeWater()->renderTextures(); });
}
BENCHMARK(BM_LakeWaterImages)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(iterations);

void BM_RiverWaterImages(benchmark::State& state) {
    timeAlongTheCourse(state, shadow,
                       [](Scene* scene) { scene->getRiverWater()->renderTextures(); });
}
BENCHMARK(BM_RiverWaterImages)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(iterations);

// Sky, opaque and animated models and the plants, into the 1024 x 768 window.
void BM_MainPass(benchmark::State& state) {
    timeAlongTheCourse(state, shadowAndWaterImages, [](Scene* scene) { scene->renderMainPass(); });
}
BENCHMARK(BM_MainPass)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);

// The plants alone, part of every main pass.
void BM_AlphaPass(benchmark::State& state) {
    timeAlongTheCourse(state, shadow, [](Scene* scene) {
        scene->renderAlphaPass();
        glUseProgram(0);
    });
}
BENCHMARK(BM_AlphaPass)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);

void BM_WaterSurfaces(benchmark::State& state) {
    timeAlongTheCourse(state, allButTheSurfaces, [](Scene* scene) {
        scene->getLakeWater()->draw(1.0 / 60.0);
        scene->getRiverWater()->draw(1.0 / 60.0);
    });
}
BENCHMARK(BM_WaterSurfaces)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(iterations);

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

// The whole frame at every viewpoint as binary PPM files in `folder` (frame00.ppm ...), so
// a change of the renderer can be compared picture by picture at the window's full size.
bool saveFrames(const std::string& folder) {
    Scene* scene = level();
    if (!scene)
        return false;
    std::vector<unsigned char> pixels(1024 * 768 * 3);
    for (int i = 0; i < viewpointCount; ++i) {
        placeAtViewpoint(scene, i);
        scene->render();
        glFinish();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        platform::swapBuffers();
        char name[32];
        std::snprintf(name, sizeof name, "/frame%02d.ppm", i);
        std::FILE* file = std::fopen((folder + name).c_str(), "wb");
        if (!file)
            return false;
        std::fprintf(file, "P6\n1024 768\n255\n");
        // GL rows go up; PPM rows go down.
        for (int row = 767; row >= 0; --row)
            std::fwrite(pixels.data() + static_cast<size_t>(row) * 1024 * 3, 1, 1024 * 3, file);
        std::fclose(file);
    }
    return true;
}

std::string framesFolder;

// Takes --shadow-map=N, --water-map=N and --save-frames=FOLDER out of the arguments.
void readSizes(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--save-frames=", 14) == 0)
            framesFolder = argv[i] + 14;
        else if (std::strncmp(argv[i], "--shadow-map=", 13) == 0)
            shadowMapSize = std::atoi(argv[i] + 13);
        else if (std::strncmp(argv[i], "--water-map=", 12) == 0)
            waterMapSize = std::atoi(argv[i] + 12);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
}

} // namespace

int main(int argc, char** argv) {
    readSizes(argc, argv);
    if (!framesFolder.empty()) {
        bool saved = saveFrames(framesFolder);
        releaseLevel();
        if (!saved)
            std::cerr << "Could not draw or save the frames into " << framesFolder << std::endl;
        return saved ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    releaseLevel();
    return 0;
}
