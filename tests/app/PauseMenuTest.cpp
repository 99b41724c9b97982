#include <gtest/gtest.h>

#include <AL/al.h>

#include <filesystem>
#include <memory>
#include <string>

#include "QuietScene.h"
#include "ReadFile.h"
#include "SkyOnlyLevel.h"
#include "TestFiles.h"
#include "TextCounts.h"
#include "app/GamePlay.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "platform/ScriptedClock.h"
#include "platform/ScriptedKeys.h"
#include "scene/Scene.h"
#include "session/BestTimes.h"
#include "session/LevelHash.h"
#include "session/RaceSession.h"
#include "session/ReplayWriter.h"
#include "settings/SettingsFile.h"
#include "sound/BackgroundMusic.h"
#include "support/GlTestContext.h"

namespace fs = std::filesystem;

namespace {

// The menu played with scripted keys on a game's play that is never drawn, over one scene of the
// sky alone (its music source is there, without a sound to play).
class PauseMenuTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (!ensureGlContext(1024, 768))
            return;
        setenv("ALSOFT_DRIVERS", "null", 1);
        scene = new Scene();
        startSceneQuietly(*scene, skyOnlyLevel("menu-level"));
    }
    static void TearDownTestSuite() {
        delete scene;
        scene = nullptr;
    }
    void SetUp() override {
        if (!scene)
            GTEST_SKIP() << "no display";
        platform::setKeySource(&keys);
        platform::setTimeSource(&time);
        scene->setMusicVolume(1.0f);
        scene->restartRace();
    }
    void TearDown() override {
        platform::setKeySource(nullptr);
        platform::setTimeSource(nullptr);
    }

    // recorded: the race is recorded to its last-race file from its first frame.
    void start(GameOptions options, bool recorded = false) {
        options.recordFile = scratchDir() + "/menu/last.qbr";
        play = std::make_unique<GamePlay>(options);
        play->setScene(scene);
        RaceSession* session = new RaceSession();
        if (recorded) {
            EXPECT_TRUE(session->startRecording(options.recordFile, hashLevelData(".")));
        }
        play->adoptRaceSession(session);
        frame();
    }
    void frame() {
        time.advance(1.0 / 60.0);
        play->update();
    }
    void tap(int key, int times = 1) {
        for (int i = 0; i < times; ++i) {
            keys.press(key);
            frame();
            keys.release(key);
            frame();
        }
    }
    float musicGain() const {
        ALfloat gain = -1.0f;
        alGetSourcef(scene->getMusic()->getSource(), AL_GAIN, &gain);
        return gain;
    }

    static Scene* scene;
    ScriptedKeys keys;
    ScriptedClock time{100.0};
    std::unique_ptr<GamePlay> play;
};

Scene* PauseMenuTest::scene = nullptr;

} // namespace

// Two steps down on the music line are heard at once; leaving the screen saves them where the
// next start reads them, or, when the file cannot be written, costs one line and nothing else.
TEST_F(PauseMenuTest, TheMusicVolumeFollowsAtOnceAndIsSavedOnLeavingTheOptions) {
    const std::string blocked = writeScratchFile("menu/blocked", "") + "/settings.toml";
    const struct {
        const char* name;
        std::string path;
        bool saved;
    } rows[] = {
        {"writable", scratchDir() + "/menu/config/quillorb/settings.toml", true},
        {"folder is a file", blocked, false},
    };
    for (const auto& row : rows) {
        GameOptions options;
        options.settingsFile = row.path;
        start(options);
        tap(GLFW_KEY_P);
        tap(GLFW_KEY_DOWN, 2);
        tap(GLFW_KEY_ENTER);
        tap(GLFW_KEY_S, 2);
        tap(GLFW_KEY_LEFT, 2);
        EXPECT_NEAR(musicGain(), 0.8f, 1e-6f) << row.name;

        testing::internal::CaptureStderr();
        tap(GLFW_KEY_BACKSPACE);
        const std::string complaint = testing::internal::GetCapturedStderr();
        EXPECT_EQ(lineCount(complaint), row.saved ? 0 : 1) << row.name << ": " << complaint;
        EXPECT_EQ(play->menuFlow().menu().view().message.empty(), row.saved) << row.name;
        GameOptions nextStart;
        readSettingsFile(row.path, nextStart);
        EXPECT_DOUBLE_EQ(nextStart.musicVolume, row.saved ? 0.8 : 1.0) << row.name;

        // The game goes on either way, at the new volume.
        tap(GLFW_KEY_P);
        const double raceTime = scene->getSimulationTime();
        frame();
        EXPECT_GT(scene->getSimulationTime(), raceTime) << row.name;
        EXPECT_NEAR(musicGain(), 0.8f, 1e-6f) << row.name;
    }
}

// Watching is no race of the player's: Backspace brings the menu back, Restart race a race of
// his own at its start, recorded, and the best times stay as they were.
TEST_F(PauseMenuTest, WatchingTheBestRaceThenBackspaceAndRestartGivesAFreshRace) {
    Replay best;
    best.header.levelHash = hashLevelData(".");
    ReplayRecord forward;
    forward.frameTime = 1.0 / 60.0;
    forward.input.keyMask = RaceInput::Forward;
    best.records.assign(600, forward);
    const std::string bestFile = scratchDir() + "/watch/best.qbr";
    ASSERT_TRUE(ReplayWriter::writeWhole(bestFile, best));
    const std::string timesFile =
        writeScratchFile("watch/best-times.toml", "[[best]]\nseconds = 71.5\ndate = 2026-01-02\n");
    BestTimes times(timesFile);
    times.load();

    start(GameOptions());
    play->ghost().setBestFile(bestFile);
    play->wins().setBestTimes(&times);
    tap(GLFW_KEY_P);
    tap(GLFW_KEY_DOWN, 4);
    tap(GLFW_KEY_ENTER);
    ASSERT_TRUE(play->menuFlow().isWatching());
    EXPECT_TRUE(play->view().replaying) << "the HUD labels it";
    for (int i = 0; i < 60; ++i)
        frame();
    EXPECT_GT(scene->getSimulationTime(), 0.5) << "the replay runs";
    testing::internal::CaptureStdout();
    tap(GLFW_KEY_BACKSPACE);
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(play->menuFlow().isWatching());
    EXPECT_TRUE(play->view().paused);
    // Resume has no race to go back to: the menu opens on Restart race.
    EXPECT_EQ(play->menuFlow().menu().page(), PauseMenu::Page::Main);
    EXPECT_EQ(play->menuFlow().menu().chosenLine(), static_cast<int>(PauseMenu::Item::Restart));

    tap(GLFW_KEY_ENTER);
    EXPECT_FALSE(play->controls().isPaused());
    EXPECT_FALSE(play->raceSession()->isReplaying());
    EXPECT_EQ(scene->getRace().lives, 3);
    EXPECT_LT(scene->getSimulationTime(), 0.1);
    EXPECT_EQ(readFile(timesFile), "[[best]]\nseconds = 71.5\ndate = 2026-01-02\n");
    EXPECT_EQ(times.entries().size(), 1u);
    play->wins().setBestTimes(nullptr);
}

// The last race is the one just left: watching it shows it, and leaves its file as it was.
TEST_F(PauseMenuTest, WatchingTheLastRaceShowsTheRaceJustLeftAndKeepsItsFile) {
    start(GameOptions(), true);
    for (int i = 0; i < 90; ++i)
        frame();
    const double raceTime = scene->getSimulationTime();
    tap(GLFW_KEY_P);
    // Up from the first line wraps round to Quit, then the last race.
    tap(GLFW_KEY_UP, 2);
    tap(GLFW_KEY_ENTER);
    ASSERT_TRUE(play->menuFlow().isWatching());
    const std::string kept = readFile(scratchDir() + "/menu/last.qbr");
    EXPECT_FALSE(kept.empty());
    testing::internal::CaptureStdout();
    while (play->menuFlow().isWatching() && scene->getSimulationTime() < raceTime + 1.0)
        frame();
    const std::string verdict = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(play->menuFlow().isWatching()) << "the watched race ends where the race was left";
    EXPECT_NE(verdict.find("ended as recorded"), std::string::npos) << verdict;
    EXPECT_EQ(readFile(scratchDir() + "/menu/last.qbr"), kept);
}
