#pragma once

#include <functional>

#include <glm/glm.hpp>

#include "RaceDriver.h"
#include "RaceWorld.h"

// Helpers shared by the race tests: a driver for the real level, a whole drive, and
// putting the marble down somewhere on the route.
namespace race {

RaceDriver makeDriver();

struct DriveResult {
    bool won = false;
    double seconds = 0.0; // play time until the win (or until giving up)
    int livesLost = 0;
    float progress = 0.0f; // how far along the route the driver got
};

// Drives with a fixed frame time until the win or until the play time runs out.
DriveResult driveToFinish(RaceDriver& driver, double frameTime, double limitSeconds);
// The same with each frame's length asked of nextFrameTime.
DriveResult driveToFinish(RaceDriver& driver, const std::function<double()>& nextFrameTime,
                          double limitSeconds);

// Puts the marble at rest on a route waypoint, the camera behind it looking along the route.
void placeOnRoute(int waypoint);

} // namespace race
