#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Engine preconditions (array sizes, integer ranges) stop the program: the callers above the
// engine guarantee them, so reaching one is a programming error, never a user error.
#define MORVANE_REQUIRE(condition, message)                                               \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "morvane: precondition failed: %s (%s:%d)\n", (message), \
                         __FILE__, __LINE__);                                             \
            std::abort();                                                                 \
        }                                                                                 \
    } while (false)

namespace morvane {

/// 2^63: the first double at or above which a value no longer fits a signed 64-bit integer
/// (-2^63 itself still fits).
inline constexpr double kInt64Limit = 9223372036854775808.0;

/// `value` with its fraction cut off, as a signed 64-bit integer; a value that is not finite
/// or does not fit stops the program with `message`.
inline std::int64_t requireInt64(double value, const char* message) {
    MORVANE_REQUIRE(std::isfinite(value) && value < kInt64Limit && value >= -kInt64Limit, message);
    return static_cast<std::int64_t>(value);
}

}  // namespace morvane
