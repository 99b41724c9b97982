#include "RaceWorld.h"

#include <cstdlib>
#include <iostream>

#include <gtest/gtest.h>

#include "GlTestContext.h"
#include "QuietScene.h"
#include "RaceDriver.h"
#include "app/GamePlay.h"
#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/Sphere.h"
#include "physics/Camera.h"
#include "physics/PhysicsWorld.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "scene/Scene.h"
#include "session/PlayerInput.h"

namespace race {

namespace {

ScriptedClock scriptedClock;
ScriptedKeys scriptedKeys;
ScriptedGamepad scriptedGamepad;
Scene* level = nullptr;
Clock* gameClock = nullptr;
GamePlay* shell = nullptr;

void freshGame() {
    delete shell;
    shell = new GamePlay();
    shell->setScene(level);
}
bool complete = false;

bool allModelsLoaded(Scene& s) {
    bool ok = s.getMarble() && s.getFinishArea() && s.getSawBeam() && s.getSawBlade();
    for (int i = 0; i < s.getStaticCount(); ++i)
        ok = ok && s.getStaticModel(i);
    for (int i = 0; i < s.getGroundModelCount(); ++i)
        ok = ok && s.getGroundModel(i);
    for (int i = 0; i < s.getPlaneModelCount(); ++i)
        ok = ok && s.getPlaneModel(i);
    return ok && s.getAnimatedCount() == 1 && s.getAnimatedModel(0);
}

// Starts the level once, before the first test, and releases it after the last.
class LevelEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        setenv("ALSOFT_DRIVERS", "null", 1);
        platform::setTimeSource(&scriptedClock);
        platform::setKeySource(&scriptedKeys);
        platform::setGamepadSource(&scriptedGamepad);
        gameClock = new Clock();
        if (!ensureGlContext())
            return;
        level = new Scene();
        const std::string printed = startSceneQuietly(*level);
        complete = allModelsLoaded(*level);
        if (!complete)
            std::cout << "The generated level is incomplete:\n" << printed;
        freshGame();
    }
    void TearDown() override {
        delete shell;
        shell = nullptr;
        delete level;
        level = nullptr;
        delete gameClock;
        gameClock = nullptr;
        platform::setTimeSource(nullptr);
        platform::setKeySource(nullptr);
        platform::setGamepadSource(nullptr);
    }
};

[[maybe_unused]] const ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new LevelEnvironment());

} // namespace

Scene* scene() {
    return level;
}
RaceState& state() {
    return level->getRace();
}
Clock& frameClock() {
    return *gameClock;
}
ScriptedClock& clock() {
    return scriptedClock;
}
ScriptedKeys& keys() {
    return scriptedKeys;
}
ScriptedGamepad& gamepad() {
    return scriptedGamepad;
}
bool levelComplete() {
    return complete;
}

void runFrame(double seconds) {
    scriptedClock.advance(seconds);
    gameClock->tick();
    gameClock->countFrame();
    level->advance(gameClock->getFrameTime(), playerInput());
    for (int i = 0; i < level->getAnimatedCount(); ++i) {
        if (AnimationModel* animated = level->getAnimatedModel(i))
            animated->selectKeyframes();
    }
}

void restartRace() {
    scriptedKeys.releaseAll();
    scriptedGamepad.releaseAll();
    // Under today's rules, whatever replay a test played before.
    level->setSimulationVersion(currentSimulationVersion);
    level->restartRace();
    // A fresh frame clock too: time the scripted clock ran on through frames a test drove
    // through the game (whose clock is its own) must not land in this race's first frame.
    *gameClock = Clock();
    freshGame();
}

GamePlay& game() {
    return *shell;
}

void gameFrame(double seconds) {
    scriptedClock.advance(seconds);
    shell->update();
}

void winNow() {
    level->getRace().outcome = RaceState::Outcome::Won;
    level->getRace().winningTime = level->getRace().simulationTime;
}

DriverView view(double frameTime) {
    DriverView v;
    v.marble = level->getMarble()->getBoundingCenter();
    v.eye = level->getCamera()->getPosition();
    v.frameTime = frameTime;
    v.barrierPhase = level->getAnimatedModel(0)->getPhase();
    v.sawHeight = level->getSawBeam()->getParentTransform()[3][1];
    return v;
}

} // namespace race
