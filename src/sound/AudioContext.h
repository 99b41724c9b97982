#pragma once

#include <AL/alc.h>

// The default audio device with a context on it, made current: what the music and the effects
// play on. Opened only when no context is current yet, so the first of them to start owns it
// and the others play on it; closing ends only what this one opened.
class AudioContext {
  public:
    AudioContext() = default;
    ~AudioContext() { close(); }
    AudioContext(const AudioContext&) = delete;
    AudioContext& operator=(const AudioContext&) = delete;

    // True when a context is current afterwards (none without an audio device).
    bool open();
    // No context current any more, it destroyed and its device closed; nothing when this one
    // opened none.
    void close();

  private:
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
};
