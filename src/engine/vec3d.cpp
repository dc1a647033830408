#include "engine/vec3d.h"

#include <cmath>

#include "engine/constants.h"

namespace morvane {

Vec3D::Vec3D(double phi, double theta)
    : v{std::cos(theta) * std::cos(phi), std::cos(theta) * std::sin(phi), std::sin(theta)},
      phi(phi),
      theta(theta),
      r(0.0) {}

Vec3D Vec3D::fromComponents(double x, double y, double z) {
    Vec3D result;
    result.v = {x, y, z};
    result.updateSpherical();
    return result;
}

void Vec3D::updateSpherical() {
    const double x = v[0];
    const double y = v[1];
    const double z = v[2];
    const double rho2 = x * x + y * y;
    r = std::sqrt(rho2 + z * z);
    if (rho2 == 0.0) {
        phi = 0.0;
        theta = z == 0.0 ? 0.0 : std::atan2(z, 0.0);
        return;
    }
    phi = std::atan2(y, x);
    if (phi < 0.0) phi += kTwoPi;
    theta = std::atan2(z, std::sqrt(rho2));
}

Vec3D Vec3D::rotated(const Matrix3& m) const {
    Vec3D result;
    for (int i = 0; i < 3; ++i) {
        result.v[i] = v[0] * m[i][0] + v[1] * m[i][1] + v[2] * m[i][2];
    }
    result.updateSpherical();
    return result;
}

Matrix3 rotationMatrix(unsigned axis, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    switch (axis) {
        case 0:
            return {{{1.0, 0.0, 0.0}, {0.0, c, s}, {0.0, -s, c}}};
        case 1:
            return {{{c, 0.0, -s}, {0.0, 1.0, 0.0}, {s, 0.0, c}}};
        default:
            return {{{c, s, 0.0}, {-s, c, 0.0}, {0.0, 0.0, 1.0}}};
    }
}

const Matrix3& equatorialToEcliptic() {
    static const Matrix3 matrix = rotationMatrix(0, kObliquity);
    return matrix;
}

const Matrix3& eclipticToEquatorial() {
    static const Matrix3 matrix = rotationMatrix(0, -kObliquity);
    return matrix;
}

double turnsToRadians(double turns) { return (turns - std::floor(turns)) * kTwoPi; }

double wrapTwoPi(double angle) {
    while (angle > kTwoPi) angle -= kTwoPi;
    while (angle < 0.0) angle += kTwoPi;
    return angle;
}

double wrapBelowTwoPi(double angle) {
    while (angle < 0.0) angle += kTwoPi;
    while (angle >= kTwoPi) angle -= kTwoPi;
    return angle;
}

double wrapPi(double angle) {
    while (angle > kPi) angle -= kTwoPi;
    while (angle < -kPi) angle += kTwoPi;
    return angle;
}

}  // namespace morvane
