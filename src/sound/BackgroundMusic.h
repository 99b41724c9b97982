#pragma once

// The looping background sound, from the end of level loading to shutdown.
// Every failure is silent: without a device or a readable file the game runs quietly.
class BackgroundMusic {
  public:
    void start();
    bool loadSound();
    void setListener();
    void release();
};
