#pragma once

#include <string>

// The race clock as the HUD shows it: "Zeit: " then minutes, a colon and two-digit seconds.
std::string formatClockText(double remainingSeconds);
// A race's time as the winner screen shows it: minutes, a colon, seconds and hundredths
// ("1:02.35"), to the nearest hundredth.
std::string formatRaceTime(double seconds);
