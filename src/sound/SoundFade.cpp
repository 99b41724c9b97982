#include "sound/SoundFade.h"

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>

#include "sound/BackgroundMusic.h"
#include "sound/SoundEffects.h"

namespace {

void setListenerGain(float gain) {
    if (alcGetCurrentContext() != nullptr)
        alListenerf(AL_GAIN, gain);
}

} // namespace

void SoundFade::fadeOut(double now) {
    from = current;
    to = 0.0f;
    start = now;
    holdWhenSilent = true;
}

void SoundFade::fadeIn(double now, BackgroundMusic* music, SoundEffects* effects) {
    if (held) {
        if (music)
            music->resume();
        if (effects)
            effects->resume();
    }
    held = false;
    holdWhenSilent = false;
    from = current;
    to = 1.0f;
    start = now;
    setListenerGain(current);
}

void SoundFade::advance(double now, BackgroundMusic* music, SoundEffects* effects) {
    const bool done = now >= start + seconds;
    const double share = done ? 1.0 : std::clamp((now - start) / seconds, 0.0, 1.0);
    current = from + (to - from) * static_cast<float>(share);
    setListenerGain(current);
    if (holdWhenSilent && done) {
        if (music)
            music->pause();
        if (effects)
            effects->pause();
        holdWhenSilent = false;
        held = true;
    }
}
