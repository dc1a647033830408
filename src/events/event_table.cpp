#include "events/event_table.h"

#include <fmt/format.h>

#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/json.h"
#include "engine/text.h"

namespace morvane {

namespace {

// Widths of the fixed columns in characters: the date label of years 1 to 999, "HH:MM", the
// longest kind name ("astronomical-dawn"), the longest pair of planets ("Álaran, Mêrgus").
constexpr std::size_t kDateWidth = 19;
constexpr std::size_t kLocalWidth = 5;
constexpr std::size_t kKindWidth = 17;
constexpr std::size_t kBodiesWidth = 14;
constexpr std::string_view kGap = "  ";

// The degrees right-aligned in three columns: "alt  45:12", "alt  -3:05".
std::string altitudeText(double radians) {
    return fmt::format("alt {:>6}", degreesMinutesText(radians));
}

std::string tableLine(std::string_view date, std::string_view local, std::string_view kind,
                      std::string_view bodies, std::string_view details) {
    std::string line;
    appendPadded(line, date, kDateWidth);
    line += kGap;
    appendPadded(line, local, kLocalWidth);
    line += kGap;
    appendPadded(line, kind, kKindWidth);
    line += kGap;
    appendPadded(line, bodies, kBodiesWidth);
    line += kGap;
    line += details;
    line.resize(trimmedRight(line).size());
    line += '\n';
    return line;
}

void appendCsvField(std::string& row, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        row += field;
        return;
    }
    row += '"';
    for (char c : field) {
        if (c == '"') row += '"';
        row += c;
    }
    row += '"';
}

}  // namespace

bool isEclipseKind(EventKind kind) {
    return kind == EventKind::solarEclipse || kind == EventKind::lunarEclipse;
}

std::string eventBodies(const SkyEvent& event) {
    std::string names;
    for (const SkyBody body : event.bodyList()) {
        if (!names.empty()) names += ", ";
        names += bodyName(body);
    }
    return names;
}

std::string eventDetails(const SkyEvent& event) {
    switch (event.kind) {
        case EventKind::solarEclipse:
        case EventKind::lunarEclipse:
            return fmt::format("{}, {}", eclipseClassName(event.eclipseClass),
                               event.visible ? "visible here" : "not visible here");
        case EventKind::ingress:
            return std::string(trimmedRight(event.sign));
        case EventKind::conjunction:
            return std::string(event.pair);
        case EventKind::equinox:
        case EventKind::solstice:
            return std::string(seasonName(event.season));
        case EventKind::noon:
        case EventKind::midnight:
            return altitudeText(event.sunAltitude);
        default:
            return {};
    }
}

std::string eventTableHeader() { return tableLine("Date", "Local", "Kind", "Bodies", "Details"); }

std::string eventTableRow(const SkyEvent& event, double longitude) {
    return tableLine(dateLabel(event.t), localTimeLabel(event.t, longitude), kindName(event.kind),
                     eventBodies(event), eventDetails(event));
}

std::string eventTable(std::span<const SkyEvent> events, double longitude) {
    std::string text = eventTableHeader();
    for (const SkyEvent& event : events) text += eventTableRow(event, longitude);
    return text;
}

std::string eventCsvHeader() { return "kind,t,label,local,bodies,class,visible,sign,pair\n"; }

std::string eventCsvRow(const SkyEvent& event, double longitude) {
    const bool eclipse = isEclipseKind(event.kind);
    const std::array<std::string, 9> fields = {
        std::string(kindName(event.kind)),
        eventMomentText(event.t),
        dateLabel(event.t),
        localTimeLabel(event.t, longitude),
        eventBodies(event),
        eclipse ? std::string(eclipseClassName(event.eclipseClass)) : std::string(),
        eclipse ? std::string(event.visible ? "true" : "false") : std::string(),
        event.kind == EventKind::ingress ? std::string(trimmedRight(event.sign)) : std::string(),
        event.kind == EventKind::conjunction ? std::string(event.pair) : std::string(),
    };
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) row += ',';
        appendCsvField(row, fields[i]);
    }
    row += '\n';
    return row;
}

std::string eventJson(const SkyEvent& event, double longitude) {
    std::vector<std::string_view> bodies;
    for (const SkyBody body : event.bodyList()) bodies.push_back(bodyName(body));
    JsonObject object;
    object.field("kind", kindName(event.kind))
        .number("t", eventMomentText(event.t))
        .field("label", dateLabel(event.t))
        .field("local", localTimeLabel(event.t, longitude))
        .strings("bodies", bodies);
    if (isEclipseKind(event.kind)) {
        object.field("class", eclipseClassName(event.eclipseClass)).flag("visible", event.visible);
    }
    if (event.kind == EventKind::ingress) object.field("sign", eventDetails(event));
    if (event.kind == EventKind::conjunction) object.field("pair", event.pair);
    return object.str();
}

std::string eventMomentText(double t) {
    // Fixed notation of the shortest text that reads back to the same double; any double fits.
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), t, std::chars_format::fixed);
    std::string text(buffer.data(), result.ptr);
    std::size_t point = text.find('.');
    if (point == std::string::npos) {
        point = text.size();
        text += '.';
    }
    const std::size_t decimals = text.size() - point - 1;
    if (decimals < 9) text.append(9 - decimals, '0');
    return text;
}

std::string degreesMinutesText(double radians) {
    const double degrees = radians * kDegreesPerRadian;
    const long long minutes = std::llround(std::fabs(degrees) * 60.0);
    // A sign on what rounds to 0:00 would only say which side of the rounding it stood on.
    const bool negative = degrees < 0.0 && minutes > 0;
    return fmt::format("{}{}:{:02d}", negative ? "-" : "", minutes / 60, minutes % 60);
}

}  // namespace morvane
