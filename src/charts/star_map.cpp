#include "charts/star_map.h"

#include <array>
#include <cmath>
#include <optional>

#include "catalogue/figures.h"
#include "catalogue/fixed_star.h"
#include "charts/svg_parts.h"
#include "engine/constants.h"
#include "engine/planets.h"
#include "engine/positions.h"
#include "engine/sun_moon.h"

namespace morvane {

namespace {

constexpr std::array<PlanetStyle, 4> kPlanetStyles = {{
    {"Épeòn", "#407ff5", 1.0},
    {"Álaran", "#e3463e", 1.0},
    {"Kenôr", "#e98739", 3.0},
    {"Mêrgus", "#b141d5", 2.4},
}};

constexpr const char* kEclipticGreen = "#4af2a1";

void appendBody(std::string& out, const Vec3D& horizon, std::string_view name,
                std::string_view color, double radius) {
    if (!(horizon.theta >= 0.0)) return;  // below the horizon, or not a number
    const svg::IntPoint p = svg::roundedPoint(horizon.phi, horizon.theta);
    if (radius > 0.0) svg::appendDisc(out, p.x, p.y, radius, color);
    if (!name.empty() && name.front() != '_') svg::appendLabel(out, p.x, p.y, radius, name, color);
}

// Everything the document projects shares the moment and the place.
class Sky {
  public:
    Sky(double t, double latitude, double longitude)
        : t_(t), latitude_(latitude), longitude_(longitude) {}

    [[nodiscard]] Vec3D horizon(const Vec3D& eq) const {
        return horizonCoordinates(eq, t_, latitude_, longitude_);
    }
    [[nodiscard]] Vec3D eclipticPointHorizon(double longitude) const {
        return horizon(Vec3D(longitude, 0.0).rotated(eclipticToEquatorial()));
    }

  private:
    double t_;
    double latitude_;
    double longitude_;
};

// The projected point of a horizon direction when it is above the horizon.
std::optional<svg::Point> visiblePoint(const Vec3D& horizon) {
    if (!(horizon.theta >= 0.0)) return std::nullopt;
    return svg::project(horizon.phi, horizon.theta);
}

void appendEcliptic(std::string& out, const Sky& sky) {
    std::optional<svg::Point> previous;
    for (int i = 0; i <= 360; ++i) {
        const double longitude = static_cast<double>(i) * kTwoPi / 360.0;
        const std::optional<svg::Point> current = visiblePoint(sky.eclipticPointHorizon(longitude));
        if (previous && current) {
            svg::appendLine(out, *previous, *current, kEclipticGreen,
                            "\" stroke-width=\"0.4\" opacity=\"0.7\" />\n", 2);
        }
        previous = current;
    }
}

void appendSignTicks(std::string& out, const Sky& sky) {
    for (const FixedStar& star : FixedStar::catalogue()) {
        if (!svg::isSignMark(star.name)) continue;
        const double longitude = star.ec.phi;
        const auto p1 = visiblePoint(sky.eclipticPointHorizon(longitude + 0.01));
        const auto p2 = visiblePoint(sky.eclipticPointHorizon(longitude - 0.01));
        const auto p0 = visiblePoint(sky.eclipticPointHorizon(longitude));
        if (!p1 || !p2 || !p0) continue;
        const double dx = p1->x - p2->x;
        const double dy = p1->y - p2->y;
        const double len = std::sqrt(dx * dx + dy * dy);  // not hypot: it rounds differently
        if (!(len > 1e-6)) continue;
        // A line of length 4 across the ecliptic, centred on its point.
        const svg::Point from{p0->x - 2 * dy / len, p0->y + 2 * dx / len};
        const svg::Point to{p0->x + 2 * dy / len, p0->y - 2 * dx / len};
        svg::appendLine(out, from, to, kEclipticGreen, "\" stroke-width=\"0.8\" />\n", 2);
    }
}

void appendFigures(std::string& out, const Sky& sky) {
    for (const FigureLine& line : constellationFigureLines()) {
        const FixedStar* from = findStar(line.from);
        const FixedStar* to = findStar(line.to);
        if (from == nullptr || to == nullptr) continue;
        const auto a = visiblePoint(sky.horizon(from->eq));
        const auto b = visiblePoint(sky.horizon(to->eq));
        if (!a || !b) continue;
        svg::appendLine(out, *a, *b, "#eaeae9", "\" stroke-width=\"0.4\" opacity=\"0.5\" />\n", 1);
    }
}

void appendStarMap(std::string& out, double t, double latitude, double longitude) {
    const Sky sky(t, latitude, longitude);
    out += "<circle cx=\"180\" cy=\"180\" r=\"180\" fill=\"#210741\" />\n";
    svg::appendRings(out);
    out +=
        "<circle cx=\"335\" cy=\"25\" r=\"25\" fill=\"#210741\" />\n"
        "<text x=\"335\" y=\"12\" fill=\"#757475\" font-family=\"Arial\" font-size=\"10\" "
        "text-anchor=\"middle\">S</text>\n"
        "<text x=\"335\" y=\"46\" fill=\"#757475\" font-family=\"Arial\" font-size=\"10\" "
        "text-anchor=\"middle\">N</text>\n"
        "<text x=\"318\" y=\"29\" fill=\"#757475\" font-family=\"Arial\" font-size=\"10\" "
        "text-anchor=\"middle\">E</text>\n"
        "<text x=\"352\" y=\"29\" fill=\"#757475\" font-family=\"Arial\" font-size=\"10\" "
        "text-anchor=\"middle\">W</text>\n";
    svg::appendMomentAndPlace(out, t, latitude, longitude);
    appendEcliptic(out, sky);
    appendSignTicks(out, sky);
    appendFigures(out, sky);

    for (const FixedStar& star : FixedStar::catalogue()) {
        if (svg::isSignMark(star.name)) continue;
        appendBody(out, sky.horizon(star.eq), star.name, star.color,
                   svg::starRadius(star.magnitude));
    }

    const Sun sun(t);
    const Vec3D sunHorizon = sky.horizon(sun.eq);
    appendBody(out, sunHorizon, "", "#f1c536", 5.0);

    const Moon moon(t);
    const Vec3D moonHorizon = sky.horizon(moon.eq);
    if (moonHorizon.theta >= 0.0) {
        // The sun's point is needed even when the sun itself is below the horizon.
        svg::appendYael(out, svg::project(moonHorizon.phi, moonHorizon.theta),
                        svg::project(sunHorizon.phi, sunHorizon.theta), moon.ec.phi, sun.ec.phi,
                        "white");
    }

    for (std::size_t i = 0; i < kAllPlanets.size(); ++i) {
        const Vec3D ec = eclipticPosition(kAllPlanets[i], t);
        const PlanetStyle& style = kPlanetStyles[i];
        appendBody(out, sky.horizon(Vec3D(ec.phi, ec.theta).rotated(eclipticToEquatorial())),
                   style.label, style.color, style.radius);
    }
}

}  // namespace

const PlanetStyle& planetStyle(std::size_t planetIndex) { return kPlanetStyles.at(planetIndex); }

std::string drawBody(const Vec3D& horizon, std::string_view name, std::string_view color,
                     double radius) {
    std::string out;
    appendBody(out, horizon, name, color, radius);
    return out;
}

std::string starMapDocument(double t, double latitude, double longitude) {
    return svg::document("0 0 360 360", svg::Links::none, std::size_t{96} * 1024,
                         [&](std::string& out) { appendStarMap(out, t, latitude, longitude); });
}

}  // namespace morvane
