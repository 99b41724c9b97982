#include "PrintedOutput.h"

#include <gtest/gtest.h>

std::string printedBy(const std::function<void()>& call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
}
