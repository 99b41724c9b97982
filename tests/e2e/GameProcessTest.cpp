// Runs the real game binary on the test display and drives it from outside, as a player's
// window system would: a key press, or the window's close button.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestFiles.h"

extern char** environ;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int countOf(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

class GameProcess {
  public:
    // Starts the game with these arguments, in this working directory (empty: the test's own).
    explicit GameProcess(const std::string& logName, std::vector<std::string> arguments = {},
                         const std::string& workingDirectory = "")
        : log(scratchDir() + "/" + logName) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        if (!workingDirectory.empty())
            posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
        arguments.insert(arguments.begin(), QUILLORB_BINARY);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        // A settings file of the developer's own must not change what the tests see.
        setenv("XDG_CONFIG_HOME", (scratchDir() + "/no-config").c_str(), 1);
        started = posix_spawn(&pid, QUILLORB_BINARY, &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }

    ~GameProcess() {
        if (started && !reaped) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    std::string output() const { return readFile(log); }

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
    pid_t pid = 0;
    bool reaped = false;
};

int run(const std::string& command) {
    return std::system(command.c_str());
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
    // No frame reported a GL error.
    EXPECT_EQ(countOf(out, "GL: "), 0) << out;
}

TEST_F(GameProcessTest, EscapeEndsTheLoopAndTheGameExitsCleanly) {
    GameProcess game("escape.log");
    ASSERT_TRUE(game.started);
    ASSERT_TRUE(game.waitUntilRunning(8, 120.0)) << game.output();
    ASSERT_EQ(run("xdotool search --sync --name '^Quillorb 3D$' windowfocus --sync keydown Escape"
                  " sleep 1 keyup Escape"),
              0);
    ASSERT_TRUE(game.exited(240.0)) << game.output();
    ASSERT_TRUE(WIFEXITED(game.status));
    EXPECT_EQ(WEXITSTATUS(game.status), 0);
    expectStartUpMessagesInOrder(game.output());
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

TEST(GameProcess, ARefusedOptionExitsTwoWithOneLineBeforeAnyWindow) {
    GameProcess game("refused.log", {"--shadow-map", "1000"});
    ASSERT_TRUE(game.started);
    ASSERT_TRUE(game.exited(20.0)) << game.output();
    ASSERT_TRUE(WIFEXITED(game.status));
    EXPECT_EQ(WEXITSTATUS(game.status), 2);
    // Not even the banner: the game stopped before GLFW was started.
    EXPECT_EQ(game.output(), "--shadow-map: must be a power of two from 512 to 8192 (got 1000)\n");
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
    // In the smaller window the game may have closed before the key comes back up, which
    // xdotool reports as an error; the game's own exit is what counts.
    run("xdotool search --sync --name '^Quillorb 3D$' windowfocus --sync keydown Escape"
        " sleep 1 keyup Escape 2>/dev/null");
    ASSERT_TRUE(game.exited(240.0)) << game.output();
    ASSERT_TRUE(WIFEXITED(game.status));
    EXPECT_EQ(WEXITSTATUS(game.status), 0);
    expectStartUpMessagesInOrder(game.output());
}

} // namespace
