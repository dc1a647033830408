#include "charts/horoscope_reading.h"

#include <gtest/gtest.h>

#include "engine/constants.h"

namespace morvane {
namespace {

constexpr double kDefaultLatitude = 0.7068583470577035;
constexpr double kDefaultLongitude = -0.3647738136668149;

double deg(double degrees) { return degrees * kPi / 180.0; }

TEST(InfluenceSeparation, UnitsAndWords) {
    EXPECT_NEAR(influenceSeparation(deg(350), deg(10)), 11.11, 0.005);  // 20° across 0°
    EXPECT_EQ(influenceStrength(deg(350), deg(10)), "Feeble");
    EXPECT_DOUBLE_EQ(influenceSeparation(0.0, kPi), 100.0);
    EXPECT_EQ(influenceStrength(0.0, kPi), "Exceptional");
    EXPECT_EQ(influenceSeparation(1.0, 1.0), 0.0);
    EXPECT_EQ(influenceStrength(1.0, 1.0), "Impotent");
    EXPECT_NEAR(influenceSeparation(deg(-170), deg(170)), 11.11, 0.005);
    EXPECT_NEAR(influenceSeparation(deg(1000), 0.0), 44.44, 0.005);  // 280° is 80° the other way
}

TEST(InfluenceSeparation, BoundsAreStrict) {
    // 5 units exactly: 2π × 5 / 200.
    const double fiveUnits = 0.15707963267948966;
    ASSERT_EQ(influenceSeparation(fiveUnits, 0.0), 5.0);
    EXPECT_EQ(influenceStrength(fiveUnits, 0.0), "Impotent");
    EXPECT_EQ(influenceStrength(fiveUnits * 1.001, 0.0), "Feeble");
    const double units75 = 75.0 * 6.283185307179586 / 200.0;
    ASSERT_EQ(influenceSeparation(units75, 0.0), 75.0);
    EXPECT_EQ(influenceStrength(units75, 0.0), "Strong");
    EXPECT_EQ(influenceStrength(deg(16 * 1.8), 0.0), "Weak");
    EXPECT_EQ(influenceStrength(deg(31 * 1.8), 0.0), "Neutral");
}

TEST(FateOrWill, TwentyUnitBand) {
    const double sun = deg(0);
    const double moon = deg(180);
    EXPECT_EQ(fateOrWill(deg(90), sun, moon), "BALANCED");         // equally far
    EXPECT_EQ(fateOrWill(deg(90 + 17.9), sun, moon), "BALANCED");  // 19.9 units apart
    EXPECT_EQ(fateOrWill(deg(90 + 18.1), sun, moon), "YAEL (Fate)");
    EXPECT_EQ(fateOrWill(deg(90 - 18.1), sun, moon), "NOLOMAR (Will)");
}

TEST(Power, ThreeDegreeBand) {
    const double band = 0.05235987755982988;
    EXPECT_EQ(powerSentence(band), "BALANCED.  Fate and Will are equal in Morvane.");
    EXPECT_EQ(powerSentence(band * 1.0001), "SUPERIOR.  The Fates hold sway over Morvane.");
    EXPECT_EQ(powerSentence(-band), "INFERIOR.  Will can overcome Fate across Morvane.");
    EXPECT_EQ(powerSentence(0.0), "BALANCED.  Fate and Will are equal in Morvane.");
}

TEST(Keep, ChordsCrossingOrNot) {
    EXPECT_EQ(keepVerdict({deg(10), deg(100), deg(190), deg(280)}), "Twisted Keep!");
    EXPECT_EQ(keepVerdict({deg(10), deg(190), deg(20), deg(200)}), "Straight Keep");
    // −60° counts as 300°: Épeòn and Kenôr side by side at 300° and 310°.
    EXPECT_EQ(keepVerdict({deg(-60), deg(100), deg(-50), deg(120)}), "Straight Keep");
    EXPECT_EQ(keepVerdict({deg(-60), deg(100), deg(170), deg(200)}), "Twisted Keep!");
}

TEST(Ascendant, RangeAndOppositeSign) {
    for (double t = 0; t < 3; t += 0.01) {
        const double ascendant = ascendantLongitude(t, 0.7, 0.2);
        ASSERT_GE(ascendant, 0.0);
        ASSERT_LT(ascendant, kTwoPi);
    }
}

TEST(Reading, ReferenceMomentAtTheDefaultPlace) {
    const HoroscopeReading reading =
        HoroscopeReading::at(258840.0, kDefaultLatitude, kDefaultLongitude);
    EXPECT_NEAR(reading.ascendant * kDegreesPerRadian, 87.6, 0.05);
    EXPECT_NEAR(reading.moonLatitude * kDegreesPerRadian, 2.65, 0.005);
    const double expected[] = {325.7, 303.5, 141.25, 79.4};
    for (int i = 0; i < 4; ++i) {
        double x = reading.planets[i] * kDegreesPerRadian;
        if (x < 0) x += 360;
        EXPECT_NEAR(x, expected[i], 0.06) << i;
    }

    const std::string legend = horoscopeLegend(reading);
    const auto text = [](int x, int y, const std::string& content) {
        return "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
               "\" fill=\"#757475\" font-family=\"Arial\" font-size=\"6\">" + content + "</text>\n";
    };
    EXPECT_TRUE(legend.starts_with(text(400, 0, "Nolomar Influence (Character)") +
                                   text(410, 10, "House: Ládo (Culmination, Returning)") +
                                   text(400, 50, "Yaelar Influence (Fate)")));
    EXPECT_NE(legend.find(text(410, 70, "Power: BALANCED.  Fate and Will are equal in Morvane.")),
              std::string::npos);
    for (int y : {110, 120, 130, 140}) {
        EXPECT_NE(legend.find(text(650, y, "BALANCED")), std::string::npos) << y;
    }
    EXPECT_NE(legend.find(text(410, 110, "Epeon (Inspiration)") +
                          text(500, 110, "Masâra (Pleasure, Maternity)")),
              std::string::npos);
    EXPECT_NE(legend.find("<circle cx=\"405\" cy=\"107\" r=\"3\" fill=\"blue\" />\n"),
              std::string::npos);
    const char* elements[] = {"Strong",      "Exceptional", "Feeble",
                              "Exceptional", "Exceptional", "Neutral"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_NE(legend.find(text(640, 210 + 10 * i, elements[i])), std::string::npos) << i;
    }
    EXPECT_NE(legend.find("<line x1=\"402\" y1=\"206\" x2=\"408\" y2=\"206\" stroke=\"purple\" "
                          "stroke-width=\"1\" />\n"),
              std::string::npos);
    EXPECT_NE(legend.find(text(410, 300, "Dominant Sphere: BALANCED")), std::string::npos);
    EXPECT_NE(legend.find(text(410, 330, "EPEON (Inspiration) - Strong") +
                          text(410, 340, "ALARAN (Energy) - Exceptional") +
                          text(410, 350, "KENOR (Endurance) - Weak") +
                          text(410, 360, "MERGUS (Wisdom) - Impotent")),
              std::string::npos);
    // The verdict comes last, in the larger size.
    EXPECT_TRUE(
        legend.ends_with("<text x=\"400\" y=\"170\" fill=\"#757475\" font-family=\"Arial\" "
                         "font-size=\"9\">Twisted Keep!</text>\n"));
    // Ascending and descending signs are opposite.
    EXPECT_NE(legend.find(text(410, 310, "Ascending Sign (Purpose): Fenéri (Enterprise)")),
              std::string::npos);
    EXPECT_NE(
        legend.find(text(410, 320, "Descending Sign (Displacement): Tái (Knowledge, Mystery)")),
        std::string::npos);
}

}  // namespace
}  // namespace morvane
