#include "SoundCapture.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace {

void put16(std::ofstream& out, uint16_t v) {
    out.write(reinterpret_cast<const char*>(&v), 2);
}
void put32(std::ofstream& out, uint32_t v) {
    out.write(reinterpret_cast<const char*>(&v), 4);
}

} // namespace

void writeTone(const std::string& path, size_t sampleCount) {
    const uint32_t rate = 22050;
    std::vector<int16_t> samples(sampleCount);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(12000.0 * std::sin(2.0 * M_PI * 440.0 * i / rate));
    std::ofstream out(path, std::ios::binary);
    uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);
    put16(out, 1);
    put32(out, rate);
    put32(out, rate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, bytes);
    out.write(reinterpret_cast<const char*>(samples.data()), bytes);
}

std::vector<int16_t> captureChild(const std::string& folder, const std::string& childFilter) {
    const std::string captured = folder + "/out.wav";
    // Without dither, silence comes out as zeros.
    std::ofstream(folder + "/alsoft.conf")
        << "[general]\nsample-type = int16\ndither = false\n[wave]\nfile = " << captured << "\n";
    std::string command = "ALSOFT_CONF='" + folder + "/alsoft.conf' ALSOFT_DRIVERS=wave " +
                          "QUILLORB_CAPTURE_DIR='" + folder + "' /proc/" +
                          std::to_string(getpid()) + "/exe --gtest_filter='" + childFilter +
                          "' >/dev/null 2>&1";
    std::vector<int16_t> samples;
    if (std::system(command.c_str()) != 0)
        return samples;
    std::ifstream in(captured, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The samples follow the data chunk's header; every chunk before it is skipped by its size.
    size_t at = 12;
    while (at + 8 <= bytes.size() && std::string(&bytes[at], 4) != "data")
        at += 8 + (static_cast<uint8_t>(bytes[at + 4]) | static_cast<uint8_t>(bytes[at + 5]) << 8);
    for (size_t i = at + 8; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<int16_t>((static_cast<uint8_t>(bytes[i + 1]) << 8) |
                                               static_cast<uint8_t>(bytes[i])));
    return samples;
}
