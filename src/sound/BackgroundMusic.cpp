#include "sound/BackgroundMusic.h"

#include <AL/al.h>

#include "platform/DataFileReport.h"
#include "sound/WaveBuffer.h"

namespace {
const ALfloat sourcePosition[3] = {0.0f, 0.0f, 0.0f};
const ALfloat sourceVelocity[3] = {0.0f, 0.0f, 0.0f};
const ALfloat listenerPosition[3] = {0.0f, 0.0f, 0.0f};
const ALfloat listenerVelocity[3] = {0.0f, 0.0f, 0.0f};
// "at" then "up": the listener faces -z with y up, the source sits on it, so the loop is centred.
const ALfloat listenerOrientation[6] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
} // namespace

void BackgroundMusic::setVolume(float gain) {
    volume = gain;
    if (musicSource != 0)
        alSourcef(musicSource, AL_GAIN, volume);
}

void BackgroundMusic::start() {
    audio.open();
    alGetError();
    loadSound();
    setListener();
    alSourcePlay(musicSource);
}

bool BackgroundMusic::loadSound() {
    alGenBuffers(1, &musicBuffer);
    if (alGetError() != AL_NO_ERROR)
        return false;

    loadWaveBuffer("data/background.wav", musicBuffer);

    alGenSources(1, &musicSource);
    if (alGetError() != AL_NO_ERROR)
        return false;

    alSourcei(musicSource, AL_BUFFER, static_cast<ALint>(musicBuffer));
    alSourcef(musicSource, AL_PITCH, 1.0f);
    alSourcef(musicSource, AL_GAIN, volume);
    alSourcefv(musicSource, AL_POSITION, sourcePosition);
    alSourcefv(musicSource, AL_VELOCITY, sourceVelocity);
    // Loop for ever, whatever the file's own loop flag says.
    alSourcei(musicSource, AL_LOOPING, AL_TRUE);
    return alGetError() == AL_NO_ERROR;
}

void BackgroundMusic::setListener() {
    alListenerfv(AL_POSITION, listenerPosition);
    alListenerfv(AL_VELOCITY, listenerVelocity);
    alListenerfv(AL_ORIENTATION, listenerOrientation);
}

void BackgroundMusic::release() {
    alDeleteSources(1, &musicSource);
    alDeleteBuffers(1, &musicBuffer);
    audio.close();
    musicSource = 0;
    musicBuffer = 0;
}

// Without a source (no device, or release ran) these do nothing.
void BackgroundMusic::restart() {
    if (musicSource == 0)
        return;
    alSourceRewind(musicSource);
    alSourcePlay(musicSource);
}

void BackgroundMusic::pause() {
    if (musicSource != 0)
        alSourcePause(musicSource);
}

void BackgroundMusic::resume() {
    if (musicSource != 0)
        alSourcePlay(musicSource);
}
