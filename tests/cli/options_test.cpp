#include "cli/options.h"

#include <gtest/gtest.h>

#include <cmath>

namespace morvane::cli {
namespace {

TEST(CliOptions, DatesWithOrWithoutLeadingZeros) {
    const auto date = parseDate("720-1-1");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->year, 720);
    EXPECT_EQ(date->month, 1);
    EXPECT_EQ(date->day, 1);
    const auto padded = parseDate("0720-01-01");
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->year, 720);
    const auto last = parseDate("1000000-12-30");
    ASSERT_TRUE(last);
    EXPECT_EQ(last->year, 1000000);
    EXPECT_FALSE(parseDate("1000001-12-30"));
}

TEST(CliOptions, ClockTimes) {
    const auto time = parseTime("01:01");
    ASSERT_TRUE(time);
    EXPECT_EQ(time->hours, 1);
    EXPECT_EQ(time->minutes, 1);
    EXPECT_TRUE(parseTime("23:59"));
    EXPECT_TRUE(parseTime("0:0"));
    EXPECT_FALSE(parseTime("23:5x"));
}

TEST(CliOptions, LatitudeForms) {
    const double expected = 40.5 * 3.141592653589793 / 180.0;
    EXPECT_EQ(parseLatitude("40.5N"), expected);
    EXPECT_EQ(parseLatitude("40.5n"), expected);
    EXPECT_EQ(parseLatitude("40.5"), expected);
    EXPECT_EQ(parseLatitude("+40.5"), expected);
    EXPECT_EQ(parseLatitude("40.5S"), -expected);
    EXPECT_EQ(parseLatitude("-40.5"), -expected);
    EXPECT_EQ(parseLatitude("90N"), 90.0 * 3.141592653589793 / 180.0);
    const auto southZero = parseLatitude("0S");
    ASSERT_TRUE(southZero);
    EXPECT_TRUE(std::signbit(*southZero));  // as the model makes it: negative zero
}

TEST(CliOptions, LongitudeFormsEastPositive) {
    const double expected = 20.9 * 3.141592653589793 / 180.0;
    EXPECT_EQ(parseLongitude("20.9W"), -expected);
    EXPECT_EQ(parseLongitude("-20.9"), -expected);
    EXPECT_EQ(parseLongitude("20.9E"), expected);
    EXPECT_EQ(parseLongitude("180W"), -3.141592653589793);
    EXPECT_FALSE(parseLongitude("180.0001E"));
}

TEST(CliOptions, DayCountLimits) {
    EXPECT_EQ(parseDayCount("1e9"), 1e9);
    EXPECT_EQ(parseDayCount("-1000000000"), -1e9);
    EXPECT_EQ(parseDayCount("258840.25"), 258840.25);
    EXPECT_EQ(parseDayCount(".5"), 0.5);
    EXPECT_FALSE(parseDayCount("1000000000.1"));
    EXPECT_FALSE(parseDayCount("infinity"));
    EXPECT_FALSE(parseDayCount("-"));
    EXPECT_FALSE(parseDayCount("+-1"));
}

TEST(CliOptions, PrintableMakesOneSafeLine) {
    EXPECT_EQ(printable("a\nb\tc"), "a?b?c");
    const std::string accented(100, 'x');
    EXPECT_EQ(printable(accented).size(), 63u);
    // A cut never splits a character.
    std::string text(59, 'x');
    text += "ÉÉ";
    EXPECT_EQ(printable(text), std::string(59, 'x') + "...");
}

}  // namespace
}  // namespace morvane::cli
