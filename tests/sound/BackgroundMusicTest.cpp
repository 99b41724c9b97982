#include <gtest/gtest.h>

#include <AL/al.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "TestFiles.h"
#include "platform/DataFileReport.h"
#include "sound/BackgroundMusic.h"

namespace fs = std::filesystem;

namespace {

void put16(std::ofstream& out, uint16_t v) {
    out.write(reinterpret_cast<const char*>(&v), 2);
}
void put32(std::ofstream& out, uint32_t v) {
    out.write(reinterpret_cast<const char*>(&v), 4);
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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

// Each test runs in its own folder, since the music is read from a fixed relative path.
class BackgroundMusicTest : public testing::Test {
  protected:
    void SetUp() override {
        previous = fs::current_path();
        folder =
            fs::path(scratchDir()) / testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(folder / "data");
        fs::current_path(folder);
        setenv("ALSOFT_DRIVERS", "null", 1);
    }
    void TearDown() override { fs::current_path(previous); }

    fs::path previous;
    fs::path folder;
};

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
    testing::internal::CaptureStdout();
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
    std::string missing = testing::internal::GetCapturedStdout();
    EXPECT_EQ(missing, "Data file \"data/background.wav\": missing\n");

    // Each damage is named in its own words (every case counts as a fresh run here).
    struct Damage {
        std::string content;
        const char* line;
    };
    writeTone("data/background.wav");
    std::string tone = readAll("data/background.wav");
    const Damage damages[] = {
        {"RIFF but not really a wave file", "Data file \"data/background.wav\": not a wave file\n"},
        {tone.substr(0, tone.size() / 2),
         "Data file \"data/background.wav\": truncated wave file\n"},
    };
    for (const Damage& damage : damages) {
        forgetReportedDataFiles();
        std::ofstream("data/background.wav", std::ios::binary) << damage.content;
        testing::internal::CaptureStdout();
        BackgroundMusic music;
        music.start();
        ALint size = -1;
        alGetBufferi(music.getBuffer(), AL_SIZE, &size);
        EXPECT_EQ(size, 0);
        music.release();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), damage.line);
    }

    // A well-formed wave without samples: nothing to play, and its empty read is given back.
    forgetReportedDataFiles();
    writeTone("data/background.wav", 0);
    testing::internal::CaptureStdout();
    {
        BackgroundMusic music;
        music.start();
        ALint size = -1;
        alGetBufferi(music.getBuffer(), AL_SIZE, &size);
        EXPECT_EQ(size, 0);
        music.release();
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Data file \"data/background.wav\": wave file without samples\n");
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
    std::string captured = (folder / "out.wav").string();
    std::ofstream(folder / "alsoft.conf")
        << "[general]\nsample-type = int16\n[wave]\nfile = " << captured << "\n";
    std::string command = "ALSOFT_CONF='" + (folder / "alsoft.conf").string() +
                          "' ALSOFT_DRIVERS=wave QUILLORB_CAPTURE_DIR='" + folder.string() +
                          "' /proc/" + std::to_string(getpid()) +
                          "/exe --gtest_filter=BackgroundMusicCapture.* >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);

    std::ifstream in(captured, std::ios::binary);
    ASSERT_TRUE(in.good()) << "the wave backend wrote nothing";
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 44u + 4000u);
    // Past the header the output must carry sound, including in its second half.
    size_t half = bytes.size() / 2;
    half -= half % 2;
    int loud = 0;
    for (size_t i = half; i + 1 < bytes.size(); i += 2) {
        int16_t s = static_cast<int16_t>((static_cast<uint8_t>(bytes[i + 1]) << 8) |
                                         static_cast<uint8_t>(bytes[i]));
        loud += std::abs(s) > 2000;
    }
    EXPECT_GT(loud, 100);
}

} // namespace
