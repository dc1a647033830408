#include "engine/sun_moon.h"

#include <cmath>

#include "engine/constants.h"

namespace morvane {

double sunLongitude(double t) { return turnsToRadians(kSunRate * t + kSunEpoch); }

double sunRightAscension(double t) {
    return Vec3D(sunLongitude(t), 0.0).rotated(eclipticToEquatorial()).phi;
}

double moonLongitude(double t) { return turnsToRadians(kMoonRate * t + kMoonEpoch); }

double moonLatitude(double t) {
    const double x = kMoonLatitudeRate * t;
    return kMoonLatitudeAmplitude * std::sin((x + x) * kPi + kMoonLatitudePhase);
}

Sun::Sun(double t) : ec(sunLongitude(t), 0.0), eq(ec.rotated(eclipticToEquatorial())) {}

Moon::Moon(double t)
    : ec(moonLongitude(t), moonLatitude(t)), eq(ec.rotated(eclipticToEquatorial())) {}

Moon::Moon(double t, double longitude, double latitude) {
    // The place turns once per day of t here, not at the sidereal rate: the parallax is at
    // most about a degree and this is the world's own convention.
    const Vec3D observer =
        Vec3D(turnsToRadians(longitude / kTwoPi + t), latitude).rotated(equatorialToEcliptic());
    const Vec3D centre(moonLongitude(t), moonLatitude(t));
    ec = Vec3D::fromComponents(centre.v[0] * kMoonDistance - observer.v[0],
                               centre.v[1] * kMoonDistance - observer.v[1],
                               centre.v[2] * kMoonDistance - observer.v[2]);
    eq = ec.rotated(eclipticToEquatorial());
}

double moonPhaseAngle(double t, double target) {
    return wrapPi(moonLongitude(t) - sunLongitude(t) - target);
}

namespace {

// Elongation bounds of the eclipse classes, radians.
constexpr double kTotalSolar = 0.029670597283903602;    // 1.7°
constexpr double kPartialSolar = 0.044331363000655974;  // 2.54°
constexpr double kFullLunar = 3.135484001207813;        // 179.65°
constexpr double kFirstPartial = 3.1260592232470437;    // 179.11°

}  // namespace

EclipseMarker eclipseMarker(double elongation) {
    const double a = std::fabs(elongation);
    if (a < kTotalSolar) return EclipseMarker::totalSolar;
    if (a < kPartialSolar) return EclipseMarker::partialSolar;
    if (a > kFullLunar) return EclipseMarker::fullLunar;
    if (a > kFirstPartial) return EclipseMarker::firstPartialLunar;
    if (a > kShallowestLunarEclipse) return EclipseMarker::secondPartialLunar;
    return EclipseMarker::none;
}

double nextMoonPhase(double after, double target) {
    double a = after;
    double da = moonPhaseAngle(a, target);
    double b = a + 1.0;
    double db = moonPhaseAngle(b, target);
    // d_b > d_a rejects the monthly jump from +π to −π, which also changes sign.
    while (!(da <= 0.0 && db >= 0.0 && db > da)) {
        a = b;
        da = db;
        b = b + 1.0;
        db = moonPhaseAngle(b, target);
    }
    while (b - a > 0.0001) {
        const double mid = (a + b) * 0.5;
        if (moonPhaseAngle(mid, target) >= 0.0) {
            b = mid;
        } else {
            a = mid;
        }
    }
    return (a + b) * 0.5;
}

}  // namespace morvane
