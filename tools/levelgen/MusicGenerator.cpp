// The background loop: eight bars of soft pad chords, a bass line, a bell melody with an echo
// and gentle percussion, in C major at 96 beats a minute (20 s). Every sound that runs past the
// end of the loop is added back at its start, and the echo runs around the loop too, so the
// last sample leads into the first as any two neighbours do and the loop has no click.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "Generators.h"
#include "Image.h"
#include "Noise.h"
#include "WaveFile.h"

namespace {

constexpr int sampleRate = 44100;
constexpr double beat = 60.0 / 96.0;
constexpr int beatsPerBar = 4;
constexpr int bars = 8;
constexpr double loopSeconds = beat * beatsPerBar * bars;
constexpr double twoPi = 6.283185307179586;

double midiFrequency(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// One cycle of a soft, band-limited tone (harmonics falling off quickly), read by phase.
class Wavetable {
  public:
    explicit Wavetable(int harmonics, double falloff) : table(size + 1) {
        for (int i = 0; i <= size; ++i) {
            double phase = twoPi * i / size;
            double v = 0.0;
            for (int k = 1; k <= harmonics; ++k)
                v += std::sin(k * phase) / std::pow(k, falloff);
            table[i] = static_cast<float>(v);
        }
        float peak = *std::max_element(table.begin(), table.end());
        for (float& v : table)
            v /= peak;
    }
    float operator()(double cycles) const {
        double pos = (cycles - std::floor(cycles)) * size;
        int i = static_cast<int>(pos);
        float f = static_cast<float>(pos - i);
        return table[i] + (table[i + 1] - table[i]) * f;
    }

  private:
    static constexpr int size = 4096;
    std::vector<float> table;
};

// A mono mix buffer that wraps: whatever is written past the end lands at the start.
struct Track {
    std::vector<float> samples;
    explicit Track(size_t n) : samples(n, 0.0f) {}
    void add(long index, float value) {
        long n = static_cast<long>(samples.size());
        samples[static_cast<size_t>(((index % n) + n) % n)] += value;
    }
};

long toSample(double seconds) {
    return std::lround(seconds * sampleRate);
}

void padChord(Track& track, const Wavetable& wave, const int notes[3], double start) {
    const double length = beat * beatsPerBar, attack = 0.5, release = 1.2;
    long first = toSample(start), count = toSample(length + release);
    for (int n = 0; n < 3; ++n) {
        for (double detune : {-0.004, 0.0, 0.004}) {
            double f = midiFrequency(notes[n]) * (1.0 + detune);
            for (long i = 0; i < count; ++i) {
                double t = static_cast<double>(i) / sampleRate;
                double env = std::min(1.0, t / attack);
                if (t > length)
                    env *= 1.0 - (t - length) / release;
                track.add(first + i, static_cast<float>(0.028 * env * wave(f * t)));
            }
        }
    }
}

void bassNote(Track& track, int note, double start, double length) {
    double f = midiFrequency(note);
    long first = toSample(start), count = toSample(length + 0.3);
    for (long i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / sampleRate;
        double env = std::min(1.0, t / 0.01) * std::exp(-t * 1.4);
        if (t > length)
            env *= 1.0 - (t - length) / 0.3;
        double v = std::sin(twoPi * f * t) + 0.25 * std::sin(twoPi * 2.0 * f * t);
        track.add(first + i, static_cast<float>(0.22 * env * v));
    }
}

void bellNote(Track& track, int note, double start, double length) {
    double f = midiFrequency(note);
    const double tail = 0.6;
    long first = toSample(start), count = toSample(length + tail);
    for (long i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / sampleRate;
        double env = std::min(1.0, t / 0.006) * std::exp(-t * 2.2);
        if (t > length)
            env *= 1.0 - (t - length) / tail;
        // A little frequency modulation that fades gives the strike its brightness.
        double v =
            std::sin(twoPi * f * t + 1.2 * std::exp(-t * 6.0) * std::sin(twoPi * 2.0 * f * t));
        track.add(first + i, static_cast<float>(0.16 * env * v));
    }
}

void kick(Track& track, double start) {
    double phase = 0.0;
    long first = toSample(start), count = toSample(0.35);
    for (long i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / sampleRate;
        phase += (45.0 + 70.0 * std::exp(-t * 30.0)) / sampleRate;
        double env = std::min(1.0, t / 0.002) * std::exp(-t * 11.0) * (1.0 - t / 0.35);
        track.add(first + i, static_cast<float>(0.32 * env * std::sin(twoPi * phase)));
    }
}

// Short noise bursts: a shaker for the off-beats, a soft snare for beats two and four.
void noiseHit(Track& track, double start, double decay, float gain, uint32_t seed) {
    long first = toSample(start), count = toSample(6.0 / decay);
    float previous = 0.0f;
    for (long i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / sampleRate;
        float white = noise::unit(static_cast<int32_t>(i), 0, 0, seed) * 2.0f - 1.0f;
        float bright = white - previous; // a first difference keeps only the hiss
        previous = white;
        double env = std::min(1.0, t / 0.002) * std::exp(-t * decay) * (1.0 - t * decay / 6.0);
        track.add(first + i, static_cast<float>(gain * env * bright));
    }
}

// A feedback echo around the loop: y[n] = x[n] + g * y[n - d], wrapped; a few passes settle
// it because g^passes is negligible.
void loopEcho(std::vector<float>& samples, double delaySeconds, float feedback) {
    const std::vector<float> dry = samples;
    long n = static_cast<long>(samples.size()), d = toSample(delaySeconds);
    for (int pass = 0; pass < 6; ++pass)
        for (long i = 0; i < n; ++i)
            samples[i] = dry[i] + feedback * samples[((i - d) % n + n) % n];
}

struct MelodyNote {
    double beat;
    double length;
    int note;
};

std::vector<float> compose() {
    const size_t n = static_cast<size_t>(toSample(loopSeconds));
    Track music(n), melody(n);
    Wavetable pad(8, 1.6);
    const int chords[bars][3] = {{60, 64, 67}, {57, 60, 64}, {57, 60, 65}, {55, 59, 62},
                                 {60, 64, 67}, {55, 59, 64}, {57, 60, 65}, {55, 59, 62}};
    const int roots[bars] = {48, 45, 41, 43, 48, 40, 41, 43};
    for (int bar = 0; bar < bars; ++bar) {
        double start = bar * beatsPerBar * beat;
        padChord(music, pad, chords[bar], start);
        bassNote(music, roots[bar], start, 1.8 * beat);
        bassNote(music, roots[bar] + (bar % 2 == 0 ? 7 : 12), start + 2.5 * beat, 1.2 * beat);
        for (int b = 0; b < beatsPerBar; ++b) {
            double at = start + b * beat;
            if (b % 2 == 0)
                kick(music, at);
            else
                noiseHit(music, at, 22.0, 0.05f, 503u + bar * 4 + b);
            noiseHit(music, at + 0.5 * beat, 45.0, 0.025f, 601u + bar * 4 + b);
        }
    }
    const MelodyNote tune[] = {
        {0, 1, 76},      {1, 1, 79},    {2, 1, 81},  {3, 1, 79},  {4, 1.5, 76}, {5.5, 0.5, 74},
        {6, 2, 72},      {8, 1, 69},    {9, 1, 72},  {10, 1, 74}, {11, 1, 77},  {12, 2, 76},
        {14, 2, 74},     {16, 1, 79},   {17, 1, 76}, {18, 1, 79}, {19, 1, 84},  {20, 1.5, 83},
        {21.5, 0.5, 81}, {22, 2, 79},   {24, 1, 81}, {25, 1, 79}, {26, 1, 77},  {27, 1, 76},
        {28, 2, 74},     {30, 1.5, 71},
    };
    for (const MelodyNote& m : tune)
        bellNote(melody, m.note, m.beat * beat, m.length * beat);
    loopEcho(melody.samples, 0.75 * beat, 0.3f);
    for (size_t i = 0; i < n; ++i)
        music.samples[i] += melody.samples[i];
    return music.samples;
}

} // namespace

void generateMusic(const std::string& outDir) {
    std::string path = outDir + "/data/background.wav";
    reportWrite(path, writeWave(path, compose(), sampleRate, 0.8f));
}
