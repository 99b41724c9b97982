#pragma once

#include <string>

// The race clock as the HUD shows it: "Zeit: " then minutes, a colon and two-digit seconds.
std::string formatClockText(double remainingSeconds);
