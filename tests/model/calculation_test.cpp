#include "model/calculation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace morvane {
namespace {

TEST(CheckedDayCount, OrdinaryInputsGiveTheCalendarDayCount) {
    const DayCountResult result = checkedDayCount({0.7, -0.3, 720, 0, 0, 12.0, false});
    ASSERT_TRUE(result.t);
    EXPECT_EQ(*result.t, 258840.0);
    EXPECT_TRUE(result.error.isEmpty());
}

TEST(CheckedDayCount, TheEdgesOfWhatCanBeCalculated) {
    // 1e9 days is about 2.78 million years.
    EXPECT_TRUE(checkedDayCount({0, 0, 2'700'000, 0, 0, 12.0, false}).t);
    EXPECT_FALSE(checkedDayCount({0, 0, 2'800'000, 0, 0, 12.0, false}).t);
    EXPECT_TRUE(checkedDayCount({0, 0, -2'700'000, 0, 0, 12.0, true}).t);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(checkedDayCount({nan, 0, 720, 0, 0, 12.0, false}).t);
    EXPECT_FALSE(checkedDayCount({0, nan, 720, 0, 0, 12.0, false}).t);
    EXPECT_FALSE(checkedDayCount({0, 0, 720, 0, 0, nan, false}).t);
    EXPECT_FALSE(checkedDayCount({0, 0, 720, 0, 0, -std::numeric_limits<double>::infinity(), false}).t);
    EXPECT_FALSE(checkedDayCount({0, 0, std::numeric_limits<std::int64_t>::min(), 0, 0, 12.0, false}).t);
    EXPECT_FALSE(checkedDayCount({0, 0, 720, std::numeric_limits<std::int64_t>::max(), 0, 12.0, false}).t);
}

}  // namespace
}  // namespace morvane
