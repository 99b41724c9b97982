#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "ChaseView.h"
#include "RaceSupport.h"
#include "ReadFile.h"
#include "TestFiles.h"
#include "app/GamePlay.h"
#include "assets/Sphere.h"
#include "physics/Camera.h"
#include "physics/GhostTrack.h"
#include "physics/PhysicsWorld.h"
#include "physics/RaceState.h"
#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Keys.h"
#include "scene/Scene.h"
#include "session/BestTimes.h"
#include "session/GhostRace.h"
#include "session/LevelHash.h"
#include "session/PlayerInput.h"
#include "session/RaceSession.h"
#include "session/ReplayReader.h"
#include "session/SessionStart.h"
#include "session/WinRecord.h"
#include "settings/GameOptions.h"
#include "sound/SoundCues.h"

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
    EXPECT_FALSE(race::state().isGameOver()) << label;
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
// What the race asked to be heard, frame by frame: the one-shots and the rolling's level.
std::string heard;

glm::vec3 sessionFrame(RaceSession& session, double frameTime) {
    race::clock().advance(frameTime);
    race::frameClock().tick();
    session.advance(frameTime, playerInput(), race::scene());
    SoundCues& cues = race::scene()->getSoundCues();
    for (const SoundCue& cue : cues.takeCues())
        heard += std::to_string(static_cast<int>(cue.kind)) + "@" + std::to_string(cue.strength);
    heard += " " + std::to_string(cues.rollLevel()) + "\n";
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
    while (!race::state().isWon() && positions.size() < 20000) {
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
    session.finish(race::scene());
    return positions;
}

Replay readReplay(const std::string& path) {
    Replay replay;
    ReplayProblem problem;
    EXPECT_TRUE(ReplayReader().read(path, hashLevelData("."), replay, problem))
        << problem.consoleLine(path);
    return replay;
}

// Plays a replay to its end, one recorded frame a draw, and returns the line the game prints.
std::string playedVerdict(const Replay& replay) {
    race::restartRace();
    RaceSession session;
    session.startReplay(replay, RaceSession::Pace::OneFramePerDraw);
    while (!session.replayEnded())
        sessionFrame(session, 1.0 / 60.0);
    return session.replayVerdict("r.qbr");
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
    pad.set(gamepad::DpadUp, y > 0);
    pad.set(gamepad::DpadDown, y < 0);
    pad.set(gamepad::DpadRight, x > 0);
    pad.set(gamepad::DpadLeft, x < 0);
}

// The game's frame on the race's level with a best-times list of the test's own; undone
// however the test ends.
struct GameOnLevel {
    explicit GameOnLevel(BestTimes* times) {
        race::restartRace();
        race::game().wins().setBestTimes(times);
    }
    ~GameOnLevel() {
        race::game().wins().setBestTimesEnabled(true);
        race::game().wins().setBestTimes(nullptr);
        race::restartRace();
    }
};

// Demos earlier builds shipped, of format 1: f267f2b's first step steers from the start
// matrix's camera, a9b6378's from the chase camera placed at the start.
const std::string shippedDemos[] = {QUILLORB_SOURCE_DIR "/tests/race/replays/demo-f267f2b.qbr",
                                    QUILLORB_SOURCE_DIR "/tests/race/replays/demo-a9b6378.qbr"};

void tapButton(int button) {
    race::gamepad().press(button);
    race::gameFrame(1.0 / 60.0);
    race::gamepad().release(button);
}

} // namespace

// A replay runs the very same simulation: every frame of it lands where the race did.
TEST(Race, AReplayRunsTheRecordedRaceAgainFrameByFrame) {
    REQUIRE_LEVEL();
    const std::string file = scratchDir() + "/recorded.qbr";
    heard.clear();
    const std::vector<glm::vec3> played = recordRace(file);
    ASSERT_TRUE(race::state().isWon());
    const Replay replay = readReplay(file);
    const std::string raceHeard = heard;
    heard.clear();

    race::restartRace();
    RaceSession lockstep;
    lockstep.startReplay(replay, RaceSession::Pace::OneFramePerDraw);
    race::keys().press(GLFW_KEY_S); // the player's keys play no part in a replay
    for (size_t i = 0; i < played.size(); ++i)
        ASSERT_EQ(played[i], sessionFrame(lockstep, 0.1)) << "frame " << i;
    race::keys().releaseAll();
    EXPECT_EQ(heard, raceHeard) << "a replay sounds like its race";
    EXPECT_NE(raceHeard.find(std::to_string(static_cast<int>(SoundCue::Kind::Win)) + "@"),
              std::string::npos);
    EXPECT_TRUE(lockstep.replayEnded());
    EXPECT_TRUE(race::state().isWon());
    EXPECT_EQ(lockstep.replayVerdict("r.qbr"), "Replay \"r.qbr\": ended as recorded");

    // At its recorded pace, drawing three times slower than the recording: the same race.
    race::restartRace();
    RaceSession paced;
    paced.startReplay(replay, RaceSession::Pace::Recorded);
    int drawn = 0;
    while (!paced.replayEnded() && drawn < 20000) {
        sessionFrame(paced, 0.09);
        ++drawn;
    }
    EXPECT_TRUE(race::state().isWon());
    EXPECT_EQ(played.back(), race::scene()->getMarble()->getBoundingCenter());
    EXPECT_EQ(paced.replayVerdict("r.qbr"), "Replay \"r.qbr\": ended as recorded");
    double recorded = 0.0;
    for (const ReplayRecord& record : replay.records)
        recorded += record.frameTime;
    EXPECT_NEAR(recorded / 0.09, drawn, 2.0) << "as many recorded frames a draw as it covers";
    std::remove(file.c_str());
}

// The recording notes the race at each whole second it reached, and closes with the win.
TEST(Race, ARecordingChecksEverySecondAndEndsWithTheWin) {
    REQUIRE_LEVEL();
    const std::string file = scratchDir() + "/checked.qbr";
    const glm::vec3 finish = recordRace(file).back();
    const Replay replay = readReplay(file);
    const ReplayRecord& end = replay.records.back();
    EXPECT_TRUE(end.kind == ReplayRecord::Kind::End && end.lives == 3 && end.position == finish &&
                end.outcome == ReplayRecord::Outcome::Won);
    double second = 0.0;
    for (const ReplayRecord& record : replay.records) {
        if (record.kind == ReplayRecord::Kind::Check) { // after frames of 5 to 50 ms
            EXPECT_NEAR(record.raceTime, ++second + 0.025, 0.025);
        }
    }
    EXPECT_EQ(second, std::floor(end.raceTime));
}

// The start of the demo up to its third check, its second and third checks altered alike.
TEST(Race, AReplaySaysWhetherItWentAnotherWayAndWhen) {
    REQUIRE_LEVEL();
    Replay start = readReplay("replays/demo.qbr");
    std::vector<size_t> checks;
    for (size_t i = 0; i < start.records.size() && checks.size() < 3; ++i)
        if (start.records[i].kind == ReplayRecord::Kind::Check)
            checks.push_back(i);
    ASSERT_EQ(checks.size(), 3u);
    start.records.resize(checks[2] + 1);
    char second[80];
    std::snprintf(second, sizeof second, "Replay \"r.qbr\": went another way at race time %.2f s",
                  start.records[checks[1]].raceTime);
    const std::string same = "Replay \"r.qbr\": ended as recorded";
    struct Case {
        void (*alter)(ReplayRecord& check);
        std::string verdict;
    } cases[] = {
        {[](ReplayRecord& check) { check.position.x += 1e-5f; }, same}, // the last bits
        {[](ReplayRecord& check) { check.position.y += 1e-3f; }, second},
        {[](ReplayRecord& check) { check.raceTime += 1e-5; }, second},
        {[](ReplayRecord& check) {
             check.kind = ReplayRecord::Kind::End;
             check.outcome = ReplayRecord::Outcome::Won;
             check.lives = 3;
         },
         second},
    };
    for (const Case& each : cases) {
        Replay altered = start;
        each.alter(altered.records[checks[1]]);
        each.alter(altered.records[checks[2]]);
        EXPECT_EQ(playedVerdict(altered), each.verdict);
    }
    start.records.resize(checks[0]);
    EXPECT_EQ(playedVerdict(start), "Replay \"r.qbr\": holds no checks, so it cannot be checked");
}

// Falls, a game over and a new race after it: the replay ends where the race did.
TEST(Race, AReplayWithLostLivesAndAPlayAgainEndsAsTheRaceDid) {
    REQUIRE_LEVEL();
    const std::string file = scratchDir() + "/restarted.qbr";
    GameOnLevel game(nullptr);
    RaceSession recording;
    ASSERT_TRUE(recording.startRecording(file, hashLevelData(".")));
    race::game().setRaceSession(&recording);
    auto holdUntil = [](int key, const std::function<bool()>& done) {
        race::keys().press(key);
        for (int i = 0; i < 6000 && !done(); ++i)
            race::gameFrame(1.0 / 60.0);
        race::keys().releaseAll();
    };
    holdUntil(GLFW_KEY_D, [] { return race::state().isGameOver(); });
    holdUntil(GLFW_KEY_ENTER, [] { return !race::state().isGameOver(); });
    holdUntil(GLFW_KEY_D, [] { return race::state().lives == 2; });
    int frames = 0;
    holdUntil(GLFW_KEY_W, [&frames] { return ++frames > 40; });
    recording.finish(race::scene());
    ASSERT_EQ(2, race::state().lives) << "four lives lost, a new race, one more lost in it";
    const glm::vec3 at = race::scene()->getMarble()->getBoundingCenter();
    const double raceTime = race::scene()->getSimulationTime();

    race::restartRace();
    RaceSession replaying;
    replaying.startReplay(readReplay(file), RaceSession::Pace::OneFramePerDraw);
    race::game().setRaceSession(&replaying);
    race::keys().press(GLFW_KEY_S); // the player's keys play no part in a replay
    while (!replaying.replayEnded())
        race::gameFrame(0.1);
    race::game().setRaceSession(nullptr);
    EXPECT_EQ(2, race::state().lives);
    EXPECT_FALSE(race::state().isGameOver() || race::state().isWon());
    EXPECT_EQ(at, race::scene()->getMarble()->getBoundingCenter());
    EXPECT_EQ(raceTime, race::scene()->getSimulationTime());
}

// A watched race draws its first pictures before its first recorded frame is due: they show
// the start as the chase camera does, as a new race's first picture does.
static void expectWatchedStartSeenFromBehind(const std::string& file) {
    race::restartRace();
    GameOptions options;
    options.replayFile = file;
    std::unique_ptr<RaceSession> session(startRaceSession(options));
    ASSERT_NE(session, nullptr);
    race::game().setRaceSession(session.get());
    race::gameFrame(0.0);
    race::game().setRaceSession(nullptr);
    EXPECT_TRUE(seesTheStartFromBehind(*race::scene())) << file;
}

TEST(Race, AWatchedRaceShowsItsStartFromBehindTheMarbleBeforeItsFirstFrame) {
    REQUIRE_LEVEL();
    expectWatchedStartSeenFromBehind("replays/demo.qbr");
    expectWatchedStartSeenFromBehind(shippedDemos[0]); // its first step steers from elsewhere
}

// The first frame of an old replay finds the rules it ran under; the frame after, longer by
// what that took, does not hurry through the start to make up for it.
TEST(Race, FindingAnOldReplaysRulesCostsItsStartNothing) {
    REQUIRE_LEVEL();
    struct SlowClock : TimeSource {
        double seconds = 0.0;
        double now() override { return seconds += 1.0; } // a second gone at every look
    } slow;
    race::restartRace();
    RaceSession session;
    session.startReplay(readReplay(shippedDemos[1]), RaceSession::Pace::Recorded);
    platform::setTimeSource(&slow);
    session.advance(1.0 / 60.0, RaceInput(), race::scene());
    platform::setTimeSource(&race::clock());
    session.advance(1.0 + 1.0 / 60.0, RaceInput(), race::scene());
    EXPECT_LE(race::scene()->getSimulationTime(), 2.0 / 60.0 + 1e-9);
}

// Files players keep from an earlier build play the way they were recorded, and a best.qbr
// among them runs as a ghost through every check of its race.
TEST(Race, EveryDemoShippedBeforePlaysAsRecordedAndAsAGhost) {
    REQUIRE_LEVEL();
    for (const std::string& file : shippedDemos) {
        race::restartRace();
        GhostRace ghost("best");
        ghost.setBestFile(file);
        ghost.load(*race::scene());
        int checks = 0;
        for (const ReplayRecord& record : readReplay(file).records) {
            if (record.kind != ReplayRecord::Kind::Check)
                continue;
            ++checks;
            const glm::vec3 at(ghost.track().at(record.raceTime)[3]);
            ASSERT_TRUE(nearlyEqual(at, record.position, 1e-4f))
                << file << " at " << record.raceTime;
        }
        EXPECT_GT(checks, 40) << file;
        EXPECT_EQ(playedVerdict(readReplay(file)), "Replay \"r.qbr\": ended as recorded") << file;
    }
}

// Watching a replay is not racing: the start-up that reads it keeps the win off the list.
TEST(Race, AWatchedWinLeavesTheBestTimesUntouched) {
    REQUIRE_LEVEL();
    BestTimes times(scratchDir() + "/watched/best-times.toml");
    GameOnLevel game(&times);
    GameOptions options;
    options.replayFile = "replays/demo.qbr";
    std::unique_ptr<RaceSession> session(startRaceSession(options));
    ASSERT_NE(session, nullptr);
    race::game().setRaceSession(session.get());
    for (int i = 0; i < 100000 && !session->replayEnded(); ++i)
        race::gameFrame(1.0 / 60.0);
    race::game().setRaceSession(nullptr);
    EXPECT_TRUE(race::game().wins().record().known);
    EXPECT_TRUE(times.entries().empty());
    EXPECT_FALSE(std::filesystem::exists(times.path()));
}

// The ghost is the replay's marble at every step, and tracing it leaves the race untouched.
TEST(Race, TheGhostRunsWhereTheReplaysMarbleRanAndTheRaceStaysAsItWas) {
    REQUIRE_LEVEL();
    const Replay demo = readReplay("replays/demo.qbr");
    race::restartRace();
    Scene& scene = *race::scene();
    const glm::mat4 marble = scene.getMarble()->getTransform();
    const glm::mat4 eye = scene.getCamera()->getMatrix();
    const GhostTrack ghost = GhostRace::trace(demo, scene);
    EXPECT_EQ(marble, scene.getMarble()->getTransform());
    EXPECT_EQ(eye, scene.getCamera()->getMatrix());
    EXPECT_EQ(0.0, scene.getSimulationTime());

    RaceSession session;
    session.startReplay(demo, RaceSession::Pace::OneFramePerDraw);
    while (!session.replayEnded()) {
        const glm::vec3 at = sessionFrame(session, 1.0 / 60.0);
        const double raceTime = scene.getSimulationTime();
        ASSERT_EQ(at, glm::vec3(ghost.at(raceTime)[3])) << "race time " << raceTime;
    }
    EXPECT_EQ(session.replayVerdict("r.qbr"), "Replay \"r.qbr\": ended as recorded");
    EXPECT_EQ(ghost.endTime(), race::state().winningTime);
}

// Drawn at another rate than it was recorded at, the ghost glides between two recorded steps
// instead of standing on one and jumping to the next.
TEST(Race, BetweenTwoRecordedStepsTheGhostIsOnItsWayFromOneToTheNext) {
    REQUIRE_LEVEL();
    race::restartRace();
    const GhostTrack ghost = GhostRace::trace(readReplay("replays/demo.qbr"), *race::scene());
    // The demo was recorded at 60 Hz; a 144 Hz display draws frames between its steps.
    const double step = 1.0 / 60.0;
    int moving = 0;
    for (int frame = 1; frame / 144.0 < ghost.endTime() - step; ++frame) {
        const double time = frame / 144.0;
        const double before = std::floor(time / step) * step;
        const glm::vec3 from(ghost.at(before)[3]);
        const glm::vec3 to(ghost.at(before + step)[3]);
        const glm::vec3 drawn(ghost.at(time)[3]);
        const float stride = glm::distance(from, to);
        if (stride < 0.01f)
            continue;
        ++moving;
        const float share = static_cast<float>((time - before) / step);
        ASSERT_NEAR(glm::distance(from, drawn), share * stride, 1e-3f) << "race time " << time;
        ASSERT_NEAR(glm::distance(drawn, to), (1.0f - share) * stride, 1e-3f) << time;
    }
    EXPECT_GT(moving, 1000);
}

// A new best keeps its own race, from its start to the win, whole; a slower win leaves it.
TEST(Race, ANewBestKeepsItsRaceForTheGhostAndASlowerWinDoesNot) {
    REQUIRE_LEVEL();
    BestTimes times(freshScratchDir("kept") + "/best-times.toml");
    GameOnLevel game(&times);
    GhostRace& ghost = race::game().ghost();
    ghost.setBestFile(GhostRace::bestFileBeside(times.path()));
    RaceSession recording;
    ASSERT_TRUE(recording.startRecording(scratchDir() + "/kept/last.qbr", hashLevelData(".")));
    race::game().setRaceSession(&recording);
    // A race lost before the won one: what is kept starts at the play again.
    race::keys().press(GLFW_KEY_D);
    for (int i = 0; i < 6000 && !race::state().isGameOver(); ++i)
        race::gameFrame(1.0 / 60.0);
    race::keys().releaseAll();
    tapButton(gamepad::A);
    RaceDriver driver = race::makeDriver();
    for (int i = 0; i < 240 * 60 && !race::state().isWon(); ++i) {
        driver.drive(race::view(1.0 / 60.0), race::keys());
        race::gameFrame(1.0 / 60.0);
    }
    race::keys().releaseAll();
    ASSERT_TRUE(race::state().isWon());
    const double won = race::state().winningTime;
    const std::string kept = readFile(ghost.getBestFile());

    tapButton(gamepad::A);
    EXPECT_EQ(won, ghost.track().endTime()) << "the next race runs against the new best";
    times.record(0.01, BestTimes::today()); // faster than the win below
    race::gameFrame(0.25);
    race::winNow();
    race::gameFrame(1.0 / 60.0);
    EXPECT_EQ(kept, readFile(ghost.getBestFile()));
    race::game().setRaceSession(nullptr);
    EXPECT_EQ(playedVerdict(readReplay(ghost.getBestFile())),
              "Replay \"r.qbr\": ended as recorded");
    EXPECT_EQ(won, race::state().winningTime);
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
        for (int i = 0; i < 240 * 60 && !race::state().isWon(); ++i) {
            driver.drive(race::view(1.0 / 60.0), race::keys());
            sessionFrame(session, 1.0 / 60.0);
        }
        race::keys().releaseAll();
        session.finish(race::scene());
        ASSERT_TRUE(race::state().isWon());
    }
    EXPECT_EQ(playedVerdict(readReplay(demo)), "Replay \"r.qbr\": ended as recorded");
    EXPECT_TRUE(race::state().isWon());
    EXPECT_EQ(3, race::state().lives);
}

// The whole course on the gamepad alone, through the game's frame: the win is timed once
// however long the winner screen stays, Start pauses and A starts the next race.
TEST(Race, TheGamepadAloneWinsTheRaceWhichIsTimedOnce) {
    REQUIRE_LEVEL();
    BestTimes times(freshScratchDir("race") + "/best-times.toml");
    GameOnLevel game(&times);

    RaceDriver driver = race::makeDriver();
    ScriptedKeys wanted;
    const double frameTime = 1.0 / 60.0;
    double played = 0.0;
    while (played < 240.0 && !race::state().isWon() && !race::state().isGameOver()) {
        driver.drive(race::view(frameTime), wanted);
        steerWithGamepad(wanted, race::gamepad());
        race::gameFrame(frameTime);
        played += frameTime;
        ASSERT_FALSE(race::keys().isDown(GLFW_KEY_W) || race::keys().isDown(GLFW_KEY_D));
    }
    race::gamepad().releaseAll();
    std::cout << "[ race     ] gamepad: " << (race::state().isWon() ? "won" : "did not finish")
              << " after " << played << " s, " << 3 - race::state().lives
              << " lives lost, race time " << race::scene()->getSimulationTime() << " s"
              << std::endl;
    ASSERT_TRUE(race::state().isWon());
    EXPECT_EQ(3, race::state().lives);

    const double raceTime = race::scene()->getSimulationTime();
    for (int i = 0; i < 120; ++i)
        race::gameFrame(frameTime);
    const WinRecord win = race::game().view().win;
    EXPECT_TRUE(win.known);
    EXPECT_EQ(raceTime, win.seconds);
    EXPECT_TRUE(win.newBest);
    EXPECT_NEAR(raceTime, win.bestSeconds, 0.005);
    BestTimes onDisk(times.path());
    onDisk.load();
    ASSERT_EQ(1u, onDisk.entries().size()) << "one win, one entry";
    EXPECT_NEAR(raceTime, onDisk.entries()[0].seconds, 0.005);

    tapButton(gamepad::A);
    EXPECT_FALSE(race::state().isWon());
    EXPECT_EQ(0.0, race::scene()->getSimulationTime());
    race::gameFrame(frameTime);
    EXPECT_FALSE(race::game().wins().record().known);

    tapButton(gamepad::Start);
    ASSERT_TRUE(race::game().controls().isPaused());
    const double remaining = race::scene()->getRemainingTime();
    for (int i = 0; i < 60; ++i)
        race::gameFrame(frameTime);
    EXPECT_EQ(remaining, race::scene()->getRemainingTime());
    tapButton(gamepad::Start);
    EXPECT_FALSE(race::game().controls().isPaused());
    race::gameFrame(frameTime);
    EXPECT_LT(race::scene()->getRemainingTime(), remaining);

    // A race that is only watched shows its time but keeps it off the list, however fast.
    race::game().wins().setBestTimesEnabled(false);
    race::winNow();
    race::gameFrame(frameTime);
    EXPECT_TRUE(race::game().wins().record().known);
    EXPECT_LT(race::game().wins().record().seconds, raceTime);
    EXPECT_FALSE(race::game().wins().record().newBest);
    EXPECT_EQ(1u, times.entries().size());
}
