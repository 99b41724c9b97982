#include <gtest/gtest.h>

#include <limits>

#include "hud/ClockText.h"

TEST(ClockText, ShowsMinutesAndZeroPaddedSeconds) {
    EXPECT_EQ(formatClockText(300.0), "Zeit: 5:00");
    EXPECT_EQ(formatClockText(59.9), "Zeit: 0:59");
    EXPECT_EQ(formatClockText(65.0), "Zeit: 1:05");
    EXPECT_EQ(formatClockText(9.99), "Zeit: 0:09");
    EXPECT_EQ(formatClockText(70.0), "Zeit: 1:10");
    EXPECT_EQ(formatClockText(3599.9), "Zeit: 59:59");
    EXPECT_EQ(formatClockText(6000.0), "Zeit: 100:00");
}

TEST(ClockText, ARunOutClockReadsZero) {
    EXPECT_EQ(formatClockText(0.0), "Zeit: 0:00");
    EXPECT_EQ(formatClockText(-0.5), "Zeit: 0:00");
    // The countdown keeps falling behind an end screen; it never shows as "-1:-15".
    EXPECT_EQ(formatClockText(-75.0), "Zeit: 0:00");
    EXPECT_EQ(formatClockText(-1e12), "Zeit: 0:00");
    EXPECT_EQ(formatClockText(std::numeric_limits<double>::quiet_NaN()), "Zeit: 0:00");
}

TEST(ClockText, HugeTimesStayWellFormed) {
    std::string text = formatClockText(1e300);
    EXPECT_EQ(text.rfind("Zeit: ", 0), 0u);
    EXPECT_EQ(text, formatClockText(std::numeric_limits<double>::infinity()));
    EXPECT_EQ(text.find('-'), std::string::npos);
}

TEST(ClockText, ARaceTimeShowsHundredthsRoundedOnce) {
    EXPECT_EQ(formatRaceTime(62.35), "1:02.35");
    EXPECT_EQ(formatRaceTime(5.004), "0:05.00");
    EXPECT_EQ(formatRaceTime(605.5), "10:05.50");
    // Rounding carries into the seconds and the minutes instead of reading 0:60.00.
    EXPECT_EQ(formatRaceTime(59.996), "1:00.00");
    EXPECT_EQ(formatRaceTime(119.999), "2:00.00");
    EXPECT_EQ(formatRaceTime(0.0), "0:00.00");
    EXPECT_EQ(formatRaceTime(-3.0), "0:00.00");
    EXPECT_EQ(formatRaceTime(std::numeric_limits<double>::quiet_NaN()), "0:00.00");
    EXPECT_EQ(formatRaceTime(std::numeric_limits<double>::infinity()), formatRaceTime(1e300));
}
