#pragma once

// The game's single source of time: ticked once per frame, it gives the frame time, the
// total running time and a frame rate averaged over periods of just over a second.
class Clock {
  public:
    // Creates the clock on first use (reading the time twice), then returns the same one.
    static Clock* instance();
    ~Clock();

    void tick();
    void countFrame();
    // The next frame time is measured from now: whatever came before is not part of play.
    void restartFrameTiming();

    double getFrameTime() const { return frameTime; }
    double getMsPerFrame() const { return msPerFrame; }
    double getFps() const { return fps; }
    double getTotalTime() const { return totalTime; }

  private:
    Clock();

    int frameCount = 0;
    double lastFpsTime;
    double lastFrameTime;
    double frameTime = 0.0;
    double msPerFrame = 0.0;
    double fps = 0.0;
    double totalTime = 0.0;
};
