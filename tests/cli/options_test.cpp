#include "cli/options.h"

#include <gtest/gtest.h>

namespace morvane::cli {
namespace {

TEST(CliOptions, DatesAndClockTimes) {
    EXPECT_EQ(parseDate("720-1-1"), (Date{720, 1, 1}));
    EXPECT_EQ(parseDate("0720-01-01"), (Date{720, 1, 1}));
    EXPECT_EQ(parseDate("1000000-12-30"), (Date{1000000, 12, 30}));
    EXPECT_FALSE(parseDate("1000001-12-30"));
    EXPECT_EQ(parseTime("01:01"), (ClockTime{1, 1}));
    EXPECT_EQ(parseTime("23:59"), (ClockTime{23, 59}));
    EXPECT_EQ(parseTime("0:0"), (ClockTime{0, 0}));
    EXPECT_FALSE(parseTime("23:5x"));
}

TEST(CliOptions, AnglesWithAHemisphereLetterOrASign) {
    const TypedAngle north{40.5, false};
    const TypedAngle south{40.5, true};
    for (const char* text : {"40.5N", "40.5n", "40.5", "+40.5"})
        EXPECT_EQ(parseLatitudeAngle(text), north) << text;
    EXPECT_EQ(parseLatitudeAngle("40.5S"), south);
    EXPECT_EQ(parseLatitudeAngle("-40.5"), south);
    EXPECT_EQ(parseLatitudeAngle("-0"), (TypedAngle{0.0, true}));
    EXPECT_EQ(parseLatitudeAngle("90N"), (TypedAngle{90.0, false}));
    // East is positive: west is the negative sense.
    EXPECT_EQ(parseLongitudeAngle("20.9W"), (TypedAngle{20.9, true}));
    EXPECT_EQ(parseLongitudeAngle("-20.9"), (TypedAngle{20.9, true}));
    EXPECT_EQ(parseLongitudeAngle("20.9E"), (TypedAngle{20.9, false}));
    EXPECT_EQ(parseLongitudeAngle("180W"), (TypedAngle{180.0, true}));
    EXPECT_FALSE(parseLongitudeAngle("180.0001E"));
}

TEST(CliOptions, DayCountLimits) {
    EXPECT_EQ(parseDayCount("1e9"), 1e9);
    EXPECT_EQ(parseDayCount("-1000000000"), -1e9);
    EXPECT_EQ(parseDayCount(".5"), 0.5);
    EXPECT_FALSE(parseDayCount("-"));
    EXPECT_FALSE(parseDayCount("+-1"));
}

TEST(CliOptions, EventSpansAndCounts) {
    EXPECT_EQ(parseDays("360000"), 360000.0);
    EXPECT_EQ(parseDays("0.0001"), 0.0001);
    EXPECT_FALSE(parseDays("360000.001"));
    EXPECT_EQ(parseCount("100000"), 100000);
    EXPECT_EQ(parseCount("1"), 1);
}

TEST(CliOptions, PrintableMakesOneSafeLine) {
    EXPECT_EQ(printable("a\nb\tc"), "a?b?c");
    EXPECT_EQ(printable(std::string(100, 'x')).size(), 63u);
    // A cut never splits a character.
    EXPECT_EQ(printable(std::string(59, 'x') + "ÉÉ"), std::string(59, 'x') + "...");
}

}  // namespace
}  // namespace morvane::cli
