#pragma once

namespace morvane {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kHalfPi = 1.5707963267948966;
/// 2/π: the disc projections map an angle from the pole, 0 to π/2, onto a radius of 0 to 1.
inline constexpr double kTwoOverPi = 0.6366197723675814;
/// Degrees per radian, for printing.
inline constexpr double kDegreesPerRadian = 57.29577951308232;

/// Obliquity of the ecliptic, 21°.
inline constexpr double kObliquity = 0.3665191429188092;
/// cos ε and sin ε, written out since std::cos is no constant expression.
inline constexpr double kCosObliquity = 0.9335804264972017;
inline constexpr double kSinObliquity = 0.35836794954530027;

/// Turns per day of the sky's rotation (one plus the sun's mean motion).
inline constexpr double kSiderealRate = 1.0027777692901494;

/// Degrees to radians the one way every caller does it: the multiplication first.
constexpr double degreesToRadians(double degrees) { return degrees * kPi / 180.0; }
/// And back, the same way: what the map's read-out shows.
constexpr double radiansToDegrees(double radians) { return radians * 180.0 / kPi; }

}  // namespace morvane
