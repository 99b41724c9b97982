#include <gtest/gtest.h>

#include <AL/al.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "PrintedOutput.h"
#include "ReadFile.h"
#include "ScopedWorkingDirectory.h"
#include "TestFiles.h"
#include "platform/DataFileReport.h"
#include "sound/BackgroundMusic.h"
#include "sound/SoundEffects.h"
#include "sound/SoundFade.h"

namespace fs = std::filesystem;

namespace {

void put16(std::ofstream& out, uint16_t v) {
    out.write(reinterpret_cast<const char*>(&v), 2);
}
void put32(std::ofstream& out, uint32_t v) {
    out.write(reinterpret_cast<const char*>(&v), 4);
}

// A 440 Hz mono tone, 16-bit PCM, half a second long unless told otherwise.
void writeTone(const std::string& path, size_t sampleCount = 22050 / 2) {
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

// OpenAL reads its configuration once per process, so what is played is captured in a child:
// this test program again, running only the tests `childFilter` picks, in `folder` (named to it
// as $QUILLORB_CAPTURE_DIR), with OpenAL's wave backend writing 16-bit samples to
// folder/out.wav. Returns those samples, channels interleaved; empty when nothing was written.
std::vector<int16_t> captureChild(const fs::path& folder, const std::string& childFilter) {
    const std::string captured = (folder / "out.wav").string();
    // Without dither, silence comes out as zeros.
    std::ofstream(folder / "alsoft.conf")
        << "[general]\nsample-type = int16\ndither = false\n[wave]\nfile = " << captured << "\n";
    std::string command = "ALSOFT_CONF='" + (folder / "alsoft.conf").string() +
                          "' ALSOFT_DRIVERS=wave QUILLORB_CAPTURE_DIR='" + folder.string() +
                          "' /proc/" + std::to_string(getpid()) + "/exe --gtest_filter='" +
                          childFilter + "' >/dev/null 2>&1";
    std::vector<int16_t> samples;
    if (std::system(command.c_str()) != 0)
        return samples;
    std::string bytes = readFile(captured);
    // The samples follow the data chunk's header; every chunk before it is skipped by its size.
    size_t at = 12;
    while (at + 8 <= bytes.size() && bytes.compare(at, 4, "data") != 0)
        at += 8 + (static_cast<uint8_t>(bytes[at + 4]) | static_cast<uint8_t>(bytes[at + 5]) << 8);
    for (size_t i = at + 8; i + 1 < bytes.size(); i += 2)
        samples.push_back(static_cast<int16_t>((static_cast<uint8_t>(bytes[i + 1]) << 8) |
                                               static_cast<uint8_t>(bytes[i])));
    return samples;
}

// Each test runs in its own folder, since the music and the effects are read from fixed
// relative paths.
class BackgroundMusicTest : public testing::Test {
  protected:
    void SetUp() override {
        folder =
            fs::path(scratchDir()) / testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(folder / "data/sound");
        inFolder.emplace(folder);
        setenv("ALSOFT_DRIVERS", "null", 1);
    }

    fs::path folder;
    std::optional<ScopedWorkingDirectory> inFolder;
};
using SoundEffectsTest = BackgroundMusicTest;

TEST_F(BackgroundMusicTest, PlaysTheLoopForeverWhateverTheFileSays) {
    writeTone("data/background.wav");
    BackgroundMusic music;
    music.start();
    ALuint source = music.getSource();
    ASSERT_TRUE(alIsSource(source));
    ALint looping = 0;
    ALint buffer = 0;
    ALint state = 0;
    alGetSourcei(source, AL_LOOPING, &looping);
    alGetSourcei(source, AL_BUFFER, &buffer);
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    EXPECT_EQ(looping, AL_TRUE);
    EXPECT_EQ(static_cast<ALuint>(buffer), music.getBuffer());
    EXPECT_EQ(state, AL_PLAYING);
    ALint size = 0;
    alGetBufferi(music.getBuffer(), AL_SIZE, &size);
    EXPECT_EQ(size, 22050);
    ALfloat orientation[6] = {};
    alGetListenerfv(AL_ORIENTATION, orientation);
    EXPECT_FLOAT_EQ(orientation[2], -1.0f);
    EXPECT_FLOAT_EQ(orientation[4], 1.0f);
    music.release();
    EXPECT_EQ(music.getSource(), 0u);
}

TEST_F(BackgroundMusicTest, AMissingOrBrokenFileLeavesTheGameSilentAndIsNamedOnce) {
    forgetReportedDataFiles();
    capturePrinted();
    {
        BackgroundMusic music;
        music.start();
        ALint size = -1;
        alGetBufferi(music.getBuffer(), AL_SIZE, &size);
        EXPECT_EQ(size, 0);
        music.release();
    }
    // Started again within the same run, the same file is not named again.
    {
        BackgroundMusic music;
        music.start();
        music.release();
    }
    std::string missing = takePrinted();
    EXPECT_EQ(missing, "Data file \"data/background.wav\": missing\n");

    // Each damage is named in its own words (every case counts as a fresh run here).
    struct Damage {
        std::string content;
        const char* line;
    };
    writeTone("data/background.wav");
    std::string tone = readFile("data/background.wav");
    const Damage damages[] = {
        {"RIFF but not really a wave file", "Data file \"data/background.wav\": not a wave file\n"},
        {tone.substr(0, tone.size() / 2),
         "Data file \"data/background.wav\": truncated wave file\n"},
    };
    for (const Damage& damage : damages) {
        forgetReportedDataFiles();
        std::ofstream("data/background.wav", std::ios::binary) << damage.content;
        capturePrinted();
        BackgroundMusic music;
        music.start();
        ALint size = -1;
        alGetBufferi(music.getBuffer(), AL_SIZE, &size);
        EXPECT_EQ(size, 0);
        music.release();
        EXPECT_EQ(takePrinted(), damage.line);
    }

    // A well-formed wave without samples: nothing to play, and its empty read is given back.
    forgetReportedDataFiles();
    writeTone("data/background.wav", 0);
    capturePrinted();
    {
        BackgroundMusic music;
        music.start();
        ALint size = -1;
        alGetBufferi(music.getBuffer(), AL_SIZE, &size);
        EXPECT_EQ(size, 0);
        music.release();
    }
    EXPECT_EQ(takePrinted(), "Data file \"data/background.wav\": wave file without samples\n");
}

// OpenAL reads its configuration once per process, so the capture runs in a child process
// of this test program with the wave backend configured from the start.
TEST(BackgroundMusicCapture, ChildPlaysIntoTheWaveBackend) {
    const char* folder = std::getenv("QUILLORB_CAPTURE_DIR");
    if (!folder)
        GTEST_SKIP() << "runs only as the capture child";
    fs::current_path(folder);
    BackgroundMusic music;
    music.start();
    // The wave backend mixes in real time; over a second it passes the tone's end and loops.
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    music.release();
}

TEST_F(BackgroundMusicTest, TheLoopReachesTheOutput) {
    writeTone("data/background.wav");
    std::vector<int16_t> samples = captureChild(folder, "BackgroundMusicCapture.*");
    ASSERT_GT(samples.size(), 2000u) << "the wave backend wrote nothing";
    // The output must carry sound, including in its second half.
    int loud = 0;
    for (size_t i = samples.size() / 2; i < samples.size(); ++i)
        loud += std::abs(samples[i]) > 2000;
    EXPECT_GT(loud, 100);
}

// Each effect's source state, in the order of SoundEffects::Effect.
std::vector<ALint> states(const SoundEffects& effects) {
    std::vector<ALint> all(SoundEffects::effectCount);
    for (int e = 0; e < SoundEffects::effectCount; ++e)
        alGetSourcei(effects.getSource(SoundEffects::Effect(e)), AL_SOURCE_STATE, &all[e]);
    return all;
}

TEST_F(SoundEffectsTest, AMissingFileIsNamedOnceTheOthersPlayAndAllHoldInAPause) {
    for (const char* name : {"roll", "life_lost", "tick", "win", "game_over"})
        writeTone(std::string("data/sound/") + name + ".wav");
    forgetReportedDataFiles();
    capturePrinted();
    SoundEffects effects;
    effects.start();
    effects.setRolling(1.0f);
    for (auto cue : {SoundCue::Kind::Impact, SoundCue::Kind::LifeLost, SoundCue::Kind::Tick,
                     SoundCue::Kind::Win, SoundCue::Kind::GameOver})
        effects.play({cue});
    EXPECT_EQ(takePrinted(), "Data file \"data/sound/impact.wav\": missing\n");
    // Roll, impact, life lost, tick, win, game over.
    const ALint on = AL_PLAYING, held = AL_PAUSED, unheard = AL_INITIAL;
    EXPECT_EQ(states(effects), std::vector<ALint>({on, unheard, on, on, on, on}));
    effects.pause();
    effects.tick();
    EXPECT_EQ(states(effects), std::vector<ALint>({held, unheard, held, held, held, held}));
    effects.resume();
    EXPECT_EQ(states(effects), std::vector<ALint>({on, unheard, on, on, on, on}));
    effects.release();
}

// The child of the capture below: at rest, rolling fast, at rest again, without music.
TEST(SoundEffectsCapture, ChildRestsRollsAndRests) {
    const char* folder = std::getenv("QUILLORB_CAPTURE_DIR");
    if (!folder)
        GTEST_SKIP() << "runs only as the capture child";
    std::filesystem::current_path(folder);
    SoundEffects effects;
    effects.start();
    for (float level : {0.0f, 1.0f, 0.0f}) {
        effects.setRolling(level);
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
    }
    effects.release();
}

TEST_F(SoundEffectsTest, RollingIsHeardAndRestIsSilent) {
    writeTone("data/sound/roll.wav");
    std::vector<int16_t> out = captureChild(folder, "SoundEffectsCapture.*");
    ASSERT_GT(out.size(), 20000u) << "the wave backend wrote nothing";
    auto loudest = [&](double from, double to) {
        int peak = 0;
        for (size_t i = static_cast<size_t>(from * out.size()); i < to * out.size(); ++i)
            peak = std::max(peak, std::abs(static_cast<int>(out[i])));
        return peak;
    };
    EXPECT_LT(loudest(0.0, 0.2), 50) << "before the marble moves";
    EXPECT_GT(loudest(0.4, 0.6), 2000) << "while it rolls";
    EXPECT_LT(loudest(0.8, 1.0), 50) << "after it stopped";
}

} // namespace

// A pause does not cut the sound, which clicks: it fades it out over a few milliseconds of the
// clock it is handed, holds it once silent, and brings it back the same way.
TEST_F(BackgroundMusicTest, APauseFadesTheSoundOutThenHoldsItAndFadesItBackIn) {
    writeTone("data/background.wav");
    BackgroundMusic music;
    music.start();
    auto listenerGain = [] {
        ALfloat gain = -1.0f;
        alGetListenerf(AL_GAIN, &gain);
        return gain;
    };
    auto state = [&music] {
        ALint value = 0;
        alGetSourcei(music.getSource(), AL_SOURCE_STATE, &value);
        return value;
    };
    SoundFade fade;
    fade.fadeOut(10.0);
    fade.advance(10.0, &music, nullptr);
    EXPECT_FLOAT_EQ(listenerGain(), 1.0f);
    fade.advance(10.0 + SoundFade::seconds / 2.0, &music, nullptr);
    EXPECT_GT(listenerGain(), 0.1f);
    EXPECT_LT(listenerGain(), 0.9f);
    EXPECT_EQ(state(), AL_PLAYING) << "still heard while it fades";
    fade.advance(10.0 + SoundFade::seconds, &music, nullptr);
    EXPECT_FLOAT_EQ(listenerGain(), 0.0f);
    EXPECT_EQ(state(), AL_PAUSED);

    fade.fadeIn(20.0, &music, nullptr);
    EXPECT_EQ(state(), AL_PLAYING);
    EXPECT_FLOAT_EQ(listenerGain(), 0.0f) << "it comes back from silence";
    fade.advance(20.0 + SoundFade::seconds, &music, nullptr);
    EXPECT_FLOAT_EQ(listenerGain(), 1.0f);
    music.release();
}
