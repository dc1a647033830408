#include "engine/sun_moon.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/constants.h"

namespace morvane {
namespace {

// Exact doubles: the last bits decide a rounded second, and every machine must print the same.
TEST(SunAndMoon, ExactValuesAtTheEpoch) {
    EXPECT_EQ(Sun(0.0).ec.phi, 6.274458687584286);  // 359.5000015°
    const Sun midnight(0.5);  // 00:00 OST of the second day: the turn count is exactly 0
    EXPECT_EQ(midnight.ec.phi, 0.0);
    EXPECT_EQ(midnight.eq.phi, 0.0);
    EXPECT_EQ(midnight.eq.theta, 0.0);
    const Moon moon(0.0);
    EXPECT_EQ(moon.ec.phi, 0.1736057496048796);
    EXPECT_EQ(moon.ec.theta, 0.12109150980606477);
    EXPECT_EQ(moonPhaseAngle(0.0, 0.0), 0.18233236920018037);
    EXPECT_EQ(moonPhaseAngle(0.0, kPi), -2.9592602843896127);
    EXPECT_EQ(nextMoonPhase(0.0, kPi), 14.129425048828125);
    EXPECT_EQ(nextMoonPhase(0.0, 0.0), 29.129425048828125);
}

TEST(Moon, SurfaceViewShiftsByAtMostAboutADegree) {
    for (double t = 0; t < 60; t += 0.37) {
        const Moon centre(t);
        const Moon surface(t, 0.3, 0.7);
        const double cosAngle = centre.ec.v[0] * surface.ec.v[0] / surface.ec.r +
                                centre.ec.v[1] * surface.ec.v[1] / surface.ec.r +
                                centre.ec.v[2] * surface.ec.v[2] / surface.ec.r;
        EXPECT_LT(std::acos(std::min(1.0, cosAngle)), 1.0 / 57.0) << t;
        EXPECT_NEAR(surface.ec.r, kMoonDistance, 1.0001);
    }
}

TEST(MoonPhase, RisesSteadilyBetweenMonthlyJumps) {
    int jumps = 0;
    double previous = moonPhaseAngle(0.0, kPi);
    for (int i = 1; i <= 12000; ++i) {
        const double current = moonPhaseAngle(i * 0.01, kPi);
        const double change = current - previous;
        if (change < 0) {
            ++jumps;
            EXPECT_NEAR(change, -kTwoPi, 0.01) << "at t = " << i * 0.01;
        } else {
            EXPECT_NEAR(change, 0.01 * kTwoPi / 29.999985, 1e-9) << "at t = " << i * 0.01;
        }
        previous = current;
    }
    EXPECT_EQ(jumps, 4);  // 120 days hold four synodic months
}

TEST(MoonPhase, AnInstantAtThePhaseFindsThatPhaseNotTheNext) {
    const double full = nextMoonPhase(1000.0, kPi);
    const double justBefore = full - 0.0001;
    ASSERT_LT(moonPhaseAngle(justBefore, kPi), 0.0);
    EXPECT_NEAR(nextMoonPhase(justBefore, kPi), full, 0.0001);
    // A moment just after it waits for the next month.
    EXPECT_NEAR(nextMoonPhase(full + 0.01, kPi) - full, 29.999985, 0.001);
}

TEST(MoonPhase, FoundPhasesAreCrossings) {
    for (double t = 0; t < 400; t += 13.7) {
        for (double target : {0.0, kPi}) {
            const double found = nextMoonPhase(t, target);
            EXPECT_GE(found, t - 0.0001);
            EXPECT_LT(found, t + 30.1);
            EXPECT_NEAR(moonPhaseAngle(found, target), 0.0, 0.0001 * kTwoPi / 29.9);
        }
    }
}

}  // namespace
}  // namespace morvane
