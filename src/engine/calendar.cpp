#include "engine/calendar.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <cmath>

#include "engine/constants.h"
#include "engine/require.h"
#include "engine/sun_moon.h"
#include "engine/vec3d.h"

namespace morvane {

const std::array<std::string_view, 12> kMonthNames = {
    "Nuzyael", "Peonu",  "Kelen", "Nolus", "Larane", "Agrazhar",
    "Azura",   "Halane", "Savor", "Ilvin", "Navek",  "Morgat",
};

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kSecondsPerMonth = 30 * kSecondsPerDay;
constexpr std::int64_t kSecondsPerYear = 12 * kSecondsPerMonth;

std::int64_t checkedAdd(std::int64_t a, std::int64_t b) {
    std::int64_t result = 0;
    MORVANE_REQUIRE(!__builtin_add_overflow(a, b, &result), "calendar value out of range");
    return result;
}

std::int64_t checkedMul(std::int64_t a, std::int64_t b) {
    std::int64_t result = 0;
    MORVANE_REQUIRE(!__builtin_mul_overflow(a, b, &result), "calendar value out of range");
    return result;
}

}  // namespace

double dayCount(std::int64_t year, std::int64_t monthIndex, std::int64_t dayIndex, double hour) {
    const std::int64_t hours = requireInt64(std::trunc(hour), "hour out of range");
    const std::int64_t minutes =
        requireInt64(std::trunc((hour - std::floor(hour)) * 60.0), "hour out of range");
    return dayCount(year, monthIndex, dayIndex, hours, minutes);
}

double dayCount(std::int64_t year, std::int64_t monthIndex, std::int64_t dayIndex,
                std::int64_t hours, std::int64_t minutes) {
    const std::int64_t month = checkedAdd(monthIndex, 1);
    const std::int64_t day = checkedAdd(dayIndex, 1);
    const std::int64_t monthDays = checkedMul(checkedAdd(month, -1), 30);
    const double yearDays = static_cast<double>(checkedAdd(year, -1)) * 360.0;
    // The nesting (innermost first) is part of the result: it decides the last bits of t.
    return static_cast<double>(minutes) / 1440.0 +
           (static_cast<double>(hours) / 24.0 + (static_cast<double>(checkedAdd(day, -1)) +
                                                 (static_cast<double>(monthDays) + yearDays))) -
           0.5;
}

std::pair<long long, long long> clockOfHour(double hour) {
    if (!std::isfinite(hour) || std::fabs(hour) >= 1e15) return {0, 0};
    return {static_cast<long long>(std::trunc(hour)),
            static_cast<long long>(std::trunc((hour - std::floor(hour)) * 60.0))};
}

double localDayCount(double baseT, double hour, double longitude) {
    const double targetHourAngle = (hour - 12.0) * kPi / 12.0;
    double t = baseT;
    for (int pass = 0; pass < 10; ++pass) {
        const double delta =
            wrapPi(localSiderealAngle(t, longitude) - sunRightAscension(t) - targetHourAngle);
        if (std::fabs(delta) < 1e-5) break;
        t = t - delta / kTwoPi;
    }
    return t;
}

CalendarFields calendarFields(double t) {
    const double seconds = (t + 0.5) * 86400.0;
    MORVANE_REQUIRE(std::isfinite(seconds) && std::fabs(seconds) < 9.2e18,
                    "day count out of range for a date label");
    // Divisions truncate towards zero and remainders keep the dividend's sign, so moments
    // before year 1 print as negative hours of its first day.
    const std::int64_t secs = std::llround(seconds);
    const std::int64_t r1 = secs % kSecondsPerYear;
    const std::int64_t r2 = r1 % kSecondsPerMonth;
    const std::int64_t r3 = r2 % kSecondsPerDay;
    return {secs / kSecondsPerYear + 1, r1 / kSecondsPerMonth + 1, r2 / kSecondsPerDay + 1,
            r3 / 3600, (r3 % 3600) / 60};
}

std::string dateLabel(double t) {
    const CalendarFields f = calendarFields(t);
    return fmt::format(FMT_COMPILE("{:03d}-{:02d}-{:02d} {:02d}:{:02d} OST"), f.year, f.month,
                       f.day, f.hour, f.minute);
}

double localSolarMinutes(double t, double longitude) {
    const double hourAngle = localSiderealAngle(t, longitude) - sunRightAscension(t);
    return (hourAngle * 12.0 / kPi + 12.0) * 60.0;
}

std::string localTimeLabel(double t, double longitude) {
    const double minutes = localSolarMinutes(t, longitude);
    MORVANE_REQUIRE(std::isfinite(minutes) && std::fabs(minutes) < 9.2e18,
                    "local time out of range");
    std::int64_t n = std::llround(minutes) % 1440;
    if (n < 0) n += 1440;
    return fmt::format(FMT_COMPILE("{:02d}:{:02d}"), n / 60, n % 60);
}

std::string dateLabelWithLocalTime(double t, double longitude) {
    return dateLabel(t) + "  (local " + localTimeLabel(t, longitude) + ")";
}

double localSiderealAngle(double t, double longitude) {
    return turnsToRadians(kSiderealRate * t) + longitude;
}

}  // namespace morvane
