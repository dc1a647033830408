#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <thread>

#include "catalogue/figures.h"
#include "catalogue/fixed_star.h"
#include "engine/constants.h"

namespace morvane {
namespace {

const std::vector<FixedStar>& stars() { return FixedStar::catalogue(); }

double degrees(double radians) { return radians * kDegreesPerRadian; }

// Angular distance between two unit directions, degrees.
double separation(const Vec3D& a, const Vec3D& b) {
    const double cosine = a.v[0] * b.v[0] + a.v[1] * b.v[1] + a.v[2] * b.v[2];
    return degrees(std::acos(std::clamp(cosine, -1.0, 1.0)));
}

// Figure prefix of an unnamed figure star: "_LADO3" → "_LADO".
std::string prefixOf(const std::string& name) {
    return name.substr(0, name.find_first_of("0123456789"));
}

void expectEntry(const char* name, double ecPhi, double ecTheta, double eqPhi, double eqTheta,
                 double tolerance) {
    const FixedStar* star = findStar(name);
    ASSERT_NE(star, nullptr) << name;
    EXPECT_NEAR(degrees(star->ec.phi), ecPhi, tolerance) << name;
    EXPECT_NEAR(degrees(star->ec.theta), ecTheta, tolerance) << name;
    EXPECT_NEAR(degrees(star->eq.phi), eqPhi, tolerance) << name;
    EXPECT_NEAR(degrees(star->eq.theta), eqTheta, tolerance) << name;
}

TEST(Catalogue, ReferenceEntries) {
    // Turned by the catalogue shift; the ecliptic longitude is not normalised.
    expectEntry("_LADO1", -17.28301, 1.867112, 343.158462, -4.358349, 1e-6);
    expectEntry("_ULANDUS7", 25.589314, -1.354549, 24.535662, 7.624089, 1e-6);
    // Not turned: no final digit.
    expectEntry("NORTH", 90, 69, 0, 90, 1e-9);
    expectEntry("_ARALIUS", 33, 0, 31.227353, 11.255307, 1e-6);
    // The published ecliptic figures came from the rounded 312.8113°, so 1e-4° here.
    expectEntry("Lókiârn", 303.698494, -26.386841, 312.8113, -43, 1e-4);
    EXPECT_EQ(findStar("Lókiârn")->eq.phi, 5.459586531581287);
    EXPECT_EQ(findStar("Vega"), nullptr);
    EXPECT_EQ(findStar(""), nullptr);
}

TEST(Catalogue, KindsCountsAndOrder) {
    ASSERT_EQ(stars().size(), 724u);
    for (int i = 0; i < 499; ++i) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "_BACKGROUND%03d", 2 * (i + 1));
        EXPECT_EQ(stars()[i].name, expected);
        EXPECT_EQ(stars()[i].color, "#adadad");
    }
    const char* ticks[] = {"_ULANDUS", "_ARALIUS", "_FENIRI", "_AHNU",   "_ANGBERELIUS", "_NADAI",
                           "_HIRIN",   "_TARAEL",  "_TAI",    "_SKORUS", "_MASARA",      "_LADO"};
    const char* labels[] = {"Ùlándus", "Arálius", "Fenéri", "Áhnù",   "Angberélius", "Nadái",
                            "Hîrin",   "Tárael",  "Tái",    "Skôrus", "Masâra",      "Ládo"};
    const double tickDeg[] = {3, 33, 62, 93, 124, 156, 185, 214, 243, 272, 302, 331};
    const double labelDeg[] = {18, 48, 77, 108, 140, 171, 199, 228, 258, 287, 316, 347};
    for (int i = 0; i < 12; ++i) {
        const FixedStar& tick = stars()[499 + i];
        const FixedStar& label = stars()[511 + i];
        EXPECT_EQ(tick.name, ticks[i]);
        EXPECT_EQ(tick.ec.phi, tickDeg[i] * kPi / 180.0);
        EXPECT_EQ(tick.magnitude, 1.0);
        EXPECT_EQ(label.name, labels[i]);
        EXPECT_EQ(label.ec.phi, labelDeg[i] * kPi / 180.0);
        EXPECT_EQ(label.magnitude, 0.0);
    }
    // Zodiac figures grouped from Ládo's on, each by ascending number.
    const std::pair<const char*, int> zodiac[] = {
        {"_LADO", 6},   {"_ULANDUS", 7},     {"_ARALIUS", 6}, {"_FENIRI", 5},
        {"_AHNU", 5},   {"_ANGBERELIUS", 7}, {"_NADAI", 5},   {"_HIRIN", 6},
        {"_TARAEL", 5}, {"_TAI", 4},         {"_SKORUS", 7},  {"_MASARA", 4}};
    std::size_t index = 523;
    for (const auto& [prefix, count] : zodiac) {
        for (int k = 1; k <= count; ++k) {
            EXPECT_EQ(stars()[index++].name, std::string(prefix) + std::to_string(k));
        }
    }
    ASSERT_EQ(index, 590u);
    EXPECT_EQ(stars()[590].name, "Lókiârn");
    EXPECT_EQ(stars()[591].name, "_LOKIARN1");
    EXPECT_EQ(stars()[721].name, "_HERPA4");
    EXPECT_EQ(stars()[722].name, "NORTH");
    EXPECT_EQ(stars()[723].name, "SOUTH");
    EXPECT_NEAR(degrees(stars()[723].eq.theta), -90.0, 1e-12);
}

TEST(Catalogue, NamesAreUniqueAndIndexed) {
    std::set<std::string> names;
    for (const FixedStar& star : stars()) {
        EXPECT_TRUE(names.insert(star.name).second) << star.name;
        EXPECT_EQ(findStar(star.name), &star);
    }
    EXPECT_EQ(starsByName().size(), 724u);
}

TEST(Catalogue, EveryFigureLineJoinsTwoFigureStarsOfOneFigure) {
    const auto lines = constellationFigureLines();
    ASSERT_EQ(lines.size(), 162u);
    std::set<std::string> used;
    for (const FigureLine& line : lines) {
        const FixedStar* from = findStar(line.from);
        const FixedStar* to = findStar(line.to);
        ASSERT_NE(from, nullptr) << line.from;
        ASSERT_NE(to, nullptr) << line.to;
        EXPECT_EQ(prefixOf(from->name), prefixOf(to->name));
        used.insert(from->name);
        used.insert(to->name);
    }
    EXPECT_EQ(used.size(), 176u);  // every figure star is drawn
}

TEST(Catalogue, ColoursAndMagnitudesByKind) {
    int yellowLabels = 0;
    for (const FixedStar& star : stars()) {
        EXPECT_EQ(star.color.size(), 7u);
        EXPECT_EQ(star.color[0], '#');
        const bool unnamedStar =
            star.name[0] == '_' && std::isdigit(static_cast<unsigned char>(star.name.back()));
        if (star.name.starts_with("_BACKGROUND")) {
            EXPECT_GE(star.magnitude, 4.5) << star.name;
            EXPECT_LE(star.magnitude, 6.0) << star.name;
        } else if (unnamedStar) {
            EXPECT_GE(star.magnitude, 0.54) << star.name;
            EXPECT_LE(star.magnitude, 4.0) << star.name;
            EXPECT_EQ(star.color, star.name == "_UHLA1" ? "#fef651" : "#f4f4f3") << star.name;
        }
        if (star.color == "#fef651" && star.name[0] != '_') ++yellowLabels;
    }
    EXPECT_EQ(yellowLabels, 22);  // Úhla's label is the white one
    EXPECT_EQ(findStar("Úhla")->color, "#f4f4f3");
    EXPECT_EQ(findStar("Hêrpa")->color, "#fef651");
}

TEST(Catalogue, BackgroundStarsCoverTheSphereEvenly) {
    int north = 0;
    int polar = 0;  // beyond ±60°: 1 − sin 60° ≈ 13.4% of the sphere's area
    for (int i = 0; i < 499; ++i) {
        // Given coordinates are before the shift; test where they finally stand.
        const double dec = degrees(stars()[i].eq.theta);
        EXPECT_LE(std::fabs(dec), 89.5 + 21.0);
        if (dec > 0) ++north;
        if (std::fabs(dec) > 60) ++polar;
    }
    EXPECT_NEAR(north, 250, 30);
    EXPECT_NEAR(polar, 67, 20);
}

TEST(Catalogue, FigureStarsStandAroundTheirLabels) {
    const std::map<std::string, std::string> zodiacLabels = {
        {"_LADO", "Ládo"},     {"_ULANDUS", "Ùlándus"}, {"_ARALIUS", "Arálius"},
        {"_FENIRI", "Fenéri"}, {"_AHNU", "Áhnù"},       {"_ANGBERELIUS", "Angberélius"},
        {"_NADAI", "Nadái"},   {"_HIRIN", "Hîrin"},     {"_TARAEL", "Tárael"},
        {"_TAI", "Tái"},       {"_SKORUS", "Skôrus"},   {"_MASARA", "Masâra"}};
    const FixedStar* currentLabel = nullptr;
    int checked = 0;
    for (std::size_t i = 523; i < 722; ++i) {
        const FixedStar& star = stars()[i];
        if (star.name[0] != '_') {
            currentLabel = &star;
            continue;
        }
        const auto zodiac = zodiacLabels.find(prefixOf(star.name));
        const FixedStar* label =
            zodiac != zodiacLabels.end() ? findStar(zodiac->second) : currentLabel;
        ASSERT_NE(label, nullptr) << star.name;
        EXPECT_LT(separation(star.eq, label->eq), 25.0) << star.name << " from " << label->name;
        ++checked;
    }
    EXPECT_EQ(checked, 176);
}

TEST(Catalogue, FirstUseFromManyThreadsBuildsOnce) {
    // The calculation may touch the catalogue first on its own thread.
    std::vector<const void*> seen(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] { seen[i] = findStar("NORTH"); });
    }
    for (auto& thread : threads) thread.join();
    for (const void* address : seen) EXPECT_EQ(address, &stars()[722]);
}

}  // namespace
}  // namespace morvane
