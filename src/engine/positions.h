#pragma once

#include <string>
#include <vector>

#include "engine/uuid.h"
#include "engine/vec3d.h"

namespace morvane {

/// Azimuth (phi, from the south through the west, in [0, 2π)) and altitude (theta) of an
/// equatorial direction for an observer at latitude and longitude (radians, north and east
/// positive) at day count t.
Vec3D horizonCoordinates(const Vec3D& eq, double t, double latitude, double longitude);

/// One row of the positions list. The four texts are ready to print; the three angles they
/// were printed from are kept for callers that need numbers (radians).
struct BodyPosition {
    Uuid id;               ///< new for every row built
    std::string name;      ///< "Nolomar", "Yael", "Épeòn", …
    std::string bodyType;  ///< "Sun", "Moon", "Terrestrial", "Gas Giant"
    std::string color;     ///< a plain colour name ("yellow", "white", …); the UI maps it
    std::string azimuth;   ///< 7 characters, formatDM
    std::string altitude;  ///< 7 characters, formatDM
    std::string ecLong;    ///< 7 characters, formatDM of the ecliptic longitude
    std::string sign;      ///< short sign name, 11 characters
    double azimuthRadians = 0.0;
    double altitudeRadians = 0.0;
    double ecLongRadians = 0.0;
};

/// Six rows: Nolomar, Yael (seen from the place), then the planets in their order.
std::vector<BodyPosition> positionsList(double t, double latitude, double longitude);

}  // namespace morvane
