#include "engine/positions.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/calendar.h"
#include "engine/constants.h"

namespace morvane {
namespace {

constexpr double kLatitude40 = 40.0 * kPi / 180.0;

void expectRow(const BodyPosition& row, const char* azimuth, const char* altitude,
               const char* ecLong, const char* sign) {
    EXPECT_EQ(row.azimuth, azimuth) << row.name;
    EXPECT_EQ(row.altitude, altitude) << row.name;
    EXPECT_EQ(row.ecLong, ecLong) << row.name;
    EXPECT_EQ(row.sign, sign) << row.name;
}

TEST(PositionsList, RowsAtTheEpoch) {
    const auto rows = positionsList(0.0, kLatitude40, 0.0);
    ASSERT_EQ(rows.size(), 6u);
    expectRow(rows[0], "    :43", " 049:49", " 359:30", "Ládo       ");
    expectRow(rows[2], " 354:44", " 051:09", " 003:32", "Ùlándus    ");
    expectRow(rows[4], " 170:34", "-051:52", "-173:47", "Hîrin      ");
}

TEST(PositionsList, SunAQuarterDayAfterDayOneHundred) {
    expectRow(positionsList(100.25, kLatitude40, 0.0)[0], " 106:01", " 013:15", " 099:45",
              "Áhnù       ");
}

TEST(PositionsList, BodiesInOrderWithTheirKindsAndColours) {
    const auto rows = positionsList(258840.0, 0.7, -0.3);
    const char* names[] = {"Nolomar", "Yael", "Épeòn", "Álaran", "Kenôr", "Mêrgus"};
    const char* types[] = {"Sun", "Moon", "Terrestrial", "Terrestrial", "Gas Giant", "Gas Giant"};
    const char* colors[] = {"yellow", "white", "blue", "red", "orange", "purple"};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].name, names[i]);
        EXPECT_EQ(rows[i].bodyType, types[i]);
        EXPECT_EQ(rows[i].color, colors[i]);
        EXPECT_EQ(rows[i].azimuth.size(), 7u);
        EXPECT_EQ(rows[i].altitude.size(), 7u);
        EXPECT_EQ(rows[i].ecLong.size(), 7u);
    }
}

TEST(PositionsList, EveryCallMakesNewIdsForEqualContents) {
    const auto first = positionsList(100.0, 0.5, 0.5);
    const auto second = positionsList(100.0, 0.5, 0.5);
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_NE(first[i].id, second[i].id);
        EXPECT_EQ(first[i].azimuth, second[i].azimuth);
        EXPECT_EQ(first[i].sign, second[i].sign);
        EXPECT_EQ(first[i].id.toString().size(), 36u);
        EXPECT_EQ(first[i].id.toString()[14], '4');  // version 4
    }
}

TEST(HorizonCoordinates, MeridianZenithAndWest) {
    const double t = 1234.5;
    const double latitude = 0.6;
    const double longitude = -0.4;
    const double meridian = localSiderealAngle(t, longitude);  // hour angle 0

    const Vec3D zenith = horizonCoordinates(Vec3D(meridian, latitude), t, latitude, longitude);
    EXPECT_NEAR(zenith.theta, kHalfPi, 1e-12);

    const Vec3D south = horizonCoordinates(Vec3D(meridian, latitude - 0.5), t, latitude, longitude);
    EXPECT_NEAR(south.phi, 0.0, 1e-12);
    EXPECT_NEAR(south.theta, kHalfPi - 0.5, 1e-12);

    // At the equator a point on the celestial equator six hours west stands due west.
    const double meridian0 = localSiderealAngle(t, 0.0);
    const Vec3D west = horizonCoordinates(Vec3D(meridian0 - kHalfPi, 0.0), t, 0.0, 0.0);
    EXPECT_NEAR(west.phi, kHalfPi, 1e-12);
    EXPECT_NEAR(west.theta, 0.0, 1e-12);
}

TEST(HorizonCoordinates, AltitudeIsBoundedAndAzimuthInOneTurn) {
    std::mt19937 random(2);
    std::uniform_real_distribution<double> any(-10.0, 10.0), latitude(-kHalfPi, kHalfPi);
    for (int i = 0; i < 2000; ++i) {
        const Vec3D h = horizonCoordinates(Vec3D(any(random), latitude(random)), any(random) * 100,
                                           latitude(random), any(random));
        ASSERT_GE(h.phi, 0.0);
        ASSERT_LT(h.phi, kTwoPi);
        ASSERT_LE(std::fabs(h.theta), kHalfPi);
    }
}

}  // namespace
}  // namespace morvane
