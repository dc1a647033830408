#include "engine/require.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace morvane {
namespace {

// Exactly the range of a signed 64-bit integer passes: -2^63 and the largest double below 2^63
// fit, 2^63 is the first value that does not.
TEST(RequireInt64DeathTest, PassesExactlyTheInt64Range) {
    EXPECT_EQ(requireInt64(-kInt64Limit, "low"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(requireInt64(std::nextafter(kInt64Limit, 0.0), "high"),
              std::int64_t{9223372036854774784});
    EXPECT_EQ(requireInt64(-2.75, "fraction"), -2);
    EXPECT_DEATH(requireInt64(kInt64Limit, "limit"), "precondition failed: limit");
    EXPECT_DEATH(requireInt64(std::nextafter(-kInt64Limit, -1e300), "below"), "below");
    EXPECT_DEATH(requireInt64(std::numeric_limits<double>::infinity(), "infinite"), "infinite");
    EXPECT_DEATH(requireInt64(std::nan(""), "nan"), "nan");
}

}  // namespace
}  // namespace morvane
