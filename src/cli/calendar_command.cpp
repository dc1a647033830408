#include "cli/calendar_command.h"

#include <fmt/format.h>

#include <span>
#include <vector>

#include "charts/calendar_chart.h"
#include "cli/places.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/json.h"
#include "events/almanac.h"
#include "events/calendar_text.h"
#include "events/event_table.h"

namespace morvane::cli {

namespace {

std::string_view clockName(CalendarClock clock) {
    return clock == CalendarClock::local ? "local" : "reference";
}

std::string_view sunDayName(SunDay sunDay) {
    switch (sunDay) {
        case SunDay::polarDay:
            return "polar-day";
        case SunDay::polarNight:
            return "polar-night";
        case SunDay::ordinary:
            break;
    }
    return "ordinary";
}

// An array of JSON texts on one line.
std::string inlineArray(const std::vector<std::string>& items) {
    std::string text = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += ", ";
        text += items[i];
    }
    return text + "]";
}

std::string momentsJson(std::span<const double> moments, double longitude) {
    std::vector<std::string> items;
    for (const double t : moments) {
        items.push_back(JsonObject()
                            .number("t", eventMomentText(t))
                            .field("label", dateLabel(t))
                            .field("local", localTimeLabel(t, longitude))
                            .str());
    }
    return inlineArray(items);
}

std::string dayJson(const CalendarDay& day, double longitude, bool withSun) {
    std::vector<std::string> marks;
    for (const SkyEvent& event : day.marks) marks.push_back(almanacJson(event, longitude));
    JsonObject object;
    object.field("date", calendarDateText(day))
        .number("start", eventMomentText(day.start))
        .number("end", eventMomentText(day.end))
        .number("moment", eventMomentText(day.moment))
        .field("elongation", day.elongation * kDegreesPerRadian)
        .field("illuminated", day.illuminated)
        .field("phase", phaseName(day.elongation));
    if (withSun) {
        object.member("sunrises", momentsJson(day.sunrises, longitude))
            .member("sunsets", momentsJson(day.sunsets, longitude))
            .field("sunDay", sunDayName(day.sunDay));
    }
    object.member("marks", inlineArray(marks));
    return object.str();
}

// The members every calendar object opens with, one a line at the indent given.
std::string placeMembers(std::string_view place, double latitude, double longitude,
                         CalendarClock clock, double hour, std::string_view indent) {
    std::string text;
    text += std::string(indent) + "\"place\": " + jsonQuoted(place) + ",\n";
    text += std::string(indent) + "\"latitude\": " + readableDegrees(latitude) + ",\n";
    text += std::string(indent) + "\"longitude\": " + readableDegrees(longitude) + ",\n";
    text += std::string(indent) + "\"clock\": " + jsonQuoted(clockName(clock)) + ",\n";
    text += std::string(indent) + "\"hour\": " + fmt::format("{}", hour) + ",\n";
    return text;
}

// The days, one object a line at the indent given, as the body of an array.
std::string daysJson(const CalendarMonth& month, bool withSun, std::string_view indent) {
    std::string text;
    for (std::size_t i = 0; i < month.days.size(); ++i) {
        text += std::string(indent) + dayJson(month.days[i], month.longitude, withSun);
        text += i + 1 < month.days.size() ? ",\n" : "\n";
    }
    return text;
}

}  // namespace

std::string calendarMonthJson(const CalendarMonth& month, std::string_view place) {
    std::string text = "{\n";
    text += fmt::format("  \"year\": {},\n  \"month\": {},\n  \"name\": {},\n", month.year,
                        month.monthIndex + 1,
                        jsonQuoted(kMonthNames[static_cast<std::size_t>(month.monthIndex)]));
    text += placeMembers(place, month.latitude, month.longitude, month.clock, month.hour, "  ");
    text += "  \"days\": [\n" + daysJson(month, true, "    ") + "  ]\n}\n";
    return text;
}

std::string calendarYearJson(const CalendarYear& year, std::string_view place) {
    std::string text = "{\n";
    text += fmt::format("  \"year\": {},\n", year.year);
    text += placeMembers(place, year.latitude, year.longitude, year.clock, year.hour, "  ");
    text += "  \"months\": [\n";
    for (std::size_t m = 0; m < year.months.size(); ++m) {
        const CalendarMonth& month = year.months[m];
        text +=
            fmt::format("    {{\"month\": {}, \"name\": {}, \"days\": [\n", month.monthIndex + 1,
                        jsonQuoted(kMonthNames[static_cast<std::size_t>(month.monthIndex)]));
        text += daysJson(month, false, "      ");
        text += m + 1 < year.months.size() ? "    ]},\n" : "    ]}\n";
    }
    text += "  ]\n}\n";
    return text;
}

std::string calendarOutput(const CalendarRequest& r) {
    if (r.wholeYear) {
        const CalendarYear year = calendarYear(r.year, r.hour, r.clock, r.latitude, r.longitude);
        switch (r.format) {
            case CalendarFormat::svg:
                return calendarYearSvg(year, r.place, r.monthIndex, r.dayIndex);
            case CalendarFormat::json:
                return calendarYearJson(year, r.place);
            case CalendarFormat::text:
                break;
        }
        return calendarYearText(year, r.place);
    }
    const CalendarMonth month =
        calendarMonth(r.year, r.monthIndex, r.hour, r.clock, r.latitude, r.longitude);
    switch (r.format) {
        case CalendarFormat::svg:
            return calendarMonthSvg(month, r.place, r.dayIndex);
        case CalendarFormat::json:
            return calendarMonthJson(month, r.place);
        case CalendarFormat::text:
            break;
    }
    return calendarMonthText(month, r.place);
}

}  // namespace morvane::cli
