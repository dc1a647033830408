#include "reports/sun_moon_table.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/positions.h"
#include "engine/sun_moon.h"

namespace morvane {
namespace {

constexpr const char* kHeader =
    "YR MO DAY TIME        Y-RA     Y-DEC    Ec-Lat   Ec-Long  N-RA    N-DEC     N-Long   "
    "Phase\n";
const double kDefaultLatitude = 40.5 * kPi / 180.0;
const double kNearThePole = 89.9 * kPi / 180.0;
constexpr double kFirstNoonOf720 = 258840.0;
constexpr double kHour = 0.041666666666666664;

std::vector<std::string> rowsOf(const std::string& table) {
    std::vector<std::string> rows;
    std::istringstream lines(table.substr(std::string(kHeader).size()));
    for (std::string line; std::getline(lines, line);) rows.push_back(line);
    return rows;
}

std::string onlyRow(double t, double latitude) {
    const std::string table = sunMoonTable(1, t, 1.0, latitude);
    return table.substr(std::string(kHeader).size());
}

TEST(SunMoonTable, ReferenceRowsAtTheDefaultPlace) {
    EXPECT_EQ(onlyRow(258840.0, kDefaultLatitude),
              "720-01-01 12:00 OST   009.07   006.29   002.65   010.71   358.79  -000.46   358.71"
              "   0.07   MS@19:18 MR@06:47 SS@17:56 SR@05:58 \n");
    EXPECT_EQ(
        onlyRow(258869.0, kDefaultLatitude),
        "720-01-30 12:00 OST   026.09   009.69   000.10   027.71   026.12   009.59   027.71"
        "   0.00   MS@18:40 MR@05:48 SS@18:25 SR@05:17   TS 720-01-30 13:20 OST      40:14 \n");
}

TEST(SunMoonTable, HeaderAloneForNoRows) {
    const std::string table = sunMoonTable(0, kFirstNoonOf720, 1.0, kDefaultLatitude);
    EXPECT_EQ(table, kHeader);
    EXPECT_EQ(table.size(), 91u);
}

TEST(SunMoonTable, NegativeRowCountStopsTheProgram) {
    EXPECT_DEATH(sunMoonTable(-1, kFirstNoonOf720, 1.0, kDefaultLatitude), "precondition");
}

// Near the pole the sun at −0.46° and the moon at +6.29° declination neither rise nor set.
TEST(SunMoonTable, BodiesThatStayUpOrDownNearThePoleGetNoEvents) {
    const std::string row = onlyRow(kFirstNoonOf720, kNearThePole);
    EXPECT_EQ(row,
              "720-01-01 12:00 OST   009.07   006.29   002.65   010.71   358.79  -000.46   358.71"
              "   0.07   \n");
    for (double u = kFirstNoonOf720; u < kFirstNoonOf720 + 1.0; u += 0.25) {
        EXPECT_EQ(moonRiseSet(u, 0.25, kNearThePole), "") << u;
        EXPECT_EQ(sunRiseSet(u, 0.25, kNearThePole), "") << u;
    }
    // Same moment, ordinary latitude: the missing events are the latitude's doing.
    EXPECT_NE(moonRiseSet(kFirstNoonOf720 + 0.25, 0.25, kDefaultLatitude), "");
}

TEST(SunMoonTable, HourlyRowsDropARiseOnceItHasPassed) {
    const std::vector<std::string> rows =
        rowsOf(sunMoonTable(24, kFirstNoonOf720, kHour, kDefaultLatitude));
    ASSERT_EQ(rows.size(), 24u);
    // Yael sets at 19:18 on the first day and rises at 06:47 on the next.
    for (std::size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k].find("MS@19:18 ") != std::string::npos, k <= 7) << rows[k];
        EXPECT_EQ(rows[k].find("MR@06:47 ") != std::string::npos, k <= 18) << rows[k];
    }
    // Once the rise has passed, the next day's rise takes its place.
    EXPECT_NE(rows[20].find("MR@07:2"), std::string::npos) << rows[20];
}

// The eclipse of 720-01-30 13:20 lies in the last quarter of a row starting 21 hours before it.
TEST(SunMoonTable, EveryRowReportsTheWholeDayAhead) {
    EXPECT_NE(onlyRow(258868.18, kDefaultLatitude).find("  TS 720-01-30 13:"), std::string::npos);
    EXPECT_EQ(onlyRow(258869.1, kDefaultLatitude).find("TS "), std::string::npos);
}

// Moments just past a crossing: the body is within 0.0001 radians of the horizon at the start
// of the window, so the direction must come from the window's end, not from the sign at its start.
TEST(RiseSet, EventAtTheWindowStartTakesItsDirectionFromTheEnd) {
    const auto sunAltitude = [](double x) {
        return horizonCoordinates(Sun(x).eq, x, kDefaultLatitude, 0.0).theta;
    };
    const auto crossing = [&](double lo, double hi) {
        const bool risingAtLo = sunAltitude(lo) < 0.0;
        for (int i = 0; i < 60; ++i) {
            const double mid = (lo + hi) / 2.0;
            if ((sunAltitude(mid) < 0.0) == risingAtLo) {
                lo = mid;
            } else {
                hi = mid;
            }
        }
        return hi;
    };
    const double sunrise = crossing(258840.5, 258840.75) + 0.00001;
    ASSERT_GT(sunAltitude(sunrise), 0.0);
    ASSERT_LT(sunAltitude(sunrise), 0.0001);
    EXPECT_EQ(sunRiseSet(sunrise, 0.25, kDefaultLatitude), "SR@05:58 ");
    EXPECT_EQ(dateLabel(sunrise), "720-01-02 05:58 OST");

    const double sunset = crossing(258841.0, 258841.5) + 0.00001;
    ASSERT_LT(sunAltitude(sunset), 0.0);
    ASSERT_GT(sunAltitude(sunset), -0.0001);
    EXPECT_EQ(sunRiseSet(sunset, 0.25, kDefaultLatitude).substr(0, 3), "SS@");
    EXPECT_EQ(sunRiseSet(sunset, 0.25, kDefaultLatitude).substr(3, 5),
              dateLabel(sunset).substr(10, 5));
}

TEST(SunMoonTable, PhaseAndRightAscensionExtremes) {
    const double fullMoon = nextMoonPhase(kFirstNoonOf720, kPi);
    EXPECT_EQ(onlyRow(fullMoon, kDefaultLatitude).substr(85, 4), "1.00");
    const double newMoon = nextMoonPhase(kFirstNoonOf720, 0.0);
    EXPECT_EQ(onlyRow(newMoon, kDefaultLatitude).substr(85, 4), "0.00");
    // Yael's right ascension is 359.9966° here: it rounds up, it does not wrap.
    EXPECT_EQ(onlyRow(258866.9762, kDefaultLatitude).substr(19, 11), "   360.00  ");
}

TEST(SunMoonTable, YearsFromOneThousandWidenTheDateLabel) {
    const std::string table = sunMoonTable(2, dayCount(999, 11, 29, 12.0), 1.0, kDefaultLatitude);
    EXPECT_TRUE(table.starts_with(kHeader));
    const std::vector<std::string> rows = rowsOf(table);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 30), "999-12-30 12:00 OST   000.38  ");
    EXPECT_EQ(rows[1].substr(0, 31), "1000-01-01 12:00 OST   012.83  ");
    EXPECT_EQ(rows[1].substr(86, 7), "0.07   ");
}

// Every column sits where it belongs whatever the moment: a fixed-width pattern after a 19- or
// 20-character date label, events in moon, sun, eclipse order.
TEST(SunMoonTable, ColumnsHoldTheirPositionsForAnyMoment) {
    const std::regex row(
        R"(^(\d{3,4})-\d\d-\d\d \d\d:\d\d OST((?:  [ -]\d{3}\.\d\d){7})   [01]\.\d\d   )"
        R"((?:M[RS]@\d\d:\d\d )*(?:S[RS]@\d\d:\d\d )*)"
        R"((?:(?:  TS |  PS | FUL | FPL | PPL )\d{3,4}-\d\d-\d\d \d\d:\d\d OST [ -][ 0-9:]{9} )*$)");
    std::mt19937_64 random(20240720);
    std::uniform_real_distribution<double> moment(0.0, 400000.0);
    int wideLabels = 0;
    for (int i = 0; i < 300; ++i) {
        const double t = moment(random);
        const std::string line = onlyRow(t, kDefaultLatitude);
        std::smatch m;
        const std::string text = line.substr(0, line.size() - 1);
        ASSERT_TRUE(std::regex_match(text, m, row)) << t << "\n" << line;
        EXPECT_EQ(line.back(), '\n');
        const bool wide = std::stoi(m[1].str()) >= 1000;
        wideLabels += wide;
        EXPECT_EQ(m.position(2), wide ? 20 : 19) << line;
        for (int k = 0; k < 7; ++k) {
            const double degrees = std::stod(m[2].str().substr(3 + 9 * k, 6));
            EXPECT_LE(degrees, 360.0) << line;
        }
    }
    EXPECT_GT(wideLabels, 0);
}

TEST(EclipseNote, ClassesFollowTheElongation) {
    struct Case {
        double elongationDegrees;
        const char* marker;
    };
    const Case cases[] = {
        {1.6, "  TS "},    {-1.6, "  TS "},  {1.8, "  PS "},    {-2.5, "  PS "},
        {2.6, ""},         {-2.6, ""},       {90.0, ""},        {179.7, " FUL "},
        {-179.7, " FUL "}, {179.6, " FPL "}, {179.15, " FPL "}, {179.05, " PPL "},
        {-178.5, " PPL "}, {178.35, ""},
    };
    for (const Case& c : cases) {
        const double t = nextMoonPhase(kFirstNoonOf720, degreesToRadians(c.elongationDegrees));
        const std::string note = eclipseNote(t);
        SCOPED_TRACE(c.elongationDegrees);
        if (*c.marker == '\0') {
            EXPECT_EQ(note, "");
            continue;
        }
        ASSERT_EQ(note.size(), 36u) << note;
        EXPECT_EQ(note.substr(0, 5), c.marker);
        EXPECT_EQ(note.substr(5, 20), dateLabel(t) + ' ');
        // The elongation keeps its sign.
        EXPECT_EQ(note[25], c.elongationDegrees < 0 ? '-' : ' ') << note;
        EXPECT_EQ(note.back(), ' ');
    }
}

TEST(MoonNodeEvent, OnlyCrossingsNearNewOrFullMoonAreReported) {
    // Yael crosses the ecliptic at 259296.498 with an elongation of 89.98°.
    ASSERT_LT(Moon(259296.25).ec.theta * Moon(259296.5).ec.theta, 0.0);
    EXPECT_EQ(moonNodeEvent(259296.25, 0.25), "");
    // A lunar eclipse of year 722.
    EXPECT_EQ(moonNodeEvent(259723.75, 0.25), " FPL 722-06-15 10:33 OST  179:17:11 ");
    // No crossing in the window.
    EXPECT_EQ(moonNodeEvent(258869.25, 0.25), "");
}

}  // namespace
}  // namespace morvane
