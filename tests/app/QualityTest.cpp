#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "PrintedOutput.h"
#include "TestFiles.h"
#include "TextCounts.h"
#include "app/GamePlay.h"
#include "assets/TextureLoader.h"
#include "platform/Input.h"
#include "platform/ScriptedClock.h"
#include "platform/ScriptedKeys.h"
#include "quality/QualityControl.h"
#include "quality/QualityGovernor.h"
#include "quality/QualityMemory.h"
#include "scene/Scene.h"

namespace {

using Event = QualityGovernor::Event;

struct Change {
    double at;
    QualityRung rung;
};

// A made-up machine: full's frame time, each rung's share of it (not the governor's own
// estimates); after `lighter` seconds every frame takes a fifth of that. Every `busyEvery`
// seconds something else takes the machine for three, and every frame takes three times as
// long.
struct Machine {
    double full;
    double share[qualityRungCount];
    double lighter = 1e9;
    double busyEvery = 0.0;
};

// Plays `seconds` of frames, each up to 4 % off at random, and lists the steps; `settled`
// gets when the governor last said it settled.
std::vector<Change> play(QualityGovernor& governor, const Machine& machine, double seconds,
                         double* settled = nullptr) {
    std::vector<Change> changes;
    uint32_t noise = 12345;
    for (double clock = 0.0; clock < seconds;) {
        noise = noise * 1664525u + 1013904223u;
        const double jitter = 1.0 + 0.04 * (static_cast<double>(noise >> 8) / 8388608.0 - 1.0);
        const bool busy = machine.busyEvery > 0.0 && std::fmod(clock, machine.busyEvery) < 3.0;
        const double frame = machine.full * machine.share[static_cast<int>(governor.rung())] *
                             (clock < machine.lighter ? 1.0 : 0.2) * (busy ? 3.0 : 1.0) * jitter;
        clock += frame;
        Event event = governor.frame(frame);
        if (event == Event::SteppedDown || event == Event::SteppedUp)
            changes.push_back({clock, governor.rung()});
        else if (event == Event::Settled && settled)
            *settled = clock;
    }
    return changes;
}

} // namespace

TEST(QualityGovernor, StepsDownUnderASlowLoadUntilTheTargetHoldsThenSettles) {
    // 5 fps at full, 10 at high, 31 at medium.
    QualityGovernor governor(QualityRung::Full, 30.0, 0);
    double settled = -1.0;
    std::vector<Change> changes = play(governor, {0.2, {0.1, 0.16, 0.5, 1.0}}, 30.0, &settled);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].rung, QualityRung::High);
    EXPECT_EQ(changes[1].rung, QualityRung::Medium);
    EXPECT_TRUE(settled > changes[1].at && settled < 10.0) << settled;
}

TEST(QualityGovernor, StepsBackUpWhenTheLoadLightensButNotBeforeTheFailedRungWaited) {
    // 20 fps at full for three seconds, then 100.
    Machine machine{0.05, {0.1, 0.16, 0.5, 1.0}, 3.0};
    QualityGovernor governor(QualityRung::Full, 30.0, 0);
    std::vector<Change> changes = play(governor, machine, 30.0);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].rung, QualityRung::High);
    EXPECT_EQ(changes[1].rung, QualityRung::Full);
    EXPECT_GE(changes[1].at - changes[0].at, QualityGovernor::firstBackOffSeconds);
}

// Full fits but for a busy spell every minute, which each time sends it down to high: each
// time full waits twice as long as the time before until it is tried again.
TEST(QualityGovernor, EachMissOfARungDoublesTheWaitBeforeItIsTriedAgain) {
    // 66 fps at full, 22 while busy, when high still draws 44.
    Machine machine{0.015, {0.1, 0.16, 0.5, 1.0}, 1e9, 60.0};
    QualityGovernor governor(QualityRung::Full, 30.0, 0);
    std::vector<Change> changes = play(governor, machine, 300.0);
    std::vector<double> waits;
    for (size_t i = 0; i + 1 < changes.size(); ++i) {
        if (changes[i].rung == QualityRung::High && changes[i + 1].rung == QualityRung::Full)
            waits.push_back(changes[i + 1].at - changes[i].at);
    }
    ASSERT_GE(waits.size(), 3u) << changes.size() << " changes";
    double wait = QualityGovernor::firstBackOffSeconds;
    for (size_t i = 0; i < waits.size(); ++i, wait *= 2.0)
        EXPECT_TRUE(waits[i] >= wait && waits[i] < wait + 5.0) << i << ": " << waits[i] << " s";
}

// Five minutes where the rung above looks as if it fits but does not, or full sits at the target.
TEST(QualityGovernor, ASteadyLoadNearTheTargetDoesNotMakeItSwing) {
    const struct {
        QualityRung start;
        Machine machine;
        QualityRung end;
    } rows[] = {
        {QualityRung::Medium, {0.0085, {0.7, 1.0, 4.0, 8.0}}, QualityRung::Medium},
        {QualityRung::Full, {1.0 / 30, {0.1, 0.16, 0.5, 1.0}}, QualityRung::High},
    };
    for (const auto& row : rows) {
        QualityGovernor governor(row.start, 30.0, 0);
        std::vector<Change> changes = play(governor, row.machine, 300.0);
        EXPECT_LE(changes.size(), 2u) << rungName(row.start);
        EXPECT_TRUE(changes.empty() || governor.rung() == row.end) << rungName(row.start);
    }
}

TEST(QualityGovernor, PinnedAspectsStayAsGivenAndRungsDifferingOnlyInThemAreNoStep) {
    const QualitySettings given{2, 8, 1024, 128, 1.0};
    const unsigned pinned = QualitySettings::samplesBit | QualitySettings::anisotropyBit |
                            QualitySettings::shadowMapBit | QualitySettings::waterMapBit;
    QualityGovernor governor(QualityRung::Full, 30.0, pinned);
    std::vector<Change> changes = play(governor, {0.1, {0.6, 1.0, 1.0, 1.0}}, 20.0);
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes[0].rung, QualityRung::Low);
    const QualitySettings drawn = rungSettings(governor.rung()).pinnedTo(given, pinned);
    EXPECT_TRUE(drawn == (QualitySettings{2, 8, 1024, 128, drawn.renderScale}));
    EXPECT_LT(drawn.renderScale, 1.0);
}

TEST(QualityMemory, AnyFileOfNoUseStartsAtFullWithAtMostOneLineAndNeverStopsTheGame) {
    const QualityMemory::Key here{"llvmpipe (LLVM 15.0.6, 256 bits)", "4.5 Mesa 22.3.6", 1024, 768};
    const struct {
        const char* name;
        const char* text; // null: no file at all
        bool warns;
    } rows[] = {
        {"missing.toml", nullptr, false},
        {"garbage.toml", "rung = = \"low\"\n\x01", true},
        {"other-renderer.toml",
         "[[settled]]\nrenderer = \"other\"\nversion = \"4.5 Mesa 22.3.6\"\nwidth = 1024\n"
         "height = 768\nrung = \"low\"\n",
         false},
    };
    for (const auto& row : rows) {
        std::string path = scratchDir() + "/state/" + row.name;
        if (row.text)
            path = writeScratchFile(std::string("state/") + row.name, row.text);
        std::string out = printedBy(
            [&] { EXPECT_EQ(QualityMemory(path).recall(here), QualityRung::Full) << row.name; });
        EXPECT_EQ(out.find(path) != std::string::npos && lineCount(out) == 1, row.warns) << out;
        EXPECT_EQ(out.empty(), !row.warns) << out;
    }
    // A folder that cannot be made (a file stands in its place): one line, and no rung kept.
    const std::string blocked = writeScratchFile("state/blocked", "") + "/quality.toml";
    capturePrinted();
    EXPECT_FALSE(QualityMemory(blocked).remember(here, QualityRung::Low));
    EXPECT_EQ(QualityMemory(blocked).recall(here), QualityRung::Full);
    std::string out = takePrinted();
    EXPECT_TRUE(out.find(blocked) != std::string::npos && lineCount(out) == 1) << out;
}

TEST(QualityMemory, ARememberedRungComesBackForItsOwnKeyOnlyBesideTheOthers) {
    const std::string path = writeScratchFile("state/kept/quality.toml", "rung = = broken\n");
    const QualityMemory::Key small{"llvmpipe", "4.5 Mesa", 800, 600};
    const QualityMemory::Key large{"llvmpipe", "4.5 Mesa", 1920, 1080};
    capturePrinted();
    for (QualityRung rung : {QualityRung::High, QualityRung::Medium})
        EXPECT_TRUE(QualityMemory(path).remember(small, rung));
    EXPECT_TRUE(QualityMemory(path).remember(large, QualityRung::Low));
    EXPECT_EQ(QualityMemory(path).recall(small), QualityRung::Medium);
    EXPECT_EQ(QualityMemory(path).recall(large), QualityRung::Low);
    EXPECT_EQ(QualityMemory(path).recall({"llvmpipe", "4.6 Mesa", 800, 600}), QualityRung::Full);
    EXPECT_EQ(takePrinted(), "");
}

// Five frames a second at every rung for 20 s, then a hundred: auto steps down to low, the
// scene gets low's images, then comes back up to medium. The player reads where it settled
// each time: low, short of the target, then medium.
TEST(QualityInTheGame, SlowFramesStepTheSceneDownAndThePlayerIsToldOnce) {
    ScriptedClock time(5.0);
    ScriptedKeys keys;
    platform::setTimeSource(&time);
    platform::setKeySource(&keys);
    GamePlay game;
    Scene scene;
    game.setScene(&scene);
    auto play = [&](double frame, int count) {
        for (int i = 0; i < count; ++i) {
            time.advance(frame);
            game.update();
        }
    };
    capturePrinted();
    play(0.2, 100);
    const QualityRung slow = game.qualityRung();
    // The frame's view tells the frame-rate line what the clock and the governor know.
    const FrameView slowFrame = game.view();
    const int slowShadowMap = scene.getShadowMapSize();
    play(0.01, 2000);
    const std::string out = takePrinted();
    platform::setTimeSource(nullptr);
    platform::setKeySource(nullptr);
    setAnisotropyLimit(0.0f);
    EXPECT_EQ(slow, QualityRung::Low);
    EXPECT_NEAR(slowFrame.fps, 5.0, 0.5);
    EXPECT_EQ(slowFrame.rung, QualityRung::Low);
    EXPECT_EQ(slowShadowMap, 2048);
    EXPECT_EQ(game.qualityRung(), QualityRung::Medium);
    EXPECT_EQ(lineCount(out), 2) << out;
    EXPECT_EQ(out.find("Quality: low draws 5.0 fps here, below the 30 fps target"), 0u) << out;
    EXPECT_NE(out.find("\nQuality: medium draws "), std::string::npos) << out;
}

// A run that settles where the last one did says nothing; one that settles elsewhere says
// the rung, the rate it drew there and whether that holds the target.
TEST(QualityControl, TellsTheRungAndItsRateWhenItSettlesElsewhereThanItStarted) {
    const QualityMemory::Key here{"gl", "4.5", 640, 480};
    const struct {
        const char* label;
        QualityRung remembered;
        double frame;
        const char* line; // what the printed line starts with; null: nothing printed
    } rows[] = {
        {"slow at every rung", QualityRung::Full, 0.04,
         "Quality: low draws 25.0 fps here, below the 30 fps target even at this lowest rung, "
         "without antialiasing"},
        {"as slow as the last run", QualityRung::Low, 0.04, nullptr},
        {"fast again", QualityRung::Low, 0.002,
         "Quality: full draws 500.0 fps here, meeting the 30 fps target\n"},
    };
    for (const auto& row : rows) {
        const std::string path = scratchDir() + "/told/" + row.label + ".toml";
        QualityMemory(path).remember(here, row.remembered);
        QualityControl quality{GameOptions()};
        quality.useMemory(std::make_unique<QualityMemory>(path), here);
        const std::string out = printedBy([&] {
            for (int frame = 0; frame < 30000; ++frame)
                quality.frame(row.frame);
        });
        if (row.line == nullptr)
            EXPECT_EQ(out, "") << row.label;
        else
            EXPECT_TRUE(out.rfind(row.line, 0) == 0 && lineCount(out) == 1) << row.label << "\n"
                                                                            << out;
    }
}
