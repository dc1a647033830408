#include "charts/svg_parts.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/arc.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/vec3d.h"

namespace morvane::svg {

namespace {
constexpr const char* kGrey = "#757475";
}  // namespace

Offset offset(double phi, double theta) {
    const double k = (kHalfPi - theta) * kTwoOverPi;
    return {180.0 * k * std::sin(phi), 180.0 * k * std::cos(phi)};
}

Point project(double phi, double theta) {
    const Offset o = offset(phi, theta);
    return {180.0 + o.east, 180.0 - o.north};
}

IntPoint roundedPoint(double phi, double theta) {
    const Offset o = offset(phi, theta);
    return {180 + nearest(o.east), 180 - nearest(o.north)};
}

void appendRings(std::string& out) {
    out +=
        "<circle cx=\"180\" cy=\"180\" r=\"135\" fill=\"none\" stroke=\"red\" stroke-width=\"0.3\" "
        "/>\n"
        "<circle cx=\"180\" cy=\"180\" r=\"90\" fill=\"none\" stroke=\"red\" stroke-width=\"0.3\" "
        "/>\n"
        "<circle cx=\"180\" cy=\"180\" r=\"45\" fill=\"none\" stroke=\"red\" stroke-width=\"0.3\" "
        "/>\n"
        "<line x1=\"0\" y1=\"180\" x2=\"360\" y2=\"180\" stroke=\"red\" stroke-width=\"0.3\" />\n"
        "<line x1=\"180\" y1=\"0\" x2=\"180\" y2=\"360\" stroke=\"red\" stroke-width=\"0.3\" />\n"
        "<line x1=\"52.7\" y1=\"52.7\" x2=\"116.4\" y2=\"116.4\" stroke=\"red\" "
        "stroke-width=\"0.3\" />\n"
        "<line x1=\"52.7\" y1=\"307.3\" x2=\"116.4\" y2=\"243.6\" stroke=\"red\" "
        "stroke-width=\"0.3\" />\n"
        "<line x1=\"307.3\" y1=\"52.7\" x2=\"243.6\" y2=\"116.4\" stroke=\"red\" "
        "stroke-width=\"0.3\" />\n"
        "<line x1=\"307.3\" y1=\"307.3\" x2=\"243.6\" y2=\"243.6\" stroke=\"red\" "
        "stroke-width=\"0.3\" />\n";
}

void appendMomentAndPlace(std::string& out, double t, double latitude, double longitude) {
    auto it = std::back_inserter(out);
    fmt::format_to(
        it,
        FMT_COMPILE("<text x=\"0\" y=\"8\" fill=\"{0}\" font-family=\"Arial\" font-size=\"6\">\n"
                    "{1}  (local {2})\n</text>\n"
                    "<text x=\"0\" y=\"18\" fill=\"{0}\" font-family=\"Arial\" font-size=\"6\">\n"
                    "Lat: {3}  Long: {4}\n</text>\n"),
        kGrey, dateLabel(t), localTimeLabel(t, longitude), Arc(latitude).formatDMS(),
        Arc(longitude).formatDMS());
}

void appendLine(std::string& out, Point from, Point to, std::string_view color,
                std::string_view ending, int decimals) {
    auto it = std::back_inserter(out);
    if (decimals == 1) {
        fmt::format_to(
            it,
            FMT_COMPILE(
                "<line x1=\"{:.1f}\" y1=\"{:.1f}\" x2=\"{:.1f}\" y2=\"{:.1f}\" stroke=\"{}"),
            from.x, from.y, to.x, to.y, color);
    } else {
        fmt::format_to(
            it,
            FMT_COMPILE(
                "<line x1=\"{:.2f}\" y1=\"{:.2f}\" x2=\"{:.2f}\" y2=\"{:.2f}\" stroke=\"{}"),
            from.x, from.y, to.x, to.y, color);
    }
    out += ending;
}

void appendYael(std::string& out, Point moon, Point sun, double moonLongitude, double sunLongitude,
                std::string_view labelColor) {
    double e = wrapBelowTwoPi(moonLongitude - sunLongitude);
    if (e > kPi) e = kTwoPi - e;
    const double c = 5.0 * std::cos(e);
    const double rx = std::fabs(c);
    const int sweep = c > 0.0 ? 0 : 1;
    const double rotation = std::atan2(sun.y - moon.y, sun.x - moon.x) * 180.0 / kPi;
    const double top = moon.y - 5.0;
    const double bottom = moon.y + 5.0;
    // Before rotation the right half is lit, plus or minus a half-ellipse: a crescent while
    // c > 0, gibbous after; the rotation turns the lit side towards the sun.
    fmt::format_to(
        std::back_inserter(out),
        FMT_COMPILE("<g transform=\"rotate({0:.2f}, {1:.2f}, {2:.2f})\">\n"
                    "<circle cx=\"{1:.2f}\" cy=\"{2:.2f}\" r=\"5.00\" fill=\"#3a3a3a\" />\n"
                    "<path d=\"M {1:.2f},{3:.2f} A 5.00,5.00 0 0,1 {1:.2f},{4:.2f} "
                    "A {5:.2f},5.00 0 0,{6} {1:.2f},{3:.2f} Z\" fill=\"white\" />\n"
                    "</g>\n"
                    "<text x=\"{7:.2f}\" y=\"{3:.2f}\"  fill=\"{8}\"  font-family=\"Arial\" "
                    "font-size=\"5\">YAEL</text>\n"),
        rotation, moon.x, moon.y, top, bottom, rx, sweep, moon.x + 10.0, labelColor);
}

void appendDisc(std::string& out, long long x, long long y, double radius, std::string_view color) {
    fmt::format_to(std::back_inserter(out),
                   FMT_COMPILE("<circle cx=\"{}\" cy=\"{}\" r=\"{:.2f}\" fill=\"{}\" />\n"), x, y,
                   radius, color);
}

void appendLabel(std::string& out, long long x, long long y, double radius, std::string_view name,
                 std::string_view color) {
    auto it = std::back_inserter(out);
    if (radius != 0.0) {
        fmt::format_to(
            it,
            FMT_COMPILE("<text x=\"{:.2f}\" y=\"{:.2f}\"  fill=\"{}\"  font-family=\"Arial\" "
                        "font-size=\"5\">{}</text>\n"),
            2.0 * radius + static_cast<double>(x), static_cast<double>(y) - radius, color, name);
    } else {
        fmt::format_to(
            it,
            FMT_COMPILE(
                "<text x=\"{}\" y=\"{}\"  fill=\"{}\"  font-family=\"Arial\" font-size=\"5\" "
                "text-anchor=\"middle\">{}</text>\n"),
            x, y, color, name);
    }
}

long long nearest(double value) { return std::llround(value); }

double starRadius(double magnitude) {
    return magnitude <= 0.0 ? 0.0 : std::max(2.0 - 0.3 * magnitude, 0.4);
}

bool isSignMark(std::string_view name) {
    return name.size() > 1 && name.front() == '_' && !(name.back() >= '0' && name.back() <= '9');
}

}  // namespace morvane::svg
