#pragma once

#include "sound/AudioContext.h"

// The looping background sound, from the end of level loading to shutdown.
// Every failure leaves the game running quietly; a file that cannot be played is named once.
class BackgroundMusic {
  public:
    // The source's gain from 0 (silent) to 1 (the file as it is); any time, heard at once.
    void setVolume(float gain);
    void start();
    bool loadSound();
    void setListener();
    void release();
    // Playing again starts the loop from its beginning; pausing holds it where it is.
    void restart();
    void pause();
    void resume();

    // The OpenAL names in use (0 before start and after release).
    unsigned int getSource() const { return musicSource; }
    unsigned int getBuffer() const { return musicBuffer; }

  private:
    // Opened here when it starts first, as it does in the game.
    AudioContext audio;
    float volume = 1.0f;
    unsigned int musicBuffer = 0;
    unsigned int musicSource = 0;
};
