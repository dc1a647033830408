#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>

#include "events/calendar_month.h"

namespace morvane {

class AstronomyModel;

/// Whether the Calendar output shows one month or the whole year.
enum class CalendarSpan : std::uint8_t { month, year };

/// What the Calendar output shows: the month (or year) the cursor is in, the day it is on, and
/// the last calculation's date, hour, clock and place the days are worked out for. A plain
/// value, so exports work from a copy.
struct CalendarPage {
    CalendarSpan span = CalendarSpan::month;
    std::int64_t year = 1;  ///< the cursor's year, from 1
    int monthIndex = 0;     ///< the cursor's month, 0 to 11: the one the month view shows
    int dayIndex = 0;       ///< the cursor's day, 0 to 29
    /// The date of the last calculation: the day the calendar marks as chosen.
    std::int64_t chosenYear = 1;
    int chosenMonthIndex = 0;
    int chosenDayIndex = 0;
    double hour = 12.0;  ///< hours from midnight on the clock: when each day's phase is drawn
    CalendarClock clock = CalendarClock::reference;
    double latitude = 0.0;   ///< radians, north positive
    double longitude = 0.0;  ///< radians, east positive
    /// The selected location's name, or the typed-in degrees as "40.50°N 20.90°W".
    QString place;

    /// The chosen day's index when it lies in the month the cursor is in, else -1.
    [[nodiscard]] int chosenDayInMonth() const;
    /// The chosen day's month when it lies in the cursor's year, else -1.
    [[nodiscard]] int chosenMonthInYear() const;

    friend bool operator==(const CalendarPage&, const CalendarPage&) = default;
};

/// The Calendar output's state for one model: it follows the model's calculations (after each
/// one the cursor is on the calculated day, and the days are worked out for its place, hour and
/// clock) and keeps the month or year shown and the cursor in between. It lives as a child of
/// the model, so the view and the exports made at any time agree on what is shown.
class CalendarPager : public QObject {
    Q_OBJECT
  public:
    /// The model's pager, made on first use.
    static CalendarPager& of(AstronomyModel& model);
    /// The model's pager, or null while none was made.
    static const CalendarPager* find(const AstronomyModel& model);

    ~CalendarPager() override;

    /// Nothing before the first calculation.
    [[nodiscard]] const std::optional<CalendarPage>& page() const { return page_; }

    void setSpan(CalendarSpan span);
    /// Puts the cursor back on the calculated day.
    void resetCursor();
    /// Puts the cursor on a day, which brings its month (and year) into view. False, changing
    /// nothing, before the first calculation or for a day outside years 1 to 2000.
    bool moveCursorTo(std::int64_t year, int monthIndex, int dayIndex);
    /// Moves the cursor by days, running on into the next or previous month; it stops at the
    /// first and last day of the accepted years (false when it could not move at all).
    bool moveCursorByDays(int days);
    /// Moves the cursor by months, keeping its day; stops like moveCursorByDays.
    bool moveCursorByMonths(int months);

  signals:
    /// The page changed: span, cursor, or what the days are worked out for.
    void changed();

  private:
    explicit CalendarPager(AstronomyModel& model);
    void calculationStarted();
    void resultsPublished();
    void update(const CalendarPage& page);

    AstronomyModel& model_;
    std::optional<CalendarPage> page_;
    std::optional<CalendarPage> started_;  ///< what the running calculation started from
    QString startedLabel_;                 ///< the date label of its moment
};

}  // namespace morvane
