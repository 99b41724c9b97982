#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

// What the game printed, kept out of the test log: its progress (standard output) and its
// warnings and errors (standard error) in the one order a terminal shows them, since many
// tests check that a failure line comes right after the stage it belongs to. Both streams go
// into one file while captured; every message of the game ends with a flush.
namespace printed_output {
struct Capture {
    std::FILE* file = nullptr;
    int savedOut = -1;
    int savedErr = -1;
};
inline Capture& current() {
    static Capture capture;
    return capture;
}
} // namespace printed_output

inline void capturePrinted() {
    printed_output::Capture& capture = printed_output::current();
    ASSERT_EQ(capture.file, nullptr) << "printed output is already being captured";
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    capture.file = std::tmpfile();
    ASSERT_NE(capture.file, nullptr);
    capture.savedOut = dup(STDOUT_FILENO);
    capture.savedErr = dup(STDERR_FILENO);
    dup2(fileno(capture.file), STDOUT_FILENO);
    dup2(fileno(capture.file), STDERR_FILENO);
}

inline std::string takePrinted() {
    printed_output::Capture& capture = printed_output::current();
    if (!capture.file)
        return "";
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    dup2(capture.savedOut, STDOUT_FILENO);
    dup2(capture.savedErr, STDERR_FILENO);
    close(capture.savedOut);
    close(capture.savedErr);
    std::string text;
    std::rewind(capture.file);
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, capture.file)) > 0)
        text.append(buffer, count);
    std::fclose(capture.file);
    capture = printed_output::Capture();
    return text;
}

// What call printed.
template <typename Call> std::string printedBy(Call call) {
    capturePrinted();
    call();
    return takePrinted();
}
