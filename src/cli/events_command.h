#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "events/sky_events.h"

namespace morvane::cli {

enum class EventFormat : std::uint8_t { text, json, csv };

/// The kind names as one short line for messages and help: "new-moon,first-quarter,…".
std::string kindNameList();

/// A comma-separated list of kind names (ASCII case ignored, spaces around a name allowed),
/// each kind once in the order given; or the first item that names no kind.
struct KindList {
    std::vector<EventKind> kinds;
    std::optional<std::string> unknown;
};
KindList parseKindList(std::string_view text);

/// One kind name, ASCII case ignored.
std::optional<EventKind> parseKind(std::string_view text);

/// Thrown by EventWriter when standard output no longer takes text.
struct WriteFailure {};

/// Writes events as they are found, a block at a time, so that a long span never has to be held
/// in memory: the fixed-width table, a JSON array of objects, or CSV with a header row.
class EventWriter {
  public:
    EventWriter(std::ostream& out, EventFormat format, double longitude);
    void add(const SkyEvent& event);
    /// Writes what is left (the end of the JSON array) and flushes.
    void finish();
    [[nodiscard]] std::int64_t count() const { return count_; }

  private:
    void flushIfFull();
    std::ostream& out_;
    EventFormat format_;
    double longitude_;
    std::string pending_;
    std::int64_t count_ = 0;
};

}  // namespace morvane::cli
