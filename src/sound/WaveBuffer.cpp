#include "sound/WaveBuffer.h"

#include <AL/al.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/DataFileReport.h"
#include "sound/WaveData.h"

namespace {

// OpenAL takes 8- and 16-bit samples, mono or stereo; 0 for anything else.
ALenum formatOf(const WaveData& wave) {
    if (wave.channels == 1 && wave.bitsPerSample == 8)
        return AL_FORMAT_MONO8;
    if (wave.channels == 1 && wave.bitsPerSample == 16)
        return AL_FORMAT_MONO16;
    if (wave.channels == 2 && wave.bitsPerSample == 8)
        return AL_FORMAT_STEREO8;
    if (wave.channels == 2 && wave.bitsPerSample == 16)
        return AL_FORMAT_STEREO16;
    return 0;
}

// What keeps a wave from the buffer, or null when nothing; a missing or unreadable file is
// named as such by the report anyway.
const char* unplayableReason(const WaveData& wave) {
    if (wave.problem == WaveData::Problem::Truncated)
        return "truncated wave file";
    if (wave.problem == WaveData::Problem::NotAWave || formatOf(wave) == 0)
        return "not a wave file";
    // OpenAL counts the bytes in a signed int.
    if (wave.samples.empty() || wave.samples.size() > 0x7fffffffu || wave.frequency <= 0)
        return "wave file without samples";
    return nullptr;
}

} // namespace

bool loadWaveBuffer(const char* path, unsigned int buffer) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const WaveData wave = readWave(bytes);
    if (const char* reason = unplayableReason(wave)) {
        reportBrokenDataFile(path, reason);
        return false;
    }
    alBufferData(buffer, formatOf(wave), wave.samples.data(),
                 static_cast<ALsizei>(wave.samples.size()), wave.frequency);
    return true;
}
