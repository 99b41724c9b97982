#include <cmath>

#include <gtest/gtest.h>

#include "RaceSupport.h"
#include "app/AppState.h"
#include "assets/AnimationModel.h"
#include "assets/HierarchicalAnimationModel.h"
#include "assets/Sphere.h"
#include "levelgen/CourseRoute.h"
#include "physics/PhysicsWorld.h"
#include "platform/Keys.h"
#include "scene/LevelTable.h"
#include "scene/Scene.h"

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
    const int lives = getLives();
    glm::vec3 before = marblePosition();
    for (int i = 0; i < static_cast<int>(seconds / frameTime) && getLives() == lives; ++i) {
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
    const int lives = getLives();
    glm::vec3 before = marblePosition();
    for (int i = 0; i < static_cast<int>(seconds / frameTime) && getLives() == lives; ++i) {
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
    EXPECT_EQ(2, getLives());
    glm::vec3 away = last - level::startPosition;
    EXPECT_GT(glm::length(glm::vec2(away.x, away.z)), 6.0f) << "it rolled off the start pad";
    EXPECT_FALSE(isGameOver());
    EXPECT_EQ(300.0, race::scene()->getRemainingTime());
    // Back at the start; the step after the respawn has moved it by one frame at most.
    EXPECT_LT(distanceFromStart(), 0.1f);
    EXPECT_NEAR(level::startPosition.y, marblePosition().y, 0.1f);
}

TEST(RaceRules, DrivingIntoTheSawCostsALife) {
    REQUIRE_LEVEL();
    race::restartRace();
    glm::vec3 last = dawdleUntilALifeIsLost(level::sawWaitWaypoint(), 2.0f, 30.0);
    ASSERT_EQ(2, getLives());
    const glm::vec3 saw = race::scene()->getSawBlade()->getBoundingCenter();
    EXPECT_LT(std::fabs(last.z - saw.z), 3.0f) << "lost at " << last.x << ", " << last.z;
    EXPECT_LT(distanceFromStart(), 0.1f);
}

TEST(RaceRules, DrivingIntoTheStopBarrierCostsALife) {
    REQUIRE_LEVEL();
    race::restartRace();
    glm::vec3 last = dawdleUntilALifeIsLost(level::barrierWaitWaypoint(), 1.5f, 40.0);
    ASSERT_EQ(2, getLives());
    const glm::vec3 barrier = race::scene()->getAnimatedModel(0)->getBoundingCenter();
    EXPECT_LT(std::fabs(last.x - barrier.x), 3.0f) << "lost at " << last.x << ", " << last.z;
}

TEST(RaceRules, TheCountdownReachingExactlyZeroCostsALife) {
    REQUIRE_LEVEL();
    // Quarter seconds are exact in binary: from a whole second on, 1200 of them use up the
    // 300 s to exactly 0.
    race::clock().set(std::ceil(race::clock().now()) + 1.0);
    race::runFrame(0.0);
    race::restartRace();
    for (int i = 0; i < 1199; ++i)
        race::runFrame(0.25);
    ASSERT_EQ(3, getLives()) << "the marble must have waited at the start";
    EXPECT_EQ(0.25, race::scene()->getRemainingTime());
    race::runFrame(0.25);
    EXPECT_EQ(2, getLives());
    EXPECT_EQ(300.0, race::scene()->getRemainingTime());
}

TEST(RaceRules, TheFourthLossEndsTheGameAndHoldsTheMarbleAtTheStart) {
    REQUIRE_LEVEL();
    race::restartRace();
    race::keys().press(GLFW_KEY_D);
    for (int loss = 0; loss < 3; ++loss)
        holdUntilALifeIsLost(20.0);
    race::keys().releaseAll();
    ASSERT_EQ(0, getLives());
    ASSERT_FALSE(isGameOver());
    // The fourth attempt runs out of time.
    while (race::scene()->getRemainingTime() > 0.25)
        race::runFrame(0.25);
    race::runFrame(0.25);
    EXPECT_TRUE(isGameOver());
    EXPECT_EQ(0, getLives());
    EXPECT_LE(race::scene()->getRemainingTime(), 0.0) << "no fresh countdown after the last life";

    // From now on every frame puts the marble back, whatever is pressed.
    race::keys().press(GLFW_KEY_W);
    for (int i = 0; i < 120; ++i) {
        race::runFrame(frameTime);
        ASSERT_LT(distanceFromStart(), 0.1f) << "frame " << i;
        ASSERT_EQ(0, getLives());
    }
    race::keys().releaseAll();
}
