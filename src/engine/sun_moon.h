#pragma once

#include "engine/vec3d.h"

namespace morvane {

/// Mean motions, turns per day, and the epoch terms that place them at t = 0.
inline constexpr double kSunRate = 0.0027777692901493913;
inline constexpr double kSunEpoch = -0.0013888846450746957;  ///< half a day of the sun's motion
inline constexpr double kMoonRate = 0.03611111929015772;
inline constexpr double kMoonEpoch = 0.027630213198790443;
inline constexpr double kMoonLatitudeRate = 0.03626222155587435;
/// Added inside the sine unreduced: reducing it modulo 2π first changes the last bits.
inline constexpr double kMoonLatitudePhase = -52833.2133155291;
inline constexpr double kMoonLatitudeAmplitude = 0.13962634015954636;  ///< 8°
/// 1384/23 radii of the world; only the view from the surface uses it.
inline constexpr double kMoonDistance = 60.17391304347826;

/// Nolomar's mean ecliptic longitude at t, in [0, 2π).
double sunLongitude(double t);
/// Nolomar's right ascension at t, in [0, 2π).
double sunRightAscension(double t);
/// Yael's mean ecliptic longitude at t, in [0, 2π).
double moonLongitude(double t);
/// Yael's ecliptic latitude at t.
double moonLatitude(double t);

/// Nolomar, the sun, at day count t.
struct Sun {
    Vec3D ec;  ///< ecliptic: longitude, latitude 0
    Vec3D eq;  ///< equatorial: right ascension, declination
    explicit Sun(double t);
};

/// Yael, the moon, seen from the world's centre or from a place on the surface.
struct Moon {
    Vec3D ec;
    Vec3D eq;
    /// Seen from the world's centre.
    explicit Moon(double t);
    /// Seen from a place; longitude and latitude in radians, east and north positive.
    Moon(double t, double longitude, double latitude);
};

/// How far Yael's elongation from Nolomar is past `target`, in [−π, π].
double moonPhaseAngle(double t, double target);

/// The sun and moon table's eclipse rule: how close Yael stands to conjunction with Nolomar
/// (a solar eclipse) or to opposition (a lunar one) when she crosses the ecliptic. Ordered from
/// the deepest solar eclipse to the shallowest lunar one; callers index by it.
enum class EclipseMarker {
    none,
    totalSolar,          ///< TS
    partialSolar,        ///< PS
    fullLunar,           ///< FUL
    firstPartialLunar,   ///< FPL
    secondPartialLunar,  ///< PPL
};
/// The marker of an elongation (Yael's longitude minus Nolomar's, radians, in [−π, π]).
EclipseMarker eclipseMarker(double elongation);
/// The smallest |elongation| the rule still marks as a lunar eclipse (178.42°): Yael must come
/// within π minus this of the point opposite Nolomar.
inline constexpr double kShallowestLunarEclipse = 3.1140164514082826;

/// The first instant at or after `after` at which the elongation passes `target`
/// (π: full moon, 0: new moon), to 0.0001 day.
double nextMoonPhase(double after, double target);

}  // namespace morvane
