#pragma once

#include <array>

namespace morvane {

/// A 3×3 frame rotation, row-major.
using Matrix3 = std::array<std::array<double, 3>, 3>;

/// A direction, held both as cartesian components and as spherical angles (radians).
/// The frame is the caller's: ecliptic (longitude, latitude), equatorial (right ascension,
/// declination), hour angle (hour angle, declination) or horizon (azimuth, altitude).
struct Vec3D {
    std::array<double, 3> v{0.0, 0.0, 0.0};  ///< x, y, z
    double phi = 0.0;                        ///< angle in the x–y plane from +x towards +y
    double theta = 0.0;                      ///< angle from the x–y plane towards +z
    double r =
        0.0;  ///< length of v, as last computed by updateSpherical(); 0 when built from angles

    Vec3D() = default;
    /// A unit direction from two angles, stored as given (no normalisation); r stays 0.
    Vec3D(double phi, double theta);
    /// A vector from components, with its spherical fields computed.
    static Vec3D fromComponents(double x, double y, double z);

    /// Recomputes phi (in [0, 2π)), theta and r from v.
    void updateSpherical();
    /// matrix × v, as a new vector with its spherical fields computed.
    [[nodiscard]] Vec3D rotated(const Matrix3& matrix) const;
};

/// Frame rotation by `angle` about axis 0 (x), 1 (y) or anything else (z).
Matrix3 rotationMatrix(unsigned axis, double angle);

/// The two rotations between the equatorial and the ecliptic frame, built once.
const Matrix3& equatorialToEcliptic();  ///< x axis, +ε
const Matrix3& eclipticToEquatorial();  ///< x axis, −ε

/// (x − floor(x)) × 2π: a count of turns as an angle in [0, 2π).
double turnsToRadians(double turns);
/// Into [0, 2π]; exactly 2π stays 2π.
double wrapTwoPi(double angle);
/// Into [0, 2π): negative angles are raised first, so one that rounds up to exactly 2π on the
/// way ends at 0.
double wrapBelowTwoPi(double angle);
/// Into [−π, π].
double wrapPi(double angle);

}  // namespace morvane
