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

#include "SoundCapture.h"
#include "TestFiles.h"
#include "assets/DataFileReport.h"
#include "sound/BackgroundMusic.h"

namespace fs = std::filesystem;

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
    std::vector<int16_t> samples = captureChild(folder.string(), "BackgroundMusicCapture.*");
    ASSERT_GT(samples.size(), 2000u) << "the wave backend wrote nothing";
    // The output must carry sound, including in its second half.
    int loud = 0;
    for (size_t i = samples.size() / 2; i < samples.size(); ++i)
        loud += std::abs(samples[i]) > 2000;
    EXPECT_GT(loud, 100);
}

} // namespace
