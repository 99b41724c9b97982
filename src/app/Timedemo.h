#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/PassTimer.h"
#include "settings/QualityRung.h"

class Scene;

// A timedemo's run: a replay drawn one recorded frame for every drawn one, as fast as the
// machine draws, with every frame after the first (which pays for the first draws) timed from
// one frame's end to the next and each pass on the GPU, where the GL has timer queries. At its
// end the report: the settings drawn with, the frame rates and the passes' times.
class Timedemo {
  public:
    explicit Timedemo(std::string replayFile);
    ~Timedemo();
    Timedemo(const Timedemo&) = delete;
    Timedemo& operator=(const Timedemo&) = delete;

    // After each frame's drawing was handed over: waits until it is done and times it.
    void frameDrawn();
    // The whole report, printed; the pass timer stops.
    void report(const Scene& scene, int windowWidth, int windowHeight, const QualitySettings& drawn,
                QualityRung rung);

  private:
    std::string replayFile;
    std::unique_ptr<PassTimer> passTimer;
    std::vector<double> times;
    double lastDone = 0.0;
    bool started = false;
};

// What a timedemo prints at its end: how many frames in how long, the frame rate's minimum,
// median and maximum over single frames, and each pass's mean GPU time over all those frames.
std::string timedemoReport(const std::string& replayFile, const std::vector<double>& frameTimes,
                           const std::map<std::string, PassTimer::Total>& passes,
                           const std::vector<std::string>& passOrder);

// The settings the figures were drawn with, for comparing them across runs: one line.
std::string timedemoSettings(int width, int height, int samples, int shadowMapSize,
                             int waterMapSize, float anisotropy, double renderScale,
                             const char* rung);
