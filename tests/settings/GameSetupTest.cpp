#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "PrintedOutput.h"
#include "ProgramArguments.h"
#include "ScopedEnvironment.h"
#include "ScopedWorkingDirectory.h"
#include "TestFiles.h"
#include "TextCounts.h"
#include "session/SessionStart.h"
#include "settings/DataDirectory.h"
#include "settings/GameOptions.h"
#include "settings/GameSetup.h"

namespace fs = std::filesystem;

namespace {

// Each test starts in an empty folder of its own with its own configuration folder and no
// $QUILLORB_DATA, and leaves the process as it found it.
class GameSetupTest : public testing::Test {
  protected:
    void SetUp() override {
        folder = freshScratchDir(std::string("setup/") +
                                 testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder / "play");
        inPlay.emplace(folder / "play");
        configHome.set((folder / "config").c_str());
        if (holdsDataTree(installedDataDirectory()))
            GTEST_SKIP() << "an installed game's data would be found before the working folder";
    }

    // Runs the start-up decisions on these arguments; the output is kept in printed.
    bool setUp(std::vector<std::string> words, int& exitCode) {
        ProgramArguments arguments(std::move(words));
        bool run = false;
        printed = printedBy(
            [&] { run = setUpGame(arguments.count(), arguments.values(), chosen, exitCode); });
        return run;
    }

    fs::path makeTree(const std::string& name) {
        fs::path dir = folder / name;
        for (const char* file : {"shader/simple_shader.vert", "texture/TestLoadingScreen.bmp",
                                 "models/Sphere.mesh.xml", "data/basicFont.fnt"}) {
            fs::create_directories((dir / file).parent_path());
            std::ofstream(dir / file) << "";
        }
        return dir;
    }

    void writeSettings(const std::string& text) {
        fs::create_directories(folder / "config" / "quillorb");
        std::ofstream(folder / "config" / "quillorb" / "settings.toml") << text;
    }

    ScopedEnvironment configHome{"XDG_CONFIG_HOME", nullptr};
    ScopedEnvironment dataVariable{"QUILLORB_DATA", nullptr};
    std::optional<ScopedWorkingDirectory> inPlay;
    fs::path folder;
    std::string printed;
    // What start-up decided.
    GameOptions chosen;
};

TEST_F(GameSetupTest, DataOptionBeatsTheEnvironmentWhichBeatsTheWorkingFolder) {
    fs::path option = makeTree("play/relative");
    fs::path environment = makeTree("environment");
    makeTree("play");
    dataVariable.set(environment.c_str());
    int exitCode = -1;

    // A relative --data and the other paths are read against the folder the game started in,
    // not against the data tree it then moves into.
    ASSERT_TRUE(
        setUp({"--data", "relative", "--record", "race.rec", "--replay", "in.rec"}, exitCode))
        << printed;
    EXPECT_EQ(fs::current_path(), option);
    EXPECT_EQ(chosen.dataDir, option.string());
    EXPECT_EQ(chosen.recordFile, (folder / "play" / "race.rec").string());
    EXPECT_EQ(chosen.replayFile, (folder / "play" / "in.rec").string());
    EXPECT_EQ(printed, "");

    fs::current_path(folder / "play");
    ASSERT_TRUE(setUp({}, exitCode)) << printed;
    EXPECT_EQ(fs::current_path(), environment);

    fs::current_path(folder / "play");
    dataVariable.set(nullptr);
    ASSERT_TRUE(setUp({}, exitCode)) << printed;
    EXPECT_EQ(fs::current_path(), folder / "play");
    EXPECT_EQ(printed, "");
}

TEST_F(GameSetupTest, WithoutTheDataTreeItNamesTheGameExitsOne) {
    dataVariable.set((folder / "nothing").c_str());
    int exitCode = -1;
    EXPECT_FALSE(setUp({"--data", "elsewhere"}, exitCode));
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(printed, "--data " + (folder / "play" / "elsewhere").string() +
                           " does not hold the game's data (no such folder)\n");
    EXPECT_EQ(fs::current_path(), folder / "play");
}

TEST_F(GameSetupTest, TheCommandLineWinsOverTheSettingsFileWhichWinsOverTheDefaults) {
    writeSettings("width = 800\nheight = 600\nvsync = true\nmipmaps = \"off\"\n"
                  "music_volume = 0.25\n");
    int exitCode = -1;
    ASSERT_TRUE(setUp({"--width", "1280", "--no-vsync", "--data", runDir()}, exitCode)) << printed;
    EXPECT_EQ(printed, "");
    const GameOptions& options = chosen;
    EXPECT_EQ(options.width, 1280);
    EXPECT_EQ(options.height, 600);
    EXPECT_FALSE(options.vsync);
    EXPECT_EQ(options.mipmapMode, 0);
    EXPECT_EQ(options.musicVolume, 0.25);
    EXPECT_EQ(options.samples, 4);
    EXPECT_TRUE(options.bilinearFiltering);
}

// last and best are the player's own races wherever the game keeps them, demo the data tree's.
TEST_F(GameSetupTest, LastAndBestAreThePlayersOwnRaces) {
    ScopedEnvironment dataHome{"XDG_DATA_HOME", (folder / "data").c_str()};
    const fs::path kept = folder / "data" / "quillorb";
    const struct {
        const char* option;
        const char* name;
        fs::path file;
    } rows[] = {
        {"--replay", "last", kept / "replays" / "last.qbr"},
        {"--replay", "best", kept / "best.qbr"},
        {"--timedemo", "last", kept / "replays" / "last.qbr"},
        {"--replay", "demo", fs::path(runDir()) / "replays" / "demo.qbr"},
    };
    for (const auto& row : rows) {
        int exitCode = -1;
        fs::current_path(folder / "play");
        ASSERT_TRUE(setUp({"--data", runDir(), row.option, row.name}, exitCode)) << printed;
        const std::string& chosenFile =
            row.option == std::string("--replay") ? chosen.replayFile : chosen.timedemoFile;
        EXPECT_EQ(fs::path(chosenFile).lexically_normal(), row.file.lexically_normal())
            << row.option << " " << row.name;
    }
}

// One not kept yet is a replay that cannot be played: one line, and the game exits 2; nowhere
// to keep them is a refused command line.
TEST_F(GameSetupTest, ARaceOfYourOwnNotKeptIsNamedInOneLine) {
    ScopedEnvironment dataHome{"XDG_DATA_HOME", (folder / "data").c_str()};
    int exitCode = -1;
    ASSERT_TRUE(setUp({"--data", runDir(), "--replay", "best"}, exitCode)) << printed;
    EXPECT_EQ(printedBy([&] { EXPECT_EQ(startRaceSession(chosen), nullptr); }),
              "Replay \"" + (folder / "data" / "quillorb" / "best.qbr").string() +
                  "\" cannot be played: it cannot be opened (No such file or directory)\n");
    ScopedEnvironment home{"HOME", nullptr};
    dataHome.set(nullptr);
    EXPECT_FALSE(setUp({"--data", runDir(), "--replay", "best"}, exitCode));
    EXPECT_EQ(exitCode, 2);
    EXPECT_EQ(lineCount(printed), 1) << printed;
}

TEST_F(GameSetupTest, WriteSettingsWritesTheCommandLineOnceWithoutNeedingTheData) {
    int exitCode = -1;
    fs::path file = folder / "config" / "quillorb" / "settings.toml";
    EXPECT_FALSE(setUp({"--write-settings", "--width", "1280", "--mipmaps", "off"}, exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(printed, "Settings written to " + file.string() + "\n");

    // The written file is what the next start reads.
    ASSERT_TRUE(setUp({"--data", runDir()}, exitCode)) << printed;
    EXPECT_EQ(chosen.width, 1280);
    EXPECT_EQ(chosen.mipmapMode, 0);
    EXPECT_EQ(chosen.height, 768);
    // Quality's aspects the player did not give are left to automatic quality.
    EXPECT_EQ(chosen.pinnedAspects, 0u);

    fs::current_path(folder / "play");
    EXPECT_FALSE(setUp({"--write-settings", "--width", "640"}, exitCode));
    EXPECT_EQ(exitCode, 2);
    EXPECT_EQ(lineCount(printed), 1) << printed;

    EXPECT_FALSE(setUp({"--shadow-map", "1000", "--write-settings"}, exitCode));
    EXPECT_EQ(exitCode, 2);
    EXPECT_FALSE(setUp({"--version"}, exitCode));
    EXPECT_EQ(exitCode, 0);
}

} // namespace
