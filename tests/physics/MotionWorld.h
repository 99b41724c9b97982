#pragma once

#include <memory>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include "TestMeshes.h"
#include "assets/Sphere.h"
#include "physics/Camera.h"
#include "physics/PhysicsWorld.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/ScriptedClock.h"
#include "platform/ScriptedGamepad.h"
#include "platform/ScriptedKeys.h"
#include "render/Skybox.h"
#include "scene/Scene.h"
#include "session/PlayerInput.h"

// A physics world on a flat floor (y = 0, 400 x 400) with a scripted clock, keyboard and
// gamepad.
// The marble rests on the floor at (5, 1.001, 5); the camera looks at it from +z.
class MotionWorld : public ::testing::Test {
  protected:
    const float dt = 1.0f / 60.0f;

    void SetUp() override {
        platform::setTimeSource(&clock);
        platform::setKeySource(&keys);
        platform::setGamepadSource(&gamepad);
        frameClock.reset(new Clock());
        ground.push_back(keep(modelOf(floorTriangles(0.0f, 200.0f, 20.0f))));
        marble.setTransform(glm::translate(glm::mat4(1.0f), glm::vec3(5, 1.001f, 5)));
        camera.lookAt(glm::vec3(5, 5.001f, 20), marble.getBoundingCenter());
    }

    void TearDown() override {
        frameClock.reset();
        platform::setTimeSource(nullptr);
        platform::setKeySource(nullptr);
        platform::setGamepadSource(nullptr);
    }

    Model* keep(Model* model) {
        owned.emplace_back(model);
        return model;
    }

    // Builds the world from the lists as they stand (call after changing them).
    PhysicsWorld& physics() {
        if (!world) {
            world.reset(new PhysicsWorld(&camera, &marble, ground.data(), int(ground.size()),
                                         statics.data(), int(statics.size()), nullptr, 0, nullptr,
                                         int(planes.size()), planes.data(), sawBeam, nullptr));
        }
        return *world;
    }

    // One frame of the given length: the clock ticks, then the physics steps with the keys
    // and the gamepad as they are held; the sky follows the eye as the scene has it.
    StepResult frame(double seconds) {
        clock.advance(seconds);
        frameClock->tick();
        StepResult result =
            physics().step(static_cast<float>(frameClock->getFrameTime()), playerInput(), race);
        skybox.centreOn(camera.getPosition());
        return result;
    }
    // A life lost by the rules, the sky following the eye as the scene has it.
    void loseLife() {
        StepResult result;
        physics().loseLife(race, result, LifeLoss::OffCourse);
        skybox.centreOn(camera.getPosition());
    }
    void frames(int count) {
        for (int i = 0; i < count; ++i)
            frame(dt);
    }

    glm::vec3 position() const { return marble.getBoundingCenter(); }
    static glm::vec2 horizontal(const glm::vec3& v) { return glm::vec2(v.x, v.z); }

    ScriptedClock clock;
    ScriptedKeys keys;
    ScriptedGamepad gamepad;
    std::unique_ptr<Clock> frameClock;
    // The race the steps change; a scene without a level only runs its countdown.
    Scene scene;
    RaceState& race = scene.getRace();
    Sphere marble{nullptr};
    Camera camera{glm::mat4(1.0f)};
    Skybox skybox;
    std::vector<std::unique_ptr<Model>> owned;
    std::vector<Model*> ground, statics, planes;
    Model* sawBeam = nullptr;
    std::unique_ptr<PhysicsWorld> world;
};
