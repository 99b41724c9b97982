#include <functional>
#include <iostream>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "RaceSupport.h"
#include "app/AppState.h"

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
