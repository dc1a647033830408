#include "cli/light_command.h"

#include <fmt/format.h>

#include <string_view>
#include <utility>
#include <vector>

#include "cli/places.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/json.h"
#include "events/event_table.h"
#include "events/light_text.h"

namespace morvane::cli {

namespace {

// Shortest text that reads back to the same double, as JsonObject writes its numbers.
std::string numberText(double value) { return fmt::format("{}", value); }

double degrees(double radians) { return radians * kDegreesPerRadian; }

std::string_view courseName(SunCourse course) {
    switch (course) {
        case SunCourse::polarDay:
            return "polar-day";
        case SunCourse::polarNight:
            return "polar-night";
        case SunCourse::risesAndSets:
            break;
    }
    return "rises-and-sets";
}

std::string momentJson(double t, double longitude) {
    return JsonObject()
        .number("t", eventMomentText(t))
        .field("label", dateLabel(t))
        .field("local", localTimeLabel(t, longitude))
        .str();
}

std::string momentsJson(const std::vector<double>& moments, double longitude) {
    std::string text = "[";
    for (const double t : moments) {
        if (text.size() > 1) text += ", ";
        text += momentJson(t, longitude);
    }
    return text + "]";
}

// The summary has arrays and objects as members, which JsonObject does not nest: one member a
// line, each value already JSON text.
std::string summaryJson(const DayLight& day) {
    const DaySummary& s = day.summary;
    const double lon = day.longitude;
    std::string darkest = "null";
    if (s.darkest) {
        darkest = fmt::format(R"({{"from": {}, "to": {}, "stage": "{}", "moonUp": {}}})",
                              momentJson(s.darkest->from, lon), momentJson(s.darkest->to, lon),
                              stageName(s.darkest->stage), s.darkest->moonUp);
    }
    std::string eclipses = "[";
    for (const SkyEvent& eclipse : s.eclipses) {
        if (eclipses.size() > 1) eclipses += ", ";
        eclipses += eventJson(eclipse, lon);
    }
    eclipses += "]";
    const std::vector<std::pair<std::string_view, std::string>> members = {
        {"course", jsonQuoted(courseName(s.course))},
        {"astronomicalDawns", momentsJson(s.astronomicalDawns, lon)},
        {"nauticalDawns", momentsJson(s.nauticalDawns, lon)},
        {"civilDawns", momentsJson(s.civilDawns, lon)},
        {"sunrises", momentsJson(s.sunrises, lon)},
        {"noons", momentsJson(s.noons, lon)},
        {"sunsets", momentsJson(s.sunsets, lon)},
        {"civilDusks", momentsJson(s.civilDusks, lon)},
        {"nauticalDusks", momentsJson(s.nauticalDusks, lon)},
        {"astronomicalDusks", momentsJson(s.astronomicalDusks, lon)},
        {"moonrises", momentsJson(s.moonrises, lon)},
        {"moonsets", momentsJson(s.moonsets, lon)},
        {"noonAltitude", numberText(degrees(s.noonAltitude))},
        {"dayLength", numberText(s.dayLength * 24.0)},
        {"darkestStage", jsonQuoted(stageName(s.darkestStage))},
        {"lightestStage", jsonQuoted(stageName(s.lightestStage))},
        {"illuminationStart", numberText(s.illuminationStart)},
        {"illuminationEnd", numberText(s.illuminationEnd)},
        {"waxing", s.illuminationEnd > s.illuminationStart ? "true" : "false"},
        {"darkest", darkest},
        {"eclipses", eclipses},
        {"moonAltitudeThreshold", numberText(degrees(day.thresholds.minAltitude))},
        {"moonLitThreshold", numberText(day.thresholds.minIllumination)},
    };
    std::string text = "{\n";
    for (std::size_t i = 0; i < members.size(); ++i) {
        text += "    " + jsonQuoted(members[i].first) + ": " + members[i].second;
        text += i + 1 < members.size() ? ",\n" : "\n";
    }
    return text + "  }";
}

std::string rowJson(const LightSample& sample, double longitude) {
    return JsonObject()
        .number("t", eventMomentText(sample.t))
        .field("label", dateLabel(sample.t))
        .field("local", localTimeLabel(sample.t, longitude))
        .field("sunAltitude", degrees(sample.sunAltitude))
        .field("moonAltitude", degrees(sample.moonAltitude))
        .field("stage", stageName(sample.stage))
        .field("illumination", sample.illumination)
        .field("level", levelName(sample.level))
        .str();
}

std::string rowCsv(const LightSample& sample, double longitude) {
    // No field can hold a comma or a quote: none needs quoting.
    return fmt::format("{},{},{},{},{},{},{},{}\n", eventMomentText(sample.t), dateLabel(sample.t),
                       localTimeLabel(sample.t, longitude), degrees(sample.sunAltitude),
                       degrees(sample.moonAltitude), stageName(sample.stage), sample.illumination,
                       levelName(sample.level));
}

}  // namespace

std::string lightOutput(const DayLight& day, double step, EventFormat format) {
    const std::vector<LightSample> rows = lightRows(day, step);
    std::string text;
    switch (format) {
        case EventFormat::text:
            text = lightTableHeader();
            for (const LightSample& row : rows) text += lightTableRow(row, day.longitude);
            text += '\n';
            text += daySummaryText(day);
            break;
        case EventFormat::csv:
            text = "t,label,local,sunAltitude,moonAltitude,stage,illumination,level\n";
            for (const LightSample& row : rows) text += rowCsv(row, day.longitude);
            break;
        case EventFormat::json:
            text = "{\n  \"rows\": [";
            for (std::size_t i = 0; i < rows.size(); ++i) {
                text += i == 0 ? "\n    " : ",\n    ";
                text += rowJson(rows[i], day.longitude);
            }
            text += rows.empty() ? "],\n" : "\n  ],\n";
            text += "  \"summary\": " + summaryJson(day) + "\n}\n";
            break;
    }
    return text;
}

std::string subpointsOutput(double t, bool json) {
    const GroundPoint sun = subSolarPoint(t);
    const GroundPoint moon = subLunarPoint(t);
    if (json) {
        const auto point = [](const GroundPoint& p) {
            return JsonObject()
                .field("latitude", degrees(p.latitude))
                .field("longitude", degrees(p.longitude))
                .str();
        };
        return fmt::format("{{\"nolomar\": {}, \"yael\": {}}}\n", point(sun), point(moon));
    }
    const auto line = [](std::string_view body, const GroundPoint& p) {
        return fmt::format("{:<7}  {:>10}  {:>11}\n", body, readableDegrees(p.latitude),
                           readableDegrees(p.longitude));
    };
    return "Body       Latitude    Longitude\n" + line("Nolomar", sun) + line("Yael", moon);
}

}  // namespace morvane::cli
