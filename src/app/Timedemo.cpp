#include "app/Timedemo.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <utility>

#include "assets/TextureLoader.h"
#include "platform/GlTarget.h"
#include "platform/Input.h"
#include "render/SceneTarget.h"
#include "scene/Scene.h"

namespace {
std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}
} // namespace

std::string timedemoReport(const std::string& replayFile, const std::vector<double>& frameTimes,
                           const std::map<std::string, PassTimer::Total>& passes,
                           const std::vector<std::string>& passOrder) {
    std::vector<double> rates;
    double seconds = 0.0;
    size_t slowest = 0;
    for (size_t i = 0; i < frameTimes.size(); ++i) {
        double t = frameTimes[i];
        seconds += t;
        if (t > 0.0)
            rates.push_back(1.0 / t);
        if (t > frameTimes[slowest])
            slowest = i;
    }
    std::sort(rates.begin(), rates.end());
    std::string report = "Timedemo \"" + replayFile + "\": " + std::to_string(frameTimes.size()) +
                         " frames in " + format("%.2f", seconds) + " s";
    if (seconds > 0.0)
        report += ", " + format("%.2f", static_cast<double>(frameTimes.size()) / seconds) + " fps";
    report += "\n";
    if (!rates.empty()) {
        double median = rates.size() % 2
                            ? rates[rates.size() / 2]
                            : (rates[rates.size() / 2 - 1] + rates[rates.size() / 2]) / 2;
        report += "Frames per second: minimum " + format("%.2f", rates.front()) + ", median " +
                  format("%.2f", median) + ", maximum " + format("%.2f", rates.back()) + "\n";
        // Where to look when the minimum is far below the median: the replay frame to seek.
        report += "Slowest frame: " + std::to_string(slowest + 1) + " of " +
                  std::to_string(frameTimes.size()) + ", " + format("%.2f", frameTimes[slowest]) +
                  " s\n";
    }
    // Over every timed frame, not only those a pass ran in: the end screens and pauses draw no
    // scene, and a mean over the pass's own runs would not add up to the frame's time.
    if (!passOrder.empty() && !frameTimes.empty()) {
        report += "GPU time per frame (mean):";
        for (const std::string& name : passOrder) {
            auto found = passes.find(name);
            if (found == passes.end() || found->second.count == 0)
                continue;
            report += " " + name + " " +
                      format("%.2f",
                             found->second.milliseconds / static_cast<double>(frameTimes.size())) +
                      " ms;";
        }
        report.back() = '\n';
    }
    return report;
}

std::string timedemoSettings(int width, int height, int samples, int shadowMapSize,
                             int waterMapSize, float anisotropy, double renderScale,
                             const char* rung) {
    return "Settings: window " + std::to_string(width) + " x " + std::to_string(height) + ", " +
           std::to_string(samples) + " samples, shadow map " + std::to_string(shadowMapSize) +
           ", water maps " + std::to_string(waterMapSize) + ", anisotropy " +
           format("%g", static_cast<double>(anisotropy)) + ", render scale " +
           format("%g", renderScale) + " (quality " + rung + ")\n";
}

// Where the GL has no timer queries the report says so instead of the pass times.
Timedemo::Timedemo(std::string replayFile)
    : replayFile(std::move(replayFile)),
      passTimer(gltarget::hasPassTimer() ? std::make_unique<PassTimer>() : nullptr) {}

Timedemo::~Timedemo() {
    if (PassTimer::installed() == passTimer.get())
        PassTimer::install(nullptr);
}

// The rasteriser draws lazily: a frame is only done, and timed, once its drawing is. Timing
// from one frame's end to the next leaves nothing out of the total.
void Timedemo::frameDrawn() {
    glFinish();
    const double done = platform::getTime();
    if (started)
        times.push_back(done - lastDone);
    else
        PassTimer::install(passTimer.get());
    started = true;
    lastDone = done;
}

void Timedemo::report(const Scene& scene, int windowWidth, int windowHeight,
                      const QualitySettings& drawn, QualityRung rung) {
    const std::map<std::string, PassTimer::Total> noPassTimes;
    const std::vector<std::string> noPassOrder;
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    if (scene.getPictureTarget().isReady())
        samples = scene.getPictureTarget().samples();
    std::cout << timedemoSettings(windowWidth, windowHeight, samples, scene.getShadowMapSize(),
                                  scene.getWaterMapSize(), anisotropyInUse(), drawn.renderScale,
                                  rungName(rung))
              << timedemoReport(replayFile, times, passTimer ? passTimer->totals() : noPassTimes,
                                passTimer ? passTimer->order() : noPassOrder);
    if (!passTimer)
        std::cout << "GPU time per frame: not measured (pass timers are desktop only)\n";
    std::cout << std::flush;
    PassTimer::install(nullptr);
}
