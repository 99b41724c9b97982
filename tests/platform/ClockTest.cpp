#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/ScriptedClock.h"

namespace {

class ClockTest : public testing::Test {
  protected:
    void SetUp() override {
        time.set(10.0);
        platform::setTimeSource(&time);
    }
    void TearDown() override { platform::setTimeSource(nullptr); }
    ScriptedClock time;
};

TEST_F(ClockTest, StartsWithNothingCounted) {
    Clock first;
    EXPECT_EQ(first.getTotalTime(), 0.0);
    EXPECT_EQ(first.getFps(), 0.0);
}

TEST_F(ClockTest, TickMeasuresTheFrameAndAddsItToTheTotal) {
    Clock frameClock;
    Clock* clock = &frameClock;
    time.advance(0.25);
    clock->tick();
    EXPECT_DOUBLE_EQ(clock->getFrameTime(), 0.25);
    time.advance(0.5);
    clock->tick();
    EXPECT_DOUBLE_EQ(clock->getFrameTime(), 0.5);
    EXPECT_DOUBLE_EQ(clock->getTotalTime(), 0.75);
}

TEST_F(ClockTest, FrameRateNeedsStrictlyMoreThanOneSecond) {
    Clock frameClock;
    Clock* clock = &frameClock;
    for (int i = 0; i < 10; ++i) {
        time.advance(0.1);
        clock->tick();
        clock->countFrame();
    }
    // Exactly 1.0 s (up to the scripted sums) is not yet a measuring period.
    time.set(11.0);
    clock->countFrame();
    EXPECT_EQ(clock->getFps(), 0.0);
    time.set(11.0 + 1e-9);
    clock->countFrame();
    EXPECT_NEAR(clock->getFps(), 12.0, 1e-6);
    EXPECT_NEAR(clock->getMsPerFrame(), 1000.0 / 12.0, 1e-6);
}

TEST_F(ClockTest, NinetyFramesInOneAndAHalfSecondsGiveSixty) {
    Clock frameClock;
    Clock* clock = &frameClock;
    // 89 frames within the first second, then the 90th at 1.5 s closes the period.
    for (int i = 0; i < 89; ++i) {
        time.set(10.0 + 0.01 * i);
        clock->tick();
        clock->countFrame();
    }
    EXPECT_EQ(clock->getFps(), 0.0);
    time.set(11.5);
    clock->tick();
    clock->countFrame();
    EXPECT_NEAR(clock->getMsPerFrame(), 16.6666667, 1e-6);
    EXPECT_NEAR(clock->getFps(), 60.0, 1e-9);
    // The rate holds between measuring periods.
    time.advance(0.2);
    clock->tick();
    clock->countFrame();
    EXPECT_NEAR(clock->getFps(), 60.0, 1e-9);
}

TEST_F(ClockTest, ANewClockStartsAfresh) {
    Clock used;
    time.advance(3.0);
    used.tick();
    Clock fresh;
    EXPECT_EQ(fresh.getTotalTime(), 0.0);
    time.advance(0.5);
    fresh.tick();
    EXPECT_DOUBLE_EQ(fresh.getFrameTime(), 0.5);
}

} // namespace
