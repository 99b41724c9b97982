#include "scene/Clock.h"

#include "platform/Input.h"

namespace {
Clock* singleton = nullptr;
}

Clock* Clock::instance() {
    if (!singleton)
        singleton = new Clock();
    return singleton;
}

Clock::Clock() : lastFpsTime(platform::getTime()), lastFrameTime(platform::getTime()) {}

// Deleting the clock lets a later instance() start afresh (a new run or a new test).
Clock::~Clock() {
    if (singleton == this)
        singleton = nullptr;
}

void Clock::tick() {
    double now = platform::getTime();
    frameTime = now - lastFrameTime;
    lastFrameTime = now;
    totalTime += frameTime;
}

void Clock::countFrame() {
    frameCount += 1;
    double now = platform::getTime();
    double elapsed = now - lastFpsTime;
    if (elapsed > 1.0) {
        msPerFrame = elapsed * 1000.0 / frameCount;
        fps = 1000.0 / msPerFrame;
        lastFpsTime = now;
        frameCount = 0;
    }
}

void Clock::restartFrameTiming() {
    lastFrameTime = platform::getTime();
}
