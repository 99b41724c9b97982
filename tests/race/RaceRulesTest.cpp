#include <cmath>

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <AL/al.h>

#include "ChaseView.h"
#include "RaceSupport.h"
#include "app/GamePlay.h"
#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/Sphere.h"
#include "level/LevelTable.h"
#include "levelgen/CourseRoute.h"
#include "physics/Camera.h"
#include "physics/PhysicsWorld.h"
#include "physics/RaceState.h"
#include "platform/Keys.h"
#include "scene/Scene.h"
#include "session/PlayerInput.h"
#include "sound/BackgroundMusic.h"
#include "sound/SoundCues.h"

namespace {

const double frameTime = 1.0 / 60.0;

glm::vec3 marblePosition() {
    return race::scene()->getMarble()->getBoundingCenter();
}

float distanceFromStart() {
    glm::vec3 d = marblePosition() - level::startPosition;
    return glm::length(glm::vec2(d.x, d.z));
}

// Holds the keys until a life is lost or the play time runs out; returns the marble's
// position at the start of the frame that cost the life.
glm::vec3 holdUntilALifeIsLost(double seconds) {
    const int lives = race::state().lives;
    glm::vec3 before = marblePosition();
    for (int i = 0; i < static_cast<int>(seconds / frameTime) && race::state().lives == lives;
         ++i) {
        before = marblePosition();
        race::runFrame(frameTime);
    }
    return before;
}

// A careless driver from a waypoint on: slow, never waiting for anything.
glm::vec3 dawdleUntilALifeIsLost(int waypoint, float speed, double seconds) {
    race::placeOnRoute(waypoint);
    RaceDriver driver = race::makeDriver();
    driver.setHeedObstacles(false);
    driver.setCruiseSpeed(speed);
    const int lives = race::state().lives;
    glm::vec3 before = marblePosition();
    for (int i = 0; i < static_cast<int>(seconds / frameTime) && race::state().lives == lives;
         ++i) {
        before = marblePosition();
        driver.drive(race::view(frameTime), race::keys());
        race::runFrame(frameTime);
    }
    race::keys().releaseAll();
    return before;
}

} // namespace

TEST(RaceRules, LeavingTheRouteCostsALifeAndStartsAgainWithFullTime) {
    REQUIRE_LEVEL();
    race::restartRace();
    race::keys().press(GLFW_KEY_D);
    glm::vec3 last = holdUntilALifeIsLost(20.0);
    race::keys().releaseAll();
    EXPECT_EQ(2, race::state().lives);
    EXPECT_EQ(LifeLoss::OffCourse, race::state().lastLoss);
    glm::vec3 away = last - level::startPosition;
    EXPECT_GT(glm::length(glm::vec2(away.x, away.z)), 6.0f) << "it rolled off the start pad";
    EXPECT_FALSE(race::state().isGameOver());
    EXPECT_EQ(300.0, race::scene()->getRemainingTime());
    // Back at the start; the step after the respawn has moved it by one frame at most.
    EXPECT_LT(distanceFromStart(), 0.1f);
    EXPECT_NEAR(level::startPosition.y, marblePosition().y, 0.1f);
}

// The winning time counts from the race's start through every lost life, or a race with a fall
// in it would post a best time too good to be true.
TEST(RaceRules, TheRaceTimeRunsOnThroughALostLifeToTheWin) {
    REQUIRE_LEVEL();
    race::restartRace();
    race::keys().press(GLFW_KEY_D);
    int frames = 0;
    for (; frames < 1200 && race::state().lives == 3; ++frames)
        race::runFrame(frameTime);
    race::keys().releaseAll();
    ASSERT_EQ(2, race::state().lives);
    const double afterRespawn = race::scene()->getSimulationTime();
    race::placeOnRoute(static_cast<int>(level::routeWaypoints().size()) - 3);
    RaceInput forward;
    forward.keyMask = RaceInput::Forward;
    for (; frames < 3000 && !race::state().isWon(); ++frames)
        race::scene()->advance(frameTime, forward);
    ASSERT_TRUE(race::state().isWon());
    EXPECT_GT(race::scene()->getSimulationTime(), afterRespawn);
    EXPECT_NEAR(frames * frameTime, race::scene()->getSimulationTime(), 1e-6);
}

TEST(RaceRules, DrivingIntoTheSawCostsALife) {
    REQUIRE_LEVEL();
    race::restartRace();
    glm::vec3 last = dawdleUntilALifeIsLost(level::sawWaitWaypoint(), 2.0f, 30.0);
    ASSERT_EQ(2, race::state().lives);
    EXPECT_EQ(LifeLoss::Saw, race::state().lastLoss);
    const glm::vec3 saw = race::scene()->getSawBlade()->getBoundingCenter();
    EXPECT_LT(std::fabs(last.z - saw.z), 3.0f) << "lost at " << last.x << ", " << last.z;
    EXPECT_LT(distanceFromStart(), 0.1f);
}

TEST(RaceRules, DrivingIntoTheStopBarrierCostsALife) {
    REQUIRE_LEVEL();
    race::restartRace();
    glm::vec3 last = dawdleUntilALifeIsLost(level::barrierWaitWaypoint(), 1.5f, 40.0);
    ASSERT_EQ(2, race::state().lives);
    EXPECT_EQ(LifeLoss::Barrier, race::state().lastLoss);
    const glm::vec3 barrier = race::scene()->getAnimatedModel(0)->getBoundingCenter();
    EXPECT_LT(std::fabs(last.x - barrier.x), 3.0f) << "lost at " << last.x << ", " << last.z;
}

TEST(RaceRules, TheCountdownReachingExactlyZeroCostsALife) {
    REQUIRE_LEVEL();
    // Frames of 1/64 s are exact in binary and short enough to be one step each: from a whole
    // second on, 19200 of them use up the 300 s to exactly 0.
    const double tick = 1.0 / 64.0;
    race::clock().set(std::ceil(race::clock().now()) + 1.0);
    race::runFrame(0.0);
    race::restartRace();
    for (int i = 0; i < 19199; ++i)
        race::runFrame(tick);
    ASSERT_EQ(3, race::state().lives) << "the marble must have waited at the start";
    EXPECT_EQ(tick, race::scene()->getRemainingTime());
    race::runFrame(tick);
    EXPECT_EQ(2, race::state().lives);
    EXPECT_EQ(LifeLoss::TimeUp, race::state().lastLoss);
    EXPECT_EQ(300.0, race::scene()->getRemainingTime());
}

TEST(RaceRules, TheFourthLossEndsTheGameAndHoldsTheMarbleAtTheStart) {
    REQUIRE_LEVEL();
    race::restartRace();
    race::keys().press(GLFW_KEY_D);
    for (int loss = 0; loss < 3; ++loss)
        holdUntilALifeIsLost(20.0);
    race::keys().releaseAll();
    ASSERT_EQ(0, race::state().lives);
    ASSERT_FALSE(race::state().isGameOver());
    // The fourth attempt runs out of time.
    while (race::scene()->getRemainingTime() > 0.25)
        race::runFrame(0.25);
    race::runFrame(0.25);
    EXPECT_TRUE(race::state().isGameOver());
    EXPECT_EQ(0, race::state().lives);
    EXPECT_LE(race::scene()->getRemainingTime(), 0.0) << "no fresh countdown after the last life";

    // From now on every frame puts the marble back, whatever is pressed.
    race::keys().press(GLFW_KEY_W);
    for (int i = 0; i < 120; ++i) {
        race::runFrame(frameTime);
        ASSERT_LT(distanceFromStart(), 0.1f) << "frame " << i;
        ASSERT_EQ(0, race::state().lives);
    }
    race::keys().releaseAll();
}

// A stalled machine (a dragged window, a busy disk) must neither eat the countdown nor fling
// the marble: a frame simulates a quarter of a second at most.
TEST(RaceRules, AStallCostsAQuarterSecondAtMostAndMovesNoFurtherThanOne) {
    REQUIRE_LEVEL();
    race::restartRace();
    race::keys().press(GLFW_KEY_W);
    race::runFrame(0.25);
    const glm::vec3 afterQuarter = marblePosition();
    race::restartRace();
    race::keys().press(GLFW_KEY_W);
    race::runFrame(30.0);
    EXPECT_EQ(afterQuarter, marblePosition()) << "the 30 s stall ran as a quarter second";
    EXPECT_DOUBLE_EQ(300.0 - 0.25, race::scene()->getRemainingTime());

    race::restartRace();
    RaceDriver driver = race::makeDriver();
    double played = 0.0;
    double nextStall = 20.0;
    while (played < 240.0 && !race::state().isWon()) {
        if (played >= nextStall) {
            nextStall += 20.0;
            race::keys().releaseAll();
            race::keys().press(GLFW_KEY_W);
            const double before = race::scene()->getRemainingTime();
            const glm::vec3 from = marblePosition();
            const float speed = glm::length(race::scene()->getPhysicsWorld()->getVelocity());
            race::runFrame(2.0);
            played += 2.0;
            if (race::state().isWon())
                break;
            EXPECT_LE(before - race::scene()->getRemainingTime(), 0.25 + 1e-9);
            // Top speed after a quarter second of W and gravity, covered for a quarter second.
            EXPECT_LT(glm::length(marblePosition() - from), (speed + 66.0f * 0.25f) * 0.25f);
        }
        driver.drive(race::view(frameTime), race::keys());
        race::runFrame(frameTime);
        played += frameTime;
    }
    race::keys().releaseAll();
    EXPECT_TRUE(race::state().isWon()) << "stalls every 20 s still let the driver through";
    EXPECT_EQ(3, race::state().lives);
}

// Long steps used to win and then lose a life in the same step (the fall test saw the unslid
// displacement reach the meadow plane under the finish), behind the winner screen.
TEST(RaceRules, TheWinIsFinalEvenInOneLongStep) {
    REQUIRE_LEVEL();
    const int beforeFinish = static_cast<int>(level::routeWaypoints().size()) - 3;
    RaceInput forward;
    forward.keyMask = RaceInput::Forward;
    for (float longStep : {0.2f, 0.33f}) {
        race::restartRace();
        race::placeOnRoute(beforeFinish);
        for (int i = 0; i < 200 && !race::state().isWon(); ++i)
            race::scene()->step(longStep, forward);
        ASSERT_TRUE(race::state().isWon()) << longStep;
        EXPECT_EQ(3, race::state().lives) << longStep;
        const double remaining = race::scene()->getRemainingTime();
        const glm::vec3 at = marblePosition();
        for (int i = 0; i < 40; ++i)
            race::scene()->step(longStep, forward);
        EXPECT_FALSE(race::state().isGameOver());
        EXPECT_EQ(3, race::state().lives);
        EXPECT_EQ(remaining, race::scene()->getRemainingTime());
        EXPECT_EQ(at, marblePosition());
    }
}

TEST(RaceRules, AfterTheLastLifeIsLostByAFallNoKeyMovesTheMarble) {
    REQUIRE_LEVEL();
    race::restartRace();
    race::state().lives = 0;
    race::keys().press(GLFW_KEY_D);
    for (int i = 0; i < 1200 && !race::state().isGameOver(); ++i)
        race::runFrame(frameTime);
    ASSERT_TRUE(race::state().isGameOver());
    EXPECT_GT(race::scene()->getRemainingTime(), 200.0);
    const glm::vec3 held = marblePosition();
    for (int key : {GLFW_KEY_W, GLFW_KEY_A, GLFW_KEY_S, GLFW_KEY_D}) {
        race::keys().releaseAll();
        race::keys().press(key);
        for (int i = 0; i < 30; ++i)
            race::runFrame(frameTime);
        EXPECT_EQ(held, marblePosition());
    }
    race::keys().releaseAll();
    EXPECT_FALSE(race::state().isWon());
}

namespace {
ALint musicState() {
    ALint state = 0;
    alGetSourcei(race::scene()->getMusic()->getSource(), AL_SOURCE_STATE, &state);
    return state;
}
} // namespace

TEST(RaceRules, PauseHoldsTheRaceAndEnterOnAnEndScreenStartsANewOne) {
    REQUIRE_LEVEL();
    race::restartRace();
    race::keys().press(GLFW_KEY_W);
    for (int i = 0; i < 30; ++i)
        race::gameFrame(frameTime);
    race::keys().press(GLFW_KEY_P);
    race::gameFrame(frameTime);
    race::keys().release(GLFW_KEY_P);
    ASSERT_TRUE(race::game().controls().isPaused());
    const double remaining = race::scene()->getRemainingTime();
    const glm::vec3 at = marblePosition();
    const float barrier = race::scene()->getAnimatedModel(0)->getPhase();
    for (int i = 0; i < 600; ++i)
        race::gameFrame(0.1);
    EXPECT_EQ(remaining, race::scene()->getRemainingTime()) << "60 s of pause";
    EXPECT_EQ(at, marblePosition());
    EXPECT_EQ(barrier, race::scene()->getAnimatedModel(0)->getPhase());
    EXPECT_EQ(AL_PAUSED, musicState()) << "the music stops with the race";
    race::keys().press(GLFW_KEY_P);
    race::gameFrame(frameTime);
    race::keys().release(GLFW_KEY_P);
    EXPECT_FALSE(race::game().controls().isPaused());
    EXPECT_EQ(AL_PLAYING, musicState());
    race::gameFrame(frameTime);
    EXPECT_LT(race::scene()->getRemainingTime(), remaining);

    // Losing the focus pauses as P does; coming back does not resume on its own.
    race::keys().setFocus(false);
    race::gameFrame(frameTime);
    race::keys().setFocus(true);
    race::gameFrame(frameTime);
    EXPECT_TRUE(race::game().controls().isPaused());
    race::keys().press(GLFW_KEY_P);
    race::gameFrame(frameTime);
    race::keys().releaseAll();
    ASSERT_FALSE(race::game().controls().isPaused());

    race::winNow();
    race::keys().press(GLFW_KEY_ENTER);
    race::gameFrame(frameTime);
    race::keys().releaseAll();
    EXPECT_FALSE(race::state().isWon());
    EXPECT_EQ(3, race::state().lives);
    EXPECT_EQ(300.0, race::scene()->getRemainingTime());
    EXPECT_EQ(0.0, race::scene()->getSimulationTime());
    EXPECT_EQ(level::startPosition, marblePosition());
    EXPECT_TRUE(seesTheStartFromBehind(*race::scene()));

    // The new race is a real one: rolling off the route costs a life again.
    race::keys().press(GLFW_KEY_D);
    for (int i = 0; i < 1200 && race::state().lives == 3; ++i)
        race::gameFrame(frameTime);
    race::keys().releaseAll();
    EXPECT_EQ(2, race::state().lives);
}

// What the race sounds like comes from what its steps did: standing still is silent, a drop
// onto the path knocks once, and the rolling grows louder with speed.
TEST(RaceRules, RestIsSilentADropKnocksOnceAndRollingGrowsWithSpeed) {
    REQUIRE_LEVEL();
    race::restartRace();
    SoundCues& cues = race::scene()->getSoundCues();
    for (int i = 0; i < 60; ++i)
        race::runFrame(frameTime);
    EXPECT_TRUE(cues.takeCues().empty());
    EXPECT_EQ(cues.rollLevel(), 0.0f);

    race::scene()->getMarble()->setTransform(
        glm::translate(glm::mat4(1.0f), level::startPosition + glm::vec3(0.0f, 6.0f, 0.0f)));
    int impacts = 0;
    for (int i = 0; i < 120; ++i) {
        race::runFrame(frameTime);
        for (const SoundCue& cue : cues.takeCues())
            impacts += cue.kind == SoundCue::Kind::Impact;
    }
    EXPECT_EQ(impacts, 1);

    race::keys().press(GLFW_KEY_W);
    float levels[2] = {};
    for (int i = 0; i < 60; ++i) {
        race::runFrame(frameTime);
        levels[i < 15 ? 0 : 1] = cues.rollLevel();
    }
    race::keys().releaseAll();
    EXPECT_GT(levels[0], 0.0f);
    EXPECT_GT(levels[1], levels[0]);
}
