#pragma once

class BackgroundMusic;
class SoundEffects;

// Pausing and resuming ramp all the game's sound (the listener's gain, which the music and the
// effects share, apart from their own volumes) instead of cutting it, which clicks. The ramp
// runs on the times it is handed, read from the game's clock source each frame, never by
// waiting; what fades out is held once it is silent, what fades in plays on from the start.
// The music and the effects may be null (no scene, no audio device).
class SoundFade {
  public:
    static constexpr double seconds = 0.02;

    void fadeOut(double now);
    // Whatever a fade-out held plays on at once, silent, and comes up from there.
    void fadeIn(double now, BackgroundMusic* music, SoundEffects* effects);
    // The gain as it is at now, given to the listener; a finished fade-out holds the sound.
    void advance(double now, BackgroundMusic* music, SoundEffects* effects);
    float gain() const { return current; }

  private:
    float from = 1.0f;
    float to = 1.0f;
    double start = 0.0;
    float current = 1.0f;
    bool holdWhenSilent = false;
    bool held = false;
};
