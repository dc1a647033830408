#include "events/calendar_text.h"

#include <fmt/format.h>

#include <cmath>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/text.h"
#include "engine/vec3d.h"
#include "events/event_table.h"

namespace morvane {

namespace {

// Half the width of a principal phase's band: half a day of Yael's 12° a day.
constexpr double kPrincipalHalfBand = kPi / 30.0;

// Widths in characters: a date of years 1 to 999, the longest phase text ("waxing crescent
// 50 %", "waning gibbous 100 %"), "rise 05:12" and "set 18:40". A day with two rises is wider
// and shifts its line, which reads better than a time cut off.
constexpr std::size_t kDateWidth = 9;
constexpr std::size_t kPhaseWidth = 20;
constexpr std::size_t kPhaseNameWidth = 15;
constexpr std::size_t kRiseWidth = 10;
constexpr std::size_t kSetWidth = 9;
constexpr std::string_view kGap = "  ";

std::string timesText(std::string_view word, const std::vector<double>& moments, double longitude) {
    if (moments.empty()) return {};
    std::string text(word);
    for (const double t : moments) {
        text += ' ';
        text += localTimeLabel(t, longitude);
    }
    return text;
}

std::string marksText(const CalendarDay& day, double longitude) {
    std::string text;
    for (const SkyEvent& event : day.marks) {
        if (!text.empty()) text += "; ";
        text += calendarMarkWords(event);
        text += ' ';
        text += localTimeLabel(event.t, longitude);
    }
    return text;
}

void appendHeading(std::string& text, std::string_view title, std::string_view place,
                   CalendarClock clock, double hour) {
    text += title;
    text += '\n';
    if (!place.empty()) {
        text += place;
        text += '\n';
    }
    text += calendarClockText(clock, hour);
    text += '\n';
}

std::string monthTitle(std::int64_t year, int monthIndex) {
    return fmt::format("{} {}", kMonthNames.at(static_cast<std::size_t>(monthIndex)), year);
}

std::string monthLine(const CalendarDay& day, double longitude) {
    std::string line;
    appendPadded(line, calendarDateText(day), kDateWidth);
    line += kGap;
    appendPadded(line, phaseText(day.elongation, day.illuminated), kPhaseWidth);
    line += kGap;
    if (day.sunDay == SunDay::ordinary) {
        appendPadded(line, timesText("rise", day.sunrises, longitude), kRiseWidth);
        line += kGap;
        appendPadded(line, timesText("set", day.sunsets, longitude), kSetWidth);
    } else {
        appendPadded(line, day.sunDay == SunDay::polarNight ? "polar night" : "polar day",
                     kRiseWidth + kGap.size() + kSetWidth);
    }
    line += kGap;
    line += marksText(day, longitude);
    line.resize(trimmedRight(line).size());
    line += '\n';
    return line;
}

}  // namespace

std::string_view phaseName(double elongation) {
    const double e = wrapBelowTwoPi(elongation);
    constexpr double kThreeHalfPi = 3.0 * kHalfPi;
    if (e < kPrincipalHalfBand || e >= kTwoPi - kPrincipalHalfBand) return "new moon";
    if (e < kHalfPi - kPrincipalHalfBand) return "waxing crescent";
    if (e < kHalfPi + kPrincipalHalfBand) return "first quarter";
    if (e < kPi - kPrincipalHalfBand) return "waxing gibbous";
    if (e < kPi + kPrincipalHalfBand) return "full moon";
    if (e < kThreeHalfPi - kPrincipalHalfBand) return "waning gibbous";
    if (e < kThreeHalfPi + kPrincipalHalfBand) return "last quarter";
    return "waning crescent";
}

std::string phaseText(double elongation, double illuminated) {
    return fmt::format("{} {} %", phaseName(elongation), std::llround(illuminated * 100.0));
}

std::string calendarMarkWords(const SkyEvent& event) {
    switch (event.kind) {
        case EventKind::newMoon:
            return "new moon";
        case EventKind::fullMoon:
            return "full moon";
        case EventKind::solarEclipse:
        case EventKind::lunarEclipse:
            return fmt::format(
                "{} eclipse {}, {}", event.kind == EventKind::solarEclipse ? "solar" : "lunar",
                eclipseClassName(event.eclipseClass), event.visible ? "visible" : "not visible");
        case EventKind::conjunction:
            return fmt::format("conjunction {}", event.pair);
        case EventKind::ingress:
            return fmt::format("enters {}", eventDetails(event));
        case EventKind::equinox:
            return fmt::format("{} equinox", seasonName(event.season));
        case EventKind::solstice:
            return fmt::format("{} solstice", seasonName(event.season));
        default: {
            // The other kinds are not calendar marks; their script names read well enough.
            std::string words(kindName(event.kind));
            for (char& c : words) {
                if (c == '-') c = ' ';
            }
            return words;
        }
    }
}

std::string calendarDateText(const CalendarDay& day) {
    return fmt::format("{:03d}-{:02d}-{:02d}", day.year, day.monthIndex + 1, day.dayIndex + 1);
}

std::string calendarClockText(CalendarClock clock, double hour) {
    const auto [hours, minutes] = clockOfHour(hour);
    const bool local = clock == CalendarClock::local;
    return fmt::format(
        "Times: local apparent solar time at the place; days from {}; Yael's phase at "
        "{:02d}:{:02d} {}",
        local ? "local midnight" : "00:00 OST", hours, minutes, local ? "local" : "OST");
}

std::string calendarMonthText(const CalendarMonth& month, std::string_view place) {
    std::string text;
    appendHeading(text, monthTitle(month.year, month.monthIndex), place, month.clock, month.hour);
    text += '\n';
    for (const CalendarDay& day : month.days) text += monthLine(day, month.longitude);
    return text;
}

std::string calendarYearText(const CalendarYear& year, std::string_view place) {
    std::string text;
    appendHeading(text, fmt::format("Year {}", year.year), place, year.clock, year.hour);
    for (const CalendarMonth& month : year.months) {
        text += '\n';
        text += monthTitle(year.year, month.monthIndex);
        text += '\n';
        for (const CalendarDay& day : month.days) {
            if (day.marks.empty()) continue;
            std::string line;
            appendPadded(line, calendarDateText(day), kDateWidth);
            line += kGap;
            appendPadded(line, phaseName(day.elongation), kPhaseNameWidth);
            line += kGap;
            line += marksText(day, year.longitude);
            line.resize(trimmedRight(line).size());
            line += '\n';
            text += line;
        }
    }
    return text;
}

}  // namespace morvane
