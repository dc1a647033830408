#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "events/calendar_month.h"

namespace morvane::cli {

enum class CalendarFormat : std::uint8_t { text, svg, json };

/// What the calendar command draws: the month or year of a day, the hour Yael's phase is shown
/// for on the clock the days are counted on, and the place.
struct CalendarRequest {
    std::int64_t year = 1;
    int monthIndex = 0;  ///< 0 to 11
    int dayIndex = 0;    ///< 0 to 29: the day the pictures frame
    double hour = 12.0;
    CalendarClock clock = CalendarClock::reference;
    double latitude = 0.0;   ///< radians, north positive
    double longitude = 0.0;  ///< radians, east positive
    std::string place;       ///< how headings name the place
    bool wholeYear = false;
    CalendarFormat format = CalendarFormat::text;
};

/// The calendar as the request asks: the month's or year's text, SVG document or JSON.
std::string calendarOutput(const CalendarRequest& request);

/// The month as one JSON object: year, month (from 1), name, place, latitude and longitude in
/// degrees, clock ("reference" or "local"), hour, and `days`, one object per line: date, start,
/// end and moment (day counts), elongation (degrees), illuminated, phase, sunrises and sunsets
/// (objects with t, label and local), sunDay ("ordinary", "polar-day", "polar-night") and marks
/// (the almanac's event objects, with their ids).
std::string calendarMonthJson(const CalendarMonth& month, std::string_view place);

/// The year as one JSON object: year, place, latitude, longitude, clock, hour, and `months`,
/// each with month, name and its days as in a month but without sunrises, sunsets and sunDay.
std::string calendarYearJson(const CalendarYear& year, std::string_view place);

}  // namespace morvane::cli
