#pragma once

#include <gtest/gtest.h>

#include <string>

// What call printed on standard output, kept out of the test log; the game's messages are
// part of what many tests check.
template <typename Call> std::string printedBy(Call call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}
