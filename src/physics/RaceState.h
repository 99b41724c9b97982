#pragma once

#include "physics/LifeLoss.h"

// Everything that says how far a race has come: the lives, the countdown of the attempt
// under way, the simulated time of the whole race and how it ended. The scene's race owns
// one; each physics step is handed it and changes it by the race's rules, so a test can
// set up any moment of a race and nothing else in the game keeps a copy.
struct RaceState {
    enum class Outcome { Running, Won, GameOver };

    static constexpr int startLives = 3;
    static constexpr double timeLimit = 300.0;

    // Spare lives: the attempt under way is not counted, so 0 means the last attempt.
    int lives = startLives;
    double remainingTime = timeLimit;
    // Seconds simulated since the race began, through every lost life; the obstacles move
    // by it and a won race is timed by it.
    double simulationTime = 0.0;
    Outcome outcome = Outcome::Running;
    // The race's time when the finish was reached (only once it is won).
    double winningTime = 0.0;
    // The last life lost, and the simulated time it was lost at: what the HUD tells for a
    // moment after.
    LifeLoss lastLoss = LifeLoss::None;
    double lastLossTime = 0.0;

    bool isWon() const { return outcome == Outcome::Won; }
    bool isGameOver() const { return outcome == Outcome::GameOver; }
    bool isOver() const { return outcome != Outcome::Running; }
    void restart() { *this = RaceState(); }
};
