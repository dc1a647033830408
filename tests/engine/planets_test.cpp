#include "engine/planets.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/constants.h"

namespace morvane {
namespace {

struct LongitudeCase {
    double t;
    std::array<double, 4> degrees;  // Épeòn, Álaran, Kenôr, Mêrgus
    double tolerance;
};

TEST(Planets, GeocentricLongitudes) {
    const LongitudeCase cases[] = {
        {0, {3.537183, 59.37379, -173.775801, -79.917365}, 1e-5},
        {100, {132.821117, 126.040363, -177.566858, -81.718513}, 1e-6},
        {1000, {-52.67829, -109.7088, -76.156826, -71.529553}, 1e-4},
    };
    for (const LongitudeCase& c : cases) {
        for (std::size_t i = 0; i < kAllPlanets.size(); ++i) {
            const Vec3D position = eclipticPosition(kAllPlanets[i], c.t);
            EXPECT_NEAR(position.phi * kDegreesPerRadian, c.degrees[i], c.tolerance)
                << displayName(kAllPlanets[i]) << " at t = " << c.t;
        }
    }
}

TEST(Planets, LongitudeStaysInHalfOpenRangeOnTheEcliptic) {
    for (double t = -2000; t < 40000; t += 3.3) {
        for (Planet planet : kAllPlanets) {
            const Vec3D position = eclipticPosition(planet, t);
            ASSERT_EQ(position.theta, 0.0);
            ASSERT_EQ(position.r, 0.0);
            ASSERT_GT(position.phi, -kPi) << t;
            ASSERT_LE(position.phi, kPi) << t;
        }
    }
}

TEST(Star, EquatorPointNinetyDegreesAlongLiesSouthOfTheEcliptic) {
    const Star star(kHalfPi, 0.0);
    EXPECT_NEAR(star.ec.phi, kHalfPi, 1e-15);
    EXPECT_NEAR(star.ec.theta, -kObliquity, 1e-15);
    EXPECT_EQ(star.eq.phi, kHalfPi);
}

}  // namespace
}  // namespace morvane
