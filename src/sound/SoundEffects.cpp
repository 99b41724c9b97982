#include "sound/SoundEffects.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "sound/WaveBuffer.h"

namespace {

const char* const effectFiles[SoundEffects::effectCount] = {
    "data/sound/roll.wav", "data/sound/impact.wav", "data/sound/life_lost.wav",
    "data/sound/tick.wav", "data/sound/win.wav",    "data/sound/game_over.wav"};

// The mix against the music at full volume: the rolling stays under the music even at top
// speed, the countdown's tick is heard without startling, the race's ends stand out.
const float effectGains[SoundEffects::effectCount] = {0.6f, 1.0f, 0.8f, 0.5f, 0.9f, 0.9f};

// The rolling plays lower when slow and higher when fast, as a real marble's rumble does.
const float slowestRollPitch = 0.7f;
const float fastestRollPitch = 1.3f;

int indexOf(SoundEffects::Effect effect) {
    return static_cast<int>(effect);
}

// Bad values from a caller are heard as silence or the loudest, never as a fault.
float unit(float value) {
    return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
}

} // namespace

void SoundEffects::setVolume(float gain) {
    volume = unit(gain);
    applyRollGain();
}

void SoundEffects::start() {
    if (!audio.open())
        return;
    alGetError();
    alGenBuffers(effectCount, buffers);
    alGenSources(effectCount, sources);
    if (alGetError() != AL_NO_ERROR) {
        release();
        return;
    }
    for (int i = 0; i < effectCount; ++i) {
        loaded[i] = loadWaveBuffer(effectFiles[i], buffers[i]);
        if (loaded[i])
            alSourcei(sources[i], AL_BUFFER, static_cast<ALint>(buffers[i]));
        // Heard as the player's own sounds, wherever the listener is.
        alSourcei(sources[i], AL_SOURCE_RELATIVE, AL_TRUE);
    }
    // The rolling loop runs from the start, silent until the marble rolls, so it never has to
    // start (and click) mid-race.
    const int roll = indexOf(Effect::Roll);
    alSourcei(sources[roll], AL_LOOPING, AL_TRUE);
    applyRollGain();
    if (loaded[roll])
        alSourcePlay(sources[roll]);
}

void SoundEffects::release() {
    if (sources[0] != 0) {
        // One at a time: the browser's OpenAL (emscripten 3.1.6) fails on alSourceStopv.
        for (ALuint source : sources)
            alSourceStop(source);
        alDeleteSources(effectCount, sources);
    }
    if (buffers[0] != 0)
        alDeleteBuffers(effectCount, buffers);
    audio.close();
    std::fill(std::begin(sources), std::end(sources), 0u);
    std::fill(std::begin(buffers), std::end(buffers), 0u);
    std::fill(std::begin(loaded), std::end(loaded), false);
    paused = false;
}

void SoundEffects::setRolling(float level) {
    rollLevel = unit(level);
    applyRollGain();
}

void SoundEffects::applyRollGain() {
    const ALuint source = sources[indexOf(Effect::Roll)];
    if (source == 0)
        return;
    alSourcef(source, AL_GAIN, volume * effectGains[indexOf(Effect::Roll)] * rollLevel);
    alSourcef(source, AL_PITCH,
              slowestRollPitch + (fastestRollPitch - slowestRollPitch) * rollLevel);
}

void SoundEffects::impact(float strength) {
    playOnce(Effect::Impact, unit(strength));
}
void SoundEffects::lifeLost() {
    playOnce(Effect::LifeLost, 1.0f);
}
void SoundEffects::tick() {
    playOnce(Effect::Tick, 1.0f);
}
void SoundEffects::win() {
    playOnce(Effect::Win, 1.0f);
}
void SoundEffects::gameOver() {
    playOnce(Effect::GameOver, 1.0f);
}

void SoundEffects::play(const SoundCue& cue) {
    switch (cue.kind) {
    case SoundCue::Kind::Impact:
        impact(cue.strength);
        break;
    case SoundCue::Kind::LifeLost:
        lifeLost();
        break;
    case SoundCue::Kind::Tick:
        tick();
        break;
    case SoundCue::Kind::Win:
        win();
        break;
    case SoundCue::Kind::GameOver:
        gameOver();
        break;
    }
}

// Playing a source that still plays starts it again from the beginning: a new knock replaces
// the fading one instead of piling up.
void SoundEffects::playOnce(Effect effect, float loudness) {
    const int i = indexOf(effect);
    if (paused || !loaded[i])
        return;
    alSourcef(sources[i], AL_GAIN, volume * effectGains[i] * loudness);
    alSourcePlay(sources[i]);
}

void SoundEffects::pause() {
    paused = true;
    for (ALuint source : sources) {
        ALint state = 0;
        if (source != 0)
            alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING)
            alSourcePause(source);
    }
}

// Only what the pause held goes on: a one-shot that had ended stays quiet.
void SoundEffects::resume() {
    paused = false;
    for (ALuint source : sources) {
        ALint state = 0;
        if (source != 0)
            alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state == AL_PAUSED)
            alSourcePlay(source);
    }
}

unsigned int SoundEffects::getSource(Effect effect) const {
    return sources[indexOf(effect)];
}
