#include "engine/planets.h"

#include <cmath>

#include "engine/constants.h"
#include "engine/sun_moon.h"

namespace morvane {

namespace {

struct Orbit {
    std::string_view name;
    double period;  ///< days; negative: Épeòn circles against the sense of the others
    double radius;  ///< in units of the world's orbit, (|period| / 360)^(2/3)
    double phase;   ///< added to a count of turns, so it acts as its fraction of a turn
};

constexpr std::array<Orbit, 4> kOrbits = {{
    {"Épeòn", -198.00000000000003, 0.6712873444586567, 5.026548245743669},
    {"Álaran", 720.0, 1.5874010519681996, 1.2566370614359172},
    {"Kenôr", 3600.0, 4.641588833612779, 2.5132741228718345},
    {"Mêrgus", 30600.0, 19.332111165970602, 3.7699111843077517},
}};

const Orbit& orbit(Planet planet) { return kOrbits[static_cast<std::size_t>(planet)]; }

}  // namespace

std::string_view displayName(Planet planet) { return orbit(planet).name; }

bool isTerrestrial(Planet planet) { return static_cast<int>(planet) < 2; }

Vec3D eclipticPosition(Planet planet, double t) {
    const Orbit& o = orbit(planet);
    const double sun = sunLongitude(t);
    const double heliocentric = turnsToRadians(t / o.period + o.phase);
    // The world stands opposite the sun at distance 1, so world → planet is a·M̂ + L̂.
    const double y = o.radius * std::sin(heliocentric) + std::sin(sun);
    const double x = o.radius * std::cos(heliocentric) + std::cos(sun);
    return Vec3D(std::atan2(y, x), 0.0);
}

double longitudeRateBound(Planet planet) {
    const Orbit& o = orbit(planet);
    const double speed = o.radius * kTwoPi / std::fabs(o.period) + kTwoPi * kSunRate;
    return speed / std::fabs(o.radius - 1.0);
}

Star::Star(double rightAscension, double declination)
    : eq(rightAscension, declination), ec(eq.rotated(equatorialToEcliptic())) {}

}  // namespace morvane
