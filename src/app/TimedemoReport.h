#pragma once

#include <map>
#include <string>
#include <vector>

#include "render/PassTimer.h"

// What a timedemo prints at its end: how many frames in how long, the frame rate's minimum,
// median and maximum over single frames, and each pass's mean GPU time over all those frames.
std::string timedemoReport(const std::string& replayFile, const std::vector<double>& frameTimes,
                           const std::map<std::string, PassTimer::Total>& passes,
                           const std::vector<std::string>& passOrder);

// The settings the figures were drawn with, for comparing them across runs: one line.
std::string timedemoSettings(int width, int height, int samples, int shadowMapSize,
                             int waterMapSize, float anisotropy, double renderScale,
                             const char* rung);
