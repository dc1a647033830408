#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace morvane {

/// The twelve month names of the world calendar, index 0 to 11.
extern const std::array<std::string_view, 12> kMonthNames;

/// Day count t of a calendar moment read on the reference clock (OST). The hour's fraction
/// gives whole minutes; seconds are dropped (10.999 h is 10:59). t = 0 is 12:00 OST on the
/// first day of year 1. The hour must be finite and fit a 64-bit integer.
double dayCount(std::int64_t year, std::int64_t monthIndex, std::int64_t dayIndex, double hour);

/// The same with the clock time given as whole hours and minutes, fed in directly.
double dayCount(std::int64_t year, std::int64_t monthIndex, std::int64_t dayIndex,
                std::int64_t hours, std::int64_t minutes);

/// The clock time of an hour with a fraction, split as dayCount splits it: whole hours, and
/// whole minutes of the fraction above the floor (12.25 is 12:15). 0, 0 for a value that is no
/// ordinary number (not finite, or 1e15 hours and more either way), for callers that must show
/// something rather than stop.
std::pair<long long, long long> clockOfHour(double hour);

/// Refines baseT so that `hour` is the local apparent solar time at the longitude (radians,
/// east positive). Returns the tenth estimate when it does not converge.
double localDayCount(double baseT, double hour, double longitude);

/// The calendar fields of t, rounded to the nearest second (year, month and day from 1).
struct CalendarFields {
    std::int64_t year;
    std::int64_t month;
    std::int64_t day;
    std::int64_t hour;
    std::int64_t minute;
};
CalendarFields calendarFields(double t);

/// "%03d-%02d-%02d %02d:%02d OST" of t, rounded to the nearest second.
std::string dateLabel(double t);

/// The local apparent solar time at t for the longitude, in minutes from midnight, not reduced
/// to one day (it may be negative or past 1440).
double localSolarMinutes(double t, double longitude);
/// "%02d:%02d", the local apparent solar time at t for the longitude.
std::string localTimeLabel(double t, double longitude);

/// The calendar label of t followed by "  (local HH:MM)" for the longitude: how the next full
/// and new moon are shown.
std::string dateLabelWithLocalTime(double t, double longitude);

/// Rotation angle of the sky at the longitude, radians, not normalised.
double localSiderealAngle(double t, double longitude);

}  // namespace morvane
