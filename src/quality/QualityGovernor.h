#pragma once

#include <vector>

#include "settings/QualityRung.h"

// Holds a frame rate by moving between the quality rungs, fed the time of every drawn frame.
// Its clock is the sum of the frame times it was given, so a scripted sequence of frames
// behaves exactly as the same frames played.
//
// The rule: the frames are judged a window at a time, each about a second long; the first
// window after a change is not judged (a change reloads textures and compiles shaders).
// - A window whose typical (median) frame misses the target steps down to the next rung that
//   draws differently (rungs that differ only in pinned aspects are passed over).
// - Two windows in a row whose frames leave clear room for the next rung up (its frame,
//   estimated from the ratio of the rungs' costs, still 10 % inside the target) step up.
// - A rung that missed is not tried again for a while: ten seconds the first time, twice as
//   long each time after. A step up that missed also corrects the estimate of what the rung
//   costs, so at the same load it is not expected to fit again.
// - It has settled when no change came for three seconds and none is under way (a step up
//   waiting for its second roomy window); that is reported once.
class QualityGovernor {
  public:
    enum class Event { None, SteppedDown, SteppedUp, Settled };

    // `pinned`: the QualitySettings bits the player set himself; they cost the same on every
    // rung, and a rung differing from its neighbour only in them is no step.
    QualityGovernor(QualityRung start, double targetFps, unsigned pinned);

    // One drawn frame's time in seconds; says what that frame changed, if anything.
    Event frame(double seconds);

    QualityRung rung() const { return static_cast<QualityRung>(current); }
    bool isSettled() const { return settled; }
    // The frame rate of the last second judged (its median frame), 0 before one was; once
    // settled, that second was drawn at the rung it settled at.
    double measuredFps() const { return lastMedian > 0.0 ? 1.0 / lastMedian : 0.0; }
    // Whether that second held the target. A rung settles missing it only when there is no
    // cheaper rung left to step down to.
    bool meetsTarget() const { return lastMedian <= targetSeconds; }

    static constexpr double windowSeconds = 1.0;
    static constexpr double settleSeconds = 3.0;
    static constexpr double firstBackOffSeconds = 10.0;

  private:
    Event judgeWindow(double medianSeconds);
    int nextDistinct(int from, int direction) const;
    Event moveTo(int rung, Event event);

    int current;
    double targetSeconds;
    QualitySettings drawn[qualityRungCount];
    // Frame time of each rung against full's: the estimate, corrected by what was measured.
    double cost[qualityRungCount];
    double backOff[qualityRungCount] = {};
    double retryAt[qualityRungCount] = {};

    double now = 0.0;
    double windowStart = 0.0;
    std::vector<double> window;
    bool skipWindow = false;
    int roomyWindows = 0;
    // The rung a step up left, and its median frame, to learn from should the step miss.
    int steppedUpFrom = -1;
    double medianBefore = 0.0;
    double lastMedian = 0.0;
    double lastChange = 0.0;
    bool settled = false;
};
