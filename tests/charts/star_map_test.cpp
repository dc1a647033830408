// Two whole maps (noon and night, Yael up in both) are pinned byte for byte by the starmap
// golden cases; these cases cover the horizon, the poles and the moon below the horizon.
#include "charts/star_map.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "charts/svg_parts.h"
#include "engine/constants.h"
#include "engine/positions.h"
#include "engine/sun_moon.h"
#include "well_formed.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr double kDefaultLatitude = 0.7068583470577035;
constexpr double kDefaultLongitude = -0.3647738136668149;

std::size_t count(const std::string& text, const std::string& piece) {
    std::size_t n = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

// On the horizon a body is drawn, on the rim; just below it, or at a direction that is not a
// number, it is not. A star of no magnitude (a label) or of a negative one gets no disc.
TEST(DrawBody, EdgesOfTheDiscAndOfTheMagnitudeScale) {
    EXPECT_EQ(drawBody(Vec3D(0.3, 0.0), "", "#fff", 1.0),
              "<circle cx=\"233\" cy=\"8\" r=\"1.00\" fill=\"#fff\" />\n");
    EXPECT_EQ(drawBody(Vec3D(0.3, -0.0001), "Kenôr", "#fff", 3.0), "");
    EXPECT_EQ(drawBody(Vec3D(0.3, std::nan("")), "Kenôr", "#fff", 3.0), "");
    EXPECT_EQ(svg::starRadius(0.0), 0.0);
    EXPECT_EQ(svg::starRadius(-1.0), 0.0);
    EXPECT_FALSE(svg::isSignMark("_"));
}

// Crescents and gibbous phases in both senses are pinned by the golden maps and wheels; waning
// and waxing by the same angle must look the same whatever turns the longitudes carry.
TEST(YaelPhase, WaningAndWaxingByOneAngleLookTheSame) {
    std::string waxing, waning;
    svg::appendYael(waxing, {100, 100}, {0, 100}, 2.0, 0.5, "white");
    svg::appendYael(waning, {100, 100}, {0, 100}, 0.5 + kTwoPi - 1.5, 0.5, "white");
    EXPECT_EQ(waxing, waning);
}

// A moment at the default place with Yael above (or below) the horizon.
double momentWithMoon(bool above) {
    for (double t = 258840.0;; t += 0.05) {
        const double altitude =
            horizonCoordinates(Moon(t).eq, t, kDefaultLatitude, kDefaultLongitude).theta;
        if ((altitude > 0.1) == above && std::fabs(altitude) > 0.1) return t;
    }
}

TEST(StarMap, YaelOnlyAboveTheHorizon) {
    const std::string up =
        starMapDocument(momentWithMoon(true), kDefaultLatitude, kDefaultLongitude);
    EXPECT_EQ(count(up, "<g "), 1u);
    EXPECT_EQ(count(up, ">YAEL<"), 1u);
    const std::string down =
        starMapDocument(momentWithMoon(false), kDefaultLatitude, kDefaultLongitude);
    EXPECT_THAT(down, Not(HasSubstr("<g")));
    EXPECT_THAT(down, Not(HasSubstr("YAEL")));
}

TEST(StarMap, EclipticSegmentsNeverCrossTheGapBelowTheHorizon) {
    const std::regex segment(
        "<line x1=\"([-0-9.]+)\" y1=\"([-0-9.]+)\" x2=\"([-0-9.]+)\" y2=\"([-0-9.]+)\" "
        "stroke=\"#4af2a1\" stroke-width=\"0.4\"");
    for (double latitude : {kHalfPi, -kHalfPi, 0.0, 1.2}) {
        for (double t : {258840.0, 258840.3, 258977.7}) {
            const std::string doc = starMapDocument(t, latitude, 0.4);
            int segments = 0;
            for (std::sregex_iterator it(doc.begin(), doc.end(), segment), end; it != end; ++it) {
                ++segments;
                for (int end = 1; end <= 3; end += 2) {
                    const double x = std::stod((*it)[end]) - 180.0;
                    const double y = std::stod((*it)[end + 1]) - 180.0;
                    EXPECT_LE(std::sqrt(x * x + y * y), 180.01) << latitude << " " << t;
                }
                // Neighbouring points of the ecliptic one degree apart are close together.
                const double dx = std::stod((*it)[3]) - std::stod((*it)[1]);
                const double dy = std::stod((*it)[4]) - std::stod((*it)[2]);
                EXPECT_LT(std::sqrt(dx * dx + dy * dy), 8.0) << latitude << " " << t;
            }
            // Half the ecliptic is always above the horizon, give or take a degree.
            EXPECT_GE(segments, 170) << latitude << " " << t;
            EXPECT_LE(segments, 190) << latitude << " " << t;
        }
    }
}

TEST(StarMap, WellFormedEverywhere) { testing::expectWellFormedEverywhere(17, starMapDocument); }

}  // namespace
}  // namespace morvane
