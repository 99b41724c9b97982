#pragma once

#include "scene/SimulationVersion.h"
#include "session/Replay.h"

class Scene;

// The rules replay's races were run under, which its playback and its ghost run it under.
// A file from format 2 on says so. A format-1 file does not: the game 1.1.0 wrote it under
// either of the first two, and its checks tell them apart. One without checks was recorded
// before there were checks, and so under the first rules; one with checks is run through
// scene's simulation under the first rules, undrawn, up to its first check that the race no
// longer meets (then it was recorded under the second) or to its end (the first). scene must
// stand at a race's start, and is left there with the rules it had.
SimulationVersion simulationVersionOf(const Replay& replay, Scene& scene);
