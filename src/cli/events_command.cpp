#include "cli/events_command.h"

#include <algorithm>
#include <ostream>

#include "engine/calendar.h"
#include "events/event_table.h"

namespace morvane::cli {

namespace {

// Large enough that a year of every kind goes out in a few writes, small enough to show
// progress when the output is piped into a pager.
constexpr std::size_t kBlockBytes = 64 * 1024;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

std::string kindNameList() {
    std::string names;
    for (const EventKind kind : kAllEventKinds) {
        if (!names.empty()) names += ',';
        names += kindName(kind);
    }
    return names;
}

std::optional<EventKind> parseKind(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return eventKindFromName(lower);
}

KindList parseKindList(std::string_view text) {
    KindList list;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = trimmed(text.substr(0, comma));
        const auto kind = parseKind(item);
        if (!kind) {
            list.unknown = std::string(item);
            return list;
        }
        if (std::find(list.kinds.begin(), list.kinds.end(), *kind) == list.kinds.end()) {
            list.kinds.push_back(*kind);
        }
        if (comma == std::string_view::npos) return list;
        text.remove_prefix(comma + 1);
    }
}

EventWriter::EventWriter(std::ostream& out, EventFormat format, double longitude)
    : out_(out), format_(format), longitude_(longitude) {
    if (format_ == EventFormat::text) pending_ = eventTableHeader();
    if (format_ == EventFormat::csv) pending_ = eventCsvHeader();
}

void EventWriter::add(const SkyEvent& event) {
    switch (format_) {
        case EventFormat::text:
            pending_ += eventTableRow(event, longitude_);
            break;
        case EventFormat::csv:
            pending_ += eventCsvRow(event, longitude_);
            break;
        case EventFormat::json:
            pending_ += count_ == 0 ? "[\n  " : ",\n  ";
            pending_ += eventJson(event, longitude_);
            break;
    }
    ++count_;
    flushIfFull();
}

void EventWriter::flushIfFull() {
    if (pending_.size() < kBlockBytes) return;
    out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    pending_.clear();
    if (!out_) throw WriteFailure{};
}

void EventWriter::finish() {
    if (format_ == EventFormat::json) pending_ += count_ == 0 ? "[]\n" : "\n]\n";
    out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    pending_.clear();
    if (!out_.flush()) throw WriteFailure{};
}

}  // namespace morvane::cli
