#include "reports/conjunction_table.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

#include "engine/calendar.h"
#include "engine/constants.h"

namespace morvane {
namespace {

constexpr const char* kHeader =
    "                      EQUATORIAL COORDINATES                                  ECLIPTIC "
    "COORDINATES                                 CONJUNCTIONS\n"
    "YR MO DAY TIME        YAEL     NOLOMAR EPEON    ALARAN    KENOR    MERGUS     YAEL     "
    "NOLOMAR  EPEON    ALARAN   KENOR    MERGUS   (+/- 1 deg)\n";

std::string rowsAfterHeader(std::int64_t rows, double start, double step) {
    return conjunctionTable(rows, start, step).substr(std::string(kHeader).size());
}

double degrees(double d) { return degreesToRadians(d); }

TEST(ConjunctionTable, ReferenceRows) {
    EXPECT_EQ(rowsAfterHeader(1, 258840.0, 1.0),
              "720-01-01 12:00 OST   009:04   358:48   327:29   305:22   143:09   078:41     "
              "010:43   358:43  -034:19  -056:28   141:15   079:25  \n");
    // The minute value 60 and Epeon–Mergus in conjunction.
    EXPECT_EQ(rowsAfterHeader(1, 258883.0, 1.0),
              "720-02-14 12:00 OST   208:08   039:46   078:60   332:09   142:43   080:21     "
              "209:43   041:43   079:43  -029:30   140:48   080:58  EP-ME \n");
}

TEST(ConjunctionTable, HeaderAloneForNoRows) {
    const std::string table = conjunctionTable(0, 258840.0, 1.0);
    EXPECT_EQ(table, kHeader);
    EXPECT_EQ(table.find('\n'), 143u);
    EXPECT_EQ(table.size(), 2 * 144u);
}

TEST(ConjunctionTable, NegativeRowCountStopsTheProgram) {
    EXPECT_DEATH(conjunctionTable(-1, 258840.0, 1.0), "precondition");
}

// Epeon, Alaran and Kenor gather near −149° in year 21; Mergus stays away.
TEST(ConjunctionTable, LabelsFollowTheTableOrder) {
    EXPECT_EQ(rowsAfterHeader(1, 7421.0, 1.0).substr(129), "  EP-AL EP-KE AL-KE \n");
}

// Alaran just west of 0°: the ecliptic group keeps the sign, the equatorial group does not.
TEST(ConjunctionTable, LongitudeWestOfZeroPrintsItsSign) {
    const std::string row = rowsAfterHeader(1, 258937.25, 1.0);
    EXPECT_EQ(row.substr(0, 19), "720-04-08 18:00 OST");
    EXPECT_EQ(row.substr(104, 7), "   -:12");
    EXPECT_EQ(row.substr(48, 7), " 359:48");
}

TEST(ConjunctionTable, YearsFromOneThousandWidenTheDateLabel) {
    const std::string table = conjunctionTable(1, dayCount(1000, 0, 0, 12.0), 1.0);
    EXPECT_TRUE(table.starts_with(kHeader));
    const std::string row = table.substr(std::string(kHeader).size());
    EXPECT_EQ(row.substr(0, 22), "1000-01-01 12:00 OST  ");
    EXPECT_EQ(row.substr(74, 4), "    ");
    EXPECT_EQ(row.substr(130, 2), "  ");
}

// Every column sits where it belongs whatever the moment, labels in table order.
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
        const std::string line = rowsAfterHeader(1, t, 1.0);
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, row)) << t << "\n" << line;
        wideLabels += m[1].length() == 4;
    }
    EXPECT_GT(wideLabels, 0);
}

TEST(InConjunction, StrictlyUnderTwoDegreesAcrossTheSeamAndAnyTurn) {
    EXPECT_TRUE(inConjunction(degrees(10.0), degrees(11.999)));
    EXPECT_FALSE(inConjunction(degrees(10.0), degrees(12.001)));
    EXPECT_FALSE(inConjunction(degrees(0.0), degrees(180.0)));
    EXPECT_TRUE(inConjunction(degrees(179.5), degrees(-179.5)));
    EXPECT_TRUE(inConjunction(degrees(-179.5), degrees(179.5)));
    EXPECT_TRUE(inConjunction(degrees(179.0005), degrees(-179.0)));
    EXPECT_FALSE(inConjunction(degrees(178.999), degrees(-179.0)));
    EXPECT_TRUE(inConjunction(degrees(359.5), degrees(0.5)));
    EXPECT_TRUE(inConjunction(degrees(10.0) - 2 * kTwoPi, degrees(9.0)));
    EXPECT_FALSE(inConjunction(degrees(10.0) + kTwoPi, degrees(13.0)));
}

// Four planets on both sides of ±180°, all within 2° of each other: every pair qualifies.
TEST(InConjunction, FourPlanetsInOneCluster) {
    const double cluster[] = {degrees(179.2), degrees(-179.5), degrees(180.0), degrees(-180.3)};
    for (int i = 0; i < 4; ++i) {
        for (int j = i + 1; j < 4; ++j)
            EXPECT_TRUE(inConjunction(cluster[i], cluster[j])) << i << j;
    }
}

}  // namespace
}  // namespace morvane
