#include "charts/horoscope_reading.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include <cmath>
#include <iterator>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/planets.h"
#include "engine/signs.h"
#include "engine/sun_moon.h"
#include "engine/vec3d.h"

namespace morvane {

namespace {

constexpr double kPowerBand = 0.05235987755982988;  // 3°

struct PlanetRow {
    int y;
    const char* name;
    const char* dot;
};

constexpr std::array<PlanetRow, 4> kPlanetRows = {{
    {110, "Epeon (Inspiration)", "blue"},
    {120, "Alaran (Energy)", "red"},
    {130, "Kenor (Endurance)", "orange"},
    {140, "Mergus (Wisdom)", "purple"},
}};

struct ElementRow {
    int y;
    const char* element;
    const char* color;  // the colour of the chord between the same two planets
    const char* pair;
    const char* organ;
    int first;  // planet indices
    int second;
};

constexpr std::array<ElementRow, 6> kElementRows = {{
    {210, "Savorya", "purple", "EP-ME", "Brain (Ethereal)", 0, 3},
    {220, "Lyahvi", "pink", "AL-ME", "Lungs (Plenary)", 1, 3},
    {230, "Peleahn", "orange", "EP-AL", "Heart (Impulse)", 0, 1},
    {240, "Jmorvi", "yellow", "AL-KE", "Bones (Material)", 1, 2},
    {250, "Fyvria", "green", "EP-KE", "Gonads (Plenary)", 0, 2},
    {260, "Odivshe", "blue", "KE-ME", "Stomach (Repose)", 2, 3},
}};

constexpr std::array<const char*, 4> kNatalForces = {"EPEON (Inspiration) - ", "ALARAN (Energy) - ",
                                                     "KENOR (Endurance) - ", "MERGUS (Wisdom) - "};

void appendText(std::string& out, int x, int y, std::string_view a, std::string_view b = "") {
    fmt::format_to(std::back_inserter(out),
                   FMT_COMPILE("<text x=\"{}\" y=\"{}\" fill=\"#757475\" font-family=\"Arial\" "
                               "font-size=\"6\">{}{}</text>\n"),
                   x, y, a, b);
}

}  // namespace

double influenceSeparation(double a, double b) {
    double s = std::fabs(a - b) * 200.0 / kTwoPi;
    while (s > 200.0) s -= 200.0;
    if (s > 100.0) s = 200.0 - s;
    return s;
}

std::string_view influenceStrength(double a, double b) {
    const double s = influenceSeparation(a, b);
    if (s > 75.0) return "Exceptional";
    if (s > 50.0) return "Strong";
    if (s > 30.0) return "Neutral";
    if (s > 15.0) return "Weak";
    if (s > 5.0) return "Feeble";
    return "Impotent";
}

std::string_view fateOrWill(double x, double sun, double moon) {
    const double fromSun = influenceSeparation(x, sun);
    const double fromMoon = influenceSeparation(x, moon);
    if (fromSun > fromMoon + 20.0) return "YAEL (Fate)";
    if (fromSun > fromMoon - 20.0) return "BALANCED";
    return "NOLOMAR (Will)";
}

double ascendantLongitude(double t, double latitude, double longitude) {
    const double theta = localSiderealAngle(t, longitude);
    return wrapBelowTwoPi(std::atan2(-std::cos(theta), std::sin(theta) * kCosObliquity +
                                                           std::tan(latitude) * kSinObliquity) +
                          kPi);
}

std::string_view powerSentence(double moonLatitude) {
    if (moonLatitude > kPowerBand) return "SUPERIOR.  The Fates hold sway over Morvane.";
    if (moonLatitude > -kPowerBand) return "BALANCED.  Fate and Will are equal in Morvane.";
    return "INFERIOR.  Will can overcome Fate across Morvane.";
}

std::string_view keepVerdict(const std::array<double, 4>& planetLongitudes) {
    std::array<double, 4> longitudes = planetLongitudes;
    std::array<int, 4> classes = {0, 1, 0, 1};  // Epeon and Kenor against Alaran and Mergus
    // Into [0, 2π], not [0, 2π) as elsewhere: a longitude of exactly 2π keeps sorting first.
    for (double& x : longitudes) x = wrapTwoPi(x);
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = 0; i < 3; ++i) {
            if (longitudes[i + 1] > longitudes[i]) {
                std::swap(longitudes[i], longitudes[i + 1]);
                std::swap(classes[i], classes[i + 1]);
            }
        }
    }
    // Alternating classes around the circle: the two chords cross.
    return classes[0] == classes[2] ? "Twisted Keep!" : "Straight Keep";
}

HoroscopeReading HoroscopeReading::at(double t, double latitude, double longitude) {
    const Moon moon(t);
    HoroscopeReading reading{Sun(t).ec.phi, moon.ec.phi, moon.ec.theta, {}, 0.0};
    for (std::size_t i = 0; i < kAllPlanets.size(); ++i) {
        reading.planets[i] = eclipticPosition(kAllPlanets[i], t).phi;
    }
    reading.ascendant = ascendantLongitude(t, latitude, longitude);
    return reading;
}

std::string horoscopeLegend(const HoroscopeReading& r) {
    std::string out;
    out.reserve(4096);
    appendText(out, 400, 0, "Nolomar Influence (Character)");
    appendText(out, 410, 10, "House: ", zodiacSignName(r.sun));
    appendText(out, 400, 50, "Yaelar Influence (Fate)");
    appendText(out, 410, 60, "House: ", zodiacSignName(r.moon));
    appendText(out, 410, 70, "Power: ", powerSentence(r.moonLatitude));
    appendText(out, 400, 100, "Planetary Influences");
    for (std::size_t i = 0; i < kPlanetRows.size(); ++i) {
        const PlanetRow& row = kPlanetRows[i];
        appendText(out, 410, row.y, row.name);
        appendText(out, 500, row.y, zodiacSignName(r.planets[i]));
        appendText(out, 650, row.y, fateOrWill(r.planets[i], r.sun, r.moon));
        fmt::format_to(std::back_inserter(out),
                       FMT_COMPILE("<circle cx=\"405\" cy=\"{}\" r=\"3\" fill=\"{}\" />\n"),
                       row.y - 3, row.dot);
    }
    appendText(out, 400, 200, "Elemental Influences");
    for (const ElementRow& row : kElementRows) {
        appendText(out, 410, row.y, row.element);
        fmt::format_to(
            std::back_inserter(out),
            FMT_COMPILE("<line x1=\"402\" y1=\"{0}\" x2=\"408\" y2=\"{0}\" stroke=\"{1}\" "
                        "stroke-width=\"1\" />\n"),
            row.y - 4, row.color);
        appendText(out, 500, row.y, row.pair);
        appendText(out, 540, row.y, row.organ);
        appendText(out, 640, row.y, influenceStrength(r.planets[row.first], r.planets[row.second]));
    }
    appendText(out, 400, 290, "Natal Forces (Origins)");
    appendText(out, 410, 300, "Dominant Sphere: ", fateOrWill(r.ascendant, r.sun, r.moon));
    appendText(out, 410, 310, "Ascending Sign (Purpose): ", zodiacSignName(r.ascendant));
    appendText(out, 410, 320,
               "Descending Sign (Displacement): ", zodiacSignName(r.ascendant + kPi));
    for (std::size_t i = 0; i < kNatalForces.size(); ++i) {
        appendText(out, 410, 330 + 10 * static_cast<int>(i), kNatalForces[i],
                   influenceStrength(r.planets[i], r.ascendant));
    }
    // Written last although it stands higher on the page.
    const std::string_view verdict = keepVerdict(r.planets);
    if (verdict == "Twisted Keep!") {
        out += "<text x=\"400\" y=\"170\" fill=\"#757475\" font-family=\"Arial\" font-size=\"9\">";
        out += verdict;
        out += "</text>\n";
    } else {
        appendText(out, 400, 170, verdict);
    }
    return out;
}

std::string horoscopeLegend(double t, double latitude, double longitude) {
    return horoscopeLegend(HoroscopeReading::at(t, latitude, longitude));
}

}  // namespace morvane
