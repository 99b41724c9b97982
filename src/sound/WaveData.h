#pragma once

#include <string_view>

// The samples of a RIFF wave file and how to play them, read the way ALUT read them for the
// game before: uncompressed PCM, chunks in any order so long as "fmt " comes before "data",
// odd chunks padded to even, the RIFF length not trusted. No OpenAL here, so the fuzzer and
// the browser read it alike.
struct WaveData {
    enum class Problem {
        None,
        NotAWave,  // no RIFF WAVE, or samples other than PCM
        Truncated, // the file ends inside a chunk or before its data, or data comes first
    };
    Problem problem = Problem::None;
    int channels = 0;
    int bitsPerSample = 0;
    int frequency = 0;        // as the file gives it, which may be 0 or out of range
    std::string_view samples; // the data chunk, within the bytes read
};

WaveData readWave(std::string_view bytes);
