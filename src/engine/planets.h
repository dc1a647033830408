#pragma once

#include <array>
#include <string_view>

#include "engine/vec3d.h"

namespace morvane {

/// The four planets, always iterated in this order.
enum class Planet { epeon, alaran, kenor, mergus };

inline constexpr std::array<Planet, 4> kAllPlanets = {Planet::epeon, Planet::alaran, Planet::kenor,
                                                      Planet::mergus};

/// The six pairs of planets, in the conjunction table's order, with its labels.
struct PlanetPair {
    Planet first;
    Planet second;
    std::string_view label;  ///< "EP-AL", …
};
inline constexpr std::array<PlanetPair, 6> kPlanetPairs = {
    {{Planet::epeon, Planet::alaran, "EP-AL"},
     {Planet::epeon, Planet::kenor, "EP-KE"},
     {Planet::epeon, Planet::mergus, "EP-ME"},
     {Planet::alaran, Planet::kenor, "AL-KE"},
     {Planet::alaran, Planet::mergus, "AL-ME"},
     {Planet::kenor, Planet::mergus, "KE-ME"}}};

/// "Épeòn", "Álaran", "Kenôr", "Mêrgus".
std::string_view displayName(Planet planet);

/// Terrestrial planets are the first two; the last two are gas giants.
bool isTerrestrial(Planet planet);

/// Geocentric ecliptic direction at day count t: phi is the longitude in (−π, π] (not brought
/// into [0, 2π)), theta is 0 and r is 0.
Vec3D eclipticPosition(Planet planet, double t);

/// An upper bound of |d/dt eclipticPosition(planet, t).phi|, radians per day: the world–planet
/// vector changes no faster than the two orbital speeds together and is never shorter than
/// the difference of the two orbits' radii.
double longitudeRateBound(Planet planet);

/// A point given by right ascension and declination (radians), with its ecliptic equivalent.
struct Star {
    Vec3D eq;
    Vec3D ec;
    Star(double rightAscension, double declination);
};

}  // namespace morvane
