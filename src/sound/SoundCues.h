#pragma once

#include <vector>

#include "sound/SoundCue.h"
#include "sound/StepSound.h"

// Turns what each simulation step did into what to play. It hears only the steps and their
// race time, never the frame clock, so a replay, which runs the same steps, gets the same
// cues and the same rolling level as the race it recorded.
class SoundCues {
  public:
    // One simulation step of dt seconds of race time, with what it did.
    void step(double dt, const StepSound& what);
    // The one-shots asked for since the last call, oldest first.
    std::vector<SoundCue> takeCues();
    // How loud and high the rolling plays now, from 0 (silent) to 1.
    float rollLevel() const { return level; }
    // A new race: nothing pending, nothing carried over from the last one.
    void reset();

  private:
    void listenForImpact(double dt, float impactSpeed);
    void countDown(double remainingTime);
    void followRolling(double dt, const StepSound& what);

    std::vector<SoundCue> pending;
    double sinceImpact = 1e9;
    double lastRemaining = 0.0;
    bool countingDown = false;
    bool wasWon = false;
    bool wasOver = false;
    float level = 0.0f;
};
