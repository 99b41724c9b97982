#pragma once

#include <cstdint>

// The rules a race is run under, as a replay records them. Any change that alters where a
// race goes (the physics, the scene's step, how the input steers) gives races a new number
// here, and the scene keeps running the older numbers the old way: a race recorded by any
// earlier build still plays as it was recorded.
enum class SimulationVersion : uint16_t {
    // A race's first step steers from the start matrix's eye, which stands far outside the sky.
    StartMatrixSteers = 1,
    // A race's first step steers from the chase camera placed behind the marble at its start.
    ChaseCameraSteers = 2,
};

constexpr SimulationVersion currentSimulationVersion = SimulationVersion::ChaseCameraSteers;
