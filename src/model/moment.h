#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace morvane {

/// The date and time inputs of one moment, as the sidebar holds them.
struct ClockInputs {
    qint64 year = 1;
    qint64 monthIndex = 0;  ///< 0 to 11
    qint64 dayIndex = 0;    ///< 0 to 29
    double hour = 0.0;      ///< reads as hours and minutes the way dayCount reads it

    friend bool operator==(const ClockInputs&, const ClockInputs&) = default;
};

/// The years the date inputs accept.
inline constexpr qint64 kFirstYear = 1;
inline constexpr qint64 kLastYear = 2000;

/// The smallest hour value that dayCount and clockOfHour read as exactly `hours`:`minutes`.
/// Plain hours + minutes / 60 can read a minute short (10 + 7/60 reads 10:06).
double hourOfClock(int hours, int minutes);

/// The inputs moved by whole minutes; months and years roll over, seconds are dropped.
/// Nothing when the result leaves years 1 to 2000.
std::optional<ClockInputs> steppedInputs(const ClockInputs& from, qint64 minutes);

/// The inputs of the minute the date label of t shows (OST). Nothing outside years 1 to 2000.
std::optional<ClockInputs> ostInputsOf(double t);

/// The inputs that read t as local solar time at the longitude (radians, east positive),
/// rounded to the minute: localDayCount of them lands within half a minute of t. Nothing when
/// the place's date lies outside years 1 to 2000.
std::optional<ClockInputs> localInputsOf(double t, double longitude);

/// The day count the inputs give, on OST or as local solar time at the longitude.
double dayCountOf(const ClockInputs& in, bool localTime, double longitude);

/// The moment a line of a sun and moon or conjunction table points at, at a character of it:
/// an eclipse's "722-06-15 10:33 OST", a rise or set's "MR@06:47" (the first such clock time
/// from the row's moment on, as the table counts a row's events), and anywhere else the row's
/// own moment, the label it starts with. Nothing for a heading or a blank line.
std::optional<double> tableMomentAt(const QString& line, qsizetype column);

}  // namespace morvane
