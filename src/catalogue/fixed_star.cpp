#include "catalogue/fixed_star.h"

#include <fmt/format.h>

#include <array>

#include "catalogue/star_tables.h"
#include "engine/constants.h"
#include "engine/require.h"

namespace morvane {

namespace {

constexpr const char* kStarWhite = "#f4f4f3";
constexpr const char* kLabelYellow = "#fef651";
constexpr const char* kBackgroundGrey = "#adadad";

bool isUnnamedStar(std::string_view name) {
    return name.size() > 1 && name.front() == '_' && name.back() >= '0' && name.back() <= '9';
}

// Sign boundary ticks and sign labels, in sign order from Ùlándus to Ládo; ecliptic
// longitudes in whole degrees. The ticks are the catalogue's own and do not coincide with the
// bounds of the sign lookup.
struct SignMark {
    const char* tick;
    double tickLongitudeDeg;
    const char* label;
    double labelLongitudeDeg;
};

constexpr std::array<SignMark, 12> kSignMarks = {{
    {"_ULANDUS", 3, "Ùlándus", 18},
    {"_ARALIUS", 33, "Arálius", 48},
    {"_FENIRI", 62, "Fenéri", 77},
    {"_AHNU", 93, "Áhnù", 108},
    {"_ANGBERELIUS", 124, "Angberélius", 140},
    {"_NADAI", 156, "Nadái", 171},
    {"_HIRIN", 185, "Hîrin", 199},
    {"_TARAEL", 214, "Tárael", 228},
    {"_TAI", 243, "Tái", 258},
    {"_SKORUS", 272, "Skôrus", 287},
    {"_MASARA", 302, "Masâra", 316},
    {"_LADO", 331, "Ládo", 347},
}};

// The further constellations: label position (radians, as stored) and how many figure stars
// follow it in the star tables.
struct Constellation {
    const char* label;
    double ra;
    double dec;
    int starCount;
};

constexpr std::array<Constellation, 23> kConstellations = {{
    {"Lókiârn", 5.459586531581287, -0.7504915783575616, 5},
    {"Yol", 5.1487212933832724, -1.0122909661567112, 4},
    {"Dýnux", 2.941592653589793, -0.8471975511965976, 6},
    {"Lýndus", 2.7370597283903604, -0.3835987755982988, 5},
    {"Aik", 2.2807274153917776, -0.2317993877991494, 5},
    {"Stend", 2.0943951023931953, -0.7853981633974483, 3},
    {"Chind", 1.7453292519943295, -0.4363323129985824, 3},
    {"Cryx", 0.8471975511965976, -0.4363323129985824, 9},
    {"Êngè", 0.17453292519943295, -0.6981317007977318, 4},
    {"Úhla", 0.0, -1.3962634015954636, 5},
    {"Cýnto", 0.0835987755982988, 0.6053981633974483, 4},
    {"Úsnârl", 2.056194490192345, 0.9853981633974483, 6},
    {"Krast", 3.420658503988659, 1.0919310885968814, 4},
    {"Kelârk", 3.203392041388942, 0.3490658503988659, 5},
    {"Nind", 3.504817769347638, 0.4390658503988659, 3},
    {"Tlýlus", 3.901523742186674, 0.20453292519943295, 4},
    {"Frýlus", 4.063323129985823, 0.4363323129985824, 6},
    {"Tísams", 4.886921905584122, 0.6981317007977318, 6},
    {"Êrmael", 5.934119456780721, 0.6981317007977318, 6},
    {"Gêriam", -0.0471975511965976, 1.2962634015954635, 3},
    {"Klésan", 4.97418836818384, 0.08726646259971647, 5},
    {"Súso", 1.3580627893946131, 0.0, 4},
    {"Hêrpa", 5.609586531581287, 0.13962634015954636, 4},
}};

// Úhla's colours are swapped: its label is white and its first star yellow.
constexpr std::string_view kSwappedLabel = "Úhla";

FixedStar fromTable(std::string name, const star_tables::StarRow& row, const char* color) {
    return FixedStar(std::move(name), true, degreesToRadians(row.raDeg),
                     degreesToRadians(row.decDeg), row.magnitude, color);
}

std::vector<FixedStar> buildCatalogue() {
    std::vector<FixedStar> stars;
    stars.reserve(724);

    for (std::size_t i = 0; i < star_tables::kBackgroundStars.size(); ++i) {
        stars.push_back(fromTable(fmt::format("_BACKGROUND{:03d}", 2 * (i + 1)),
                                  star_tables::kBackgroundStars[i], kBackgroundGrey));
    }
    for (const SignMark& mark : kSignMarks) {
        stars.emplace_back(mark.tick, false, degreesToRadians(mark.tickLongitudeDeg), 0.0, 1.0,
                           kStarWhite);
    }
    for (const SignMark& mark : kSignMarks) {
        stars.emplace_back(mark.label, false, degreesToRadians(mark.labelLongitudeDeg), 0.0, 0.0,
                           kStarWhite);
    }
    for (const star_tables::StarRow& row : star_tables::kZodiacFigureStars) {
        stars.push_back(fromTable(row.name, row, kStarWhite));
    }
    std::size_t next = 0;
    for (const Constellation& c : kConstellations) {
        const bool swapped = c.label == kSwappedLabel;
        stars.emplace_back(c.label, true, c.ra, c.dec, 0.0, swapped ? kStarWhite : kLabelYellow);
        for (int k = 0; k < c.starCount; ++k, ++next) {
            const star_tables::StarRow& row = star_tables::kConstellationFigureStars.at(next);
            stars.push_back(
                fromTable(row.name, row, swapped && k == 0 ? kLabelYellow : kStarWhite));
        }
    }
    MORVANE_REQUIRE(next == star_tables::kConstellationFigureStars.size(),
                    "constellation star counts do not match the star table");
    stars.emplace_back("NORTH", true, 0.0, degreesToRadians(90.0), 1.0, kStarWhite);
    stars.emplace_back("SOUTH", true, 0.0, degreesToRadians(-90.0), 1.0, kStarWhite);
    return stars;
}

}  // namespace

FixedStar::FixedStar(std::string name, bool isEquatorial, double phi, double theta,
                     double magnitude, std::string color)
    : name(std::move(name)), magnitude(magnitude), color(std::move(color)) {
    const Vec3D given(phi, theta);
    if (isEquatorial) {
        eq = given;
        ec = given.rotated(equatorialToEcliptic());
    } else {
        ec = given;
        eq = given.rotated(eclipticToEquatorial());
    }
    if (isUnnamedStar(this->name)) {
        ec = Vec3D(ec.phi + kCatalogueShift, ec.theta);  // not normalised
        eq = ec.rotated(eclipticToEquatorial());
    }
}

const std::vector<FixedStar>& FixedStar::catalogue() {
    static const std::vector<FixedStar> stars = buildCatalogue();
    return stars;
}

const std::unordered_map<std::string_view, const FixedStar*>& starsByName() {
    static const auto index = [] {
        std::unordered_map<std::string_view, const FixedStar*> byName;
        const auto& stars = FixedStar::catalogue();
        byName.reserve(stars.size());
        for (const FixedStar& star : stars) byName[star.name] = &star;
        return byName;
    }();
    return index;
}

const FixedStar* findStar(std::string_view name) {
    const auto& index = starsByName();
    const auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

}  // namespace morvane
