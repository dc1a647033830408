#include "reports/sun_moon_table.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <array>
#include <cmath>
#include <optional>

#include "engine/arc.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/positions.h"
#include "engine/require.h"
#include "engine/sun_moon.h"
#include "engine/vec3d.h"

namespace morvane {

namespace {

constexpr const char* kHeader =
    "YR MO DAY TIME        Y-RA     Y-DEC    Ec-Lat   Ec-Long  N-RA    N-DEC     N-Long   "
    "Phase\n";

constexpr double kDaySpan = 1.0;
constexpr double kWindow = 0.25;
/// Closer than this to the horizon (or the ecliptic), in radians, counts as on it.
constexpr double kOnTheLine = 0.0001;
/// The bisection stops when the bracket is this short, in days.
constexpr double kTimeTolerance = 0.0001;

/// Sign character and "%06.2f" of the absolute value, 7 characters.
std::string angleColumn(double radians) {
    const double degrees = radians * kDegreesPerRadian;
    return fmt::format(FMT_COMPILE("{}{:06.2f}"), degrees < 0.0 ? '-' : ' ', std::fabs(degrees));
}

double frac(double y) { return y - std::floor(y); }

struct Crossing {
    double at;
    bool rising;
};

/// Where f changes sign in [a, a + span], by the rule shared by the horizon and the ecliptic
/// searches. A value already on the line at a wins over a sign change inside the window.
template <typename F>
std::optional<Crossing> findCrossing(F f, double a, double span) {
    const double b = a + span;
    const double fa = f(a);
    const double fb = f(b);
    if (std::fabs(fa) < kOnTheLine) return Crossing{a, fb > 0.0};
    if (fa * fb >= 0.0) return std::nullopt;
    double lo = a;
    double hi = b;
    double mid = (lo + hi) / 2.0;
    double fLo = fa;
    while (std::fabs(hi - lo) > kTimeTolerance) {
        const double fMid = f(mid);
        if (fLo * fMid < 0.0) {
            hi = mid;
        } else {
            lo = mid;
            fLo = fMid;
        }
        mid = (lo + hi) / 2.0;
    }
    return Crossing{mid, fa < 0.0};
}

/// Minutes are cut, not rounded, so the text may read one minute before the date label would.
std::string clockTime(double t) {
    const double f = frac(t + 0.5);
    const double hours = std::floor(24.0 * f);
    const double minutes = std::floor(60.0 * frac(24.0 * f));
    return fmt::format(FMT_COMPILE("{:02.0f}:{:02.0f}"), hours, minutes);
}

template <typename Body>
std::string riseSet(double from, double span, double latitude, const char* riseMarker,
                    const char* setMarker) {
    // Longitude 0: the table reports for the zero meridian whatever place is chosen.
    const auto altitude = [latitude](double x) {
        return horizonCoordinates(Body(x).eq, x, latitude, 0.0).theta;
    };
    const std::optional<Crossing> event = findCrossing(altitude, from, span);
    if (!event) return {};
    return (event->rising ? riseMarker : setMarker) + clockTime(event->at) + ' ';
}

}  // namespace

std::string moonRiseSet(double from, double span, double latitude) {
    return riseSet<Moon>(from, span, latitude, "MR@", "MS@");
}

std::string sunRiseSet(double from, double span, double latitude) {
    return riseSet<Sun>(from, span, latitude, "SR@", "SS@");
}

std::string moonNodeEvent(double from, double span) {
    const auto latitude = [](double x) { return Moon(x).ec.theta; };
    const std::optional<Crossing> node = findCrossing(latitude, from, span);
    if (!node) return {};
    return eclipseNote(node->at);
}

std::string eclipseNote(double t) {
    const double d = wrapPi(Moon(t).ec.phi - Sun(t).ec.phi);
    // Indexed by EclipseMarker; "none" prints nothing.
    static constexpr std::array<const char*, 6> kMarkers = {nullptr, "  TS ", "  PS ",
                                                            " FUL ", " FPL ", " PPL "};
    const char* marker = kMarkers[static_cast<std::size_t>(eclipseMarker(d))];
    if (marker == nullptr) return {};
    return marker + dateLabel(t) + ' ' + Arc(d).formatDMS() + ' ';
}

std::string sunMoonTable(std::int64_t rows, double start, double step, double latitude) {
    MORVANE_REQUIRE(rows >= 0, "negative row count for the sun and moon table");
    std::string text = kHeader;
    if (rows == 0) return text;

    double t = start;
    for (std::int64_t row = 0; row < rows; ++row) {
        const Moon moon(t);
        const Sun sun(t);
        text += dateLabel(t);
        for (double radians : {moon.eq.phi, moon.eq.theta, moon.ec.theta, moon.ec.phi, sun.eq.phi,
                               sun.eq.theta, sun.ec.phi}) {
            text += "  ";
            text += angleColumn(radians);
        }
        // One conversion of the radian difference: converting each longitude first changes
        // the last bits, and they decide the rounded hundredth.
        double separation = std::fabs(moon.ec.phi - sun.ec.phi) * kDegreesPerRadian;
        if (separation > 180.0) separation = 360.0 - separation;
        text += fmt::format(FMT_COMPILE("   {:.2f}   "), separation / 180.0);

        // Every row covers the whole day from its moment, whatever the step.
        for (double u = t; u < t + kDaySpan; u += kWindow) {
            text += moonRiseSet(u, kWindow, latitude);
        }
        for (double u = t; u < t + kDaySpan; u += kWindow) {
            text += sunRiseSet(u, kWindow, latitude);
        }
        for (double u = t; u < t + kDaySpan; u += kWindow) {
            text += moonNodeEvent(u, kWindow);
        }
        text += '\n';
        t = t + step;
    }
    return text;
}

}  // namespace morvane
