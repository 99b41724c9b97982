// The background loop: a plain 16-bit PCM WAV of 10 to 30 seconds that is not silent, does not
// clip and runs from its last sample into its first without a click.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ArtFiles.h"

namespace {

uint32_t le32(const std::vector<unsigned char>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t le16(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

struct Wav {
    uint16_t format = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
    std::vector<int16_t> samples; // interleaved
    bool ok = false;
};

Wav readWav(const std::string& path) {
    Wav w;
    std::vector<unsigned char> b = readBytes(path);
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return w;
    bool haveFormat = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        std::string id(b.begin() + at, b.begin() + at + 4);
        uint32_t size = le32(b, at + 4);
        size_t body = at + 8;
        if (body + size > b.size())
            return w;
        if (id == "fmt " && size >= 16) {
            w.format = le16(b, body);
            w.channels = le16(b, body + 2);
            w.rate = le32(b, body + 4);
            w.bits = le16(b, body + 14);
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            for (size_t i = 0; i + 1 < size; i += 2)
                w.samples.push_back(static_cast<int16_t>(le16(b, body + i)));
            w.ok = true;
        }
        at = body + size + (size & 1);
    }
    return w;
}

TEST(BackgroundWav, IsSixteenBitPcmOfTenToThirtySeconds) {
    Wav w = readWav("data/background.wav");
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.bits, 16);
    EXPECT_TRUE(w.channels == 1 || w.channels == 2);
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100);
    ASSERT_GT(w.channels, 0);
    double seconds = static_cast<double>(w.samples.size()) / w.channels / w.rate;
    EXPECT_GE(seconds, 10.0);
    EXPECT_LE(seconds, 30.0);
}

TEST(BackgroundWav, IsAudibleAndDoesNotClip) {
    Wav w = readWav("data/background.wav");
    ASSERT_TRUE(w.ok);
    ASSERT_FALSE(w.samples.empty());
    double energy = 0.0;
    int peak = 0;
    for (int16_t s : w.samples) {
        energy += static_cast<double>(s) * s;
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    double rms = std::sqrt(energy / w.samples.size());
    EXPECT_GT(rms, 1500.0);
    EXPECT_LT(peak, 32000);
    // Every second has sound in it: the music does not stop and restart within the loop.
    size_t second = static_cast<size_t>(w.rate) * w.channels;
    for (size_t from = 0; from + second <= w.samples.size(); from += second) {
        double e = 0.0;
        for (size_t i = from; i < from + second; ++i)
            e += static_cast<double>(w.samples[i]) * w.samples[i];
        EXPECT_GT(std::sqrt(e / second), 500.0) << "second " << from / second;
    }
}

TEST(BackgroundWav, LoopsWithoutAClick) {
    Wav w = readWav("data/background.wav");
    ASSERT_TRUE(w.ok);
    const size_t ch = w.channels, frames = w.samples.size() / ch;
    ASSERT_GT(frames, 2u);
    for (size_t c = 0; c < ch; ++c) {
        std::vector<int> steps;
        for (size_t i = 1; i < frames; ++i)
            steps.push_back(std::abs(w.samples[i * ch + c] - w.samples[(i - 1) * ch + c]));
        std::sort(steps.begin(), steps.end());
        int typical = steps[steps.size() * 95 / 100];
        int wrap = std::abs(w.samples[c] - w.samples[(frames - 1) * ch + c]);
        EXPECT_LE(wrap, typical) << "channel " << c << ", typical step " << typical;
    }
}

} // namespace
