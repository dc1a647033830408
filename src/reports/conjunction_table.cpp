#include "reports/conjunction_table.h"

#include <array>
#include <cmath>

#include "engine/arc.h"
#include "engine/calendar.h"
#include "engine/planets.h"
#include "engine/require.h"
#include "engine/sun_moon.h"
#include "engine/vec3d.h"

namespace morvane {

namespace {

constexpr const char* kHeader =
    "                      EQUATORIAL COORDINATES                                  ECLIPTIC "
    "COORDINATES                                 CONJUNCTIONS\n"
    "YR MO DAY TIME        YAEL     NOLOMAR EPEON    ALARAN    KENOR    MERGUS     YAEL     "
    "NOLOMAR  EPEON    ALARAN   KENOR    MERGUS   (+/- 1 deg)\n";

constexpr double kConjunctionBound = 0.03490658503988659;  // 2°
// Two longitudes on either side of ±180° differ by nearly a full turn after wrapping.
constexpr double kAcrossTheSeam = 6.2482787221397;  // 358°

}  // namespace

bool inConjunction(double a, double b) {
    const double s = std::fabs(wrapPi(a) - wrapPi(b));
    return s < kConjunctionBound || s > kAcrossTheSeam;
}

std::string conjunctionTable(std::int64_t rows, double start, double step) {
    MORVANE_REQUIRE(rows >= 0, "negative row count for the conjunction table");
    std::string text = kHeader;
    if (rows == 0) return text;
    text.reserve(text.size() + static_cast<std::size_t>(rows) * 168);

    double t = start;
    for (std::int64_t row = 0; row < rows; ++row) {
        const Moon moon(t);
        const Sun sun(t);
        std::array<Vec3D, kAllPlanets.size()> ecliptic;
        for (std::size_t i = 0; i < kAllPlanets.size(); ++i) {
            ecliptic[i] = eclipticPosition(kAllPlanets[i], t);
        }

        text += dateLabel(t);
        text += "  ";
        text += Arc(moon.eq.phi).formatDM();
        text += "  ";
        text += Arc(sun.eq.phi).formatDM();
        for (const Vec3D& ec : ecliptic) {
            text += "  ";
            text += Arc(ec.rotated(eclipticToEquatorial()).phi).formatDM();
        }
        text += "    ";
        text += Arc(moon.ec.phi).formatDM();
        text += "  ";
        text += Arc(sun.ec.phi).formatDM();
        // Printed as given, so longitudes west of 0° keep their minus sign.
        for (const Vec3D& ec : ecliptic) {
            text += "  ";
            text += Arc(ec.phi).formatDM();
        }
        text += "  ";
        for (const PlanetPair& pair : kPlanetPairs) {
            if (inConjunction(ecliptic[static_cast<std::size_t>(pair.first)].phi,
                              ecliptic[static_cast<std::size_t>(pair.second)].phi)) {
                text += pair.label;
                text += ' ';
            }
        }
        text += '\n';
        t = t + step;
    }
    return text;
}

}  // namespace morvane
