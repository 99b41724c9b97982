#pragma once

#include "physics/LifeLoss.h"

// What one simulation step did, for whoever reacts to it (the frame, the sounds, a test)
// without looking into the physics: a life lost, the finish, the end of the race, and how
// the marble met the ground.
struct StepResult {
    bool lifeLost = false;
    // Why, when a life was lost (the last loss, should a step lose two).
    LifeLoss lostBy = LifeLoss::None;
    bool finishReached = false;
    bool gameOver = false;
    // The sweep met a surface this step (the marble rolls or slides on something).
    bool touching = false;
    // The speed the surfaces took off the marble this step, in units a second: large for a
    // landing or a hit, small while it rolls along.
    float impactSpeed = 0.0f;
    // The marble's speed after the step, in units a second.
    float speed = 0.0f;

    // Adds a later step's (or a repeated step's) events to this one's.
    void merge(const StepResult& later) {
        lifeLost = lifeLost || later.lifeLost;
        if (later.lifeLost)
            lostBy = later.lostBy;
        finishReached = finishReached || later.finishReached;
        gameOver = gameOver || later.gameOver;
        touching = later.touching;
        impactSpeed = impactSpeed > later.impactSpeed ? impactSpeed : later.impactSpeed;
        speed = later.speed;
    }
};
