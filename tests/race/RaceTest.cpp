#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "RaceSupport.h"
#include "TestFiles.h"
#include "app/AppState.h"
#include "app/LevelHash.h"
#include "app/RaceSession.h"
#include "app/ReplayReader.h"
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
    session.advance(frameTime, PhysicsWorld::keyboardInput(), race::scene());
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
