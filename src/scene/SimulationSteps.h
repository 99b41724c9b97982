#pragma once

// How one drawn frame's time becomes simulation: at most maxFrameTime of it counts (the rest
// of a longer frame is a stall and is dropped), split into equal steps no longer than
// maxStepTime. The drag term and the sweep are only sound for short steps, so a slow machine
// runs several of them per frame instead of one long one.
struct SimulationSteps {
    static constexpr double maxStepTime = 1.0 / 60.0;
    static constexpr double maxFrameTime = 0.25;

    int count = 0;
    double stepTime = 0.0;

    // A frame time that is zero, negative or not a number simulates nothing.
    static SimulationSteps forFrame(double frameTime);
};
