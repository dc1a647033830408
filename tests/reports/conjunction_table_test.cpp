// The header and the rows of year 720 are pinned by the conjunctions golden cases; these cases
// cover the edges they never reach.
#include "reports/conjunction_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>
#include <string>

#include "engine/constants.h"

namespace morvane {
namespace {

// The table's rows, without its two header lines.
std::string rowsOf(std::int64_t rows, double start, double step) {
    const std::string table = conjunctionTable(rows, start, step);
    return table.substr(table.find('\n', table.find('\n') + 1) + 1);
}

double degrees(double d) { return degreesToRadians(d); }

TEST(ConjunctionTable, ZeroRowsGiveTheHeaderAloneAndANegativeCountStops) {
    const std::string header = conjunctionTable(0, 258840.0, 1.0);
    EXPECT_EQ(conjunctionTable(1, 258840.0, 1.0), header + rowsOf(1, 258840.0, 1.0));
    EXPECT_EQ(std::count(header.begin(), header.end(), '\n'), 2);
    EXPECT_DEATH(conjunctionTable(-1, 258840.0, 1.0), "precondition");
}

// Epeon, Alaran and Kenor gather near −149° in year 21; Mergus stays away.
TEST(ConjunctionTable, LabelsFollowTheTableOrder) {
    EXPECT_EQ(rowsOf(1, 7421.0, 1.0).substr(129), "  EP-AL EP-KE AL-KE \n");
}

// Every column sits where it belongs whatever the moment (years from 1000 on widen the date
// label by one), labels in table order.
TEST(ConjunctionTable, ColumnsHoldTheirPositionsForAnyMoment) {
    const std::regex row(
        R"(^(\d{3,4})-\d\d-\d\d \d\d:\d\d OST  )"
        R"((?:(?: \d{3}|    ):\d\d  ){6}  (?:(?:[ -]\d{3}|   [ -]):\d\d  ){6})"
        R"((?:EP-AL )?(?:EP-KE )?(?:EP-ME )?(?:AL-KE )?(?:AL-ME )?(?:KE-ME )?\n$)");
    std::mt19937_64 random(20240720);
    std::uniform_real_distribution<double> moment(0.0, 400000.0);
    int wideLabels = 0;
    for (int i = 0; i < 300; ++i) {
        const double t = moment(random);
        const std::string line = rowsOf(1, t, 1.0);
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, row)) << t << "\n" << line;
        wideLabels += m[1].length() == 4;
    }
    EXPECT_GT(wideLabels, 0);
}

// Strictly under two degrees, across the ±180° seam (four planets around it all pair up) and
// whatever whole turns the longitudes carry.
TEST(InConjunction, StrictlyUnderTwoDegreesAcrossTheSeamAndAnyTurn) {
    EXPECT_TRUE(inConjunction(degrees(10.0), degrees(11.999)));
    EXPECT_FALSE(inConjunction(degrees(10.0), degrees(12.001)));
    EXPECT_FALSE(inConjunction(degrees(0.0), degrees(180.0)));
    EXPECT_TRUE(inConjunction(degrees(179.0005), degrees(-179.0)));
    EXPECT_FALSE(inConjunction(degrees(178.999), degrees(-179.0)));
    EXPECT_TRUE(inConjunction(degrees(359.5), degrees(0.5)));
    EXPECT_TRUE(inConjunction(degrees(10.0) - 2 * kTwoPi, degrees(9.0)));
    EXPECT_FALSE(inConjunction(degrees(10.0) + kTwoPi, degrees(13.0)));
    const double cluster[] = {degrees(179.2), degrees(-179.5), degrees(180.0), degrees(-180.3)};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            if (i != j) {
                EXPECT_TRUE(inConjunction(cluster[i], cluster[j])) << i << j;
            }
        }
    }
}

}  // namespace
}  // namespace morvane
