#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "settings/DecimalText.h"

namespace {

// The desktop's own std::to_chars and from_chars are the reference: the helper stands in for
// them where the C++ library lacks them, so the files must not change by a character.
std::string libraryText(double value) {
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

bool libraryReads(const std::string& text, double& value) {
    auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && stop == text.data() + text.size() && !text.empty();
}

TEST(DecimalText, TheValuesOurFilesHoldWriteAsTodayAndReadBackExactly) {
    const struct {
        double value;
        const char* text;
    } rows[] = {
        {0.0, "0"},       {0.1, "0.1"},        {0.2, "0.2"},     {0.3, "0.3"},
        {0.4, "0.4"},     {0.5, "0.5"},        {0.6, "0.6"},     {0.7, "0.7"},
        {0.8, "0.8"},     {0.9, "0.9"},        {1.0, "1"},       {0.75, "0.75"},
        {0.625, "0.625"}, {48.73, "48.73"},    {62.35, "62.35"}, {299.99, "299.99"},
        {1e-05, "1e-05"}, {100000.0, "1e+05"}, {-0.0, "-0"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(shortestDecimal(row.value), row.text);
        double back = -1.0;
        EXPECT_TRUE(readDecimal(shortestDecimal(row.value), back) && back == row.value &&
                    std::signbit(back) == std::signbit(row.value))
            << row.text;
    }
    // Steps of a tenth and of a hundredth, as a volume or a race time is held.
    for (int hundredths = 0; hundredths <= 30000; ++hundredths) {
        const double value = hundredths / 100.0;
        ASSERT_EQ(shortestDecimal(value), libraryText(value)) << value;
    }
}

TEST(DecimalText, AnyDoubleWritesAsToCharsDoesAndReadsBackToItsBits) {
    std::mt19937_64 bits(28);
    for (int i = 0; i < 20000; ++i) {
        double value = 0.0;
        const std::uint64_t pattern = bits();
        std::memcpy(&value, &pattern, sizeof value);
        if (std::isnan(value))
            continue;
        const std::string text = shortestDecimal(value);
        ASSERT_EQ(text, libraryText(value));
        double back = 0.0;
        if (std::isfinite(value)) {
            ASSERT_TRUE(readDecimal(text, back) && std::memcmp(&back, &value, sizeof value) == 0)
                << text;
        }
    }
}

TEST(DecimalText, AcceptsAndRefusesWhatFromCharsDoes) {
    const char* const texts[] = {
        "0.5",    ".5",     "1.",  "-0",    "00.5",   "1e5",   "-.5e-1", "2E+2",  "5e-324",
        "1e-310", "",       ".",   "-",     "+1",     " 1",    "1 ",     "1e",    "1e+",
        "1..2",   "0x1p-1", "1,5", "1e400", "1e-400", "0e999", "abc",    "1e5.0",
    };
    for (const char* text : texts) {
        double expected = 0.0;
        double read = 0.0;
        const bool libraryAccepts = libraryReads(text, expected);
        EXPECT_EQ(readDecimal(text, read), libraryAccepts) << '"' << text << '"';
        if (libraryAccepts) {
            EXPECT_EQ(read, expected) << text;
        }
    }
    // No setting takes them, so the helper need not read them.
    double value = 0.0;
    EXPECT_FALSE(readDecimal("inf", value) || readDecimal("nan", value));
}

} // namespace
