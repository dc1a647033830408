#pragma once

// The calendar of a month and of a year at one place: for each of a month's 30 days, Yael's
// phase at the chosen hour, Nolomar's rises and sets, and the day's notable events. Pure: no
// Qt, so the Calendar output, its exports and the command line share every fact.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "events/sky_events.h"

namespace morvane {

/// The world's months have 30 days and it has no week: a month is laid out as 6 rows of 5.
inline constexpr int kCalendarDays = 30;
inline constexpr int kCalendarColumns = 5;
inline constexpr int kCalendarRows = 6;
inline constexpr int kCalendarMonths = 12;

/// Which clock the days are counted on: the reference clock (OST), or the place's local
/// apparent solar time, as the application's "Use local time" reads the date and hour.
enum class CalendarClock : std::uint8_t { reference, local };

/// What a day of the month view is marked with: full and new moon, eclipses, planet
/// conjunctions, Nolomar entering a sign (only his ingresses are kept), equinoxes and
/// solstices.
inline constexpr std::array<EventKind, 8> kMonthMarkKinds = {
    EventKind::newMoon,     EventKind::fullMoon, EventKind::solarEclipse, EventKind::lunarEclipse,
    EventKind::conjunction, EventKind::ingress,  EventKind::equinox,      EventKind::solstice};
/// What a day of the year view is marked with: the phases that shade it, eclipses, equinoxes
/// and solstices.
inline constexpr std::array<EventKind, 6> kYearMarkKinds = {
    EventKind::newMoon,      EventKind::fullMoon, EventKind::solarEclipse,
    EventKind::lunarEclipse, EventKind::equinox,  EventKind::solstice};

/// Nolomar's course on a day without a rise or a set.
enum class SunDay : std::uint8_t {
    ordinary,    ///< Nolomar rises or sets (or both) during the day
    polarDay,    ///< Nolomar stays above the horizon all day
    polarNight,  ///< Nolomar stays below the horizon all day
};

struct CalendarDay {
    std::int64_t year = 1;
    int monthIndex = 0;   ///< 0 to 11
    int dayIndex = 0;     ///< 0 to 29
    double start = 0.0;   ///< the day's first instant (00:00 on the calendar's clock)
    double end = 0.0;     ///< the next day's first instant
    double moment = 0.0;  ///< the chosen hour on this day: what the phase is drawn for
    /// Yael's longitude minus Nolomar's at `moment` (the phase's elongation), in [0, 2π):
    /// 0 new, π/2 first quarter, π full, 3π/2 last quarter. Below π she waxes.
    double elongation = 0.0;
    double illuminated = 0.0;  ///< lit fraction of her disc at `moment`, 0 to 1
    /// Nolomar's rises and sets within [start, end), in order (month view only; a day near the
    /// polar circles may have two, or a set and no rise).
    std::vector<double> sunrises;
    std::vector<double> sunsets;
    SunDay sunDay = SunDay::ordinary;  ///< month view only
    /// The marking events within [start, end), sorted by moment: kMonthMarkKinds in a month,
    /// kYearMarkKinds in a year.
    std::vector<SkyEvent> marks;

    [[nodiscard]] bool waxing() const;
    /// The first mark of the kind, or nullptr.
    [[nodiscard]] const SkyEvent* firstMark(EventKind kind) const;
};

struct CalendarMonth {
    std::int64_t year = 1;
    int monthIndex = 0;
    double hour = 12.0;
    CalendarClock clock = CalendarClock::reference;
    double latitude = 0.0;   ///< radians, north positive
    double longitude = 0.0;  ///< radians, east positive
    std::array<CalendarDay, kCalendarDays> days{};
};

struct CalendarYear {
    std::int64_t year = 1;
    double hour = 12.0;
    CalendarClock clock = CalendarClock::reference;
    double latitude = 0.0;
    double longitude = 0.0;
    /// Each day with its phase and kYearMarkKinds marks; no rises or sets.
    std::array<CalendarMonth, kCalendarMonths> months{};
};

/// The first instant of a day on the clock: 00:00 OST, or local apparent midnight at the
/// longitude (radians, east positive). Days follow each other without gap or overlap.
double calendarDayStart(std::int64_t year, int monthIndex, int dayIndex, CalendarClock clock,
                        double longitude);
/// The day count of `hour` (hours from midnight on the clock) on that day.
double calendarMoment(std::int64_t year, int monthIndex, int dayIndex, double hour,
                      CalendarClock clock, double longitude);

/// The month at the place (radians): the phase of each day at `hour`, the rises and sets of
/// Nolomar and the marks. Year from 1.
CalendarMonth calendarMonth(std::int64_t year, int monthIndex, double hour, CalendarClock clock,
                            double latitude, double longitude);
/// The twelve months of the year with the phases and the year view's marks.
CalendarYear calendarYear(std::int64_t year, double hour, CalendarClock clock, double latitude,
                          double longitude);

}  // namespace morvane
