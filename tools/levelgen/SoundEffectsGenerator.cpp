// The race's sound effects, each a short mono wave at 22050 Hz (plenty for sounds without
// much air on top): the rolling loop, the thud of a landing, the falling tone of a lost life,
// the countdown's tick, the winner's arpeggio and the game-over phrase. Every one-shot starts
// from silence within a couple of milliseconds and fades to exactly zero, so starting or
// ending one never clicks; the rolling loop is built from parts that all repeat with it.
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

constexpr int sampleRate = 22050;
constexpr double twoPi = 6.283185307179586;

size_t sampleCount(double seconds) {
    return static_cast<size_t>(std::lround(seconds * sampleRate));
}

double timeOf(size_t i) {
    return static_cast<double>(i) / sampleRate;
}

double midiFrequency(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

float whiteNoise(size_t i, uint32_t seed) {
    return noise::unit(static_cast<int32_t>(i), 0, 0, seed) * 2.0f - 1.0f;
}

// The share of the way a one-pole low-pass moves toward its input each sample.
float lowPassShare(double cutoff) {
    return static_cast<float>(1.0 - std::exp(-twoPi * cutoff / sampleRate));
}

// Rises from zero over `attack`, then falls back to exactly zero at `length`.
double edges(double t, double attack, double length, double fade) {
    double in = std::min(1.0, t / attack);
    double out = std::clamp((length - t) / fade, 0.0, 1.0);
    return in * out;
}

// Two one-pole low-passes in a row, run twice around the loop: the second time round each
// filter starts from where the first lap left it, so the filtered noise at the loop's end
// leads into its start as any two neighbouring samples do.
std::vector<float> loopLowPass(const std::vector<float>& input, double cutoff) {
    const float share = lowPassShare(cutoff);
    std::vector<float> output(input.size());
    float first = 0.0f, second = 0.0f;
    for (int lap = 0; lap < 2; ++lap) {
        for (size_t i = 0; i < input.size(); ++i) {
            first += share * (input[i] - first);
            second += share * (first - second);
            output[i] = second;
        }
    }
    return output;
}

// A marble rolling on stone and grass: a low noise rumble, a little grit above it and a hum
// from the marble's own ring. Every periodic part makes a whole number of cycles in the
// loop's 1.6 s (multiples of 0.625 Hz), so the loop repeats without a seam.
std::vector<float> roll() {
    const size_t n = sampleCount(1.6);
    std::vector<float> white(n);
    for (size_t i = 0; i < n; ++i)
        white[i] = whiteNoise(i, 7001u);
    std::vector<float> rumble = loopLowPass(white, 220.0);
    std::vector<float> grit = loopLowPass(white, 900.0);
    std::vector<float> out(n);
    for (size_t i = 0; i < n; ++i) {
        double t = timeOf(i);
        // The ground passing under the marble swells the rumble a few times a second.
        double swell =
            1.0 + 0.25 * std::sin(twoPi * 5.0 * t + 0.7) + 0.15 * std::sin(twoPi * 1.875 * t + 2.1);
        double hum = (0.6 * std::sin(twoPi * 55.0 * t) + 0.25 * std::sin(twoPi * 110.0 * t)) *
                     (1.0 + 0.3 * std::sin(twoPi * 2.5 * t));
        double fine = grit[i] - rumble[i];
        out[i] = static_cast<float>(swell * (9.0 * rumble[i] + 0.8 * fine) + 0.12 * hum);
    }
    return out;
}

// A dull knock: a low body that drops in pitch as the marble settles, a wooden partial and a
// short burst of muffled noise for the contact itself.
std::vector<float> impact() {
    const double length = 0.35;
    const size_t n = sampleCount(length);
    const float share = lowPassShare(1800.0);
    std::vector<float> out(n);
    double phase = 0.0;
    float contact = 0.0f;
    for (size_t i = 0; i < n; ++i) {
        double t = timeOf(i);
        phase += (70.0 + 90.0 * std::exp(-t * 40.0)) / sampleRate;
        contact += share * (whiteNoise(i, 7103u) - contact);
        double body = std::sin(twoPi * phase) * std::exp(-t * 18.0) +
                      0.3 * std::sin(twoPi * 2.3 * phase) * std::exp(-t * 45.0);
        double v = body + 2.5 * contact * std::exp(-t * 90.0);
        out[i] = static_cast<float>(edges(t, 0.0015, length, 0.05) * v);
    }
    return out;
}

// A soft tone sliding down two and a half octaves with a slight waver, as a life slips away.
std::vector<float> lifeLost() {
    const double length = 1.0;
    const size_t n = sampleCount(length);
    std::vector<float> out(n);
    double phase = 0.0;
    for (size_t i = 0; i < n; ++i) {
        double t = timeOf(i);
        double f = 700.0 * std::pow(2.0, -2.5 * t) * (1.0 + 0.012 * std::sin(twoPi * 6.0 * t));
        phase += f / sampleRate;
        double v = std::sin(twoPi * phase) + 0.4 * std::sin(twoPi * 2.0 * phase) +
                   0.2 * std::sin(twoPi * 3.0 * phase);
        out[i] = static_cast<float>(edges(t, 0.01, length, 0.3) * std::exp(-t * 0.8) * v);
    }
    return out;
}

// A short, high blip that cuts through the music without sounding like an alarm.
std::vector<float> tick() {
    const double length = 0.07;
    const size_t n = sampleCount(length);
    std::vector<float> out(n);
    for (size_t i = 0; i < n; ++i) {
        double t = timeOf(i);
        double v = std::sin(twoPi * 1500.0 * t) + 0.3 * std::sin(twoPi * 3000.0 * t);
        out[i] = static_cast<float>(edges(t, 0.001, length, 0.02) * std::exp(-t * 70.0) * v);
    }
    return out;
}

// A struck bell from `start` to the end of the buffer: a little frequency modulation that
// fades gives the strike its brightness.
void addBell(std::vector<float>& out, int note, double start, double decay, float gain) {
    const double f = midiFrequency(note);
    const double length = timeOf(out.size());
    for (size_t i = sampleCount(start); i < out.size(); ++i) {
        double t = timeOf(i) - start;
        double v =
            std::sin(twoPi * f * t + 1.2 * std::exp(-t * 6.0) * std::sin(twoPi * 2.0 * f * t));
        double env = edges(t, 0.004, length - start, 0.25) * std::exp(-t * decay);
        out[i] += static_cast<float>(gain * env * v);
    }
}

// C major rising over two octaves, the top note ringing on with its octave above.
std::vector<float> win() {
    std::vector<float> out(sampleCount(1.6));
    const int notes[] = {72, 76, 79, 84, 88};
    for (int k = 0; k < 5; ++k)
        addBell(out, notes[k], 0.09 * k, k == 4 ? 2.0 : 4.0, 1.0f);
    addBell(out, 100, 0.36, 3.0, 0.25f);
    return out;
}

// G, F, E flat, then a long low C: a hollow, reedy voice (odd harmonics) stepping down.
std::vector<float> gameOver() {
    const double length = 2.3;
    std::vector<float> out(sampleCount(length));
    struct Step {
        int note;
        double start, hold;
    };
    const Step phrase[] = {{55, 0.0, 0.4}, {53, 0.4, 0.4}, {51, 0.8, 0.4}, {48, 1.2, 1.1}};
    for (const Step& s : phrase) {
        const double f = midiFrequency(s.note);
        for (size_t i = sampleCount(s.start); i < sampleCount(s.start + s.hold); ++i) {
            double t = timeOf(i) - s.start;
            double p = twoPi * f * t;
            double v = std::sin(p) + std::sin(3.0 * p) / 6.0 + std::sin(5.0 * p) / 15.0;
            double env = edges(t, 0.015, s.hold, 0.06) * std::exp(-t * 1.5);
            out[i] += static_cast<float>(env * v);
        }
    }
    return out;
}

} // namespace

void generateSoundEffects(const std::string& outDir) {
    struct Effect {
        const char* name;
        std::vector<float> (*make)();
    };
    const Effect effects[] = {{"roll", roll}, {"impact", impact}, {"life_lost", lifeLost},
                              {"tick", tick}, {"win", win},       {"game_over", gameOver}};
    for (const Effect& effect : effects) {
        std::string path = outDir + "/data/sound/" + effect.name + ".wav";
        reportWrite(path, writeWave(path, effect.make(), sampleRate, 0.8f));
    }
}
