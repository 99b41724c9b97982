// Feeds arbitrary bytes to the wave reader as a sound file: chunk lengths from a hostile file
// must never take it outside the bytes it was given.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sound/WaveData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const WaveData wave = readWave(bytes);
    // Every sample handed on lies within the file.
    if (!wave.samples.empty() &&
        (wave.samples.data() < bytes.data() ||
         wave.samples.data() + wave.samples.size() > bytes.data() + bytes.size()))
        __builtin_trap();
    return 0;
}
