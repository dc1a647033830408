// The app turns a click on the Venarive map into a latitude and longitude with the inverse of
// the map's projection. These tests hold the committed picture to that projection: the
// graticule must sit where the projection puts the round degrees, the built-in places must
// stand on land, and the area outside the charted region must be the faded one.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/constants.h"
#include "engine/map_projection.h"

namespace {

using morvane::kPi;
using namespace morvane::venarive;

double radians(double degrees) { return morvane::degreesToRadians(degrees); }
double degrees(double radians) { return radians * 180.0 / kPi; }

const QImage& venarive() {
    static const QImage image =
        QImage(QStringLiteral(VENARIVE_PNG)).convertToFormat(QImage::Format_RGB32);
    return image;
}

struct Pixel {
    int x, y;
};

// Projection space is twice the pixel grid: pixel px covers x in [2px, 2px + 2).
Pixel pixelOf(double latDeg, double lonDeg) {
    const double lat = radians(latDeg);
    const double x = projectionX(lat, radians(lonDeg));
    const double y = projectionY(lat);
    return {static_cast<int>(std::floor(x / 2.0)), static_cast<int>(std::floor(y / 2.0))};
}

// A meridian crosses each pixel row once; the generator and the app both take the row's centre
// as its latitude, so the pixel on a meridian is found from the row, not from the latitude.
Pixel pixelOnMeridian(double latDeg, double lonDeg) {
    const int row = pixelOf(latDeg, 0.0).y;
    const double rowLat = latitudeAt(2.0 * (row + 0.5));
    const double x = projectionX(rowLat, radians(lonDeg));
    return {static_cast<int>(std::floor(x / 2.0)), row};
}

double latDegOf(Pixel p) { return degrees(latitudeAt(2.0 * (p.y + 0.5))); }
double lonDegOf(Pixel p) {
    return degrees(longitudeAt(2.0 * (p.x + 0.5), latitudeAt(2.0 * (p.y + 0.5))));
}

// Half a pixel, in degrees, along each axis at a given latitude.
double halfPixelLatDeg() { return degrees(1.0 / kUnitsPerRadianLatitude); }
double halfPixelLonDeg(double latDeg) {
    return degrees(1.0 / (std::cos(radians(latDeg)) * kUnitsPerRadianLongitude));
}

bool inImage(Pixel p) { return p.x >= 0 && p.x < kImageWidth && p.y >= 0 && p.y < kImageHeight; }

QRgb at(Pixel p) { return venarive().pixel(p.x, p.y); }

bool isGraticule(QRgb c) {
    return std::abs(qRed(c) - 78) <= 2 && std::abs(qGreen(c) - 104) <= 2 &&
           std::abs(qBlue(c) - 150) <= 2;
}

bool graticuleWithin(Pixel p, int radius) {
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            const Pixel q{p.x + dx, p.y + dy};
            if (inImage(q) && isGraticule(at(q))) return true;
        }
    }
    return false;
}

// Every sea tint is clearly bluer than it is red; land runs from green to ochre to near-white
// snow, where red always matches or beats blue.
bool isSea(QRgb c) { return qBlue(c) > qRed(c) + 20; }

double saturation(QRgb c) {
    const int hi = std::max({qRed(c), qGreen(c), qBlue(c)});
    const int lo = std::min({qRed(c), qGreen(c), qBlue(c)});
    return hi == 0 ? 0.0 : double(hi - lo) / hi;
}

struct Place {
    const char* name;
    double latDeg, lonDeg;
    bool labelOnLeft;
};

const Place kPlaces[] = {
    {"Cherafir", 40.5, -20.9, false}, {"Berema", 37.7, -16.4, false},
    {"Lysara", 27.4, 3.3, false},     {"Meokolis", 34.5, 11.1, false},
    {"Manquided", 11.5, 25.3, false}, {"Hacherdad", 21.9, 33.9, false},
    {"Inri", 13.4, 8.8, false},       {"Tengela", 32.1, -4.7, false},
    {"Chelemby", 44.4, -12.2, false}, {"Tarkain", 31.0, -16.3, false},
    {"Isynen", 24.4, -19.7, false},   {"Livelis", 23.3, 26.7, true},
    {"Goris", 21.0, 5.1, false},
};

TEST(Venarive, HasTheSizeTheProjectionAssumes) {
    ASSERT_FALSE(venarive().isNull()) << "cannot read " << VENARIVE_PNG;
    EXPECT_EQ(venarive().width(), kImageWidth);
    EXPECT_EQ(venarive().height(), kImageHeight);
}

TEST(Venarive, GraticuleLiesOnTheRoundDegreesAndNowhereElse) {
    const auto where = [](int lat, int lon) {
        return std::to_string(lat) + "N " + std::to_string(lon) + "E";
    };
    // Along a parallel only the latitude is round; the row's centre shifts the longitude by a
    // fraction of a pixel.
    for (int lat = 10; lat <= 50; lat += 10) {
        for (int lon = -25; lon <= 35; lon += 10) {
            const Pixel p = pixelOf(lat, lon);
            ASSERT_TRUE(inImage(p)) << where(lat, lon);
            EXPECT_TRUE(graticuleWithin(p, 1)) << "no parallel near " << where(lat, lon);
            EXPECT_NEAR(latDegOf(p), lat, halfPixelLatDeg()) << where(lat, lon);
            EXPECT_NEAR(lonDegOf(p), lon, 2.0 * halfPixelLonDeg(lat)) << where(lat, lon);
        }
    }
    // A meridian on a pixel boundary reads back exactly half a pixel off. The centres of the
    // 10° cells must be clear: a graticule in the wrong place, or a picture tinted all over in
    // its colour, would mark some of them.
    int meridians = 0;
    for (int lat = 5; lat <= 55; lat += 10) {
        for (int lon = -40; lon <= 40; lon += 10) {
            const Pixel cell = pixelOf(lat, lon + 5);
            if (lon < 40 && inImage(cell)) {
                EXPECT_FALSE(graticuleWithin(cell, 2)) << where(lat, lon + 5);
            }
            const Pixel p = pixelOnMeridian(lat, lon);
            if (!inImage(p)) continue;  // the far west of the low latitudes runs off the picture
            ++meridians;
            EXPECT_TRUE(graticuleWithin(p, 1)) << "no meridian near " << where(lat, lon);
            EXPECT_NEAR(latDegOf(p), lat, halfPixelLatDeg()) << where(lat, lon);
            EXPECT_NEAR(lonDegOf(p), lon, halfPixelLonDeg(latDegOf(p)) + 1e-9) << where(lat, lon);
        }
    }
    EXPECT_EQ(meridians, 51);  // 9 meridians at 6 latitudes, less 40°W south of about 32°N
}

TEST(Venarive, OpenSeaReadsAsSea) {
    // Without this the land test below could pass on a picture that is land everywhere.
    for (const auto& [lat, lon] :
         std::vector<std::pair<double, double>>{{5, -25}, {55, -35}, {5, 38}, {48, 35}}) {
        EXPECT_TRUE(isSea(at(pixelOf(lat, lon)))) << lat << "N " << lon << "E";
    }
}

TEST(Venarive, EveryPlaceStandsOnLand) {
    for (const Place& place : kPlaces) {
        const Pixel centre = pixelOf(place.latDeg, place.lonDeg);
        ASSERT_TRUE(inImage(centre)) << place.name;
        // The marker covers the ground at the place itself, and the name covers one side; look at
        // a ring just outside the marker on the other three sides.
        int land = 0, sampled = 0;
        for (int step = 0; step < 48; ++step) {
            const double angle = 2.0 * kPi * step / 48.0;
            const double dx = std::cos(angle), dy = std::sin(angle);
            if (place.labelOnLeft ? dx < -0.5 : dx > 0.5) continue;  // towards the label
            for (double r : {11.0, 14.0}) {
                const Pixel p{centre.x + static_cast<int>(std::lround(r * dx)),
                              centre.y + static_cast<int>(std::lround(r * dy))};
                if (isGraticule(at(p))) continue;
                ++sampled;
                if (!isSea(at(p))) ++land;
            }
        }
        ASSERT_GT(sampled, 40) << place.name;
        EXPECT_EQ(land, sampled) << place.name << " has sea beside it";
    }
}

TEST(Venarive, OutsideTheRegionIsFaded) {
    // Pairs of pixels two degrees either side of the region's east and west edges.
    double inside = 0.0, outside = 0.0;
    const auto compare = [&](double lat, double lonIn, double lonOut) {
        const Pixel in = pixelOf(lat, lonIn), out = pixelOf(lat, lonOut);
        ASSERT_TRUE(inImage(in) && inImage(out)) << lat;
        inside += saturation(at(in));
        outside += saturation(at(out));
    };
    for (double lat : {5.0, 15.0, 25.0, 35.0, 45.0, 55.0}) compare(lat, 43.0, 47.0);
    for (double lat : {44.0, 46.0, 48.0, 55.0, 57.0}) compare(lat, -43.0, -47.0);
    EXPECT_LT(outside, 0.6 * inside);
}

}  // namespace
