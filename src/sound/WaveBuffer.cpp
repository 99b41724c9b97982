#include "sound/WaveBuffer.h"

#include <AL/al.h>
#include <AL/alut.h>

#include "platform/DataFileReport.h"

namespace {
// What kept a wave from the buffer, as ALUT saw it; a missing file is named as such anyway.
const char* unplayableReason(bool read, ALenum readError) {
    if (read)
        return "wave file without samples";
    if (readError == ALUT_ERROR_CORRUPT_OR_TRUNCATED_DATA)
        return "truncated wave file";
    return "not a wave file";
}
} // namespace

bool loadWaveBuffer(const char* path, unsigned int buffer) {
    // The read returns no status of its own; only hand a buffer over when it really read one.
    ALenum format = 0;
    ALvoid* data = nullptr;
    ALsizei size = 0;
    ALsizei frequency = 0;
    ALboolean loop = AL_FALSE;
// ALUT marks its WAV calls deprecated, but they are the ones that report the file's loop flag.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    alutGetError();
    // ALUT takes the path as non-const bytes though it only reads them.
    alutLoadWAVFile(reinterpret_cast<ALbyte*>(const_cast<char*>(path)), &format, &data, &size,
                    &frequency, &loop);
    ALenum readError = alutGetError();
    bool playable = size > 0 && frequency > 0 && format != 0;
    if (data != nullptr) {
        // A wave with an empty data chunk still comes with an allocation to give back.
        if (playable)
            alBufferData(buffer, format, data, size, frequency);
        alutUnloadWAV(format, data, size, frequency);
    }
#pragma GCC diagnostic pop
    if (!playable)
        reportBrokenDataFile(path, unplayableReason(data != nullptr, readError));
    return playable;
}
