#include "sound/AudioContext.h"

bool AudioContext::open() {
    if (alcGetCurrentContext() != nullptr)
        return true;
    device = alcOpenDevice(nullptr);
    if (device == nullptr)
        return false;
    context = alcCreateContext(device, nullptr);
    if (context == nullptr || alcMakeContextCurrent(context) != ALC_TRUE) {
        close();
        return false;
    }
    return true;
}

void AudioContext::close() {
    if (context != nullptr) {
        if (alcGetCurrentContext() == context)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device != nullptr)
        alcCloseDevice(device);
    context = nullptr;
    device = nullptr;
}
