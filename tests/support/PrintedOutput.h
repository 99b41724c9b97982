#pragma once

#include <gtest/gtest.h>

#include <string>

// What the game printed, kept out of the test log: its progress (standard output), then its
// warnings and errors (standard error). The game's messages are part of what many tests check,
// wherever each goes.
inline void capturePrinted() {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
}

inline std::string takePrinted() {
    const std::string errors = testing::internal::GetCapturedStderr();
    return testing::internal::GetCapturedStdout() + errors;
}

// What call printed.
template <typename Call> std::string printedBy(Call call) {
    capturePrinted();
    call();
    return takePrinted();
}
