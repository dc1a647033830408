#pragma once

#include <cstdint>
#include <string>

namespace morvane {

/// The conjunction table: two header lines, then one line per row from `start` (day count),
/// `step` days apart, with the right ascensions and ecliptic longitudes of Yael, Nolomar and
/// the four planets and a label for each pair of planets in conjunction. `rows` must not be
/// negative.
std::string conjunctionTable(std::int64_t rows, double start, double step);

/// Whether two ecliptic longitudes (radians, any turn) lie strictly less than 2° apart,
/// across ±180° too.
bool inConjunction(double a, double b);

}  // namespace morvane
