#include "app/ClockText.h"

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
