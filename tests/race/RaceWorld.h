#pragma once

#include <glm/glm.hpp>

#include "platform/ScriptedClock.h"
#include "platform/ScriptedGamepad.h"
#include "platform/ScriptedKeys.h"

class Scene;
struct DriverView;

// The real level, started once for the whole test program through Scene::init, driven
// frame by frame through Scene::update with a scripted clock, keyboard and gamepad. Frames are not
// drawn; the stop barrier still picks its keyframes each frame as the draw would.
namespace race {

// Null when there is no display to start the level on.
Scene* scene();
ScriptedClock& clock();
ScriptedKeys& keys();
ScriptedGamepad& gamepad();

// One frame of the given length, in the game loop's order.
void runFrame(double seconds);
// A fresh attempt: the marble at rest at the start, three spare lives, 300 s, no flags,
// no keys or buttons held.
void restartRace();
// Whether the level's meshes were all found (the generator has run).
bool levelComplete();

// What a player sees on the screen right now.
DriverView view(double frameTime);

} // namespace race

// Skips the test when the level cannot be started here.
#define REQUIRE_LEVEL()                                                                            \
    do {                                                                                           \
        if (race::scene() == nullptr || !race::levelComplete())                                    \
            GTEST_SKIP() << "no display or no generated level";                                    \
    } while (0)
