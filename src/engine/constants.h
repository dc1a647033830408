#pragma once

namespace morvane {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;
inline constexpr double kHalfPi = 1.5707963267948966;
/// Degrees per radian, for printing.
inline constexpr double kDegreesPerRadian = 57.29577951308232;

/// Obliquity of the ecliptic, 21°.
inline constexpr double kObliquity = 0.3665191429188092;

/// Turns per day of the sky's rotation (one plus the sun's mean motion).
inline constexpr double kSiderealRate = 1.0027777692901494;

/// Degrees to radians the one way every caller does it: the multiplication first.
constexpr double degreesToRadians(double degrees) { return degrees * kPi / 180.0; }

}  // namespace morvane
