#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::cli {

// What the options leave out takes the application's default, from Inputs.

/// A calendar date as typed: year 1 to 1,000,000, month 1 to 12, day 1 to 30.
struct Date {
    std::int64_t year{};
    std::int64_t month{};
    std::int64_t day{};
    friend bool operator==(const Date&, const Date&) = default;
};

/// A clock time as typed: hours 0 to 23, minutes 0 to 59.
struct ClockTime {
    std::int64_t hours{};
    std::int64_t minutes{};
    friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

inline constexpr std::int64_t kMaxYear = 1'000'000;

/// A typed latitude or longitude: its magnitude in degrees as typed and its sense.
struct TypedAngle {
    double magnitudeDeg = 0.0;
    bool negative = false;  ///< south, or west
    friend bool operator==(const TypedAngle&, const TypedAngle&) = default;
};

// Each parser takes the text of one option value and returns nothing when it is malformed or
// out of range; the caller names the option and what it accepts.
std::optional<Date> parseDate(std::string_view text);
std::optional<ClockTime> parseTime(std::string_view text);
/// Day count, finite, |t| ≤ kMaxDayCount.
std::optional<double> parseDayCount(std::string_view text);
/// Degrees as "40.5N", "40.5S" or signed ("-40.5" is south), magnitude ≤ 90.
std::optional<TypedAngle> parseLatitudeAngle(std::string_view text);
/// Degrees as "20.9W", "20.9E" or signed, east positive, magnitude ≤ 180.
std::optional<TypedAngle> parseLongitudeAngle(std::string_view text);

/// A table's row count, 0 to 1,000,000.
std::optional<std::int64_t> parseRows(std::string_view text);
inline constexpr std::int64_t kMaxRows = 1'000'000;

/// Days between table rows: a finite decimal number of days (any sign), or a number with a
/// unit, "10m", "1h", "1d", turned into days by one division (so "10m" is exactly 1/144).
std::optional<double> parseStep(std::string_view text);

/// The span of the events command: a decimal number of days above 0, at most 360,000 (a thousand
/// years). Fractions are taken, so that "--days 0.5" lists the coming night.
std::optional<double> parseDays(std::string_view text);
inline constexpr double kMaxEventDays = 360'000.0;

/// How many events the next command finds: 1 to 100,000.
std::optional<std::int64_t> parseCount(std::string_view text);
inline constexpr std::int64_t kMaxEventCount = 100'000;

/// A decimal number as parseDecimal reads it, from `low` to `high`, both included: the Moonlight
/// thresholds of the light command.
std::optional<double> parseDecimalIn(std::string_view text, double low, double high);

/// A finite decimal number in plain notation (an optional sign, digits, a fraction, an
/// exponent), read the same in every locale.
std::optional<double> parseDecimal(std::string_view text);

/// The text made safe for a one-line message: control characters replaced, long text cut.
std::string printable(std::string_view text);

}  // namespace morvane::cli
