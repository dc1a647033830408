#pragma once

#include <string>
#include <string_view>

#include "engine/vec3d.h"

namespace morvane {

/// The sky above the observer at day count t as an SVG document: the visible half of the sky on
/// a disc of radius 180 with the zenith at the centre, south at the top and west to the right.
/// Latitude and longitude in radians, north and east positive.
std::string starMapDocument(double t, double latitude, double longitude);

/// The disc and label of one body at a horizon direction (phi azimuth, theta altitude); empty
/// below the horizon. Names beginning with "_" get no label; radius 0 gets no disc.
std::string drawBody(const Vec3D& horizon, std::string_view name, std::string_view color,
                     double radius);

/// How each planet is drawn, in planet order.
struct PlanetStyle {
    std::string_view label;
    std::string_view color;
    double radius;
};
const PlanetStyle& planetStyle(std::size_t planetIndex);

}  // namespace morvane
