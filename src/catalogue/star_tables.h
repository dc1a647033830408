#pragma once

#include <array>

namespace morvane::star_tables {

/// One star of the hand-made tables: a position given in the equatorial frame, in degrees,
/// before the catalogue's shift along the ecliptic is applied.
struct StarRow {
    const char* name;  ///< catalogue name, e.g. "_LADO1"; background rows have nullptr (the builder
                       ///< numbers them)
    double raDeg;      ///< right ascension, degrees
    double decDeg;     ///< declination, degrees
    double magnitude;  ///< apparent magnitude (smaller is brighter)
};

/// 499 faint stars spread evenly over the sphere, in catalogue order ("_BACKGROUND002" …).
extern const std::array<StarRow, 499> kBackgroundStars;

/// The 67 zodiac figure stars, grouped by sign starting with Ládo's, then Ùlándus's, … Masâra's.
extern const std::array<StarRow, 67> kZodiacFigureStars;

/// The 109 figure stars of the 23 further constellations, in constellation order
/// ("_LOKIARN1" … "_HERPA4").
extern const std::array<StarRow, 109> kConstellationFigureStars;

}  // namespace morvane::star_tables
