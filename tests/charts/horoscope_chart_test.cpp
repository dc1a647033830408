#include "charts/horoscope_chart.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/constants.h"
#include "well_formed.h"

namespace morvane {
namespace {

constexpr double kDefaultLatitude = 0.7068583470577035;
constexpr double kDefaultLongitude = -0.3647738136668149;

double deg(double degrees) { return degrees * kPi / 180.0; }

TEST(WheelBody, PlacesOnTheWheel) {
    EXPECT_EQ(drawWheelBody(Vec3D(0, 0), "", "yellow", 5.0),
              "<circle cx=\"180\" cy=\"0\" r=\"5.00\" fill=\"yellow\" />\n");
    EXPECT_EQ(drawWheelBody(Vec3D(kHalfPi, 0), "", "yellow", 5.0),
              "<circle cx=\"360\" cy=\"180\" r=\"5.00\" fill=\"yellow\" />\n");
    EXPECT_EQ(drawWheelBody(Vec3D(1.0, kHalfPi), "", "yellow", 5.0),
              "<circle cx=\"180\" cy=\"180\" r=\"5.00\" fill=\"yellow\" />\n");
    // South of the ecliptic: outside the rim, drawn all the same.
    EXPECT_EQ(drawWheelBody(Vec3D(0, -kHalfPi), "", "yellow", 1.0),
              "<circle cx=\"180\" cy=\"-180\" r=\"1.00\" fill=\"yellow\" />\n");
}

TEST(WheelBody, LabelsAlongTheRimOrBesideTheDisc) {
    EXPECT_EQ(
        drawWheelBody(Vec3D(deg(-60), 0), "Épeòn", "#407ff5", 1.0),
        "<circle cx=\"24\" cy=\"90\" r=\"1.00\" fill=\"#407ff5\" />\n"
        "<text fill=\"#407ff5\" font-family=\"Arial\" font-size=\"5\">\n"
        "<textPath xlink:href=\"#rim_inner\" startOffset=\"83.3%\">Épeòn</textPath></text>\n");
    EXPECT_NE(drawWheelBody(Vec3D(deg(90), deg(8)), "Aik", "#f4f4f3", 1.0).find("href=\"#rim\""),
              std::string::npos);
    EXPECT_NE(
        drawWheelBody(Vec3D(deg(90), deg(8)), "Aik", "#fef651", 1.0).find("href=\"#rim_inner\""),
        std::string::npos);
    const std::string north = drawWheelBody(Vec3D(deg(90), deg(10)), "Aik", "#f4f4f3", 1.0);
    EXPECT_EQ(north.find("textPath"), std::string::npos);
    EXPECT_NE(north.find("<text x=\"342.00\" y=\"179.00\"  fill=\"#f4f4f3\""), std::string::npos)
        << north;
    EXPECT_EQ(drawWheelBody(Vec3D(0, 0), "_AIK1", "#f4f4f3", 0.0), "");
}

TEST(WheelChord, EndsOnTheRim) {
    EXPECT_EQ(wheelChord("green", 0.0, kHalfPi),
              "<line x1=\"180\" y1=\"0\" x2=\"360\" y2=\"180\" stroke=\"green\" "
              "stroke-width=\"0.8\" />\n");
    // Two planets at one longitude: a chord of zero length, still written.
    EXPECT_EQ(wheelChord("blue", 1.0, 1.0),
              "<line x1=\"331\" y1=\"83\" x2=\"331\" y2=\"83\" stroke=\"blue\" "
              "stroke-width=\"0.8\" />\n");
}

TEST(Horoscope, ReferenceMomentAtTheDefaultPlace) {
    const std::string doc = horoscopeDocument(258840.0, kDefaultLatitude, kDefaultLongitude);
    EXPECT_TRUE(doc.starts_with(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "viewBox=\"-10 -10 720 380\" >\n<defs>\n"));
    EXPECT_NE(doc.find("font-size=\"6\">Sun HA: -20.5°   MC: 336.9°</text>\n"), std::string::npos);
    EXPECT_NE(doc.find("<circle cx=\"222\" cy=\"180\" r=\"99.0\" fill=\"none\" stroke=\"orange\" "
                       "stroke-weight=\"1\" />\n"),
              std::string::npos);
    EXPECT_NE(doc.find(">GEN</text>"), std::string::npos);
    EXPECT_NE(doc.find("<circle cx=\"180\" cy=\"180\" r=\"180\" fill=\"#727cbb\""),
              std::string::npos);
    EXPECT_EQ(doc.find("r=\"25\""), std::string::npos);  // no compass disc on the wheel
    EXPECT_TRUE(doc.ends_with("font-size=\"9\">Twisted Keep!</text>\n</svg>\n"));
    // Every chord, in order.
    std::size_t at = 0;
    for (const char* color : {"green", "orange", "purple", "yellow", "pink", "blue"}) {
        at = doc.find(std::string("stroke=\"") + color + "\" stroke-width=\"0.8\" />", at);
        ASSERT_NE(at, std::string::npos) << color;
    }
}

TEST(Horoscope, PoleCircleFollowsTheLatitude) {
    EXPECT_NE(horoscopeDocument(0.0, 0.0, 0.0).find("r=\"180.0\" fill=\"none\" stroke=\"orange\""),
              std::string::npos);
    EXPECT_EQ(
        horoscopeDocument(0.0, -0.3665191429188092, 0.0).find("stroke=\"orange\" stroke-weight"),
        std::string::npos);
    EXPECT_NE(horoscopeDocument(0.0, -0.36, 0.0).find("stroke=\"orange\" stroke-weight"),
              std::string::npos);
}

TEST(Horoscope, HourAngleCarriesItsSign) {
    // Ten hours later the sun has passed the meridian.
    const std::string doc = horoscopeDocument(258840.5, kDefaultLatitude, kDefaultLongitude);
    EXPECT_NE(doc.find("Sun HA: +"), std::string::npos);
}

TEST(Horoscope, WellFormedEverywhere) {
    testing::expectWellFormedEverywhere(23, horoscopeDocument);
}

}  // namespace
}  // namespace morvane
