#include "charts/star_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <regex>

#include "charts/svg_parts.h"
#include "engine/constants.h"
#include "engine/positions.h"
#include "engine/sun_moon.h"
#include "well_formed.h"

namespace morvane {
namespace {

constexpr double kDefaultLatitude = 0.7068583470577035;
constexpr double kDefaultLongitude = -0.3647738136668149;

std::size_t count(const std::string& text, const std::string& piece) {
    std::size_t n = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

TEST(DrawBody, PlacesOnTheDisc) {
    EXPECT_EQ(drawBody(Vec3D(0.0, kHalfPi), "", "#fff", 1.0),
              "<circle cx=\"180\" cy=\"180\" r=\"1.00\" fill=\"#fff\" />\n");  // zenith
    EXPECT_EQ(drawBody(Vec3D(0.0, 0.0), "", "#fff", 1.0),
              "<circle cx=\"180\" cy=\"0\" r=\"1.00\" fill=\"#fff\" />\n");  // south, on the rim
    EXPECT_EQ(drawBody(Vec3D(kHalfPi, 0.0), "", "#fff", 1.0),
              "<circle cx=\"360\" cy=\"180\" r=\"1.00\" fill=\"#fff\" />\n");  // west
    EXPECT_EQ(drawBody(Vec3D(0.3, -0.0001), "Kenôr", "#fff", 3.0), "");
    EXPECT_EQ(drawBody(Vec3D(0.3, std::nan("")), "Kenôr", "#fff", 3.0), "");
}

TEST(DrawBody, LabelForms) {
    EXPECT_EQ(drawBody(Vec3D(0.0, kHalfPi), "Kenôr", "#e98739", 3.0),
              "<circle cx=\"180\" cy=\"180\" r=\"3.00\" fill=\"#e98739\" />\n"
              "<text x=\"186.00\" y=\"177.00\"  fill=\"#e98739\"  font-family=\"Arial\" "
              "font-size=\"5\">Kenôr</text>\n");
    // A label entry (magnitude 0) has no disc and is centred on its point.
    EXPECT_EQ(drawBody(Vec3D(0.0, kHalfPi), "Aik", "#fef651", 0.0),
              "<text x=\"180\" y=\"180\"  fill=\"#fef651\"  font-family=\"Arial\" font-size=\"5\" "
              "text-anchor=\"middle\">Aik</text>\n");
    EXPECT_EQ(drawBody(Vec3D(0.0, kHalfPi), "_TAI1", "#f4f4f3", 1.0),
              "<circle cx=\"180\" cy=\"180\" r=\"1.00\" fill=\"#f4f4f3\" />\n");
    EXPECT_EQ(drawBody(Vec3D(0.0, kHalfPi), "_LADO", "#f4f4f3", 0.0), "");
}

TEST(DrawBody, MagnitudeToRadius) {
    EXPECT_EQ(svg::starRadius(0.0), 0.0);
    EXPECT_EQ(svg::starRadius(-1.0), 0.0);
    EXPECT_DOUBLE_EQ(svg::starRadius(1.0), 1.7);
    EXPECT_EQ(svg::starRadius(10.0), 0.4);
    EXPECT_TRUE(svg::isSignMark("_LADO"));
    EXPECT_FALSE(svg::isSignMark("_LADO1"));
    EXPECT_FALSE(svg::isSignMark("Ládo"));
}

TEST(YaelPhase, LitSideFollowsTheElongation) {
    std::string newMoon;
    svg::appendYael(newMoon, {100, 100}, {200, 100}, 1.0, 1.0, "white");
    EXPECT_EQ(newMoon,
              "<g transform=\"rotate(0.00, 100.00, 100.00)\">\n"
              "<circle cx=\"100.00\" cy=\"100.00\" r=\"5.00\" fill=\"#3a3a3a\" />\n"
              "<path d=\"M 100.00,95.00 A 5.00,5.00 0 0,1 100.00,105.00 A 5.00,5.00 0 0,0 "
              "100.00,95.00 Z\" fill=\"white\" />\n"
              "</g>\n"
              "<text x=\"110.00\" y=\"95.00\"  fill=\"white\"  font-family=\"Arial\" "
              "font-size=\"5\">YAEL</text>\n");
    std::string full;
    svg::appendYael(full, {100, 100}, {100, 200}, 1.0 + kPi, 1.0, "gray");
    EXPECT_NE(full.find("rotate(90.00, "), std::string::npos) << full;  // towards the sun below
    EXPECT_NE(full.find("A 5.00,5.00 0 0,1 100.00,95.00 Z"), std::string::npos) << full;
    EXPECT_NE(full.find("fill=\"gray\""), std::string::npos);
    // Waning and waxing by the same angle look the same.
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

TEST(StarMap, FixedPartsAndOrder) {
    const std::string doc = starMapDocument(258840.0, kDefaultLatitude, kDefaultLongitude);
    EXPECT_TRUE(
        doc.starts_with("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 360 360\" >\n"
                        "<circle cx=\"180\" cy=\"180\" r=\"180\" fill=\"#210741\" />\n"
                        "<circle cx=\"180\" cy=\"180\" r=\"135\" fill=\"none\" stroke=\"red\" "
                        "stroke-width=\"0.3\" />\n"));
    EXPECT_TRUE(doc.ends_with("</svg>\n"));
    EXPECT_NE(doc.find("<circle cx=\"335\" cy=\"25\" r=\"25\" fill=\"#210741\" />\n"
                       "<text x=\"335\" y=\"12\" fill=\"#757475\" font-family=\"Arial\" "
                       "font-size=\"10\" text-anchor=\"middle\">S</text>\n"),
              std::string::npos);
    EXPECT_NE(doc.find("font-size=\"6\">\n720-01-01 12:00 OST  (local 10:38)\n</text>\n"),
              std::string::npos);
    EXPECT_NE(doc.find("font-size=\"6\">\nLat:  040:30:00  Long: -020:54:00\n</text>\n"),
              std::string::npos);
    // Ecliptic, ticks, figures, stars, sun, planets: each group after the one before.
    const auto ecliptic = doc.find("stroke=\"#4af2a1\" stroke-width=\"0.4\"");
    const auto tick = doc.find("stroke=\"#4af2a1\" stroke-width=\"0.8\"");
    const auto figure = doc.find("stroke=\"#eaeae9\"");
    const auto star = doc.find("fill=\"#adadad\"");
    const auto sun = doc.find("fill=\"#f1c536\"");
    const auto mergus = doc.find(">Mêrgus<");  // Kenôr is below the horizon
    ASSERT_NE(mergus, std::string::npos);
    EXPECT_LT(ecliptic, tick);
    EXPECT_LT(tick, figure);
    EXPECT_LT(figure, star);
    EXPECT_LT(star, sun);
    EXPECT_LT(sun, mergus);
    EXPECT_EQ(count(doc, "fill=\"#f1c536\""), 1u);  // Nolomar is up at noon
}

TEST(StarMap, YaelOnlyAboveTheHorizon) {
    const std::string up =
        starMapDocument(momentWithMoon(true), kDefaultLatitude, kDefaultLongitude);
    EXPECT_EQ(count(up, "<g "), 1u);
    EXPECT_EQ(count(up, ">YAEL<"), 1u);
    const std::string down =
        starMapDocument(momentWithMoon(false), kDefaultLatitude, kDefaultLongitude);
    EXPECT_EQ(down.find("<g"), std::string::npos);
    EXPECT_EQ(down.find("YAEL"), std::string::npos);
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

TEST(StarMap, SameInputsSameBytes) {
    EXPECT_EQ(starMapDocument(300000.125, -0.5, 2.0), starMapDocument(300000.125, -0.5, 2.0));
}

}  // namespace
}  // namespace morvane
