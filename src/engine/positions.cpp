#include "engine/positions.h"

#include "engine/arc.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/planets.h"
#include "engine/signs.h"
#include "engine/sun_moon.h"

namespace morvane {

Vec3D horizonCoordinates(const Vec3D& eq, double t, double latitude, double longitude) {
    const double hourAngle = localSiderealAngle(t, longitude) - eq.phi;
    return Vec3D(hourAngle, eq.theta).rotated(rotationMatrix(1, kHalfPi - latitude));
}

namespace {

BodyPosition makeRow(std::string name, std::string bodyType, std::string color,
                     const Vec3D& horizon, double ecLong) {
    BodyPosition row;
    row.id = Uuid::random();
    row.name = std::move(name);
    row.bodyType = std::move(bodyType);
    row.color = std::move(color);
    row.azimuth = Arc(horizon.phi).formatDM();
    row.altitude = Arc(horizon.theta).formatDM();
    row.ecLong = Arc(ecLong).formatDM();
    row.sign = std::string(zodiacSignShort(ecLong));
    row.azimuthRadians = horizon.phi;
    row.altitudeRadians = horizon.theta;
    row.ecLongRadians = ecLong;
    return row;
}

const char* planetColor(Planet planet) {
    switch (planet) {
        case Planet::epeon:
            return "blue";
        case Planet::alaran:
            return "red";
        case Planet::kenor:
            return "orange";
        case Planet::mergus:
            return "purple";
    }
    return "gray";
}

}  // namespace

std::vector<BodyPosition> positionsList(double t, double latitude, double longitude) {
    std::vector<BodyPosition> rows;
    rows.reserve(2 + kAllPlanets.size());

    const Sun sun(t);
    rows.push_back(makeRow("Nolomar", "Sun", "yellow",
                           horizonCoordinates(sun.eq, t, latitude, longitude), sun.ec.phi));

    const Moon moon(t, longitude, latitude);
    rows.push_back(makeRow("Yael", "Moon", "white",
                           horizonCoordinates(moon.eq, t, latitude, longitude), moon.ec.phi));

    for (Planet planet : kAllPlanets) {
        const Vec3D ec = eclipticPosition(planet, t);
        const Vec3D eq = ec.rotated(eclipticToEquatorial());
        rows.push_back(makeRow(
            std::string(displayName(planet)), isTerrestrial(planet) ? "Terrestrial" : "Gas Giant",
            planetColor(planet), horizonCoordinates(eq, t, latitude, longitude), ec.phi));
    }
    return rows;
}

}  // namespace morvane
