#pragma once

// The calendar as text: the month handout's lines for the TXT export and the command line, the
// year's notable days, and the words both the text and the pictures use for phases and marks.
// Pure: no Qt, so the application and the command line write the same bytes.

#include <string>
#include <string_view>

#include "events/calendar_month.h"

namespace morvane {

/// The phase's name for an elongation (radians; any value, read modulo 2π). Yael's elongation
/// grows 12° a day, so each principal phase (new moon, first quarter, full moon, last quarter)
/// is named while she stands within 6° of it, half a day either side of the exact moment: at a
/// fixed hour exactly one day in a 30-day month carries each principal name. Between them lie
/// the waxing crescent (6° to 84°), waxing gibbous (96° to 174°), waning gibbous (186° to 264°)
/// and waning crescent (276° to 354°). Each band includes its lower edge.
std::string_view phaseName(double elongation);

/// The phase as a day line gives it: "waxing crescent 23 %" (the lit share rounded to a
/// whole per cent).
std::string phaseText(double elongation, double illuminated);

/// A mark in words without its time: "full moon", "lunar eclipse total, visible",
/// "conjunction EP-AL", "enters Ládo", "northward equinox".
std::string calendarMarkWords(const SkyEvent& event);

/// "720-03-14": the calendar date of the day on the calendar's clock.
std::string calendarDateText(const CalendarDay& day);

/// Which clock the times and days are read on, as one line: "Times: local apparent solar time
/// at the place; days from 00:00 OST; Yael's phase at 12:00 OST".
std::string calendarClockText(CalendarClock clock, double hour);

/// The month as text: heading lines (month and year, the place unless empty, the clock), a
/// blank line, then one line per day: date, phase, sunrise and sunset in local time (or "polar
/// night" / "polar day"), then the marks in words with their local times, separated by "; ".
/// Columns are counted in characters; no line ends in spaces; lines end in "\n".
std::string calendarMonthText(const CalendarMonth& month, std::string_view place);

/// The year as text: the heading lines, then for each month a blank line, its name and year,
/// and one line per day that carries a mark: date, phase name, the marks with their times.
std::string calendarYearText(const CalendarYear& year, std::string_view place);

}  // namespace morvane
