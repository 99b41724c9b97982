#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

// What the game printed, its progress on standard output and its warnings and errors on
// standard error, together in the order it printed them and kept out of the test log; the
// game's messages are part of what many tests check, wherever each goes.
namespace printed {

struct Capture {
    std::FILE* sink = nullptr;
    int output = -1;
    int errors = -1;
};

inline Capture& current() {
    static Capture capture;
    return capture;
}

inline void flushAll() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
}

} // namespace printed

// Starts capturing both streams; takePrinted() ends it and hands back what came.
inline void capturePrinted() {
    printed::Capture& capture = printed::current();
    printed::flushAll();
    capture.sink = std::tmpfile();
    capture.output = dup(1);
    capture.errors = dup(2);
    dup2(fileno(capture.sink), 1);
    dup2(fileno(capture.sink), 2);
}

inline std::string takePrinted() {
    printed::Capture& capture = printed::current();
    printed::flushAll();
    dup2(capture.output, 1);
    dup2(capture.errors, 2);
    close(capture.output);
    close(capture.errors);
    std::string text;
    std::rewind(capture.sink);
    char buffer[4096];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, capture.sink)) > 0;)
        text.append(buffer, read);
    std::fclose(capture.sink);
    capture = printed::Capture();
    return text;
}

// What call printed.
template <typename Call> std::string printedBy(Call call) {
    capturePrinted();
    call();
    return takePrinted();
}
