#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "RaceSupport.h"
#include "TestFiles.h"
#include "app/AppState.h"
#include "app/Application.h"
#include "app/BestTimes.h"
#include "app/GameOptions.h"
#include "app/GameSetup.h"
#include "app/LevelHash.h"
#include "app/PlayControls.h"
#include "app/RaceSession.h"
#include "app/ReplayReader.h"
#include "app/WinRecord.h"
#include "assets/Sphere.h"
#include "physics/PhysicsWorld.h"
#include "platform/Keys.h"
#include "scene/Clock.h"
#include "scene/Scene.h"

namespace {

void expectCleanWin(const std::function<double()>& nextFrameTime, const std::string& label) {
    race::restartRace();
    RaceDriver driver = race::makeDriver();
    race::DriveResult result = race::driveToFinish(driver, nextFrameTime, 240.0);
    std::cout << "[ race     ] " << label << ": " << (result.won ? "won" : "did not finish")
              << " after " << result.seconds << " s of play, " << result.livesLost
              << " lives lost, " << result.progress << " of " << driver.routeLength() << " units"
              << std::endl;
    ::testing::Test::RecordProperty(label, std::to_string(result.seconds));
    EXPECT_TRUE(result.won) << label;
    EXPECT_EQ(0, result.livesLost) << label;
    EXPECT_FALSE(isGameOver()) << label;
}

} // namespace

// Slow machines draw a few frames a second, fast displays hundreds: the race must come out
// the same way at any of them.
TEST(Race, TheDriverFinishesTheCourseAtAnyFrameRate) {
    REQUIRE_LEVEL();
    for (int hertz : {3, 5, 10, 60, 144, 240}) {
        const double frameTime = 1.0 / hertz;
        expectCleanWin([frameTime] { return frameTime; },
                       "finish_" + std::to_string(hertz) + "Hz_seconds");
    }
    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> frameTimes(0.005, 0.3);
    expectCleanWin([&] { return frameTimes(random); }, "finish_random_5_to_300ms_seconds");
}

namespace {

// The game's own frame, fed through a session: the driver at the keys, or a replay.
glm::vec3 sessionFrame(RaceSession& session, double frameTime) {
    race::clock().advance(frameTime);
    Clock::instance()->tick();
    session.advance(frameTime, PhysicsWorld::playerInput(), race::scene());
    return race::scene()->getMarble()->getBoundingCenter();
}

// Drives a whole race into a recording and returns where the marble was after every frame.
std::vector<glm::vec3> recordRace(const std::string& path) {
    race::restartRace();
    RaceSession session;
    EXPECT_TRUE(session.startRecording(path, hashLevelData(".")));
    RaceDriver driver = race::makeDriver();
    std::vector<glm::vec3> positions;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> frameTimes(0.005, 0.05);
    while (!isGameWon() && positions.size() < 20000) {
        double frameTime = frameTimes(random);
        driver.drive(race::view(frameTime), race::keys());
        if (positions.size() == 500) {
            // A pause in the middle holds nothing in the recording.
            session.recordEvent(PlayEvent::Paused);
            session.recordEvent(PlayEvent::Resumed);
        }
        positions.push_back(sessionFrame(session, frameTime));
    }
    race::keys().releaseAll();
    session.finish();
    return positions;
}

Replay readReplay(const std::string& path) {
    Replay replay;
    std::string error;
    EXPECT_TRUE(ReplayReader().read(path, hashLevelData("."), replay, error)) << error;
    return replay;
}

// The driver's keys handed to the gamepad: one direction on the d-pad, two at once as the
// left stick pushed into that corner (GLFW's stick y grows downward).
void steerWithGamepad(ScriptedKeys& wanted, ScriptedGamepad& pad) {
    const int x = int(wanted.isDown(GLFW_KEY_D)) - int(wanted.isDown(GLFW_KEY_A));
    const int y = int(wanted.isDown(GLFW_KEY_W)) - int(wanted.isDown(GLFW_KEY_S));
    pad.releaseAll();
    if (x != 0 && y != 0) {
        pad.setLeftStick(static_cast<float>(x), static_cast<float>(-y));
        return;
    }
    pad.set(GLFW_GAMEPAD_BUTTON_DPAD_UP, y > 0);
    pad.set(GLFW_GAMEPAD_BUTTON_DPAD_DOWN, y < 0);
    pad.set(GLFW_GAMEPAD_BUTTON_DPAD_RIGHT, x > 0);
    pad.set(GLFW_GAMEPAD_BUTTON_DPAD_LEFT, x < 0);
}

// One frame of the game's own update (player input, play controls, the win's time).
void gameFrame(double seconds) {
    race::clock().advance(seconds);
    updateFrame();
}

// The game's frame on the race's level with a best-times list of the test's own; undone
// however the test ends.
struct GameOnLevel {
    explicit GameOnLevel(BestTimes* times) {
        race::restartRace();
        resetPlayControls();
        setScene(race::scene());
        setBestTimes(times);
    }
    ~GameOnLevel() {
        setBestTimesEnabled(true);
        setBestTimes(nullptr);
        setScene(nullptr);
        resetPlayControls();
        race::restartRace();
    }
};

void tapButton(int button) {
    race::gamepad().press(button);
    gameFrame(1.0 / 60.0);
    race::gamepad().release(button);
}

} // namespace

// A replay runs the very same simulation: every frame of it lands where the race did.
TEST(Race, AReplayRunsTheRecordedRaceAgainFrameByFrame) {
    REQUIRE_LEVEL();
    const std::string file = scratchDir() + "/recorded.qbr";
    const std::vector<glm::vec3> played = recordRace(file);
    ASSERT_TRUE(isGameWon());
    const Replay replay = readReplay(file);

    race::restartRace();
    RaceSession lockstep;
    lockstep.startReplay(replay, RaceSession::Pace::OneFramePerDraw);
    race::keys().press(GLFW_KEY_S); // the player's keys play no part in a replay
    for (size_t i = 0; i < played.size(); ++i)
        ASSERT_EQ(played[i], sessionFrame(lockstep, 0.1)) << "frame " << i;
    race::keys().releaseAll();
    EXPECT_TRUE(lockstep.replayEnded());
    EXPECT_TRUE(isGameWon());

    // At its recorded pace, drawing three times slower than the recording: the same race.
    race::restartRace();
    RaceSession paced;
    paced.startReplay(replay, RaceSession::Pace::Recorded);
    int drawn = 0;
    while (!paced.replayEnded() && drawn < 20000) {
        sessionFrame(paced, 0.09);
        ++drawn;
    }
    EXPECT_TRUE(isGameWon());
    EXPECT_EQ(played.back(), race::scene()->getMarble()->getBoundingCenter());
    double recorded = 0.0;
    for (const ReplayRecord& record : replay.records)
        recorded += record.frameTime;
    EXPECT_NEAR(recorded / 0.09, drawn, 2.0) << "as many recorded frames a draw as it covers";
    std::remove(file.c_str());
}

// Falls, a game over and a new race after it: the replay ends where the race did.
TEST(Race, AReplayWithLostLivesAndAPlayAgainEndsAsTheRaceDid) {
    REQUIRE_LEVEL();
    const std::string file = scratchDir() + "/restarted.qbr";
    GameOnLevel game(nullptr);
    RaceSession recording;
    ASSERT_TRUE(recording.startRecording(file, hashLevelData(".")));
    setRaceSession(&recording);
    auto holdUntil = [](int key, const std::function<bool()>& done) {
        race::keys().press(key);
        for (int i = 0; i < 6000 && !done(); ++i)
            gameFrame(1.0 / 60.0);
        race::keys().releaseAll();
    };
    holdUntil(GLFW_KEY_D, [] { return isGameOver(); });
    holdUntil(GLFW_KEY_ENTER, [] { return !isGameOver(); });
    holdUntil(GLFW_KEY_D, [] { return getLives() == 2; });
    int frames = 0;
    holdUntil(GLFW_KEY_W, [&frames] { return ++frames > 40; });
    recording.finish();
    ASSERT_EQ(2, getLives()) << "four lives lost, a new race, one more lost in it";
    const glm::vec3 at = race::scene()->getMarble()->getBoundingCenter();
    const double raceTime = race::scene()->getSimulationTime();

    race::restartRace();
    resetPlayControls();
    RaceSession replaying;
    replaying.startReplay(readReplay(file), RaceSession::Pace::OneFramePerDraw);
    setRaceSession(&replaying);
    race::keys().press(GLFW_KEY_S); // the player's keys play no part in a replay
    while (!replaying.replayEnded())
        gameFrame(0.1);
    setRaceSession(nullptr);
    EXPECT_EQ(2, getLives());
    EXPECT_FALSE(isGameOver() || isGameWon());
    EXPECT_EQ(at, race::scene()->getMarble()->getBoundingCenter());
    EXPECT_EQ(raceTime, race::scene()->getSimulationTime());
}

// Watching a replay is not racing: the start-up that reads it keeps the win off the list.
TEST(Race, AWatchedWinLeavesTheBestTimesUntouched) {
    REQUIRE_LEVEL();
    BestTimes times(scratchDir() + "/watched/best-times.toml");
    GameOnLevel game(&times);
    GameOptions options;
    options.replayFile = "replays/demo.qbr";
    setGameOptions(options);
    ASSERT_TRUE(startRaceSession());
    for (int i = 0; i < 100000 && !getRaceSession()->replayEnded(); ++i)
        gameFrame(1.0 / 60.0);
    delete getRaceSession();
    setRaceSession(nullptr);
    setGameOptions(GameOptions());
    EXPECT_TRUE(getWinRecord().known);
    EXPECT_TRUE(times.entries().empty());
    EXPECT_FALSE(std::filesystem::exists(times.path()));
}

// The demo that ships with the game is a whole winning race; a change to the race that
// breaks it must not go unnoticed. QUILLORB_WRITE_DEMO=path records it afresh.
TEST(Race, TheDemoReplayWins) {
    REQUIRE_LEVEL();
    const std::string demo = "replays/demo.qbr";
    if (const char* target = std::getenv("QUILLORB_WRITE_DEMO")) {
        race::restartRace();
        RaceSession session;
        ASSERT_TRUE(session.startRecording(target, hashLevelData(".")));
        RaceDriver driver = race::makeDriver();
        for (int i = 0; i < 240 * 60 && !isGameWon(); ++i) {
            driver.drive(race::view(1.0 / 60.0), race::keys());
            sessionFrame(session, 1.0 / 60.0);
        }
        race::keys().releaseAll();
        session.finish();
        ASSERT_TRUE(isGameWon());
    }
    race::restartRace();
    RaceSession session;
    session.startReplay(readReplay(demo), RaceSession::Pace::OneFramePerDraw);
    while (!session.replayEnded())
        sessionFrame(session, 1.0 / 60.0);
    EXPECT_TRUE(isGameWon());
    EXPECT_EQ(3, getLives());
}

// The whole course on the gamepad alone, through the game's frame: the win is timed once
// however long the winner screen stays, Start pauses and A starts the next race.
TEST(Race, TheGamepadAloneWinsTheRaceWhichIsTimedOnce) {
    REQUIRE_LEVEL();
    BestTimes times(scratchDir() + "/race/best-times.toml");
    GameOnLevel game(&times);

    RaceDriver driver = race::makeDriver();
    ScriptedKeys wanted;
    const double frameTime = 1.0 / 60.0;
    double played = 0.0;
    while (played < 240.0 && !isGameWon() && !isGameOver()) {
        driver.drive(race::view(frameTime), wanted);
        steerWithGamepad(wanted, race::gamepad());
        gameFrame(frameTime);
        played += frameTime;
        ASSERT_FALSE(race::keys().isDown(GLFW_KEY_W) || race::keys().isDown(GLFW_KEY_D));
    }
    race::gamepad().releaseAll();
    std::cout << "[ race     ] gamepad: " << (isGameWon() ? "won" : "did not finish") << " after "
              << played << " s, " << 3 - getLives() << " lives lost, race time "
              << race::scene()->getSimulationTime() << " s" << std::endl;
    ASSERT_TRUE(isGameWon());
    EXPECT_EQ(3, getLives());

    const double raceTime = race::scene()->getSimulationTime();
    for (int i = 0; i < 120; ++i)
        gameFrame(frameTime);
    const WinRecord win = getWinRecord();
    EXPECT_TRUE(win.known);
    EXPECT_EQ(raceTime, win.seconds);
    EXPECT_TRUE(win.newBest);
    EXPECT_NEAR(raceTime, win.bestSeconds, 0.005);
    BestTimes onDisk(times.path());
    onDisk.load();
    ASSERT_EQ(1u, onDisk.entries().size()) << "one win, one entry";
    EXPECT_NEAR(raceTime, onDisk.entries()[0].seconds, 0.005);

    tapButton(GLFW_GAMEPAD_BUTTON_A);
    EXPECT_FALSE(isGameWon());
    EXPECT_EQ(0.0, race::scene()->getSimulationTime());
    gameFrame(frameTime);
    EXPECT_FALSE(getWinRecord().known);

    tapButton(GLFW_GAMEPAD_BUTTON_START);
    ASSERT_TRUE(isPaused());
    const double remaining = race::scene()->getRemainingTime();
    for (int i = 0; i < 60; ++i)
        gameFrame(frameTime);
    EXPECT_EQ(remaining, race::scene()->getRemainingTime());
    tapButton(GLFW_GAMEPAD_BUTTON_START);
    EXPECT_FALSE(isPaused());
    gameFrame(frameTime);
    EXPECT_LT(race::scene()->getRemainingTime(), remaining);

    // A race that is only watched shows its time but keeps it off the list, however fast.
    setBestTimesEnabled(false);
    setGameWon();
    gameFrame(frameTime);
    EXPECT_TRUE(getWinRecord().known);
    EXPECT_LT(getWinRecord().seconds, raceTime);
    EXPECT_FALSE(getWinRecord().newBest);
    EXPECT_EQ(1u, times.entries().size());
}
