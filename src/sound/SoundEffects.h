#pragma once

#include "sound/AudioContext.h"
#include "sound/SoundCue.h"

// The race's sound effects, from data/sound/: the rolling loop and the one-shots. Owns one
// OpenAL source and buffer per effect. A file that cannot be played is named once and only its
// effect stays silent; without an audio device every call does nothing.
//
// It plays on the context that is current when it starts (the music's, started first) and
// makes its own only when there is none; release it before the music, whose release ends the
// context.
class SoundEffects {
  public:
    enum class Effect { Roll, Impact, LifeLost, Tick, Win, GameOver };
    static constexpr int effectCount = 6;

    // The effects' own volume, 0 (silent) to 1, apart from the music's; any time.
    void setVolume(float gain);
    void start();
    void release();

    // 0 (silent: at rest, in the air) to 1; louder and higher as it grows. Set every frame.
    void setRolling(float level);
    // How hard, 0 to 1: a harder knock plays louder.
    void impact(float strength);
    void lifeLost();
    void tick();
    void win();
    void gameOver();
    void play(const SoundCue& cue);

    // Everything playing holds where it is, and nothing new starts until resume.
    void pause();
    void resume();

    // The OpenAL source of an effect (0 before start and after release).
    unsigned int getSource(Effect effect) const;

  private:
    void playOnce(Effect effect, float gain);
    void applyRollGain();

    unsigned int sources[effectCount] = {};
    unsigned int buffers[effectCount] = {};
    bool loaded[effectCount] = {};
    // Opened only when no context was current at start.
    AudioContext audio;
    bool paused = false;
    float volume = 1.0f;
    float rollLevel = 0.0f;
};
