#include "engine/vec3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/constants.h"

namespace morvane {
namespace {

TEST(Vec3D, BuiltFromAnglesKeepsThemAndHasNoLength) {
    const Vec3D v(3 * kPi, 0.0);
    EXPECT_EQ(v.phi, 3 * kPi);
    EXPECT_EQ(v.r, 0.0);
    const Vec3D turned = v.rotated(rotationMatrix(2, 0.0));
    EXPECT_NEAR(turned.phi, kPi, 1e-12);
    EXPECT_NEAR(turned.r, 1.0, 1e-15);
}

TEST(Vec3D, SphericalAnglesOfSpecialComponents) {
    const Vec3D origin = Vec3D::fromComponents(0, 0, 0);
    EXPECT_EQ(origin.phi, 0.0);
    EXPECT_EQ(origin.theta, 0.0);
    EXPECT_EQ(origin.r, 0.0);

    const Vec3D down = Vec3D::fromComponents(0, 0, -2);
    EXPECT_EQ(down.phi, 0.0);
    EXPECT_EQ(down.theta, -kHalfPi);
    EXPECT_EQ(down.r, 2.0);

    const Vec3D back = Vec3D::fromComponents(-1, 0, 0);
    EXPECT_EQ(back.phi, kPi);
    EXPECT_EQ(back.theta, 0.0);

    // Negative y would give a negative atan2; phi is brought into [0, 2π).
    EXPECT_NEAR(Vec3D::fromComponents(0, -1, 0).phi, 1.5 * kPi, 1e-15);
}

TEST(Vec3D, RotationsAreFrameRotations) {
    // The +x direction seen from a frame turned by +90° about z lies at −90°, i.e. 270°.
    const Vec3D x = Vec3D::fromComponents(1, 0, 0).rotated(rotationMatrix(2, kHalfPi));
    EXPECT_NEAR(x.phi, 1.5 * kPi, 1e-12);
    // Axis values other than 0 and 1 mean z.
    const Vec3D same = Vec3D::fromComponents(1, 0, 0).rotated(rotationMatrix(7, kHalfPi));
    EXPECT_EQ(same.v, x.v);
}

TEST(Vec3D, TurningThereAndBackRestoresEveryDirection) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> angle(-10.0, 10.0);
    std::uniform_real_distribution<double> latitude(-kHalfPi, kHalfPi);
    for (int i = 0; i < 500; ++i) {
        const Vec3D start(angle(random), latitude(random));
        for (unsigned axis = 0; axis < 3; ++axis) {
            const double a = angle(random);
            const Vec3D back =
                start.rotated(rotationMatrix(axis, a)).rotated(rotationMatrix(axis, -a));
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(back.v[k], start.v[k], 1e-14);
            EXPECT_NEAR(back.r, 1.0, 1e-14);
            EXPECT_GE(back.phi, 0.0);
            EXPECT_LT(back.phi, kTwoPi);
        }
    }
}

// Turns wrap into [0, 2π); wrapTwoPi keeps 2π itself and wrapPi keeps both of its bounds.
TEST(Normalisations, WrapIntoOneTurn) {
    EXPECT_EQ(turnsToRadians(0.0), 0.0);
    EXPECT_EQ(turnsToRadians(1.25), kHalfPi);
    EXPECT_NEAR(turnsToRadians(-0.25), 1.5 * kPi, 1e-15);
    EXPECT_EQ(turnsToRadians(3.0), 0.0);
    EXPECT_EQ(wrapTwoPi(kTwoPi), kTwoPi);
    EXPECT_EQ(wrapTwoPi(0.0), 0.0);  // both bounds stay put
    EXPECT_EQ(wrapTwoPi(-0.1), kTwoPi - 0.1);
    EXPECT_NEAR(wrapTwoPi(7.0), 7.0 - kTwoPi, 1e-15);
    EXPECT_NEAR(wrapTwoPi(-20.0), -20.0 + 4 * kTwoPi, 1e-14);
    EXPECT_EQ(wrapPi(kPi), kPi);
    EXPECT_EQ(wrapPi(-kPi), -kPi);
    EXPECT_NEAR(wrapPi(1.5 * kPi), -kHalfPi, 1e-15);
    EXPECT_NEAR(wrapPi(-1.5 * kPi), kHalfPi, 1e-15);
    EXPECT_NEAR(wrapPi(100.0), 100.0 - 32 * kPi, 1e-13);
}

// The charts' half-open turn: a tiny negative angle raised by a turn rounds to exactly 2π, and
// that must still come out as 0.
TEST(Normalisations, WrapBelowTwoPiNeverReachesTwoPi) {
    EXPECT_EQ(wrapBelowTwoPi(0.0), 0.0);
    EXPECT_EQ(wrapBelowTwoPi(kTwoPi), 0.0);
    EXPECT_EQ(wrapBelowTwoPi(-1e-17), 0.0);
    EXPECT_EQ(wrapBelowTwoPi(std::nextafter(kTwoPi, 0.0)), std::nextafter(kTwoPi, 0.0));
    EXPECT_EQ(wrapBelowTwoPi(-0.1), kTwoPi - 0.1);
    EXPECT_NEAR(wrapBelowTwoPi(20.0), 20.0 - 3 * kTwoPi, 1e-14);
    EXPECT_NEAR(wrapBelowTwoPi(-20.0), -20.0 + 4 * kTwoPi, 1e-14);
}

}  // namespace
}  // namespace morvane
