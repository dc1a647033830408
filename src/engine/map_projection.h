#pragma once

// The projection of the Venarive map. The generator draws the picture with it, the place picker
// reads clicks off the picture with its inverse, and a test holds the committed picture to it:
// changing a value here moves every place on a picture drawn with the old one.
//
// Projection space is twice the picture's pixel grid, y downwards: pixel (px, py) covers x in
// [2px, 2px + 2) and y in [2py, 2py + 2).

#include <cmath>

namespace morvane::venarive {

/// The picture's size in pixels.
inline constexpr int kImageWidth = 2158;
inline constexpr int kImageHeight = 1633;

/// Where the equator and longitude 0 run, in projection units.
inline constexpr double kEquatorRow = 3194.0;
inline constexpr double kPrimeMeridianColumn = 1768.0;
/// Projection units per radian of latitude, and of longitude on the equator: elsewhere a degree
/// of longitude shrinks with the cosine of the latitude.
inline constexpr double kUnitsPerRadianLatitude = 2987.9749016072433;
inline constexpr double kUnitsPerRadianLongitude = 2992.1129301276324;

/// The charted region: 0 to 60 degrees north, 45 degrees either side of longitude 0 (radians).
inline constexpr double kMaxLatitude = 1.0471975511965976;
inline constexpr double kMaxLongitude = 0.7853981633974483;

/// Projection y of a latitude (radians, north positive).
inline double projectionY(double lat) { return kEquatorRow - lat * kUnitsPerRadianLatitude; }

/// Projection x of a place (radians, east positive).
inline double projectionX(double lat, double lon) {
    return kPrimeMeridianColumn + lon * std::cos(lat) * kUnitsPerRadianLongitude;
}

/// The latitude of a projection y.
inline double latitudeAt(double y) { return (kEquatorRow - y) / kUnitsPerRadianLatitude; }

/// The longitude of a projection x on the parallel of `lat`.
inline double longitudeAt(double x, double lat) {
    return (x - kPrimeMeridianColumn) / (std::cos(lat) * kUnitsPerRadianLongitude);
}

/// Whether a place lies in the charted region, the edges included; not a number is outside.
inline bool insideRegion(double lat, double lon) {
    return lat >= 0.0 && lat <= kMaxLatitude && lon <= kMaxLongitude && lon >= -kMaxLongitude;
}

}  // namespace morvane::venarive
