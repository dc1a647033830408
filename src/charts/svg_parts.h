#pragma once

// Pieces the star map and the horoscope draw alike, character for character.

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/vec3d.h"

namespace morvane::svg {

/// How the root element is opened: the horoscope refers to its rim paths by name and so also
/// declares the xlink namespace.
enum class Links { none, xlink };

/// A whole document: the root element with `viewBox`, what `draw(out)` appends, the end tag.
/// `expectedSize` is reserved up front, since the documents are built by many small appends.
template <typename Draw>
std::string document(std::string_view viewBox, Links links, std::size_t expectedSize, Draw&& draw) {
    std::string out;
    out.reserve(expectedSize);
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" ";
    if (links == Links::xlink) out += "xmlns:xlink=\"http://www.w3.org/1999/xlink\" ";
    out += "viewBox=\"";
    out += viewBox;
    out += "\" >\n";
    draw(out);
    out += "</svg>\n";
    return out;
}

/// A point of the chart, unrounded.
struct Point {
    double x;
    double y;
};

/// 180 × k × sin φ and 180 × k × cos φ of the disc projection below, before they are added to
/// the centre: rounded positions round these, not the sums.
struct Offset {
    double east;
    double north;
};
Offset offset(double phi, double theta);

/// The disc projection shared by the star map (azimuth, altitude) and the wheel (ecliptic
/// longitude, latitude): k is 0 at the pole of the frame and 1 on its equator.
Point project(double phi, double theta);

/// The red rings of radius 135, 90 and 45, the two lines through the centre and the four
/// diagonal strokes.
void appendRings(std::string& out);

/// The moment (date label and local time) at y 8 and the place (latitude and longitude) at y 18.
void appendMomentAndPlace(std::string& out, double t, double latitude, double longitude);

/// "<line x1=…" up to the stroke colour, then `ending`; the four coordinates with one or two
/// decimals.
void appendLine(std::string& out, Point from, Point to, std::string_view color,
                std::string_view ending, int decimals);

/// Yael drawn with its phase at `moon`, lit towards `sun`, and its label in `labelColor`.
void appendYael(std::string& out, Point moon, Point sun, double moonLongitude, double sunLongitude,
                std::string_view labelColor);

/// The integer point of a direction: 180 + nearest(east), 180 − nearest(north).
struct IntPoint {
    long long x;
    long long y;
};
IntPoint roundedPoint(double phi, double theta);

/// A disc of the given radius at the integer point (x, y), as "<circle cx=… />".
void appendDisc(std::string& out, long long x, long long y, double radius, std::string_view color);

/// The label beside a disc (radius ≠ 0) or centred on the point (radius 0).
void appendLabel(std::string& out, long long x, long long y, double radius, std::string_view name,
                 std::string_view color);

/// The nearest integer, halves away from zero.
long long nearest(double value);

/// Magnitude to disc radius: labels (magnitude 0 or less) get none, faint stars a floor.
double starRadius(double magnitude);

/// Sign marks are drawn as ticks, never as stars: "_" and a last character that is not a digit.
bool isSignMark(std::string_view name);

}  // namespace morvane::svg
