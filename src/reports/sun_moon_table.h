#pragma once

#include <cstdint>
#include <string>

namespace morvane {

/// The sun and moon table: a header line, then one line per row from `start` (day count),
/// `step` days apart. Each row carries Yael's and Nolomar's positions, the phase and the rises,
/// sets and eclipses of the day that begins at the row's moment, seen from `latitude` (radians,
/// north positive) on the zero meridian. `rows` must not be negative.
std::string sunMoonTable(std::int64_t rows, double start, double step, double latitude);

/// "MR@hh:mm " or "MS@hh:mm " for Yael rising or setting in [from, from + span], else "".
std::string moonRiseSet(double from, double span, double latitude);

/// "SR@hh:mm " or "SS@hh:mm " for Nolomar rising or setting in [from, from + span], else "".
std::string sunRiseSet(double from, double span, double latitude);

/// The eclipse text of Yael's crossing of the ecliptic in [from, from + span], or "" when it
/// does not cross or the crossing is no eclipse.
std::string moonNodeEvent(double from, double span);

/// Marker, date label and signed elongation (formatDMS) when Yael and Nolomar are close enough
/// to conjunction or opposition at t for an eclipse, else "".
std::string eclipseNote(double t);

}  // namespace morvane
