#pragma once

// The game's frame timing, read from platform::getTime(): ticked once per frame, it gives the
// frame time, the total running time and a frame rate averaged over periods of just over a
// second. The game owns one; its time starts when it is made.
class Clock {
  public:
    Clock();

    void tick();
    void countFrame();
    // The next frame time is measured from now: whatever came before is not part of play.
    void restartFrameTiming();

    double getFrameTime() const { return frameTime; }
    double getMsPerFrame() const { return msPerFrame; }
    double getFps() const { return fps; }
    double getTotalTime() const { return totalTime; }

  private:
    int frameCount = 0;
    double lastFpsTime;
    double lastFrameTime;
    double frameTime = 0.0;
    double msPerFrame = 0.0;
    double fps = 0.0;
    double totalTime = 0.0;
};
