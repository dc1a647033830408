#pragma once

// The almanac: the sky events of a span of whole days at one place, counted per year and per
// kind, and written as fixed-width text, CSV or JSON with a stable id for every event. Pure: no
// Qt, so the Almanac dialog and the command line write the same bytes.

#include <array>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "events/sky_events.h"

namespace morvane {

/// The groups the almanac offers its kinds in.
enum class AlmanacGroup : std::uint8_t {
    moonPhases,  ///< new moon, first quarter, full moon, last quarter
    eclipses,    ///< solar and lunar
    meetings,    ///< conjunctions and oppositions
    ingresses,
    seasons,   ///< equinoxes and solstices
    sunrises,  ///< each day's sunrise and sunset (off unless asked for)
};
inline constexpr std::array<AlmanacGroup, 6> kAllAlmanacGroups = {
    AlmanacGroup::moonPhases, AlmanacGroup::eclipses, AlmanacGroup::meetings,
    AlmanacGroup::ingresses,  AlmanacGroup::seasons,  AlmanacGroup::sunrises};

/// "Moon phases", "Eclipses", "Conjunctions and oppositions", "Sign ingresses",
/// "Equinoxes and solstices", "Sunrise and sunset".
std::string_view almanacGroupTitle(AlmanacGroup group);
std::span<const EventKind> almanacGroupKinds(AlmanacGroup group);
/// The kinds of the groups, in the engine's kind order, each once.
std::vector<EventKind> almanacKinds(std::span<const AlmanacGroup> groups);
/// Every group but the daily sunrises and sunsets: what an almanac holds unless told otherwise.
std::vector<EventKind> defaultAlmanacKinds();

/// A calendar date, month and day from 1.
struct AlmanacDate {
    std::int64_t year = 1;
    std::int64_t month = 1;
    std::int64_t day = 1;
    friend bool operator==(const AlmanacDate&, const AlmanacDate&) = default;
};

/// The span from 00:00 OST of `first` to 24:00 of `last` (both days included): `from` is the
/// day count of the first midnight and `to` = `from` + `days` exactly, as the events command
/// reckons a span of whole days. `days` is 0 when `last` comes before `first`.
struct AlmanacSpan {
    double from = 0.0;
    double to = 0.0;
    std::int64_t days = 0;
};
AlmanacSpan almanacSpan(AlmanacDate first, AlmanacDate last);

/// The event's id: its kind, its bodies and its moment rounded to the minute on the reference
/// clock, as "full-moon:yael:720-03-14T05:12" or "conjunction:epeon+alaran:720-03-14T05:12".
/// ASCII only. The same event found by another search (an overlapping span) has the same id.
std::string eventId(const SkyEvent& event);

/// How many events of each kind, in all and per calendar year (OST).
struct AlmanacCounts {
    std::int64_t total = 0;
    std::array<std::int64_t, kAllEventKinds.size()> perKind{};
    std::map<std::int64_t, std::array<std::int64_t, kAllEventKinds.size()>> perYear;
    void add(const SkyEvent& event);
};

enum class AlmanacFormat : std::uint8_t { text, csv, json };

/// The CSV header row with the id first: id,kind,t,label,local,bodies,class,visible,sign,pair.
std::string almanacCsvHeader();
std::string almanacCsvRow(const SkyEvent& event, double longitude);
/// The events command's JSON object of the event with "id" as its first member.
std::string almanacJson(const SkyEvent& event, double longitude);

/// The heading lines of the text form: "Place: …", "Span: 720-01-01 to 720-12-30, 360 days,
/// 00:00 OST to 24:00 OST", "Kinds: new-moon, full-moon, …".
std::vector<std::string> almanacHeading(std::string_view place, AlmanacDate first, AlmanacDate last,
                                        std::span<const EventKind> kinds);

/// The counts as fixed-width text: one line per kind with its total and the total of all,
/// then a table with a row per year and a column per kind. `kinds` are the columns, in the
/// order given; empty: the kinds counted at least once, in kind order. The years run from the
/// first event's to the last event's, a year without events included.
std::string almanacCountsText(const AlmanacCounts& counts, std::span<const EventKind> kinds = {});

/// Writes an almanac as the events are found, a block at a time, so that any span streams
/// through little memory: text (the heading lines given, a blank line, the event table, a
/// blank line and almanacCountsText of `kinds`), CSV with its header row, or a JSON array of
/// objects. Throws std::ios_base::failure when the stream stops taking text.
class AlmanacWriter {
  public:
    AlmanacWriter(std::ostream& out, AlmanacFormat format, double longitude,
                  std::span<const std::string> heading = {}, std::span<const EventKind> kinds = {});
    void add(const SkyEvent& event);
    /// Writes what is left (the counts of the text form, the end of the JSON array) and
    /// flushes.
    void finish();
    [[nodiscard]] std::int64_t count() const { return counts_.total; }
    [[nodiscard]] const AlmanacCounts& counts() const { return counts_; }

  private:
    void flushIfFull();
    void write();
    std::ostream& out_;
    AlmanacFormat format_;
    double longitude_;
    std::vector<EventKind> kinds_;
    std::string pending_;
    AlmanacCounts counts_;
};

}  // namespace morvane
