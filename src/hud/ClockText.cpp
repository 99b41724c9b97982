#include "hud/ClockText.h"

#include <cmath>
#include <cstdio>
#include <string>

std::string formatClockText(double remainingSeconds) {
    // After the last attempt the countdown keeps running below zero behind the end screen;
    // a negative time reads as a finished clock rather than as "-1:-15". The upper bound only
    // keeps the conversion defined.
    const double longest = 2147483647.0;
    double clamped = remainingSeconds > 0.0 ? remainingSeconds : 0.0;
    if (clamped > longest)
        clamped = longest;
    int total = static_cast<int>(clamped);
    int minutes = static_cast<int>(total / 60.0);
    int seconds = total - 60 * minutes;

    std::string text = "Zeit: " + std::to_string(minutes);
    text += seconds < 10 ? ":0" : ":";
    text += std::to_string(seconds);
    return text;
}

std::string formatRaceTime(double seconds) {
    // Longer than any race can last; the bound only keeps the conversion defined.
    const double longest = 1e9;
    double clamped = seconds > 0.0 ? seconds : 0.0;
    if (clamped > longest)
        clamped = longest;
    // Rounded once in hundredths, so 59.996 reads 1:00.00 and never 0:60.00.
    long long hundredths = std::llround(clamped * 100.0);
    long long minutes = hundredths / 6000;
    int wholeSeconds = static_cast<int>(hundredths / 100 % 60);
    int fraction = static_cast<int>(hundredths % 100);
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02d.%02d", minutes, wholeSeconds, fraction);
    return text;
}
