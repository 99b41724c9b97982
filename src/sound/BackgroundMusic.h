#pragma once

// The looping background sound, from the end of level loading to shutdown.
// Every failure is silent: without a device or a readable file the game runs quietly.
class BackgroundMusic {
  public:
    // The source's gain from 0 (silent) to 1 (the file as it is); set before start().
    void setVolume(float gain) { volume = gain; }
    void start();
    bool loadSound();
    void setListener();
    void release();

    // The OpenAL names in use (0 before start and after release).
    unsigned int getSource() const;
    unsigned int getBuffer() const;

  private:
    float volume = 1.0f;
};
