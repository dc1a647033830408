// The entries themselves (names, order, stored doubles, magnitudes, colours) are pinned byte for
// byte by the catalogue golden case, and tools/make_star_tables.py checks the figure layouts and
// the background's spread when it writes the tables. What is left here: the name index, the
// figure lines (hand-written, not generated) and the first use from many threads.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>

#include "catalogue/figures.h"
#include "catalogue/fixed_star.h"

namespace morvane {
namespace {

const std::vector<FixedStar>& stars() { return FixedStar::catalogue(); }

// Figure prefix of an unnamed figure star: "_LADO3" → "_LADO".
std::string prefixOf(std::string_view name) {
    return std::string(name.substr(0, name.find_first_of("0123456789")));
}

// First in the file, so that a run of the whole binary also starts with it.
TEST(Catalogue, FirstUseFromManyThreadsBuildsOnce) {
    // The calculation may touch the catalogue first on its own thread.
    std::vector<const void*> seen(8);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        threads.emplace_back([&seen, i] { seen[i] = findStar("NORTH"); });
    }
    for (auto& thread : threads) thread.join();
    ASSERT_NE(seen[0], nullptr);
    for (const void* address : seen) EXPECT_EQ(address, findStar("NORTH"));
}

TEST(Catalogue, EveryNameIsUniqueAndFindsItsOwnEntry) {
    std::set<std::string> names;
    for (const FixedStar& star : stars()) {
        EXPECT_TRUE(names.insert(star.name).second) << star.name;
        EXPECT_EQ(findStar(star.name), &star);
    }
    EXPECT_EQ(starsByName().size(), stars().size());
    EXPECT_EQ(findStar("Vega"), nullptr);
    EXPECT_EQ(findStar(""), nullptr);
}

TEST(Catalogue, EveryFigureLineJoinsTwoFigureStarsOfOneFigure) {
    std::set<std::string_view> used;
    for (const FigureLine& line : constellationFigureLines()) {
        const FixedStar* from = findStar(line.from);
        const FixedStar* to = findStar(line.to);
        ASSERT_NE(from, nullptr) << line.from;
        ASSERT_NE(to, nullptr) << line.to;
        EXPECT_NE(from, to) << line.from;
        EXPECT_EQ(prefixOf(line.from), prefixOf(line.to));
        used.insert(line.from);
        used.insert(line.to);
    }
    EXPECT_EQ(constellationFigureLines().size(), 162u);
    EXPECT_EQ(used.size(), 176u);  // every figure star is drawn
}

}  // namespace
}  // namespace morvane
