#pragma once

// The calendar as pictures: the month handout and the year at a glance, as SVG documents on a
// light page. The view shows them, the exports write them, and the view hit-tests clicks with
// the same rectangles the documents are drawn with.

#include <string>
#include <string_view>

#include "events/calendar_month.h"

namespace morvane {

/// Page size in SVG user units (points): landscape A4 for both views, so the SVG is the
/// printable handout and the PDF is made from it unchanged.
inline constexpr double kCalendarPageWidth = 842.0;
inline constexpr double kCalendarPageHeight = 595.0;

/// A rectangle of the page, in points from its top left corner.
struct CalendarRect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    /// Whether the point lies inside: the left and top edges belong to the rectangle, the right
    /// and bottom ones to its neighbours, so a click on a shared edge hits exactly one cell.
    [[nodiscard]] bool contains(double px, double py) const;
};

/// Where day `dayIndex` (0 to 29) sits in the month document: row dayIndex / 5, column
/// dayIndex % 5 of the 6 × 5 grid.
CalendarRect monthDayCell(int dayIndex);
/// Where month `monthIndex` (0 to 11) sits in the year document, its name included: 4 columns
/// by 3 rows of small grids.
CalendarRect yearMonthBox(int monthIndex);
/// One day's small cell inside its month's box in the year document.
CalendarRect yearDayCell(int monthIndex, int dayIndex);

/// The month handout: the heading "<month name> <year>", the place text given (the caller's,
/// e.g. "Venarive, 40.50° N 20.90° W"), the clock the times are read on, the 6 × 5 grid of
/// days and the legend of the marks. Each day shows its number, Yael's phase disc and lit
/// share, sunrise and sunset in local time and up to three lines of marks. The day
/// `chosenDayIndex` is framed; a value outside 0 to 29 frames none.
std::string calendarMonthSvg(const CalendarMonth& month, std::string_view place,
                             int chosenDayIndex);

/// The year: the heading "<year>" and the place, twelve small grids under their month names,
/// each day shaded by Yael's lit share (dark at new moon, light at full) with a tiny phase disc,
/// eclipses and equinoxes or solstices marked, and a legend. The month `chosenMonth` is
/// outlined and its day `chosenDayIndex` framed; values out of range mark nothing.
std::string calendarYearSvg(const CalendarYear& year, std::string_view place, int chosenMonth,
                            int chosenDayIndex);

}  // namespace morvane
