// Every generated wave: plain 16-bit PCM of a length that fits its use, not silent and not
// clipped. The loops (the music, the rolling marble) run from their last sample into their
// first without a click; the one-shots start and end in silence, so neither start nor end
// clicks however often the game plays them.
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

struct WaveUse {
    const char* path;
    double shortest, longest; // seconds
    bool loops;
};

// A tick must be over well before the next second's; a knock longer than half a second would
// blur a run of landings; the rolling loop is long enough not to be heard as a pattern.
const WaveUse waves[] = {
    {"data/background.wav", 10.0, 30.0, true},     {"data/sound/roll.wav", 1.0, 2.0, true},
    {"data/sound/impact.wav", 0.05, 0.5, false},   {"data/sound/life_lost.wav", 0.3, 2.0, false},
    {"data/sound/tick.wav", 0.02, 0.2, false},     {"data/sound/win.wav", 0.5, 3.0, false},
    {"data/sound/game_over.wav", 0.5, 4.0, false},
};

double rms(const std::vector<int16_t>& samples, size_t from, size_t to) {
    double energy = 0.0;
    for (size_t i = from; i < to; ++i)
        energy += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(energy / static_cast<double>(std::max<size_t>(1, to - from)));
}

TEST(GeneratedWaves, AreSixteenBitPcmOfTheirLength) {
    for (const WaveUse& use : waves) {
        SCOPED_TRACE(use.path);
        Wav w = readWav(use.path);
        ASSERT_TRUE(w.ok);
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.bits, 16);
        EXPECT_TRUE(w.channels == 1 || w.channels == 2);
        EXPECT_TRUE(w.rate == 22050 || w.rate == 44100);
        ASSERT_GT(w.channels, 0);
        double seconds = static_cast<double>(w.samples.size()) / w.channels / w.rate;
        EXPECT_GE(seconds, use.shortest);
        EXPECT_LE(seconds, use.longest);
    }
}

TEST(GeneratedWaves, AreAudibleAndDoNotClip) {
    for (const WaveUse& use : waves) {
        SCOPED_TRACE(use.path);
        Wav w = readWav(use.path);
        ASSERT_TRUE(w.ok);
        ASSERT_FALSE(w.samples.empty());
        int peak = 0;
        for (int16_t s : w.samples)
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_GT(rms(w.samples, 0, w.samples.size()), 1500.0);
        EXPECT_LT(peak, 32000);
        if (!use.loops)
            continue;
        // Every second has sound in it: a loop does not stop and restart within itself.
        size_t second = static_cast<size_t>(w.rate) * w.channels;
        for (size_t from = 0; from + second <= w.samples.size(); from += second)
            EXPECT_GT(rms(w.samples, from, from + second), 500.0) << "second " << from / second;
    }
}

TEST(GeneratedWaves, LoopWithoutAClickAndOneShotsStartAndEndInSilence) {
    for (const WaveUse& use : waves) {
        SCOPED_TRACE(use.path);
        Wav w = readWav(use.path);
        ASSERT_TRUE(w.ok);
        const size_t ch = w.channels, frames = w.samples.size() / ch;
        ASSERT_GT(frames, 2u);
        for (size_t c = 0; c < ch; ++c) {
            int first = w.samples[c], last = w.samples[(frames - 1) * ch + c];
            if (!use.loops) {
                EXPECT_LT(std::max(std::abs(first), std::abs(last)), 330) << "a click at an end";
                continue;
            }
            // A seam heard as a click is a step the sound itself almost never makes.
            std::vector<int> steps;
            for (size_t i = 1; i < frames; ++i)
                steps.push_back(std::abs(w.samples[i * ch + c] - w.samples[(i - 1) * ch + c]));
            std::sort(steps.begin(), steps.end());
            int typical = steps[steps.size() * 99 / 100];
            EXPECT_LE(std::abs(first - last), typical) << "channel " << c;
        }
    }
}

} // namespace
