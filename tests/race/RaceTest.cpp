#include <iostream>

#include <gtest/gtest.h>

#include "RaceSupport.h"
#include "app/AppState.h"

namespace {

void expectCleanWin(double frameTime, const char* label) {
    race::restartRace();
    RaceDriver driver = race::makeDriver();
    race::DriveResult result = race::driveToFinish(driver, frameTime, 240.0);
    std::cout << "[ race     ] " << label << ": " << (result.won ? "won" : "did not finish")
              << " after " << result.seconds << " s of play, " << result.livesLost
              << " lives lost, " << result.progress << " of " << driver.routeLength() << " units"
              << std::endl;
    ::testing::Test::RecordProperty(label, std::to_string(result.seconds));
    EXPECT_TRUE(result.won);
    EXPECT_EQ(0, result.livesLost);
    EXPECT_FALSE(isGameOver());
}

} // namespace

TEST(Race, TheDriverFinishesTheCourseAt60Hz) {
    REQUIRE_LEVEL();
    expectCleanWin(1.0 / 60.0, "finish_60Hz_seconds");
}

TEST(Race, TheDriverFinishesTheCourseAt10Hz) {
    REQUIRE_LEVEL();
    expectCleanWin(1.0 / 10.0, "finish_10Hz_seconds");
}
