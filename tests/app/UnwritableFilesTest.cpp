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

// What call printed on standard error; standard output must stay empty.
std::string warnedBy(const std::function<void()>& call, const std::string& label) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    call();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << label;
    return errors;
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
        const std::string errors = warnedBy([&] { writer.write(path); }, writer.file);
        EXPECT_TRUE(lineCount(errors) == 1 && countOf(errors, path) == 1) << writer.file << ":\n"
                                                                          << errors;
    }
}
