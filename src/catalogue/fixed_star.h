#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/vec3d.h"

namespace morvane {

/// One entry of the fixed sky: a star, a figure member, a label, a sign tick or a pole.
struct FixedStar {
    std::string name;   ///< unique in the catalogue
    Vec3D eq;           ///< equatorial: right ascension, declination
    Vec3D ec;           ///< ecliptic: longitude, latitude
    double magnitude;   ///< smaller is brighter; 0 for labels
    std::string color;  ///< "#rrggbb"

    /// Builds an entry from two angles (radians), equatorial or ecliptic. Unnamed stars
    /// ("_" and a final digit) are turned along the ecliptic by the catalogue shift.
    FixedStar(std::string name, bool isEquatorial, double phi, double theta, double magnitude,
              std::string color);

    /// The 724 entries in their fixed order, built once on first use (from any thread).
    static const std::vector<FixedStar>& catalogue();
};

/// Catalogue shift along the ecliptic applied to unnamed stars, −18°.
inline constexpr double kCatalogueShift = -0.3141592653589793;

/// Index from name to entry, built once on first use.
const std::unordered_map<std::string_view, const FixedStar*>& starsByName();

/// The entry with that name, or nullptr.
const FixedStar* findStar(std::string_view name);

}  // namespace morvane
