#include <gtest/gtest.h>

#include <AL/al.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "SoundCapture.h"
#include "TestFiles.h"
#include "assets/DataFileReport.h"
#include "sound/SoundCues.h"
#include "sound/SoundEffects.h"

namespace fs = std::filesystem;

namespace {

using Effect = SoundEffects::Effect;

// Each test in its own folder, since the effects are read from fixed relative paths.
class SoundEffectsTest : public testing::Test {
  protected:
    void SetUp() override {
        previous = fs::current_path();
        folder = fs::path(scratchDir()) / "effects" /
                 testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(folder / "data/sound");
        fs::current_path(folder);
        setenv("ALSOFT_DRIVERS", "null", 1);
    }
    void TearDown() override { fs::current_path(previous); }

    fs::path previous;
    fs::path folder;
};

ALint stateOf(const SoundEffects& effects, Effect effect) {
    ALint state = 0;
    alGetSourcei(effects.getSource(effect), AL_SOURCE_STATE, &state);
    return state;
}

TEST_F(SoundEffectsTest, AMissingFileIsNamedOnceTheOthersPlayAndAllHoldInAPause) {
    for (const char* name : {"roll", "life_lost", "tick", "win", "game_over"})
        writeTone(std::string("data/sound/") + name + ".wav");
    forgetReportedDataFiles();
    testing::internal::CaptureStdout();
    SoundEffects effects;
    effects.start();
    effects.setRolling(1.0f);
    effects.impact(1.0f);
    effects.lifeLost();
    effects.tick();
    effects.win();
    effects.gameOver();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Data file \"data/sound/impact.wav\": missing\n");
    const Effect playing[] = {Effect::Roll, Effect::LifeLost, Effect::Tick, Effect::Win,
                              Effect::GameOver};
    EXPECT_NE(stateOf(effects, Effect::Impact), AL_PLAYING);
    for (Effect effect : playing)
        EXPECT_EQ(stateOf(effects, effect), AL_PLAYING) << static_cast<int>(effect);

    effects.pause();
    effects.tick();
    for (Effect effect : playing)
        EXPECT_EQ(stateOf(effects, effect), AL_PAUSED) << static_cast<int>(effect);
    effects.resume();
    for (Effect effect : playing)
        EXPECT_EQ(stateOf(effects, effect), AL_PLAYING) << static_cast<int>(effect);
    effects.release();
}

// The child of the capture below: at rest, rolling fast, at rest again, a frame at a time as
// the game runs it, without music.
TEST(SoundEffectsCapture, ChildRestsRollsAndRests) {
    const char* folder = std::getenv("QUILLORB_CAPTURE_DIR");
    if (!folder)
        GTEST_SKIP() << "runs only as the capture child";
    fs::current_path(folder);
    SoundEffects effects;
    SoundCues cues;
    effects.start();
    StepSound step;
    step.onGround = true;
    step.remainingTime = 200.0;
    for (int frame = 0; frame < 125; ++frame) {
        step.groundSpeed = frame >= 25 && frame < 65 ? 30.0f : 0.0f;
        cues.step(1.0 / 60.0, step);
        effects.setRolling(cues.rollLevel());
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    effects.release();
}

TEST_F(SoundEffectsTest, RollingIsHeardAndRestIsSilent) {
    writeTone("data/sound/roll.wav");
    std::vector<int16_t> out = captureChild(folder.string(), "SoundEffectsCapture.*");
    ASSERT_GT(out.size(), 20000u) << "the wave backend wrote nothing";
    auto loudest = [&](double from, double to) {
        int peak = 0;
        for (size_t i = static_cast<size_t>(from * out.size()); i < to * out.size(); ++i)
            peak = std::max(peak, std::abs(static_cast<int>(out[i])));
        return peak;
    };
    EXPECT_LT(loudest(0.0, 0.08), 50) << "before the marble moves";
    EXPECT_GT(loudest(0.25, 0.5), 2000) << "while it rolls";
    EXPECT_LT(loudest(0.7, 1.0), 50) << "after it stopped";
}

} // namespace
