#include "charts/horoscope_chart.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <array>
#include <cmath>
#include <iterator>

#include "catalogue/figures.h"
#include "catalogue/fixed_star.h"
#include "charts/horoscope_reading.h"
#include "charts/star_map.h"
#include "charts/svg_parts.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/planets.h"
#include "engine/sun_moon.h"
#include "engine/vec3d.h"

namespace morvane {

namespace {

struct Chord {
    const char* color;
    int first;  // planet indices
    int second;
};

// Their colours match the element lines of the reading.
constexpr std::array<Chord, 6> kChords = {{
    {"green", 0, 2},
    {"orange", 0, 1},
    {"purple", 0, 3},
    {"yellow", 1, 2},
    {"pink", 1, 3},
    {"blue", 2, 3},
}};

void appendWheelBody(std::string& out, const Vec3D& ecliptic, std::string_view name,
                     std::string_view color, double radius) {
    const double longitude = ecliptic.phi;
    const svg::IntPoint p = svg::roundedPoint(longitude, ecliptic.theta);
    if (radius > 0.0) svg::appendDisc(out, p.x, p.y, radius, color);
    if (name.empty() || name.front() == '_') return;
    const double k = (kHalfPi - ecliptic.theta) * kTwoOverPi;
    if (k > 0.9) {
        // Near or south of the ecliptic the label runs along the rim at the body's longitude.
        double percent = longitude * 50.0 / kPi;
        if (percent < 0.0) percent += 100.0;
        fmt::format_to(
            std::back_inserter(out),
            FMT_COMPILE(
                "<text fill=\"{}\" font-family=\"Arial\" font-size=\"5\">\n"
                "<textPath xlink:href=\"#{}\" startOffset=\"{:.1f}%\">{}</textPath></text>\n"),
            color, color == "#f4f4f3" ? "rim" : "rim_inner", percent, name);
    } else {
        svg::appendLabel(out, p.x, p.y, radius, name, color);
    }
}

void appendChord(std::string& out, std::string_view color, double from, double to) {
    fmt::format_to(
        std::back_inserter(out),
        FMT_COMPILE("<line x1=\"{}\" y1=\"{}\" x2=\"{}\" y2=\"{}\" stroke=\"{}\" "
                    "stroke-width=\"0.8\" />\n"),
        180 + svg::nearest(180.0 * std::sin(from)), 180 - svg::nearest(180.0 * std::cos(from)),
        180 + svg::nearest(180.0 * std::sin(to)), 180 - svg::nearest(180.0 * std::cos(to)), color);
}

void appendAnglesLine(std::string& out, double t, double longitude, const Sun& sun) {
    const double theta = localSiderealAngle(t, longitude);
    const double hourAngle = wrapPi(theta - sun.eq.phi);
    const double midheaven =
        wrapBelowTwoPi(std::atan2(std::sin(theta), std::cos(theta) * kCosObliquity));
    fmt::format_to(
        std::back_inserter(out),
        FMT_COMPILE("<text x=\"0\" y=\"28\" fill=\"#757475\" font-family=\"Arial\" font-size=\"6\">"
                    "Sun HA: {:+.1f}°   MC: {:.1f}°</text>\n"),
        hourAngle * 180.0 / kPi, midheaven * 180.0 / kPi);
}

void appendPoleCircle(std::string& out, double latitude) {
    if (!(latitude > -kObliquity)) return;  // the pole's circle would swallow the wheel
    const Vec3D pole = Vec3D(0.0, kHalfPi).rotated(equatorialToEcliptic());
    const svg::IntPoint p = svg::roundedPoint(pole.phi, pole.theta);
    const double radius = (latitude + latitude) / (-kPi) * 180.0 + 180.0;
    fmt::format_to(
        std::back_inserter(out),
        FMT_COMPILE("<circle cx=\"{}\" cy=\"{}\" r=\"{:.1f}\" fill=\"none\" stroke=\"orange\" "
                    "stroke-weight=\"1\" />\n"),
        p.x, p.y, radius);
}

void appendHoroscope(std::string& out, double t, double latitude, double longitude) {
    out +=
        "<defs>\n"
        "<path id=\"rim\" d=\"M180,5 A175,175, 0 1,1 180,355 A175,175, 0 1,1 180,5\" "
        "fill=\"none\"/>\n"
        "<path id=\"rim_inner\" d=\"M180,10 A170,170, 0 1,1 180,350 A170,170, 0 1,1 180,10\" "
        "fill=\"none\"/>\n</defs>\n"
        "<circle cx=\"180\" cy=\"180\" r=\"180\" fill=\"#727cbb\" stroke=\"#757475\" "
        "stroke-width=\"1\" />\n";
    svg::appendRings(out);
    svg::appendMomentAndPlace(out, t, latitude, longitude);

    const Sun sun(t);
    const Vec3D sunEcliptic = sun.eq.rotated(equatorialToEcliptic());
    appendWheelBody(out, sunEcliptic, "", "yellow", 5.0);

    const Moon moon(t);
    const Vec3D moonEcliptic = moon.eq.rotated(equatorialToEcliptic());
    svg::appendYael(out, svg::project(moonEcliptic.phi, moonEcliptic.theta),
                    svg::project(sunEcliptic.phi, sunEcliptic.theta), moon.ec.phi, sun.ec.phi,
                    "gray");

    std::array<double, 4> planets{};
    for (std::size_t i = 0; i < kAllPlanets.size(); ++i) {
        const Vec3D ec = eclipticPosition(kAllPlanets[i], t);
        planets[i] = ec.phi;
        const PlanetStyle& style = planetStyle(i);
        appendWheelBody(out, Vec3D(ec.phi, ec.theta), style.label, style.color, style.radius);
    }
    for (const Chord& chord : kChords) {
        appendChord(out, chord.color, planets[chord.first], planets[chord.second]);
    }

    for (const FigureLine& line : constellationFigureLines()) {
        const FixedStar* from = findStar(line.from);
        const FixedStar* to = findStar(line.to);
        if (from == nullptr || to == nullptr) continue;
        svg::appendLine(out, svg::project(from->ec.phi, from->ec.theta),
                        svg::project(to->ec.phi, to->ec.theta), "#eaeae9",
                        "\" stroke-width=\"0.4\" opacity=\"0.6\" />\n", 1);
    }

    const auto& stars = FixedStar::catalogue();
    for (const FixedStar& star : stars) {
        if (!svg::isSignMark(star.name)) continue;
        const double l = star.ec.phi;
        svg::appendLine(out, {180 + 174 * std::sin(l), 180 - 174 * std::cos(l)},
                        {180 + 186 * std::sin(l), 180 - 186 * std::cos(l)}, "#f4f4f3",
                        "\" stroke-width=\"0.8\" />\n", 2);
    }
    for (const FixedStar& star : stars) {
        if (svg::isSignMark(star.name)) continue;
        appendWheelBody(out, star.ec, star.name, star.color, svg::starRadius(star.magnitude));
    }

    const HoroscopeReading reading = HoroscopeReading::at(t, latitude, longitude);
    out += drawBody(Vec3D(reading.ascendant, 0.0), "GEN", "black", 2.0);
    appendAnglesLine(out, t, longitude, sun);
    appendPoleCircle(out, latitude);
    out += horoscopeLegend(reading);
}

}  // namespace

std::string drawWheelBody(const Vec3D& ecliptic, std::string_view name, std::string_view color,
                          double radius) {
    std::string out;
    appendWheelBody(out, ecliptic, name, color, radius);
    return out;
}

std::string wheelChord(std::string_view color, double from, double to) {
    std::string out;
    appendChord(out, color, from, to);
    return out;
}

std::string horoscopeDocument(double t, double latitude, double longitude) {
    return svg::document("-10 -10 720 380", svg::Links::xlink, std::size_t{128} * 1024,
                         [&](std::string& out) { appendHoroscope(out, t, latitude, longitude); });
}

}  // namespace morvane
