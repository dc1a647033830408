#include "events/almanac.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <ios>
#include <iterator>
#include <ostream>

#include "engine/calendar.h"
#include "engine/json.h"
#include "engine/text.h"
#include "events/event_table.h"

namespace morvane {

namespace {

// Large enough that a century goes out in a few writes, small enough that a pipe sees rows
// while the search goes on.
constexpr std::size_t kBlockBytes = std::size_t{64} * 1024;

constexpr std::int64_t kMinutesPerDay = 1440;
constexpr std::int64_t kDaysPerMonth = 30;
constexpr std::int64_t kDaysPerYear = 360;

constexpr std::array<EventKind, 4> kPhaseKinds = {EventKind::newMoon, EventKind::firstQuarter,
                                                  EventKind::fullMoon, EventKind::lastQuarter};
constexpr std::array<EventKind, 2> kEclipseKinds = {EventKind::solarEclipse,
                                                    EventKind::lunarEclipse};
constexpr std::array<EventKind, 2> kMeetingKinds = {EventKind::conjunction, EventKind::opposition};
constexpr std::array<EventKind, 1> kIngressKinds = {EventKind::ingress};
constexpr std::array<EventKind, 2> kSeasonKinds = {EventKind::equinox, EventKind::solstice};
constexpr std::array<EventKind, 2> kSunriseKinds = {EventKind::sunrise, EventKind::sunset};

std::size_t indexOf(EventKind kind) { return static_cast<std::size_t>(kind); }

// Rounds towards minus infinity, so that moments before the epoch fall on the day they lie in.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Plain ASCII, so that an id survives any importer's idea of an encoding.
std::string_view bodyId(SkyBody body) {
    switch (body) {
        case SkyBody::nolomar:
            return "nolomar";
        case SkyBody::yael:
            return "yael";
        case SkyBody::epeon:
            return "epeon";
        case SkyBody::alaran:
            return "alaran";
        case SkyBody::kenor:
            return "kenor";
        case SkyBody::mergus:
            return "mergus";
    }
    return "body";
}

std::int64_t dayNumber(AlmanacDate date) {
    return (date.year - 1) * kDaysPerYear + (date.month - 1) * kDaysPerMonth + (date.day - 1);
}

std::string dateText(AlmanacDate date) {
    return fmt::format("{:03d}-{:02d}-{:02d}", date.year, date.month, date.day);
}

// The kinds the counts show: those asked for, or those that came up.
std::vector<EventKind> countedKinds(const AlmanacCounts& counts, std::span<const EventKind> kinds) {
    if (!kinds.empty()) return {kinds.begin(), kinds.end()};
    std::vector<EventKind> found;
    for (const EventKind kind : kAllEventKinds) {
        if (counts.perKind[indexOf(kind)] > 0) found.push_back(kind);
    }
    return found;
}

}  // namespace

std::string_view almanacGroupTitle(AlmanacGroup group) {
    switch (group) {
        case AlmanacGroup::moonPhases:
            return "Moon phases";
        case AlmanacGroup::eclipses:
            return "Eclipses";
        case AlmanacGroup::meetings:
            return "Conjunctions and oppositions";
        case AlmanacGroup::ingresses:
            return "Sign ingresses";
        case AlmanacGroup::seasons:
            return "Equinoxes and solstices";
        case AlmanacGroup::sunrises:
            return "Sunrise and sunset";
    }
    return {};
}

std::span<const EventKind> almanacGroupKinds(AlmanacGroup group) {
    switch (group) {
        case AlmanacGroup::moonPhases:
            return kPhaseKinds;
        case AlmanacGroup::eclipses:
            return kEclipseKinds;
        case AlmanacGroup::meetings:
            return kMeetingKinds;
        case AlmanacGroup::ingresses:
            return kIngressKinds;
        case AlmanacGroup::seasons:
            return kSeasonKinds;
        case AlmanacGroup::sunrises:
            return kSunriseKinds;
    }
    return {};
}

std::vector<EventKind> almanacKinds(std::span<const AlmanacGroup> groups) {
    std::array<bool, kAllEventKinds.size()> wanted{};
    for (const AlmanacGroup group : groups) {
        for (const EventKind kind : almanacGroupKinds(group)) wanted[indexOf(kind)] = true;
    }
    std::vector<EventKind> kinds;
    for (const EventKind kind : kAllEventKinds) {
        if (wanted[indexOf(kind)]) kinds.push_back(kind);
    }
    return kinds;
}

std::vector<EventKind> defaultAlmanacKinds() {
    std::vector<AlmanacGroup> groups;
    std::copy_if(kAllAlmanacGroups.begin(), kAllAlmanacGroups.end(), std::back_inserter(groups),
                 [](AlmanacGroup group) { return group != AlmanacGroup::sunrises; });
    return almanacKinds(groups);
}

AlmanacSpan almanacSpan(AlmanacDate first, AlmanacDate last) {
    AlmanacSpan span;
    span.from =
        dayCount(first.year, first.month - 1, first.day - 1, std::int64_t{0}, std::int64_t{0});
    span.days = std::max<std::int64_t>(0, dayNumber(last) - dayNumber(first) + 1);
    span.to = span.from + static_cast<double>(span.days);
    return span;
}

std::string eventId(const SkyEvent& event) {
    // Whole minutes since 00:00 of the first day, counted in integers from here on: the same
    // double always gives the same minute, whatever the machine's rounding of later steps.
    const std::int64_t minute = std::llround((event.t + 0.5) * static_cast<double>(kMinutesPerDay));
    const std::int64_t day = floorDiv(minute, kMinutesPerDay);
    const std::int64_t minuteOfDay = minute - day * kMinutesPerDay;
    const std::int64_t yearIndex = floorDiv(day, kDaysPerYear);
    const std::int64_t dayOfYear = day - yearIndex * kDaysPerYear;
    std::string id(kindName(event.kind));
    id += ':';
    for (std::size_t i = 0; i < event.bodyList().size(); ++i) {
        if (i > 0) id += '+';
        id += bodyId(event.bodyList()[i]);
    }
    id +=
        fmt::format(":{}-{:02d}-{:02d}T{:02d}:{:02d}", yearIndex + 1, dayOfYear / kDaysPerMonth + 1,
                    dayOfYear % kDaysPerMonth + 1, minuteOfDay / 60, minuteOfDay % 60);
    return id;
}

void AlmanacCounts::add(const SkyEvent& event) {
    // The year of the date label, so that a count agrees with the rows shown under it.
    const std::size_t kind = indexOf(event.kind);
    ++total;
    ++perKind[kind];
    ++perYear[calendarFields(event.t).year][kind];
}

std::string almanacCsvHeader() { return "id," + eventCsvHeader(); }

std::string almanacCsvRow(const SkyEvent& event, double longitude) {
    // An id holds no comma, quote or line end, so it never needs quoting.
    return eventId(event) + ',' + eventCsvRow(event, longitude);
}

std::string almanacJson(const SkyEvent& event, double longitude) {
    const std::string object = eventJson(event, longitude);
    return "{\"id\": " + jsonQuoted(eventId(event)) + ", " + object.substr(1);
}

std::vector<std::string> almanacHeading(std::string_view place, AlmanacDate first, AlmanacDate last,
                                        std::span<const EventKind> kinds) {
    const AlmanacSpan span = almanacSpan(first, last);
    std::string names;
    for (const EventKind kind : kinds) {
        if (!names.empty()) names += ", ";
        names += kindName(kind);
    }
    return {
        fmt::format("Place: {}", place),
        fmt::format("Span: {} to {}, {} day{}, 00:00 OST to 24:00 OST", dateText(first),
                    dateText(last), span.days, span.days == 1 ? "" : "s"),
        fmt::format("Kinds: {}", names.empty() ? "none" : names),
    };
}

std::string almanacCountsText(const AlmanacCounts& counts, std::span<const EventKind> kinds) {
    const std::vector<EventKind> shown = countedKinds(counts, kinds);
    constexpr std::size_t kNameWidth = 17;  // the longest kind name
    const std::size_t numberWidth = fmt::formatted_size("{}", counts.total);
    std::string text = "Events by kind\n";
    for (const EventKind kind : shown) {
        text += fmt::format("{:<{}}  {:>{}}\n", kindName(kind), kNameWidth,
                            counts.perKind[indexOf(kind)], numberWidth);
    }
    text += fmt::format("{:<{}}  {:>{}}\n", "all", kNameWidth, counts.total, numberWidth);
    if (counts.perYear.empty()) return text;

    // A column per kind as wide as its name, so that the header says what each number counts.
    const std::int64_t firstYear = counts.perYear.begin()->first;
    const std::int64_t lastYear = counts.perYear.rbegin()->first;
    const std::size_t yearWidth = std::max({std::size_t{4}, fmt::formatted_size("{}", firstYear),
                                            fmt::formatted_size("{}", lastYear)});
    const auto line = [&](std::string_view year, const auto& cells) {
        std::string row;
        appendPadded(row, year, yearWidth);
        for (const auto& [cell, width] : cells) {
            row += "  ";
            appendRightAligned(row, cell, width);
        }
        row += '\n';
        return row;
    };
    std::vector<std::pair<std::string, std::size_t>> cells;
    cells.reserve(shown.size() + 1);
    for (const EventKind kind : shown) {
        cells.emplace_back(kindName(kind), std::max(kindName(kind).size(), numberWidth));
    }
    cells.emplace_back("all", std::max<std::size_t>(3, numberWidth));
    text += "\nEvents by year\n" + line("Year", cells);
    const std::array<std::int64_t, kAllEventKinds.size()> none{};
    for (std::int64_t year = firstYear; year <= lastYear; ++year) {
        const auto found = counts.perYear.find(year);
        const auto& perKind = found == counts.perYear.end() ? none : found->second;
        std::int64_t all = 0;
        for (const std::int64_t n : perKind) all += n;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            cells[i].first = fmt::format("{}", perKind[indexOf(shown[i])]);
        }
        cells.back().first = fmt::format("{}", all);
        text += line(fmt::format("{}", year), cells);
    }
    return text;
}

AlmanacWriter::AlmanacWriter(std::ostream& out, AlmanacFormat format, double longitude,
                             std::span<const std::string> heading, std::span<const EventKind> kinds)
    : out_(out), format_(format), longitude_(longitude), kinds_(kinds.begin(), kinds.end()) {
    switch (format_) {
        case AlmanacFormat::text:
            for (const std::string& line : heading) pending_ += line + '\n';
            if (!heading.empty()) pending_ += '\n';
            pending_ += eventTableHeader();
            break;
        case AlmanacFormat::csv:
            pending_ = almanacCsvHeader();
            break;
        case AlmanacFormat::json:
            break;
    }
}

void AlmanacWriter::add(const SkyEvent& event) {
    switch (format_) {
        case AlmanacFormat::text:
            pending_ += eventTableRow(event, longitude_);
            break;
        case AlmanacFormat::csv:
            pending_ += almanacCsvRow(event, longitude_);
            break;
        case AlmanacFormat::json:
            pending_ += counts_.total == 0 ? "[\n  " : ",\n  ";
            pending_ += almanacJson(event, longitude_);
            break;
    }
    counts_.add(event);
    flushIfFull();
}

void AlmanacWriter::write() {
    out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    pending_.clear();
    if (!out_) throw std::ios_base::failure("the almanac's output stopped taking text");
}

void AlmanacWriter::flushIfFull() {
    if (pending_.size() >= kBlockBytes) write();
}

void AlmanacWriter::finish() {
    if (format_ == AlmanacFormat::text) pending_ += '\n' + almanacCountsText(counts_, kinds_);
    if (format_ == AlmanacFormat::json) pending_ += counts_.total == 0 ? "[]\n" : "\n]\n";
    write();
    if (!out_.flush()) throw std::ios_base::failure("the almanac's output stopped taking text");
}

}  // namespace morvane
