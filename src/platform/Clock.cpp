#include "platform/Clock.h"

#include "platform/Input.h"

Clock::Clock() : lastFpsTime(platform::getTime()), lastFrameTime(platform::getTime()) {}

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
