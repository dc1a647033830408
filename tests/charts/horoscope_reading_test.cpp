// The reading of the two golden moments is pinned, word for word, in the legends of the
// horoscope golden cases; these cases hold the bounds between the words.
#include "charts/horoscope_reading.h"

#include <gtest/gtest.h>

#include <iterator>
#include <utility>

#include "engine/constants.h"

namespace morvane {
namespace {

double deg(double degrees) { return degrees * kPi / 180.0; }

TEST(InfluenceSeparation, HundredUnitsPerHalfTurnTheShorterWay) {
    EXPECT_NEAR(influenceSeparation(deg(350), deg(10)), 11.11, 0.005);  // 20° across 0°
    EXPECT_DOUBLE_EQ(influenceSeparation(0.0, kPi), 100.0);
    EXPECT_EQ(influenceSeparation(1.0, 1.0), 0.0);
    EXPECT_NEAR(influenceSeparation(deg(-170), deg(170)), 11.11, 0.005);
    EXPECT_NEAR(influenceSeparation(deg(1000), 0.0), 44.44, 0.005);  // 280° is 80° the other way
    EXPECT_NEAR(influenceSeparation(deg(361.8), 0.0), 1.0, 1e-9);    // just over a whole turn
}

// Each word holds up to its bound, the bound included; a tenth of a unit more is the next word.
TEST(InfluenceSeparation, BoundsAreStrict) {
    const std::pair<double, const char*> bounds[] = {
        {5, "Impotent"}, {15, "Feeble"}, {30, "Weak"}, {50, "Neutral"}, {75, "Strong"}};
    const char* above[] = {"Feeble", "Weak", "Neutral", "Strong", "Exceptional"};
    for (std::size_t i = 0; i < std::size(bounds); ++i) {
        const double units = bounds[i].first;
        const double x = units * 6.283185307179586 / 200.0;
        ASSERT_NEAR(influenceSeparation(x, 0.0), units, 1e-12);  // exact at 5, 50 and 75
        EXPECT_EQ(influenceStrength(x, 0.0), bounds[i].second) << units;
        EXPECT_EQ(influenceStrength((units + 0.1) * 6.283185307179586 / 200.0, 0.0), above[i])
            << units;
    }
}

TEST(FateOrWill, TwentyUnitBand) {
    const double sun = deg(0);
    const double moon = deg(180);
    EXPECT_EQ(fateOrWill(deg(90 + 17.9), sun, moon), "BALANCED");  // 19.9 units apart
    EXPECT_EQ(fateOrWill(deg(90 + 18.1), sun, moon), "YAEL (Fate)");
    EXPECT_EQ(fateOrWill(deg(90 - 18.1), sun, moon), "NOLOMAR (Will)");
}

TEST(Power, ThreeDegreeBand) {
    const double band = 0.05235987755982988;
    EXPECT_EQ(powerSentence(band), "BALANCED.  Fate and Will are equal in Morvane.");
    EXPECT_EQ(powerSentence(band * 1.0001), "SUPERIOR.  The Fates hold sway over Morvane.");
    EXPECT_EQ(powerSentence(-band), "INFERIOR.  Will can overcome Fate across Morvane.");
}

TEST(Keep, ChordsCrossingOrNot) {
    EXPECT_EQ(keepVerdict({deg(10), deg(100), deg(190), deg(280)}), "Twisted Keep!");
    EXPECT_EQ(keepVerdict({deg(10), deg(190), deg(20), deg(200)}), "Straight Keep");
    // −60° counts as 300°: Épeòn and Kenôr side by side at 300° and 310°.
    EXPECT_EQ(keepVerdict({deg(-60), deg(100), deg(-50), deg(120)}), "Straight Keep");
    EXPECT_EQ(keepVerdict({deg(-60), deg(100), deg(170), deg(200)}), "Twisted Keep!");
}

TEST(Ascendant, StaysWithinOneTurn) {
    for (double t = 0; t < 3; t += 0.01) {
        const double ascendant = ascendantLongitude(t, 0.7, 0.2);
        ASSERT_GE(ascendant, 0.0);
        ASSERT_LT(ascendant, kTwoPi);
    }
}

}  // namespace
}  // namespace morvane
