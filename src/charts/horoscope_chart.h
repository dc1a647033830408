#pragma once

#include <string>
#include <string_view>

#include "engine/vec3d.h"

namespace morvane {

/// The horoscope of the moment at the place as an SVG document of 720 × 380 units: the wheel
/// of the sky seen from the ecliptic's north pole on the left, the reading on the right.
std::string horoscopeDocument(double t, double latitude, double longitude);

/// Disc and label of one body on the wheel; `ecliptic` holds longitude (phi) and latitude
/// (theta). Bodies near or south of the ecliptic are labelled along the rim.
std::string drawWheelBody(const Vec3D& ecliptic, std::string_view name, std::string_view color,
                          double radius);

/// A chord of the rim between two ecliptic longitudes.
std::string wheelChord(std::string_view color, double from, double to);

}  // namespace morvane
