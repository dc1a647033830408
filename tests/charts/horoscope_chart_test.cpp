// Two whole wheels (a northern and a southern place) are pinned byte for byte by the horoscope
// golden cases; these cases cover the bounds and signs they never reach.
#include "charts/horoscope_chart.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/constants.h"
#include "well_formed.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

double deg(double degrees) { return degrees * kPi / 180.0; }

// Up to 9° north of the ecliptic a label runs along the rim (white labels on the outer path),
// further north it stands beside its disc; a figure star without a disc draws nothing at all.
TEST(WheelBody, LabelsAlongTheRimOrBesideTheDisc) {
    EXPECT_EQ(drawWheelBody(Vec3D(0, 0), "_AIK1", "#f4f4f3", 0.0), "");
    EXPECT_THAT(drawWheelBody(Vec3D(deg(90), deg(8.9)), "Aik", "#f4f4f3", 1.0),
                HasSubstr("href=\"#rim\""));
    EXPECT_THAT(drawWheelBody(Vec3D(deg(90), deg(8.9)), "Aik", "#fef651", 1.0),
                HasSubstr("href=\"#rim_inner\""));
    const std::string north = drawWheelBody(Vec3D(deg(90), deg(10)), "Aik", "#f4f4f3", 1.0);
    EXPECT_THAT(north, Not(HasSubstr("textPath")));
    EXPECT_THAT(north, HasSubstr("<text x=\"342.00\" y=\"179.00\"  fill=\"#f4f4f3\""));
}

// The circle grows to 180 at the equator and is left out from −21° (the obliquity) south.
TEST(Horoscope, PoleCircleFollowsTheLatitude) {
    EXPECT_THAT(horoscopeDocument(0.0, 0.0, 0.0),
                HasSubstr("r=\"180.0\" fill=\"none\" stroke=\"orange\""));
    EXPECT_THAT(horoscopeDocument(0.0, -0.3665191429188092, 0.0),
                Not(HasSubstr("stroke=\"orange\" stroke-weight")));
    EXPECT_THAT(horoscopeDocument(0.0, -0.36, 0.0), HasSubstr("stroke=\"orange\" stroke-weight"));
}

TEST(Horoscope, HourAngleCarriesItsSign) {
    // Ten hours after the default moment the sun has passed the meridian.
    EXPECT_THAT(horoscopeDocument(258840.5, 0.7068583470577035, -0.3647738136668149),
                HasSubstr("Sun HA: +"));
}

TEST(Horoscope, WellFormedEverywhere) {
    testing::expectWellFormedEverywhere(23, horoscopeDocument);
}

}  // namespace
}  // namespace morvane
