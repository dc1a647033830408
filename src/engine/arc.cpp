#include "engine/arc.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "engine/constants.h"
#include "engine/require.h"

namespace morvane {

namespace {

// Flooring first changes nothing at the range's ends: -2^63 and 2^63 are whole numbers.
std::int64_t wholeUnits(double value) {
    return requireInt64(std::floor(value), "angle too large to split into degrees");
}

// Decimal digits of a non-negative value, zero-padded to at least `width`, written at `out`;
// returns the end.
char* writeZeroPadded(char* out, std::int64_t value, int width) {
    char digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int i = count; i < width; ++i) *out++ = '0';
    while (count > 0) *out++ = digits[--count];
    return out;
}

}  // namespace

Arc::Arc(double radians) : negative(radians < 0.0), raw(radians) {
    const double degrees = std::fabs(radians) * kDegreesPerRadian;
    // A value a hair below a whole degree or minute counts as that whole unit; the max(0, …)
    // keeps the remainder from going slightly negative when the guard lifted it.
    d = wholeUnits(degrees + 1e-7);
    const double minutes = std::max(0.0, (degrees - static_cast<double>(d)) * 60.0);
    m = wholeUnits(minutes + 1e-7);
    s = std::max(0.0, (minutes - static_cast<double>(m)) * 60.0);
}

std::string Arc::formatDM() const {
    // The tables print thousands of these; plain digit writing is several times faster than a
    // format call and gives the same text as "%03d" and "%02d" for these non-negative values.
    const char sign = negative ? '-' : ' ';
    const std::int64_t minutes = s > 30.0 ? m + 1 : m;
    char text[48];
    char* end = text;
    if (d != 0) {
        *end++ = sign;
        end = writeZeroPadded(end, d, 3);
    } else {
        *end++ = ' ';
        *end++ = ' ';
        *end++ = ' ';
        *end++ = sign;
    }
    *end++ = ':';
    end = writeZeroPadded(end, minutes, 2);
    return std::string(text, end);
}

std::string Arc::formatDMS() const {
    const char sign = negative ? '-' : ' ';
    if (d != 0) return fmt::format(FMT_COMPILE("{}{:03d}:{:02d}:{:02.0f}"), sign, d, m, s);
    if (m != 0) return fmt::format(FMT_COMPILE("    {}{:02d}:{:02.0f}"), sign, m, s);
    return fmt::format(FMT_COMPILE("       {}{:02.0f}"), sign, s);
}

}  // namespace morvane
