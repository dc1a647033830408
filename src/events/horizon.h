#pragma once

// The altitude arithmetic the event search and the light share, so that a rise found by the
// one and the sky the other draws agree to the last bit.

#include <cmath>

namespace morvane {

/// The sine of the altitude of an equatorial unit vector (x, y, z) at a place of latitude φ
/// (given as sin φ and cos φ), where the sky has turned by `sky` (the local sidereal angle):
/// the same quantity horizonCoordinates gives, written out so that it costs a few sines instead
/// of a pair of frame rotations.
inline double sinAltitude(double x, double y, double z, double sinLatitude, double cosLatitude,
                          double sky) {
    return sinLatitude * z + cosLatitude * (std::cos(sky) * x + std::sin(sky) * y);
}

}  // namespace morvane
