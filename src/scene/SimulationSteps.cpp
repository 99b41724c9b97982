#include "scene/SimulationSteps.h"

#include <cmath>

SimulationSteps SimulationSteps::forFrame(double frameTime) {
    SimulationSteps steps;
    if (!(frameTime > 0.0))
        return steps;
    double simulated = std::fmin(frameTime, maxFrameTime);
    // A frame of exactly 1/60 s, as a 60 Hz display measures it give or take rounding, stays
    // one step.
    steps.count = static_cast<int>(std::ceil(simulated / maxStepTime - 1e-6));
    if (steps.count < 1)
        steps.count = 1;
    steps.stepTime = simulated / steps.count;
    return steps;
}
