#include "WaveFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

#include "Image.h"

namespace {

void put16(std::ofstream& out, uint16_t v) {
    out.put(static_cast<char>(v & 0xFF));
    out.put(static_cast<char>(v >> 8));
}

void put32(std::ofstream& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xFFFF));
    put16(out, static_cast<uint16_t>(v >> 16));
}

} // namespace

bool writeWave(const std::string& path, const std::vector<float>& samples, int sampleRate,
               float peak) {
    float loudest = 1e-6f;
    for (float s : samples)
        loudest = std::max(loudest, std::abs(s));
    const float gain = peak / loudest;
    const uint32_t rate = static_cast<uint32_t>(sampleRate);
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    makeParentFolders(path);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16); // size of the format chunk
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, rate);
    put32(out, rate * 2); // bytes a second
    put16(out, 2);        // bytes a frame
    put16(out, 16);       // bits a sample
    out.write("data", 4);
    put32(out, dataBytes);
    for (float s : samples)
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(s * gain * 32767.0f))));
    return static_cast<bool>(out);
}
