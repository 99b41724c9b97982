#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "TestFiles.h"
#include "TextCounts.h"
#include "quality/QualityControl.h"
#include "scene/Scene.h"
#include "session/BestTimes.h"
#include "session/GhostRace.h"
#include "session/RaceSession.h"
#include "settings/GameOptions.h"
#include "settings/SettingsFile.h"

namespace {

struct Printed {
    std::string progress;
    std::string errors;
};

Printed printedApart(const std::function<void()>& call) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    call();
    Printed printed;
    printed.errors = testing::internal::GetCapturedStderr();
    printed.progress = testing::internal::GetCapturedStdout();
    return printed;
}

} // namespace

// Every file the game writes for itself, where it cannot be written (a file stands where its
// folder should be, which stops root too): one line on standard error names it, however often
// the game tries in the run, and the game goes on.
TEST(UnwritableFiles, EachCostsOneLineNamingItOnceARunAndTheGameGoesOn) {
    const std::string folder = writeScratchFile("unwritable/blocker", "x") + "/quillorb";
    Scene scene; // never started: only read as a race that stands at its start
    RaceSession player;
    const struct {
        const char* file;
        std::function<void(const std::string&)> write;
    } writers[] = {
        {"replays/last.qbr",
         [&](const std::string& path) {
             RaceSession session;
             session.startRecording(path, 1);
             for (int frame = 0; frame < 3; ++frame)
                 session.advance(0.5, RaceInput(), &scene);
             EXPECT_EQ(session.finish(&scene), "");
         }},
        {"best-times.toml",
         [](const std::string& path) {
             BestTimes times(path);
             times.load();
             for (double seconds : {70.0, 60.0}) {
                 times.record(seconds, BestTimes::today());
                 times.save();
             }
             EXPECT_EQ(times.entries().size(), 2u);
         }},
        {"best.qbr",
         [&](const std::string& path) {
             GhostRace ghost("off");
             ghost.setBestFile(path);
             for (int win = 0; win < 2; ++win)
                 ghost.afterFrame(PlayEvent::None, true, &player, &scene);
         }},
        {"quality.toml",
         [](const std::string& path) {
             QualityControl quality{GameOptions()};
             quality.useMemory(std::make_unique<QualityMemory>(path), {"gl", "1", 640, 480});
             for (int frame = 0; frame < 3000; ++frame)
                 quality.frame(0.01);
         }},
        {"settings.toml",
         [](const std::string& path) { EXPECT_EQ(writeSettingsFile(path, GameOptions()), 1); }},
    };
    for (const auto& writer : writers) {
        const std::string path = folder + "/" + writer.file;
        const Printed printed = printedApart([&] { writer.write(path); });
        EXPECT_EQ(lineCount(printed.errors), 1) << writer.file << ":\n" << printed.errors;
        EXPECT_EQ(countOf(printed.errors, path), 1) << writer.file << ":\n" << printed.errors;
        EXPECT_EQ(printed.progress, "") << writer.file;
    }
}
