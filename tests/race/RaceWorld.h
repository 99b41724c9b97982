#pragma once

#include <glm/glm.hpp>

#include "platform/ScriptedClock.h"
#include "platform/ScriptedGamepad.h"
#include "platform/ScriptedKeys.h"

class Scene;
class Clock;
class GamePlay;
struct DriverView;
struct RaceState;

// The real level, started once for the whole test program through Scene::init, driven
// frame by frame through Scene::advance with a scripted clock, keyboard and gamepad. Frames are not
// drawn; the stop barrier still picks its keyframes each frame as the draw would.
namespace race {

// Null when there is no display to start the level on.
Scene* scene();
// The race run on the level: lives, countdown, race time, outcome.
RaceState& state();
// The game's frame clock, reading the scripted clock.
Clock& frameClock();
ScriptedClock& clock();
ScriptedKeys& keys();
ScriptedGamepad& gamepad();

// One frame of the given length, in the game loop's order.
void runFrame(double seconds);
// A fresh attempt: the marble at rest at the start, three spare lives, 300 s, no flags,
// no keys or buttons held, and a fresh game around the level.
void restartRace();
// The game's play around the level (play controls, the menu, the win's record, the ghost),
// fresh each race.
GamePlay& game();
// One frame of the game's own update, keys and all, on the level.
void gameFrame(double seconds);
// The race ends won here, as if the finish had just been reached.
void winNow();
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
