#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "events/sky_events.h"

namespace morvane {

class AstronomyModel;
class SettingsStore;

/// "New moon", "Solar eclipse", "Sunrise", …: how the Events output names a kind.
QString kindTitle(EventKind kind);

/// How far the Events output looks ahead of the calculated moment.
enum class EventSpan : std::uint8_t { day, month, year };

inline constexpr std::array<EventSpan, 3> kAllEventSpans = {EventSpan::day, EventSpan::month,
                                                            EventSpan::year};

/// 1, 30 or 360: the world's day, month and year.
double spanDays(EventSpan span);
/// "1 day", "1 month (30 days)", "1 year (360 days)".
QString spanTitle(EventSpan span);

/// The kinds the Events output shows or hides together: the four phases, the two eclipses, the
/// four rises and sets, and so on.
enum class EventGroup : std::uint8_t {
    phases,
    eclipses,
    conjunctions,
    oppositions,
    risesAndSets,
    noonAndMidnight,
    twilight,
    ingresses,
    seasons,
};

inline constexpr std::array<EventGroup, 9> kAllEventGroups = {
    EventGroup::phases,      EventGroup::eclipses,     EventGroup::conjunctions,
    EventGroup::oppositions, EventGroup::risesAndSets, EventGroup::noonAndMidnight,
    EventGroup::twilight,    EventGroup::ingresses,    EventGroup::seasons};

/// "Moon phases", "Eclipses", …: how menus and headings name the group.
QString groupTitle(EventGroup group);
/// The kinds of the group, in kAllEventKinds order.
std::span<const EventKind> groupKinds(EventGroup group);

/// Which groups are shown.
class EventFilter {
  public:
    /// Every group.
    static EventFilter all();
    [[nodiscard]] bool shows(EventGroup group) const;
    void setShown(EventGroup group, bool shown);
    [[nodiscard]] bool showsAll() const;
    [[nodiscard]] bool showsNone() const { return bits_ == 0; }
    /// The kinds of the shown groups, in kAllEventKinds order.
    [[nodiscard]] std::vector<EventKind> kinds() const;
    /// "all", "none", or the titles of the shown groups joined by ", ".
    [[nodiscard]] QString text() const;

    friend bool operator==(const EventFilter&, const EventFilter&) = default;

  private:
    std::uint16_t bits_ = 0;
};

/// The span and filter as the settings keep them, under "Events/span" ("day", "month", "year")
/// and "Events/groups" (group keys joined by commas; empty: none shown).
struct EventOptions {
    EventSpan span = EventSpan::month;
    EventFilter filter = EventFilter::all();

    /// The defaults, each replaced by its stored value when that can be read; an unknown group
    /// key is passed over.
    static EventOptions load(const SettingsStore& store);
    void save(SettingsStore& store) const;

    friend bool operator==(const EventOptions&, const EventOptions&) = default;
};

/// What the Events output lists: the events of the shown groups from a calculated moment over
/// the span, seen from a place. A plain value, so exports work from a copy.
struct EventQuery {
    std::optional<double> t;  ///< the moment calculated last; nothing before the first
    double latitude = 0.0;    ///< radians, north positive
    double longitude = 0.0;   ///< radians, east positive
    QString placeLabel;       ///< how headings name the place
    EventOptions options;

    /// Every event in [t, t + span) of the shown kinds, sorted; none before a calculation.
    [[nodiscard]] std::vector<SkyEvent> find() const;
    /// "1 month (30 days) from 720-03-10 22:00 OST"; "" before a calculation.
    [[nodiscard]] QString spanText() const;
};

/// The Events output's state for one model: it follows the model's calculations (the moment
/// and place each one started from, so the list matches the other outputs even while the
/// inputs have moved on) and keeps its span and filter in a settings store. It lives as a
/// child of the model, so exports and views made at any time find the same list.
class EventList : public QObject {
    Q_OBJECT
  public:
    /// The model's list, made with the user's settings on first use.
    static EventList& of(AstronomyModel& model);
    /// Makes the model's list with its own settings store; an existing list stays as it was.
    static EventList& attach(AstronomyModel& model, std::unique_ptr<SettingsStore> settings);
    /// The model's list, or null while none was made.
    static const EventList* find(const AstronomyModel& model);

    ~EventList() override;

    [[nodiscard]] const EventQuery& query() const { return query_; }
    /// query().find(), worked out once per change.
    [[nodiscard]] const std::vector<SkyEvent>& events() const;

    void setSpan(EventSpan span);
    void setFilter(const EventFilter& filter);

  signals:
    /// The moment, place, span or filter changed: events() has changed with them.
    void changed();

  private:
    EventList(AstronomyModel& model, std::unique_ptr<SettingsStore> settings);
    void calculationStarted();
    void resultsPublished();
    void update(EventQuery query);

    AstronomyModel& model_;
    std::unique_ptr<SettingsStore> settings_;
    EventQuery query_;
    std::optional<EventQuery> started_;  ///< the moment and place of the calculation running
    mutable std::optional<std::vector<SkyEvent>> events_;
};

}  // namespace morvane
