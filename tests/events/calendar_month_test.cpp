#include "events/calendar_month.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <string_view>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/sun_moon.h"
#include "events/light.h"
#include "reports/sun_moon_table.h"

namespace morvane {
namespace {

constexpr double kMinute = 1.0 / 1440.0;

double uniform(std::mt19937_64& random, double lo, double hi) {
    return lo + (hi - lo) * static_cast<double>(random() >> 11) * 0x1p-53;
}

double degrees(double d) { return d / kDegreesPerRadian; }

struct Place {
    double latitude;
    double longitude;
};

/// Random places, the polar caps included, and a few fixed ones where Nolomar does not rise or
/// set for weeks.
std::vector<Place> places(std::mt19937_64& random, int count) {
    std::vector<Place> out = {
        {degrees(89.0), 0.0}, {degrees(-85.0), degrees(120.0)}, {degrees(70.0), degrees(-179.5)}};
    for (int i = 0; i < count; ++i) {
        out.push_back({std::asin(uniform(random, -1.0, 1.0)), uniform(random, -kPi, kPi)});
    }
    return out;
}

TEST(CalendarMonth, DaysTileTheMonthOnEitherClockAndThePhaseIsTheChosenHours) {
    std::mt19937_64 random(1401);
    for (const Place& place : places(random, 6)) {
        for (const CalendarClock clock : {CalendarClock::reference, CalendarClock::local}) {
            const auto year = static_cast<std::int64_t>(uniform(random, 1.0, 3000.0));
            const int monthIndex = static_cast<int>(random() % 12);
            const double hour = std::floor(uniform(random, 0.0, 24.0) * 4.0) / 4.0;
            const CalendarMonth month =
                calendarMonth(year, monthIndex, hour, clock, place.latitude, place.longitude);
            SCOPED_TRACE(fmt::format("{}-{} clock {} at {} {}", year, monthIndex + 1,
                                     static_cast<int>(clock), place.latitude, place.longitude));
            for (int d = 0; d < kCalendarDays; ++d) {
                const CalendarDay& day = month.days[static_cast<std::size_t>(d)];
                EXPECT_EQ(day.dayIndex, d);
                EXPECT_EQ(day.monthIndex, monthIndex);
                if (d > 0) {
                    EXPECT_EQ(day.start, month.days[static_cast<std::size_t>(d - 1)].end);
                }
                EXPECT_NEAR(day.end - day.start, 1.0, 0.002);
                EXPECT_GE(day.moment, day.start);
                EXPECT_LT(day.moment, day.end);
                // What the pager and the command line ask for one day is the month's day.
                EXPECT_EQ(calendarDayStart(year, monthIndex, d, clock, place.longitude), day.start);
                EXPECT_EQ(calendarMoment(year, monthIndex, d, hour, clock, place.longitude),
                          day.moment);
                if (clock == CalendarClock::reference) {
                    EXPECT_EQ(day.start, dayCount(year, monthIndex, d, 0.0));
                    EXPECT_EQ(day.moment, dayCount(year, monthIndex, d, hour));
                } else {
                    // Local apparent midnight and the chosen local hour, read back on the clock.
                    EXPECT_NEAR(
                        std::remainder(localSolarMinutes(day.start, place.longitude), 1440.0), 0.0,
                        0.05);
                    EXPECT_NEAR(
                        std::remainder(localSolarMinutes(day.moment, place.longitude) - hour * 60.0,
                                       1440.0),
                        0.0, 0.05);
                }
                const double lit = (1.0 - std::cos(day.elongation)) / 2.0;
                EXPECT_NEAR(day.illuminated, lit, 1e-12);
                EXPECT_NEAR(day.illuminated, illuminatedFraction(day.moment), 1e-15);
                EXPECT_GE(day.elongation, 0.0);
                EXPECT_LT(day.elongation, kTwoPi);
            }
        }
    }
}

TEST(CalendarMonth, MarksRisesAndSetsAreTheEnginesForEachDay) {
    std::mt19937_64 random(1402);
    int ingresses = 0;
    for (const Place& place : places(random, 5)) {
        const auto year = static_cast<std::int64_t>(uniform(random, 1.0, 2000.0));
        const int monthIndex = static_cast<int>(random() % 12);
        const CalendarClock clock =
            random() % 2 == 0 ? CalendarClock::reference : CalendarClock::local;
        const CalendarMonth month =
            calendarMonth(year, monthIndex, 12.0, clock, place.latitude, place.longitude);
        const EventFinder finder(place.latitude, place.longitude);
        for (const CalendarDay& day : month.days) {
            SCOPED_TRACE(
                fmt::format("{} at {} {}", dateLabel(day.start), place.latitude, place.longitude));
            // Searched day by day, apart from the month's single search; of the ingresses only
            // Nolomar's mark a day.
            std::vector<SkyEvent> marks = finder.between(kMonthMarkKinds, day.start, day.end);
            std::erase_if(marks, [](const SkyEvent& e) {
                return e.kind == EventKind::ingress && e.bodies[0] != SkyBody::nolomar;
            });
            ingresses +=
                static_cast<int>(std::count_if(marks.begin(), marks.end(), [](const SkyEvent& e) {
                    return e.kind == EventKind::ingress;
                }));
            ASSERT_EQ(day.marks.size(), marks.size());
            for (std::size_t i = 0; i < marks.size(); ++i) {
                EXPECT_EQ(day.marks[i].kind, marks[i].kind);
                EXPECT_NEAR(day.marks[i].t, marks[i].t, 2e-5);
                EXPECT_EQ(day.marks[i].visible, marks[i].visible);
            }
            const EventKind rise[] = {EventKind::sunrise};
            const EventKind set[] = {EventKind::sunset};
            const auto times = [](const std::vector<SkyEvent>& events) {
                std::vector<double> out;
                for (const SkyEvent& e : events) out.push_back(e.t);
                return out;
            };
            const std::vector<double> rises = times(finder.between(rise, day.start, day.end));
            const std::vector<double> sets = times(finder.between(set, day.start, day.end));
            ASSERT_EQ(day.sunrises.size(), rises.size());
            ASSERT_EQ(day.sunsets.size(), sets.size());
            for (std::size_t i = 0; i < rises.size(); ++i)
                EXPECT_NEAR(day.sunrises[i], rises[i], 2e-5);
            for (std::size_t i = 0; i < sets.size(); ++i)
                EXPECT_NEAR(day.sunsets[i], sets[i], 2e-5);
            const bool crosses = !rises.empty() || !sets.empty();
            EXPECT_EQ(day.sunDay == SunDay::ordinary, crosses);
            if (!crosses) {
                const bool up = sunAltitude(day.start, place.latitude, place.longitude) > 0.0;
                EXPECT_EQ(day.sunDay, up ? SunDay::polarDay : SunDay::polarNight);
            }
        }
    }
    // Nolomar enters a sign about once a month.
    EXPECT_GE(ingresses, 4);
}

/// The clock minute of t as the sun and moon table writes it: cut, not rounded.
int tableMinute(double t) {
    const double f = (t + 0.5) - std::floor(t + 0.5);
    return static_cast<int>(std::floor(f * 1440.0));
}

/// The rises or sets the sun and moon table reports in the hour windows of a day, as clock
/// minutes. A crossing on a window's edge is reported by both windows: counted once.
std::vector<int> tableCrossings(double start, double latitude, std::string_view marker) {
    std::vector<int> minutes;
    for (int hour = 0; hour < 24; ++hour) {
        const std::string found = sunRiseSet(start + hour / 24.0, 1.0 / 24.0, latitude);
        if (!found.starts_with(marker)) continue;
        const int minute = std::stoi(found.substr(3, 2)) * 60 + std::stoi(found.substr(6, 2));
        if (!minutes.empty() && minute - minutes.back() <= 2) continue;
        minutes.push_back(minute);
    }
    return minutes;
}

// The sun and moon table searches each hour on its own at the zero meridian, by bisection of
// its own: every rise or set it reports is one of the calendar's, and the other way round.
TEST(CalendarMonth, RisesAndSetsAgreeWithTheSunAndMoonTableIncludingPolarNight) {
    std::mt19937_64 random(1403);
    struct Case {
        double latitude;
        std::int64_t year;
        int monthIndex;
    };
    // 80° S in the fourth month and 80° N in the ninth lie in their polar night.
    std::vector<Case> cases = {{degrees(-80.0), 720, 3}, {degrees(80.0), 720, 8}};
    for (int i = 0; i < 3; ++i) {
        cases.push_back({std::asin(uniform(random, -0.95, 0.95)),
                         static_cast<std::int64_t>(uniform(random, 1.0, 1500.0)),
                         static_cast<int>(random() % 12)});
    }
    int polarNights = 0;
    for (const Case& c : cases) {
        const CalendarMonth month =
            calendarMonth(c.year, c.monthIndex, 12.0, CalendarClock::reference, c.latitude, 0.0);
        for (const CalendarDay& day : month.days) {
            SCOPED_TRACE(fmt::format("{} at latitude {}", dateLabel(day.start), c.latitude));
            const auto same = [](const std::vector<double>& ours, const std::vector<int>& table) {
                ASSERT_EQ(ours.size(), table.size());
                for (std::size_t i = 0; i < ours.size(); ++i) {
                    EXPECT_LE(std::abs(tableMinute(ours[i]) - table[i]), 1);
                }
            };
            same(day.sunrises, tableCrossings(day.start, c.latitude, "SR@"));
            same(day.sunsets, tableCrossings(day.start, c.latitude, "SS@"));
            if (day.sunDay == SunDay::polarNight) {
                ++polarNights;
                EXPECT_TRUE(day.sunrises.empty());
            }
        }
    }
    EXPECT_GE(polarNights, 60);
}

TEST(CalendarMonth, FullAndNewMoonDaysHoldThePhaseTheLabelsFind) {
    const double latitude = degrees(40.5);
    const double longitude = degrees(-20.9);
    for (const std::int64_t year : {1, 720, 4321}) {
        for (int m = 0; m < 12; m += 5) {
            const CalendarMonth month =
                calendarMonth(year, m, 12.0, CalendarClock::reference, latitude, longitude);
            for (const CalendarDay& day : month.days) {
                for (const auto& [kind, target] :
                     {std::pair{EventKind::fullMoon, kPi}, std::pair{EventKind::newMoon, 0.0}}) {
                    const double next = nextMoonPhase(day.start, target);
                    const SkyEvent* mark = day.firstMark(kind);
                    if (next < day.end - kMinute) {
                        ASSERT_NE(mark, nullptr) << dateLabel(day.start);
                        EXPECT_NEAR(mark->t, next, 2e-4);
                    } else if (next > day.end + kMinute) {
                        EXPECT_EQ(mark, nullptr) << dateLabel(day.start);
                    }
                }
                // The disc is drawn from the elongation: a day with a full moon mark at noon
                // is nearly full, and waxing follows the elongation.
                EXPECT_EQ(day.waxing(), day.elongation < kPi);
            }
        }
    }
}

TEST(CalendarYear, TheYearsDaysAreTheMonthsWithTheYearsMarks) {
    const double latitude = degrees(-33.0);
    const double longitude = degrees(151.0);
    // A solar eclipse falls in 726.
    const CalendarYear year = calendarYear(726, 20.5, CalendarClock::local, latitude, longitude);
    int eclipses = 0;
    int seasons = 0;
    for (int m = 0; m < kCalendarMonths; ++m) {
        const CalendarMonth month =
            calendarMonth(726, m, 20.5, CalendarClock::local, latitude, longitude);
        const CalendarMonth& inYear = year.months[static_cast<std::size_t>(m)];
        EXPECT_EQ(inYear.monthIndex, m);
        for (int d = 0; d < kCalendarDays; ++d) {
            const CalendarDay& a = inYear.days[static_cast<std::size_t>(d)];
            const CalendarDay& b = month.days[static_cast<std::size_t>(d)];
            EXPECT_EQ(a.monthIndex, m);
            EXPECT_EQ(a.dayIndex, d);
            EXPECT_EQ(a.start, b.start);
            EXPECT_EQ(a.moment, b.moment);
            EXPECT_EQ(a.elongation, b.elongation);
            EXPECT_TRUE(a.sunrises.empty());
            std::vector<EventKind> expected;
            for (const SkyEvent& e : b.marks) {
                if (std::find(kYearMarkKinds.begin(), kYearMarkKinds.end(), e.kind) !=
                    kYearMarkKinds.end()) {
                    expected.push_back(e.kind);
                }
            }
            std::vector<EventKind> got;
            for (const SkyEvent& e : a.marks) got.push_back(e.kind);
            EXPECT_EQ(got, expected) << dateLabel(a.start);
            for (const SkyEvent& e : a.marks) {
                eclipses += e.kind == EventKind::solarEclipse || e.kind == EventKind::lunarEclipse;
                seasons += e.kind == EventKind::equinox || e.kind == EventKind::solstice;
            }
        }
    }
    EXPECT_EQ(seasons, 4);
    EXPECT_GE(eclipses, 1);
}

}  // namespace
}  // namespace morvane
