#include "sound/BackgroundMusic.h"

#include <AL/al.h>
#include <AL/alut.h>

#include "platform/DataFileReport.h"

namespace {
const ALfloat sourcePosition[3] = {0.0f, 0.0f, 0.0f};
const ALfloat sourceVelocity[3] = {0.0f, 0.0f, 0.0f};
const ALfloat listenerPosition[3] = {0.0f, 0.0f, 0.0f};
const ALfloat listenerVelocity[3] = {0.0f, 0.0f, 0.0f};
// "at" then "up": the listener faces -z with y up, the source sits on it, so the loop is centred.
const ALfloat listenerOrientation[6] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
// What kept a wave from the buffer, as ALUT saw it; a missing file is named as such anyway.
const char* unplayableReason(bool read, ALenum readError) {
    if (read)
        return "wave file without samples";
    if (readError == ALUT_ERROR_CORRUPT_OR_TRUNCATED_DATA)
        return "truncated wave file";
    return "not a wave file";
}
} // namespace

void BackgroundMusic::start() {
    alutInit(nullptr, nullptr);
    alGetError();
    loadSound();
    setListener();
    alSourcePlay(musicSource);
}

bool BackgroundMusic::loadSound() {
    alGenBuffers(1, &musicBuffer);
    if (alGetError() != AL_NO_ERROR)
        return false;

    // The read returns no status of its own; only hand a buffer over when it really read one.
    ALenum format = 0;
    ALvoid* data = nullptr;
    ALsizei size = 0;
    ALsizei frequency = 0;
    ALboolean loop = AL_FALSE;
    ALbyte path[] = "data/background.wav";
// ALUT marks its WAV calls deprecated, but they are the ones that report the file's loop flag.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    alutGetError();
    alutLoadWAVFile(path, &format, &data, &size, &frequency, &loop);
    ALenum readError = alutGetError();
    bool playable = size > 0 && frequency > 0 && format != 0;
    if (data != nullptr) {
        // A wave with an empty data chunk still comes with an allocation to give back.
        if (playable)
            alBufferData(musicBuffer, format, data, size, frequency);
        alutUnloadWAV(format, data, size, frequency);
    }
#pragma GCC diagnostic pop
    if (!playable)
        reportBrokenDataFile(reinterpret_cast<const char*>(path),
                             unplayableReason(data != nullptr, readError));

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
    alutExit();
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
