#pragma once

// What one simulation step did that can be heard, as the race reports it after the step.
// Speeds are in the world's units a second.
struct StepSound {
    bool onGround = false;
    // The marble's speed along the surface it rests on (ignored in the air).
    float groundSpeed = 0.0f;
    // Speed lost into a surface during this step; 0 when nothing was touched.
    float impactSpeed = 0.0f;
    // This step cost a life (the last life lost sets gameOver as well).
    bool lifeLost = false;
    // The race's end, from the step it happens on; it may stay set in later steps.
    bool won = false;
    bool gameOver = false;
    // The countdown after the step, in seconds.
    double remainingTime = 0.0;
};
