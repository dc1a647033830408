#include "events/calendar_text.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/text.h"
#include "events/light.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
constexpr auto npos = std::string::npos;

constexpr double kDegree = kPi / 180.0;
// 40.5° N 20.9° W, the default place.
constexpr double kLatitude = 40.5 * kDegree;
constexpr double kLongitude = -20.9 * kDegree;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// Every line ends in "\n" and none in a space or a carriage return.
void expectCleanLines(const std::string& text) {
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.find(" \n"), std::string::npos);
}

// The words a mark must be written with, from the engine's event.
std::string expectedMark(const SkyEvent& e, double longitude) {
    const std::string time = localTimeLabel(e.t, longitude);
    switch (e.kind) {
        case EventKind::fullMoon:
            return "full moon " + time;
        case EventKind::newMoon:
            return "new moon " + time;
        case EventKind::solarEclipse:
        case EventKind::lunarEclipse:
            return std::string(e.kind == EventKind::solarEclipse ? "solar" : "lunar") +
                   " eclipse " + std::string(eclipseClassName(e.eclipseClass)) + ", " +
                   (e.visible ? "visible " : "not visible ") + time;
        case EventKind::conjunction:
            return "conjunction " + std::string(e.pair) + " " + time;
        case EventKind::ingress: {
            std::string sign(e.sign);
            while (!sign.empty() && sign.back() == ' ') sign.pop_back();
            return "enters " + sign + " " + time;
        }
        default:
            return std::string(seasonName(e.season)) +
                   (e.kind == EventKind::equinox ? " equinox " : " solstice ") + time;
    }
}

TEST(CalendarText, PhaseNamesFollowTheirBandsAndPrincipalPhasesFallOnTheEnginesDay) {
    const std::vector<std::pair<double, const char*>> cases = {
        {0.0, "new moon"},           {5.9, "new moon"},          {354.0, "new moon"},
        {-0.5, "new moon"},          {6.0, "waxing crescent"},   {83.9, "waxing crescent"},
        {84.0, "first quarter"},     {95.9, "first quarter"},    {96.0, "waxing gibbous"},
        {174.0, "full moon"},        {185.9, "full moon"},       {186.0, "waning gibbous"},
        {264.0, "last quarter"},     {276.0, "waning crescent"}, {353.9, "waning crescent"},
        {360.0 + 180.0, "full moon"}};
    for (const auto& [degrees, name] : cases)
        EXPECT_EQ(phaseName(degrees * kDegree), name) << degrees;
    EXPECT_EQ(phaseText(kPi / 3.0, 0.2349), "waxing crescent 23 %");

    // At a fixed hour each principal name falls on one day of a month, the day whose moment
    // lies within half a day of the engine's event.
    const EventFinder finder(kLatitude, kLongitude);
    for (int m = 0; m < 12; m += 5) {
        const CalendarMonth month =
            calendarMonth(720, m, 12.0, CalendarClock::reference, kLatitude, kLongitude);
        for (const auto& [kind, name] : {std::pair{EventKind::newMoon, "new moon"},
                                         std::pair{EventKind::firstQuarter, "first quarter"},
                                         std::pair{EventKind::fullMoon, "full moon"},
                                         std::pair{EventKind::lastQuarter, "last quarter"}}) {
            int named = 0;
            for (const CalendarDay& day : month.days) {
                if (phaseName(day.elongation) != name) continue;
                ++named;
                const auto previous = finder.previous(kind, day.moment + 0.5);
                ASSERT_TRUE(previous.has_value());
                EXPECT_LT(std::fabs(previous->t - day.moment), 0.5) << name << " " << m;
            }
            EXPECT_EQ(named, 1) << name << " month " << m;
        }
    }
}

// Months across a year at the default place, each line's facts against the event engine.
TEST(CalendarText, MonthLinesHoldTheEnginesRisesSetsAndMarksInFixedColumns) {
    const EventFinder finder(kLatitude, kLongitude);
    std::vector<EventKind> markKinds(kMonthMarkKinds.begin(), kMonthMarkKinds.end());
    int checkedMarks = 0;
    for (int m = 0; m < 12; ++m) {
        const CalendarClock clock = m % 2 == 0 ? CalendarClock::reference : CalendarClock::local;
        const CalendarMonth month = calendarMonth(720, m, 9.5, clock, kLatitude, kLongitude);
        const std::string text = calendarMonthText(month, "Venarive, 40.50° N 20.90° W");
        expectCleanLines(text);
        const std::vector<std::string> all = lines(text);
        ASSERT_EQ(all.size(), 4u + kCalendarDays);
        EXPECT_EQ(all[0], std::string(kMonthNames.at(static_cast<std::size_t>(m))) + " 720");
        EXPECT_EQ(all[1], "Venarive, 40.50° N 20.90° W");
        EXPECT_THAT(all[2], HasSubstr("local apparent solar time"));
        EXPECT_THAT(all[2], HasSubstr(clock == CalendarClock::local
                                          ? "days from local midnight; Yael's phase at 09:30 local"
                                          : "days from 00:00 OST; Yael's phase at 09:30 OST"));
        EXPECT_EQ(all[3], "");
        for (int d = 0; d < kCalendarDays; ++d) {
            const CalendarDay& day = month.days.at(static_cast<std::size_t>(d));
            const std::string& line = all.at(4 + static_cast<std::size_t>(d));
            EXPECT_EQ(line.substr(0, 11), fmt::format("720-{:02d}-{:02d}  ", m + 1, d + 1));
            EXPECT_EQ(line.substr(11, 22).find(std::string(phaseName(day.elongation))), 0u);
            const auto rises = finder.between(std::array{EventKind::sunrise}, day.start, day.end);
            const auto sets = finder.between(std::array{EventKind::sunset}, day.start, day.end);
            ASSERT_EQ(rises.size(), 1u) << line;
            ASSERT_EQ(sets.size(), 1u) << line;
            // The rise column starts after the 9-character date and the 20-character phase column.
            EXPECT_EQ(line.substr(33, 21), "rise " + localTimeLabel(rises[0].t, kLongitude) +
                                               "  set " + localTimeLabel(sets[0].t, kLongitude))
                << line;
            std::string marks;
            for (const SkyEvent& e : finder.between(markKinds, day.start, day.end)) {
                if (e.kind == EventKind::ingress && e.bodies[0] != SkyBody::nolomar) continue;
                if (!marks.empty()) marks += "; ";
                marks += expectedMark(e, kLongitude);
                ++checkedMarks;
            }
            if (marks.empty()) {
                EXPECT_EQ(characterCount(line), 54u) << line;
            } else {
                EXPECT_EQ(line.substr(line.size() - marks.size() - 2), "  " + marks);
            }
        }
    }
    EXPECT_GT(checkedMarks, 40);  // phases, ingresses and seasons at least
}

TEST(CalendarText, PolarDaysAndUnevenSunDaysAreSaidInWords) {
    // Far north Nolomar stays down in one solstice month and up in the other.
    const double north = 80.0 * kDegree;
    int polar = 0;
    for (const int m : {3, 9}) {
        const CalendarMonth month = calendarMonth(720, m, 12.0, CalendarClock::local, north, 0.0);
        const std::vector<std::string> all = lines(calendarMonthText(month, ""));
        ASSERT_EQ(all.size(), 3u + kCalendarDays);  // no place line
        for (int d = 0; d < kCalendarDays; ++d) {
            const SunDay sunDay = month.days.at(static_cast<std::size_t>(d)).sunDay;
            const std::string& line = all.at(3 + static_cast<std::size_t>(d));
            EXPECT_EQ(line.find("  polar night"),
                      sunDay == SunDay::polarNight ? std::size_t{31} : npos)
                << line;
            EXPECT_EQ(line.find("  polar day"), sunDay == SunDay::polarDay ? std::size_t{31} : npos)
                << line;
            EXPECT_EQ(line.find("rise") == npos, sunDay != SunDay::ordinary) << line;
            polar += sunDay == SunDay::ordinary ? 0 : 1;
        }
    }
    EXPECT_GT(polar, 20);

    // A set without a rise keeps the rise column empty; two rises share the column.
    CalendarMonth month = calendarMonth(720, 0, 12.0, CalendarClock::reference, 0.0, 0.0);
    CalendarDay& day = month.days[0];
    day.sunrises.clear();
    day.sunsets = {day.start + 0.5};
    month.days[1].sunrises = {month.days[1].start + 0.01, month.days[1].start + 0.99};
    const std::vector<std::string> all = lines(calendarMonthText(month, "x"));
    EXPECT_EQ(all[4].substr(33, 21), "            set " + localTimeLabel(day.sunsets[0], 0.0));
    EXPECT_THAT(all[5], HasSubstr("rise " + localTimeLabel(month.days[1].sunrises[0], 0.0) + " " +
                                  localTimeLabel(month.days[1].sunrises[1], 0.0) + "  set"));
}

TEST(CalendarText, YearListsEveryDayWithAMarkUnderItsMonth) {
    const CalendarYear year =
        calendarYear(722, 18.0, CalendarClock::reference, kLatitude, kLongitude);
    const std::string text = calendarYearText(year, "Venarive");
    expectCleanLines(text);
    const std::vector<std::string> all = lines(text);
    EXPECT_EQ(all[0], "Year 722");
    EXPECT_EQ(all[1], "Venarive");
    // Every marking event of the year, found by the engine, on its date's line.
    const EventFinder finder(kLatitude, kLongitude);
    const double start = calendarDayStart(722, 0, 0, CalendarClock::reference, 0.0);
    const double end = calendarDayStart(723, 0, 0, CalendarClock::reference, 0.0);
    const auto events = finder.between(kYearMarkKinds, start, end);
    std::size_t found = 0;
    int eclipses = 0;
    for (const SkyEvent& e : events) {
        const std::string date = dateLabel(e.t).substr(0, 9);
        const std::regex line("\n" + date + "  [a-z ]{15}  [^\n]*" + expectedMark(e, kLongitude));
        found += std::regex_search(text, line) ? 1 : 0;
        eclipses += e.kind == EventKind::solarEclipse || e.kind == EventKind::lunarEclipse;
    }
    EXPECT_EQ(found, events.size());
    EXPECT_GT(eclipses, 0);
    // Each month's name, then only days with marks: 3 heading lines, and per month a blank
    // line and the name.
    std::size_t markedDays = 0;
    for (const CalendarMonth& month : year.months) {
        EXPECT_THAT(
            text,
            HasSubstr("\n\n" +
                      std::string(kMonthNames.at(static_cast<std::size_t>(month.monthIndex))) +
                      " 722\n"));
        for (const CalendarDay& day : month.days) markedDays += day.marks.empty() ? 0 : 1;
    }
    EXPECT_EQ(all.size(), 3 + 2 * kCalendarMonths + markedDays);
}

}  // namespace
}  // namespace morvane
