#include "engine/calendar.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "engine/constants.h"

namespace morvane {
namespace {

constexpr double kLongitude90East = 90.0 * kPi / 180.0;

TEST(Calendar, DayCountsAndLabelsOfKnownMoments) {
    EXPECT_EQ(dayCount(1, 0, 0, 12.0), 0.0);
    EXPECT_EQ(dayCount(1, 0, 0, 0.0), -0.5);
    EXPECT_EQ(dayCount(2, 0, 0, 0.0), 359.5);
    EXPECT_EQ(dateLabel(359.5), "002-01-01 00:00 OST");
    EXPECT_EQ(dayCount(720, 0, 0, 12.0), 258840.0);
    EXPECT_DOUBLE_EQ(dayCount(720, 5, 14, 18.25), 259004.26041666666);
    // Seconds typed in are dropped, but a label rounds to the nearest minute.
    EXPECT_EQ(dateLabel(dayCount(1, 0, 0, 10.999)), "001-01-01 10:59 OST");
    EXPECT_EQ(dateLabel(0.4999999), "001-01-02 00:00 OST");
    // Before year one the divisions truncate towards zero.
    EXPECT_EQ(dateLabel(-1.0), "001-01-01 -12:00 OST");
    EXPECT_EQ(dateLabel(dayCount(1000, 11, 29, 23.75)), "1000-12-30 23:45 OST");
}

TEST(Calendar, WholeMinutesGoInAsTyped) {
    // 01:01 must not become 01:00 through a fractional hour.
    EXPECT_EQ(dateLabel(dayCount(720, 0, 0, 1, 1)), "720-01-01 01:01 OST");
    // For the quarter hours the sidebar makes, both forms give the same double.
    for (int quarter = 0; quarter < 96; ++quarter) {
        const double hour = quarter * 0.25;
        EXPECT_EQ(dayCount(720, 3, 7, hour), dayCount(720, 3, 7, quarter / 4, (quarter % 4) * 15))
            << hour;
    }
}

TEST(Calendar, LabelReadsBackEveryTypedMoment) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> year(1, 5000), month(0, 11), day(0, 29), hour(0, 23),
        minute(0, 59);
    for (int i = 0; i < 5000; ++i) {
        const int y = year(random), mo = month(random), d = day(random), h = hour(random),
                  mi = minute(random);
        const std::string expected =
            fmt::format("{:03d}-{:02d}-{:02d} {:02d}:{:02d} OST", y, mo + 1, d + 1, h, mi);
        ASSERT_EQ(dateLabel(dayCount(y, mo, d, h, mi)), expected);
    }
}

// The sky angle has no constant term; local time is its distance from the sun, plus noon.
TEST(Calendar, LocalTimeLabelsAndTheSkyAngle) {
    EXPECT_EQ(localSiderealAngle(0.0, 0.5), 0.5);
    EXPECT_NEAR(localSiderealAngle(1.0, 0.0), 0.0027777692901494 * kTwoPi, 1e-12);
    EXPECT_EQ(localTimeLabel(0.0, 0.0), "12:02");
    EXPECT_EQ(localTimeLabel(0.0, kLongitude90East), "18:02");
    EXPECT_EQ(localTimeLabel(100.0, 0.0), "11:59");
    EXPECT_EQ(dateLabelWithLocalTime(0.0, 0.0), "001-01-01 12:00 OST  (local 12:02)");
}

TEST(Calendar, LocalDayCountHitsTheRequestedLocalTime) {
    // Local noon of the first day at longitude 0, to the precision the refinement stops at.
    EXPECT_NEAR(localDayCount(0.0, 12.0, 0.0), -0.0012966, 1e-7);
    std::mt19937 random(9);
    std::uniform_real_distribution<double> longitude(-kPi, kPi);
    std::uniform_int_distribution<int> quarter(0, 95), year(1, 2000);
    for (int i = 0; i < 2000; ++i) {
        const int q = quarter(random);
        const double hour = q * 0.25;
        const double lon = longitude(random);
        const double t = localDayCount(dayCount(year(random), 4, 10, hour), hour, lon);
        ASSERT_EQ(localTimeLabel(t, lon), fmt::format("{:02d}:{:02d}", q / 4, (q % 4) * 15))
            << "hour " << hour << " longitude " << lon;
    }
}

TEST(CalendarDeathTest, OutOfRangeInputsStopTheProgram) {
    EXPECT_DEATH(dateLabel(std::numeric_limits<double>::infinity()), "precondition");
    EXPECT_DEATH(localTimeLabel(std::numeric_limits<double>::infinity(), 0.0), "precondition");
    EXPECT_DEATH(dayCount(720, 0, std::numeric_limits<std::int64_t>::max(), 12.0), "precondition");
    EXPECT_DEATH(dayCount(720, 0, 0, std::nan("")), "precondition");
}

// The sidebar and file names show the clock that dayCount reads from the same hour, below
// zero too; an hour that is no ordinary number shows 00:00 instead of stopping the program.
TEST(Calendar, ClockOfHourIsTheClockDayCountReads) {
    for (const double hour : {0.0, 12.25, 23.75, 10.999, -1.25}) {
        const auto [hours, minutes] = clockOfHour(hour);
        EXPECT_EQ(dayCount(720, 3, 9, hours, minutes), dayCount(720, 3, 9, hour)) << hour;
        EXPECT_TRUE(minutes >= 0 && minutes < 60) << hour;
    }
    EXPECT_EQ(clockOfHour(12.25), std::make_pair(12LL, 15LL));
    EXPECT_EQ(clockOfHour(10.999), std::make_pair(10LL, 59LL));
    for (const double hour : {std::nan(""), 1e15, -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(clockOfHour(hour), std::make_pair(0LL, 0LL)) << hour;
    }
}

}  // namespace
}  // namespace morvane
