// One physics step of the marble on the real level: the collision world over the level's
// meshes, with the saw and the stop barrier moving as in play. The meshes are loaded
// without GL (physics needs no buffers). Run from the run/ folder after the generator.
// Reports the median and the worst step (processor time of the step alone) besides the
// mean; the target is under 0.3 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/MeshLoader.h"
#include "assets/Sphere.h"
#include "level/LevelTable.h"
#include "levelgen/CourseRoute.h"
#include "physics/Camera.h"
#include "physics/PhysicsWorld.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/ScriptedClock.h"
#include "platform/ScriptedKeys.h"
#include "render/Skybox.h"
#include "session/PlayerInput.h"

namespace {

// The level's collidable models, placed as the scene places them.
struct PhysicsLevel {
    std::vector<std::unique_ptr<Model>> owned;
    Sphere* marble = nullptr;
    Model* finish = nullptr;
    HierarchicalAnimationModel* sawBeam = nullptr;
    HierarchicalAnimationModel* sawBlade = nullptr;
    AnimationModel* stop = nullptr;
    std::vector<Model*> ground, statics, planes;
    bool complete = true;

    template <typename T> T* keep(T* model, const level::PlacedMesh& row) {
        if (model == nullptr) {
            complete = false;
            return nullptr;
        }
        model->setTransform(row.matrix);
        model->setBoundingRadius(row.radius);
        owned.emplace_back(model);
        return model;
    }

    void load() {
        std::ostringstream sink;
        std::streambuf* saved = std::cout.rdbuf(sink.rdbuf());
        MeshLoader loader;
        std::vector<Model*> plainStatics;
        for (const level::PlacedMesh& row : level::placedMeshes()) {
            switch (row.role) {
            case level::Role::Marble:
                marble = keep(new Sphere(loader.loadMesh(row.file)), row);
                break;
            case level::Role::Finish:
                finish = keep(loader.loadModel(row.file), row);
                break;
            case level::Role::Saw: {
                auto* part = keep(new HierarchicalAnimationModel(loader.loadMesh(row.file)), row);
                (sawBeam ? sawBlade : sawBeam) = part;
                break;
            }
            case level::Role::Static:
                plainStatics.push_back(keep(loader.loadModel(row.file), row));
                break;
            case level::Role::Animated:
                stop = keep(loader.loadAnimationModel(row.file), row);
                break;
            case level::Role::Ground:
                ground.push_back(keep(loader.loadModel(row.file), row));
                break;
            case level::Role::Plane:
                planes.push_back(keep(loader.loadModel(row.file), row));
                break;
            default:
                break;
            }
        }
        std::cout.rdbuf(saved);
        statics = plainStatics;
        statics.push_back(sawBeam);
        statics.push_back(sawBlade);
        statics.push_back(stop);
    }
};

// The step's own processor time: the machine is shared, and a step that was merely
// preempted should not count as a slow one.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(p * static_cast<double>(values.size() - 1));
    return values[index];
}

// Rolls the marble along the route: every two seconds of play it is put back on a later
// waypoint, facing along the route, with W (and now and then A or D) held.
void BM_PhysicsStep(benchmark::State& state) {
    PhysicsLevel level;
    level.load();
    const std::vector<glm::vec3> route = level::routeWaypoints();
    if (!level.complete || !level.marble || route.size() < 2) {
        state.SkipWithError("the level's meshes are missing: run the generator, run from run/");
        return;
    }
    ScriptedClock clock;
    ScriptedKeys keys;
    platform::setTimeSource(&clock);
    platform::setKeySource(&keys);
    Clock frameClock;
    Clock* gameClock = &frameClock;
    RaceState race;

    Camera camera(level::cameraStartMatrix());
    Skybox skybox;
    AnimationModel* animated[1] = {level.stop};
    PhysicsWorld physics(&camera, level.marble, level.ground.data(), int(level.ground.size()),
                         level.statics.data(), int(level.statics.size()), animated, 1, level.finish,
                         int(level.planes.size()), level.planes.data(), level.sawBeam,
                         level.sawBlade);

    const double dt = 1.0 / 60.0;
    std::vector<double> micros;
    size_t waypoint = 0;
    long frame = 0;
    keys.press(GLFW_KEY_W);
    for (auto _ : state) {
        if (frame % 120 == 0) {
            waypoint = (waypoint + 3) % (route.size() - 1);
            glm::vec3 here = route[waypoint], ahead = route[waypoint + 1];
            level.marble->setTransform(glm::translate(glm::mat4(1.0f), here));
            physics.setVelocity(glm::vec3(0.0f));
            camera.lookAt(here - 15.0f * glm::normalize(ahead - here) + glm::vec3(0, 4, 0), here);
        }
        keys.set(GLFW_KEY_A, frame % 90 > 60);
        keys.set(GLFW_KEY_D, frame % 90 < 20);
        ++frame;
        clock.advance(dt);
        gameClock->tick();
        float t = static_cast<float>(gameClock->getTotalTime());
        level.sawBeam->setParentTransform(level::sawParentTransform(t));
        level.sawBlade->setParentTransform(level::sawParentTransform(t));
        level.sawBlade->setLocalTransform(level::sawBladeLocalTransform(t));
        level.stop->update(static_cast<float>(dt));
        level.stop->selectKeyframes();

        double start = threadSeconds();
        physics.step(static_cast<float>(gameClock->getFrameTime()), keyboardInput(), race);
        // A lost race would stop nothing here: the benchmark only times the steps.
        race.restart();
        double seconds = threadSeconds() - start;
        state.SetIterationTime(seconds);
        micros.push_back(seconds * 1e6);
    }
    if (!micros.empty()) {
        state.counters["median_us"] = percentile(micros, 0.5);
        state.counters["p99_us"] = percentile(micros, 0.99);
        state.counters["worst_us"] = percentile(micros, 1.0);
    }
    platform::setTimeSource(nullptr);
    platform::setKeySource(nullptr);
}
BENCHMARK(BM_PhysicsStep)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(20000);

} // namespace

BENCHMARK_MAIN();
