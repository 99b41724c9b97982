// Runs the real game binary on the test display and drives it from outside, as a player's
// window system would: a key press, or the window's close button.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ReadFile.h"
#include "TestFiles.h"
#include "TextCounts.h"
#include "session/LevelHash.h"
#include "session/ReplayReader.h"
#include "session/ReplayWriter.h"

extern char** environ;

namespace {

// The test's environment, but with a home and XDG folders of the game's own, so that the
// game neither reads the developer's settings nor writes among his replays, best times or
// quality memory, nor sees what another game of the suite left. No data folder is named: the
// game finds its data where it is started, or in its install.
class PrivateEnvironment {
  public:
    explicit PrivateEnvironment(const std::string& home) {
        const std::vector<std::pair<std::string, std::string>> own = {
            {"HOME", home},
            {"XDG_CONFIG_HOME", home + "/.config"},
            {"XDG_DATA_HOME", home + "/.local/share"},
            {"XDG_STATE_HOME", home + "/.local/state"},
            {"XDG_CACHE_HOME", home + "/.cache"},
        };
        std::filesystem::create_directories(home);
        for (char** entry = environ; *entry != nullptr; ++entry) {
            std::string name(*entry, std::strcspn(*entry, "="));
            bool replaced = name == "QUILLORB_DATA";
            for (const auto& variable : own)
                replaced = replaced || name == variable.first;
            if (!replaced)
                entries.push_back(*entry);
        }
        for (const auto& variable : own)
            entries.push_back(variable.first + "=" + variable.second);
        for (std::string& entry : entries)
            pointers.push_back(entry.data());
        pointers.push_back(nullptr);
    }

    char* const* get() const { return pointers.data(); }

  private:
    std::vector<std::string> entries;
    std::vector<char*> pointers;
};

int gamesStarted = 0;

class GameProcess {
  public:
    // Starts a game (the one from the build unless told otherwise) with these arguments, in this
    // working directory (empty: the test's own), in a home of its own.
    explicit GameProcess(const std::string& logName, std::vector<std::string> arguments = {},
                         const std::string& workingDirectory = "",
                         const std::string& program = QUILLORB_BINARY)
        : log(scratchDir() + "/" + logName), errorLog(log + ".err"),
          home(scratchDir() + "/home-" + std::to_string(++gamesStarted)), environment(home) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, errorLog.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        if (!workingDirectory.empty())
            posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
        arguments.insert(arguments.begin(), program);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(),
                              environment.get()) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }

    ~GameProcess() {
        if (started && !reaped) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    // What the game printed: its progress, then its warnings and errors.
    std::string output() const { return readFile(log) + errors(); }
    std::string errors() const { return readFile(errorLog); }
    // The game's home, where it keeps its settings, replays, best times and quality memory.
    const std::string& homeDir() const { return home; }

    // Sends the game a signal, as a logout or a terminal would.
    void signal(int number) const { kill(pid, number); }

    // Waits until the level has loaded (every program linked) and a few frames have run.
    bool waitUntilRunning(int programs, double seconds) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            if (countOf(output(), "Shader-program") >= programs) {
                std::this_thread::sleep_for(std::chrono::seconds(4));
                return true;
            }
            if (exited(0.0))
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        return false;
    }

    // True when the process has ended within the time; the exit status is then in status.
    bool exited(double seconds) {
        if (reaped)
            return true;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        do {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                reaped = true;
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (std::chrono::steady_clock::now() < deadline);
        return false;
    }

    bool started = false;
    int status = 0;

  private:
    std::string log;
    std::string errorLog;
    std::string home;
    PrivateEnvironment environment;
    pid_t pid = 0;
    bool reaped = false;
};

int run(const std::string& command) {
    return std::system(command.c_str());
}

// Escape pressed in the game's window and let go. A fast game may be gone before the key is
// let go there, which xdotool reports as an error; the key is then let go wherever the focus
// is, or the X server would hold it down into the next game, which would quit at once. The
// search gives up after a minute, so a game that never showed a window fails its own test.
void pressEscape() {
    run("timeout 60 xdotool search --sync --name '^Quillorb 3D$' windowfocus --sync keydown Escape"
        " sleep 1 keyup Escape 2>/dev/null");
    run("xdotool keyup Escape");
}

class GameProcessTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no display";
        if (run("command -v xdotool >/dev/null") != 0)
            GTEST_SKIP() << "xdotool is not installed";
    }
};

void expectStartUpMessagesInOrder(const std::string& out) {
    EXPECT_EQ(out.rfind("Quillorb 3D\n", 0), 0u) << out.substr(0, 200);
    size_t glfw = out.find("GLFW initialized\n");
    size_t version = out.find("OpenGL Version: ");
    size_t firstShader = out.find("Vertex-shader loaded and compiled successfully.");
    ASSERT_NE(glfw, std::string::npos);
    ASSERT_NE(version, std::string::npos);
    ASSERT_NE(firstShader, std::string::npos);
    EXPECT_LT(glfw, version);
    EXPECT_LT(version, firstShader);
    // The HUD, the four scene programs, the skybox and the two water surfaces.
    EXPECT_EQ(countOf(out, "Shader-program linked successfully."), 8) << out;
    EXPECT_EQ(countOf(out, "compile error"), 0) << out;
    EXPECT_EQ(countOf(out, "Texture could not be loaded"), 0) << out;
    EXPECT_EQ(countOf(out, "Data file"), 0) << out;
    // No frame reported a GL error.
    EXPECT_EQ(countOf(out, "GL: "), 0) << out;
}

TEST_F(GameProcessTest, EscapeEndsTheLoopAndTheGameExitsCleanly) {
    GameProcess game("escape.log");
    const std::string lastRace = game.homeDir() + "/.local/share/quillorb/replays/last.qbr";
    ASSERT_TRUE(game.started);
    ASSERT_TRUE(game.waitUntilRunning(8, 120.0)) << game.output();
    pressEscape();
    ASSERT_TRUE(game.exited(240.0)) << game.output();
    ASSERT_TRUE(WIFEXITED(game.status));
    EXPECT_EQ(WEXITSTATUS(game.status), 0);
    expectStartUpMessagesInOrder(game.output());
    // The race just played is kept as the last race.
    Replay played;
    ReplayProblem problem;
    EXPECT_TRUE(ReplayReader().read(lastRace, hashLevelData(runDir()), played, problem))
        << problem.consoleLine(lastRace);
    EXPECT_FALSE(played.records.empty());
}

TEST_F(GameProcessTest, ClosingTheWindowEndsTheLoopAndTheGameExitsCleanly) {
    GameProcess game("close.log");
    ASSERT_TRUE(game.started);
    ASSERT_TRUE(game.waitUntilRunning(8, 120.0)) << game.output();
    ASSERT_EQ(run(std::string(QUILLORB_CLOSEWINDOW) + " 'Quillorb 3D'"), 0);
    ASSERT_TRUE(game.exited(240.0)) << game.output();
    ASSERT_TRUE(WIFEXITED(game.status));
    EXPECT_EQ(WEXITSTATUS(game.status), 0);
    expectStartUpMessagesInOrder(game.output());
}

// Stopped from outside in the middle of a race (a logout, a window manager), the game ends as
// Escape ends it: the race up to the stop is kept as the last race and plays back as it went.
// Whether the recording under way reaches its first check (a second of race) within the time.
bool waitForCheck(const std::string& part, double seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        Replay sofar;
        ReplayProblem problem;
        if (ReplayReader().read(part, hashLevelData(runDir()), sofar, problem))
            for (const ReplayRecord& record : sofar.records)
                if (record.kind == ReplayRecord::Kind::Check)
                    return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
}

TEST_F(GameProcessTest, SigtermInARaceKeepsTheLastRaceWhichPlaysBackAsRecorded) {
    // Cheap frames, so that a loaded machine still runs seconds of the race before the stop.
    const std::vector<std::string> small = {"--width", "640",       "--height",
                                            "480",     "--quality", "low"};
    GameProcess game("sigterm.log", small);
    const std::string lastRace = game.homeDir() + "/.local/share/quillorb/replays/last.qbr";
    ASSERT_TRUE(game.started);
    ASSERT_TRUE(game.waitUntilRunning(8, 120.0)) << game.output();
    // The marble rolls when the stop comes, a second of race into it however loaded the machine:
    // the recording under way holds a check for every whole second the race reached.
    run("xdotool search --name '^Quillorb 3D$' windowfocus --sync keydown w");
    ASSERT_TRUE(waitForCheck(lastRace + ".part", 240.0)) << game.output();
    game.signal(SIGTERM);
    const bool exited = game.exited(240.0);
    run("xdotool keyup w");
    ASSERT_TRUE(exited) << game.output();
    ASSERT_TRUE(WIFEXITED(game.status)) << game.output();
    EXPECT_EQ(WEXITSTATUS(game.status), 0);
    EXPECT_EQ(countOf(game.errors(), "Stopped by SIGTERM: the race is saved to " + lastRace + "\n"),
              1)
        << game.output();
    EXPECT_FALSE(std::filesystem::exists(lastRace + ".part"));

    Replay kept;
    ReplayProblem problem;
    ASSERT_TRUE(ReplayReader().read(lastRace, hashLevelData(runDir()), kept, problem))
        << problem.consoleLine(lastRace);
    ASSERT_FALSE(kept.records.empty());
    EXPECT_EQ(kept.records.back().kind, ReplayRecord::Kind::End);
    EXPECT_EQ(kept.records.back().outcome, ReplayRecord::Outcome::Quit);
    EXPECT_GE(kept.records.back().raceTime, 1.0);

    std::vector<std::string> timedemo = {"--timedemo", lastRace};
    timedemo.insert(timedemo.end(), small.begin(), small.end());
    GameProcess replay("sigterm-replay.log", timedemo);
    ASSERT_TRUE(replay.started);
    ASSERT_TRUE(replay.exited(300.0)) << replay.output();
    EXPECT_EQ(countOf(replay.output(), "Replay \"" + lastRace + "\": ended as recorded\n"), 1)
        << replay.output();
}

// Width and height from a PNG's header, or 0 x 0 when the file is no PNG.
std::pair<int, int> pngSize(const std::string& path) {
    std::string head = readFile(path).substr(0, 24);
    if (head.size() < 24 || head.compare(1, 3, "PNG") != 0)
        return {0, 0};
    auto bigEndian = [&](size_t at) {
        int value = 0;
        for (size_t i = at; i < at + 4; ++i)
            value = value * 256 + static_cast<unsigned char>(head[i]);
        return value;
    };
    return {bigEndian(16), bigEndian(20)};
}

// The install holds the game and what desktops and man need to show it, and no other program.
void expectInstalledTree(const std::string& prefix) {
    namespace fs = std::filesystem;
    std::vector<std::string> programs;
    for (const fs::directory_entry& e : fs::recursive_directory_iterator(prefix))
        if (e.is_regular_file() &&
            (e.status().permissions() & fs::perms::owner_exec) != fs::perms::none)
            programs.push_back(fs::relative(e.path(), prefix).string());
    EXPECT_EQ(programs, std::vector<std::string>{"games/quillorb"});

    for (const char* folder : {"shader", "models", "texture", "data"})
        EXPECT_TRUE(fs::is_directory(prefix + "/share/games/quillorb/" + folder)) << folder;

    std::string desktop = readFile(prefix + "/share/applications/quillorb.desktop");
    for (const char* line : {"[Desktop Entry]\n", "\nType=Application\n", "\nExec=quillorb\n",
                             "\nIcon=quillorb\n", "\nCategories=Game;ArcadeGame;\n"})
        EXPECT_NE(desktop.find(line), std::string::npos) << line;

    for (int size : {16, 32, 48, 64, 128, 256}) {
        std::string edge = std::to_string(size);
        std::string icon =
            prefix + "/share/icons/hicolor/" + edge + "x" + edge + "/apps/quillorb.png";
        EXPECT_EQ(pngSize(icon), std::make_pair(size, size)) << icon;
    }

    // Debian's man reads the page compressed; man pages write a hyphen as "\-".
    const std::string unpacked = scratchDir() + "/quillorb.6";
    ASSERT_EQ(
        run("gzip -dc \"" + prefix + "/share/man/man6/quillorb.6.gz\" > \"" + unpacked + "\""), 0);
    std::string manual = readFile(unpacked);
    for (size_t at = manual.find("\\-"); at != std::string::npos; at = manual.find("\\-", at))
        manual.erase(at, 1);
    EXPECT_EQ(manual.rfind(".TH QUILLORB 6 ", 0), 0u);
    EXPECT_NE(manual.find("\"Quillorb 3D " QUILLORB_VERSION "\""), std::string::npos);
    std::istringstream entries(
        "--help --version --data --record --replay --timedemo --shadow-map --water-map --samples "
        "--anisotropy --texture-filter --mipmaps --music-volume --width --height --fullscreen "
        "--windowed --vsync --no-vsync --write-settings QUILLORB_DATA XDG_CONFIG_HOME "
        "XDG_DATA_HOME quillorb/settings.toml quillorb/best-times.toml quillorb/replays/last.qbr "
        "/usr/share/games/quillorb Escape F9");
    for (std::string entry; entries >> entry;)
        EXPECT_NE(manual.find(entry), std::string::npos) << entry;

    // Software centres list the game by this file, at the version installed.
    std::string metainfo =
        readFile(prefix + "/share/metainfo/io.github.quillorb.Quillorb3D.metainfo.xml");
    EXPECT_NE(metainfo.find("<launchable type=\"desktop-id\">quillorb.desktop</launchable>"),
              std::string::npos);
    EXPECT_NE(metainfo.find("<release version=\"" QUILLORB_VERSION "\""), std::string::npos);
}

// The game installed into a fresh prefix and started from a folder that holds no data finds
// its data in the install: every shader, texture, mesh and the font load.
TEST_F(GameProcessTest, InstalledGameRunsFromAnotherFolder) {
    const std::string prefix = scratchDir() + "/prefix";
    const std::string elsewhere = scratchDir() + "/elsewhere";
    std::filesystem::create_directories(elsewhere);
    ASSERT_EQ(
        run(std::string("\"" QUILLORB_CMAKE "\" --install \"" QUILLORB_BUILD_DIR "\" --prefix \"") +
            prefix + "\" > \"" + scratchDir() + "/install.log\""),
        0)
        << readFile(scratchDir() + "/install.log");
    expectInstalledTree(prefix);

    GameProcess game("installed.log", {}, elsewhere, prefix + "/games/quillorb");
    ASSERT_TRUE(game.started);
    ASSERT_TRUE(game.waitUntilRunning(8, 120.0)) << game.output();
    pressEscape();
    ASSERT_TRUE(game.exited(240.0)) << game.output();
    ASSERT_TRUE(WIFEXITED(game.status));
    EXPECT_EQ(WEXITSTATUS(game.status), 0);
    const std::string out = game.output();
    expectStartUpMessagesInOrder(out);
    EXPECT_EQ(countOf(out, "not loaded"), 0) << out;
    EXPECT_EQ(countOf(out, "Could not load file"), 0) << out;
    EXPECT_EQ(countOf(out, "Error while reading font file"), 0) << out;
}

// Not even the banner: the game stopped before GLFW was started.
TEST(GameProcess, ARefusedStartExitsWithOneLineBeforeAnyWindow) {
    const std::string notAReplay = writeScratchFile("not-a-replay.qbr", "no race in here");
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string line;
    } refusals[] = {
        {{"--shadow-map", "1000"}, 2, "--shadow-map: must be a power of two from 512 to 8192"},
        {{"--replay", notAReplay}, 2, notAReplay},
        {{"--data", "/no/such/place"}, 1, "--data /no/such/place does not hold the game's data"},
    };
    for (const auto& refusal : refusals) {
        GameProcess game("refused.log", refusal.arguments);
        ASSERT_TRUE(game.started);
        ASSERT_TRUE(game.exited(20.0)) << game.output();
        ASSERT_TRUE(WIFEXITED(game.status));
        EXPECT_EQ(WEXITSTATUS(game.status), refusal.exitCode) << refusal.line;
        EXPECT_EQ(countOf(game.output(), "\n"), 1) << game.output();
        // A script tells the fault from progress by the stream it comes on.
        EXPECT_EQ(countOf(game.errors(), refusal.line), 1) << game.output();
    }
}

// The figure people compare across machines: a short replay drawn as fast as it goes, then the
// report and a clean exit with no key pressed.
TEST_F(GameProcessTest, ATimedemoPlaysTheReplayReportsAndExits) {
    Replay demo;
    ReplayProblem problem;
    ASSERT_TRUE(
        ReplayReader().read(runDir() + "/replays/demo.qbr", hashLevelData(runDir()), demo, problem))
        << problem.consoleLine("demo.qbr");
    const std::string shortReplay = scratchDir() + "/short.qbr";
    ReplayWriter writer;
    ASSERT_TRUE(writer.open(shortReplay, demo.header));
    for (int i = 0; i < 40; ++i)
        writer.frame(demo.records[i].frameTime, demo.records[i].input);
    ASSERT_TRUE(writer.finish());

    // Cheaper settings than the defaults, each of which the report must show as drawn with.
    GameProcess game("timedemo.log",
                     {"--timedemo", shortReplay, "--width", "640", "--height", "480", "--samples",
                      "0", "--shadow-map", "1024", "--water-map", "128", "--anisotropy", "2"});
    ASSERT_TRUE(game.started);
    ASSERT_TRUE(game.exited(300.0)) << game.output();
    ASSERT_TRUE(WIFEXITED(game.status));
    EXPECT_EQ(WEXITSTATUS(game.status), 0);
    const std::string out = game.output();
    EXPECT_NE(out.find("Timedemo \"" + shortReplay + "\": 39 frames in "), std::string::npos)
        << out;
    EXPECT_NE(out.find("Frames per second: minimum "), std::string::npos) << out;
    // Drawn at full, the governor off, whatever the state file says.
    EXPECT_NE(out.find("Settings: window 640 x 480, 0 samples, shadow map 1024, water maps 128, "
                       "anisotropy 2, render scale 1 (quality full)\n"),
              std::string::npos)
        << out;
    for (const char* pass :
         {"shadow", "lake water maps", "river water maps", "main pass", "water surfaces", "HUD"})
        EXPECT_NE(out.find(std::string(" ") + pass + " "), std::string::npos) << pass << "\n"
                                                                              << out;
    EXPECT_EQ(countOf(out, "GL: "), 0) << out;
}

TEST_F(GameProcessTest, DataOptionStartsTheGameFromAnotherFolderAtTheChosenSize) {
    std::string elsewhere = scratchDir() + "/elsewhere";
    ASSERT_EQ(run("mkdir -p '" + elsewhere + "'"), 0);
    GameProcess game("data.log", {"--data", runDir(), "--width", "800", "--height", "600"},
                     elsewhere);
    ASSERT_TRUE(game.started);
    ASSERT_TRUE(game.waitUntilRunning(8, 120.0)) << game.output();
    std::string geometry = scratchDir() + "/geometry.txt";
    ASSERT_EQ(run("xdotool search --name '^Quillorb 3D$' getwindowgeometry > '" + geometry + "'"),
              0);
    EXPECT_NE(readFile(geometry).find("Geometry: 800x600"), std::string::npos)
        << readFile(geometry);
    pressEscape();
    ASSERT_TRUE(game.exited(240.0)) << game.output();
    ASSERT_TRUE(WIFEXITED(game.status));
    EXPECT_EQ(WEXITSTATUS(game.status), 0);
    expectStartUpMessagesInOrder(game.output());
}

} // namespace
