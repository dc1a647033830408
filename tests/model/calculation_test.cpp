#include "model/calculation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/city_preset.h"

namespace morvane {
namespace {

TEST(CheckedDayCount, TheEdgesOfWhatCanBeCalculated) {
    EXPECT_EQ(checkedDayCount({0.7, -0.3, 720, 0, 0, 12.0, false}).t, 258840.0);
    // 1e9 days is about 2.78 million years.
    EXPECT_TRUE(checkedDayCount({0, 0, 2'700'000, 0, 0, 12.0, false}).t);
    EXPECT_FALSE(checkedDayCount({0, 0, 2'800'000, 0, 0, 12.0, false}).t);
    EXPECT_TRUE(checkedDayCount({0, 0, -2'700'000, 0, 0, 12.0, true}).t);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(checkedDayCount({nan, 0, 720, 0, 0, 12.0, false}).t);
    EXPECT_FALSE(checkedDayCount({0, nan, 720, 0, 0, 12.0, false}).t);
    EXPECT_FALSE(checkedDayCount({0, 0, 720, 0, 0, nan, false}).t);
    EXPECT_FALSE(
        checkedDayCount({0, 0, 720, 0, 0, -std::numeric_limits<double>::infinity(), false}).t);
    EXPECT_FALSE(
        checkedDayCount({0, 0, std::numeric_limits<std::int64_t>::min(), 0, 0, 12.0, false}).t);
    EXPECT_FALSE(
        checkedDayCount({0, 0, 720, std::numeric_limits<std::int64_t>::max(), 0, 12.0, false}).t);
}

TEST(CheckedDayCount, ThePlaceMustLieOnTheGlobe) {
    const double pole = radiansFromDegrees(90.0);
    const double antimeridian = radiansFromDegrees(180.0);
    EXPECT_TRUE(checkedDayCount({pole, antimeridian, 720, 0, 0, 12.0, false}).t);
    EXPECT_TRUE(checkedDayCount({-pole, -antimeridian, 720, 0, 0, 12.0, true}).t);
    const double beyondPole = std::nextafter(pole, 2.0);
    const DayCountResult latitude = checkedDayCount({beyondPole, 0, 720, 0, 0, 12.0, false});
    EXPECT_FALSE(latitude.t);
    EXPECT_EQ(latitude.error, "Latitude must be a number from 0 to 90 degrees.");
    const DayCountResult longitude =
        checkedDayCount({0, -std::nextafter(antimeridian, 4.0), 720, 0, 0, 12.0, false});
    EXPECT_FALSE(longitude.t);
    EXPECT_EQ(longitude.error, "Longitude must be a number from 0 to 180 degrees.");
}

}  // namespace
}  // namespace morvane
