#include "sound/WaveData.h"

#include <cstdint>

namespace {

// A cursor over the file; a read past the end marks the file truncated and yields 0.
class ByteCursor {
  public:
    explicit ByteCursor(std::string_view bytes) : bytes(bytes) {}

    std::uint32_t little(int count) {
        std::uint32_t value = 0;
        if (!has(static_cast<std::size_t>(count)))
            return 0;
        for (int i = 0; i < count; ++i)
            value |= std::uint32_t(static_cast<unsigned char>(bytes[at++])) << (8 * i);
        return value;
    }
    std::string_view take(std::size_t count) {
        if (!has(count))
            return {};
        std::string_view part = bytes.substr(at, count);
        at += count;
        return part;
    }
    void skip(std::size_t count) { take(count); }
    bool truncated() const { return ranOut; }
    bool atEnd() const { return at == bytes.size(); }

  private:
    bool has(std::size_t count) {
        ranOut = ranOut || bytes.size() - at < count;
        return !ranOut;
    }

    std::string_view bytes;
    std::size_t at = 0;
    bool ranOut = false;
};

constexpr std::uint32_t tag(const char (&name)[5]) {
    return std::uint32_t(static_cast<unsigned char>(name[0])) |
           std::uint32_t(static_cast<unsigned char>(name[1])) << 8 |
           std::uint32_t(static_cast<unsigned char>(name[2])) << 16 |
           std::uint32_t(static_cast<unsigned char>(name[3])) << 24;
}

WaveData failed(WaveData::Problem problem) {
    WaveData wave;
    wave.problem = problem;
    return wave;
}

// The 16 bytes every format chunk starts with; false when the samples are not PCM.
bool readFormat(ByteCursor& in, std::uint32_t length, WaveData& wave) {
    const std::uint32_t encoding = in.little(2);
    wave.channels = static_cast<int>(in.little(2));
    wave.frequency = static_cast<int>(in.little(4));
    in.little(4); // bytes a second
    in.little(2); // bytes a frame
    wave.bitsPerSample = static_cast<int>(in.little(2));
    in.skip(length - 16);
    return in.truncated() || encoding == 1;
}

} // namespace

WaveData readWave(std::string_view bytes) {
    ByteCursor in(bytes);
    const std::uint32_t riff = in.little(4);
    if (!in.truncated() && riff != tag("RIFF"))
        return failed(WaveData::Problem::NotAWave);
    in.little(4); // the RIFF length, often wrong in the wild
    const std::uint32_t wave = in.little(4);
    if (in.truncated())
        return failed(WaveData::Problem::Truncated);
    if (wave != tag("WAVE"))
        return failed(WaveData::Problem::NotAWave);

    WaveData read;
    bool formatSeen = false;
    while (true) {
        const std::uint32_t chunk = in.little(4);
        const std::uint32_t length = in.little(4);
        if (in.truncated())
            return failed(WaveData::Problem::Truncated);
        if (chunk == tag("fmt ")) {
            if (length < 16)
                return failed(WaveData::Problem::Truncated);
            if (!readFormat(in, length, read))
                return failed(WaveData::Problem::NotAWave);
            formatSeen = true;
        } else if (chunk == tag("data")) {
            read.samples = in.take(length);
            if (!formatSeen || in.truncated())
                return failed(WaveData::Problem::Truncated);
            return read;
        } else {
            in.skip(length);
        }
        // A chunk of odd length is followed by one byte of padding.
        if ((length & 1u) != 0 && !in.atEnd())
            in.skip(1);
        if (in.truncated())
            return failed(WaveData::Problem::Truncated);
    }
}
