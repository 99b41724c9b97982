#include <gtest/gtest.h>

#include <string>

#include "sound/WaveData.h"

namespace {

std::string little(unsigned value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i)
        text.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
    return text;
}

std::string chunk(const std::string& name, const std::string& body) {
    return name + little(static_cast<unsigned>(body.size()), 4) + body;
}

std::string format(int encoding, int channels, int rate, int bits) {
    const int frame = channels * bits / 8;
    return chunk("fmt ", little(encoding, 2) + little(channels, 2) + little(rate, 4) +
                             little(rate * frame, 4) + little(frame, 2) + little(bits, 2));
}

std::string riff(const std::string& kind, const std::string& chunks) {
    return "RIFF" + little(static_cast<unsigned>(4 + chunks.size()), 4) + kind + chunks;
}

TEST(WaveData, ReadsWhatAlutReadAndNamesWhatItRefusedTheSameWay) {
    using Problem = WaveData::Problem;
    const std::string four = "\x01\x02\x03\x04";
    const std::string mono16 = format(1, 1, 22050, 16);
    const struct {
        const char* label;
        std::string bytes;
        Problem problem;
        int channels;
        std::string samples;
    } rows[] = {
        {"16-bit mono", riff("WAVE", mono16 + chunk("data", four)), Problem::None, 1, four},
        {"8-bit stereo after an odd, padded chunk",
         riff("WAVE", chunk("LIST", "abc") + '\0' + format(1, 2, 8000, 8) + chunk("data", four)),
         Problem::None, 2, four},
        {"odd samples at the very end", riff("WAVE", mono16 + chunk("data", "\x05")), Problem::None,
         1, "\x05"},
        {"samples before their format", riff("WAVE", chunk("data", four) + mono16),
         Problem::Truncated, 0, ""},
        {"no samples chunk", riff("WAVE", mono16), Problem::Truncated, 0, ""},
        {"cut inside the samples", riff("WAVE", mono16 + chunk("data", four)).substr(0, 46),
         Problem::Truncated, 0, ""},
        {"format chunk too short", riff("WAVE", chunk("fmt ", "\x01\0\x01\0")), Problem::Truncated,
         0, ""},
        {"floating-point samples", riff("WAVE", format(3, 1, 22050, 32) + chunk("data", four)),
         Problem::NotAWave, 0, ""},
        {"a RIFF that is no wave", riff("AVI ", chunk("data", four)), Problem::NotAWave, 0, ""},
        {"no RIFF at all", "OggS and then some", Problem::NotAWave, 0, ""},
        {"three bytes", "RIF", Problem::Truncated, 0, ""},
        {"nothing", "", Problem::Truncated, 0, ""},
    };
    for (const auto& row : rows) {
        const WaveData wave = readWave(row.bytes);
        EXPECT_EQ(wave.problem, row.problem) << row.label;
        if (row.problem == Problem::None) {
            EXPECT_EQ(wave.channels, row.channels) << row.label;
            EXPECT_EQ(std::string(wave.samples), row.samples) << row.label;
        }
    }
}

} // namespace
