#pragma once

// A day's light as text: the summary facts the Day output shows beside its chart, the same
// facts as plain text, and the fixed-width rows of the command line's light table. Pure: the
// desktop application and the command line print the same bytes.

#include <string>
#include <vector>

#include "events/light.h"

namespace morvane {

/// One line of the summary: "Sunrise" and "07:22 (720-01-02 07:22 OST)".
struct SummaryFact {
    std::string label;
    std::string value;
};

/// The summary in reading order: the dawns, sunrise, noon, sunset, the dusks, day length,
/// moonrise, moonset, Yael's illumination, the darkest stretch, and any eclipse. Times are the
/// place's local time with the OST date label beside it. Polar day and polar night, and a
/// twilight the day never reaches, are said in words.
std::vector<SummaryFact> daySummaryFacts(const DayLight& day);

/// The facts as "Label: value" lines, labels padded to one width, each with its line feed.
std::string daySummaryText(const DayLight& day);

/// The samples of the light table: from the day's start every `step` days (sample k at
/// start + k × step), while before the day's end, under the day's thresholds. A step not above 0
/// gives none; a tiny one gives very many, so callers bound it (the command line to 1 min–1 day).
std::vector<LightSample> lightRows(const DayLight& day, double step);

/// The header line of the light table, with its line feed.
std::string lightTableHeader();
/// One row: OST label, local time, Nolomar's altitude, stage, Yael's altitude, illumination,
/// level; with its line feed. Columns are counted in characters; no line ends in spaces.
std::string lightTableRow(const LightSample& sample, double longitude);

}  // namespace morvane
