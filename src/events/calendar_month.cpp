#include "events/calendar_month.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/sun_moon.h"
#include "events/light.h"

namespace morvane {

namespace {

constexpr int kYearDays = kCalendarMonths * kCalendarDays;

// Yael's longitude minus Nolomar's as the phase reckons it, in [0, 2π).
double phaseElongation(double t) {
    const double e = std::fmod(moonLongitude(t) - sunLongitude(t), kTwoPi);
    return e < 0.0 ? e + kTwoPi : e;
}

// Days are numbered from the first of the year so that a month's 31st midnight is the next
// month's first without a special case; the day-count formula is linear in the day.
double dayStartOf(std::int64_t year, int dayOfYear, CalendarClock clock, double longitude) {
    const double midnight = dayCount(year, 0, dayOfYear, 0.0);
    if (clock == CalendarClock::reference) return midnight;
    // Starting from mean local midnight keeps the refinement on this day's midnight: from the
    // reference midnight it could settle half a world away, on the neighbouring day's.
    return localDayCount(midnight - longitude / kTwoPi, 0.0, longitude);
}

double momentOf(std::int64_t year, int dayOfYear, double hour, CalendarClock clock,
                double longitude) {
    const double t = dayCount(year, 0, dayOfYear, hour);
    if (clock == CalendarClock::reference) return t;
    return localDayCount(t - longitude / kTwoPi, hour, longitude);
}

template <std::size_t N>
void fillDays(std::span<CalendarDay> days, std::int64_t year, int firstDayOfYear, double hour,
              CalendarClock clock, double latitude, double longitude,
              const std::array<EventKind, N>& markKinds, bool withSun) {
    const int count = static_cast<int>(days.size());
    for (int i = 0; i < count; ++i) {
        CalendarDay& day = days[static_cast<std::size_t>(i)];
        const int dayOfYear = firstDayOfYear + i;
        day.year = year;
        day.monthIndex = dayOfYear / kCalendarDays;
        day.dayIndex = dayOfYear % kCalendarDays;
        day.start = i == 0 ? dayStartOf(year, dayOfYear, clock, longitude)
                           : days[static_cast<std::size_t>(i - 1)].end;
        day.end = dayStartOf(year, dayOfYear + 1, clock, longitude);
        day.moment = momentOf(year, dayOfYear, hour, clock, longitude);
        day.elongation = phaseElongation(day.moment);
        day.illuminated = illuminatedFraction(day.moment);
    }

    std::vector<EventKind> kinds(markKinds.begin(), markKinds.end());
    if (withSun) {
        kinds.push_back(EventKind::sunrise);
        kinds.push_back(EventKind::sunset);
    }
    const EventFinder finder(latitude, longitude);
    std::size_t index = 0;
    finder.between(kinds, days.front().start, days.back().end, [&](const SkyEvent& event) {
        while (index + 1 < days.size() && event.t >= days[index].end) ++index;
        CalendarDay& day = days[index];
        // Yael changes sign every two or three days and the planets now and then: only
        // Nolomar's ingresses mark the calendar's days.
        if (event.kind == EventKind::ingress && event.bodies[0] != SkyBody::nolomar) return;
        if (event.kind == EventKind::sunrise) {
            day.sunrises.push_back(event.t);
        } else if (event.kind == EventKind::sunset) {
            day.sunsets.push_back(event.t);
        } else {
            day.marks.push_back(event);
        }
    });

    if (!withSun) return;
    for (CalendarDay& day : days) {
        if (!day.sunrises.empty() || !day.sunsets.empty()) continue;
        // Without a crossing the altitude keeps its sign all day: any instant tells which.
        const double middle = day.start + (day.end - day.start) * 0.5;
        day.sunDay =
            sunAltitude(middle, latitude, longitude) >= 0.0 ? SunDay::polarDay : SunDay::polarNight;
    }
}

// A month's own members; its days are filled by the caller.
CalendarMonth monthFrame(std::int64_t year, int monthIndex, double hour, CalendarClock clock,
                         double latitude, double longitude) {
    CalendarMonth month;
    month.year = year;
    month.monthIndex = monthIndex;
    month.hour = hour;
    month.clock = clock;
    month.latitude = latitude;
    month.longitude = longitude;
    return month;
}

}  // namespace

bool CalendarDay::waxing() const { return elongation < kPi; }

const SkyEvent* CalendarDay::firstMark(EventKind kind) const {
    const auto found = std::find_if(marks.begin(), marks.end(),
                                    [kind](const SkyEvent& e) { return e.kind == kind; });
    return found == marks.end() ? nullptr : &*found;
}

double calendarDayStart(std::int64_t year, int monthIndex, int dayIndex, CalendarClock clock,
                        double longitude) {
    return dayStartOf(year, monthIndex * kCalendarDays + dayIndex, clock, longitude);
}

double calendarMoment(std::int64_t year, int monthIndex, int dayIndex, double hour,
                      CalendarClock clock, double longitude) {
    return momentOf(year, monthIndex * kCalendarDays + dayIndex, hour, clock, longitude);
}

CalendarMonth calendarMonth(std::int64_t year, int monthIndex, double hour, CalendarClock clock,
                            double latitude, double longitude) {
    CalendarMonth month = monthFrame(year, monthIndex, hour, clock, latitude, longitude);
    fillDays(month.days, year, monthIndex * kCalendarDays, hour, clock, latitude, longitude,
             kMonthMarkKinds, true);
    return month;
}

CalendarYear calendarYear(std::int64_t year, double hour, CalendarClock clock, double latitude,
                          double longitude) {
    CalendarYear result;
    result.year = year;
    result.hour = hour;
    result.clock = clock;
    result.latitude = latitude;
    result.longitude = longitude;
    // One search for the whole year, then the days handed to their months.
    std::array<CalendarDay, kYearDays> days{};
    fillDays(days, year, 0, hour, clock, latitude, longitude, kYearMarkKinds, false);
    for (int m = 0; m < kCalendarMonths; ++m) {
        CalendarMonth& month = result.months[static_cast<std::size_t>(m)];
        month = monthFrame(year, m, hour, clock, latitude, longitude);
        const auto first = days.begin() + std::ptrdiff_t{m} * kCalendarDays;
        std::move(first, first + kCalendarDays, month.days.begin());
    }
    return result;
}

}  // namespace morvane
