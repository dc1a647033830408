// The default hourly and monthly tables are pinned row by row by the sunmoon golden cases; the
// cases here reach what those never do: the pole, window bounds, eclipse classes, any year.
#include "reports/sun_moon_table.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <regex>
#include <string>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/positions.h"
#include "engine/sun_moon.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const double kDefaultLatitude = 40.5 * kPi / 180.0;
const double kNearThePole = 89.9 * kPi / 180.0;
constexpr double kFirstNoonOf720 = 258840.0;

// The one row of a table that starts at t, without the header line.
std::string onlyRow(double t, double latitude) {
    const std::string table = sunMoonTable(1, t, 1.0, latitude);
    return table.substr(table.find('\n') + 1);
}

TEST(SunMoonTable, ZeroRowsGiveTheHeaderAloneAndANegativeCountStops) {
    const std::string header = sunMoonTable(0, kFirstNoonOf720, 1.0, kDefaultLatitude);
    EXPECT_EQ(sunMoonTable(1, kFirstNoonOf720, 1.0, kDefaultLatitude),
              header + onlyRow(kFirstNoonOf720, kDefaultLatitude));
    EXPECT_EQ(std::count(header.begin(), header.end(), '\n'), 1);
    EXPECT_DEATH(sunMoonTable(-1, kFirstNoonOf720, 1.0, kDefaultLatitude), "precondition");
}

// Near the pole the sun at −0.46° and the moon at +6.29° declination neither rise nor set.
TEST(SunMoonTable, BodiesThatStayUpOrDownNearThePoleGetNoEvents) {
    const std::string row = onlyRow(kFirstNoonOf720, kNearThePole);
    // The same columns as at the default place, and nothing after the phase.
    EXPECT_EQ(row, onlyRow(kFirstNoonOf720, kDefaultLatitude).substr(0, row.size() - 1) + "\n");
    EXPECT_TRUE(row.ends_with("   0.07   \n")) << row;
    for (double u = kFirstNoonOf720; u < kFirstNoonOf720 + 1.0; u += 0.25) {
        EXPECT_EQ(moonRiseSet(u, 0.25, kNearThePole), "") << u;
        EXPECT_EQ(sunRiseSet(u, 0.25, kNearThePole), "") << u;
    }
    // Same moment, ordinary latitude: the missing events are the latitude's doing.
    EXPECT_NE(moonRiseSet(kFirstNoonOf720 + 0.25, 0.25, kDefaultLatitude), "");
}

// The eclipse of 720-01-30 13:20 lies in the last quarter of a row starting 21 hours before it,
// and is gone from a row starting an hour after it.
TEST(SunMoonTable, EveryRowReportsTheWholeDayAhead) {
    EXPECT_THAT(onlyRow(258868.18, kDefaultLatitude), HasSubstr("  TS 720-01-30 13:"));
    EXPECT_THAT(onlyRow(258869.1, kDefaultLatitude), Not(HasSubstr("TS ")));
}

// Yael's right ascension of 359.9966° rounds up to 360.00, it does not wrap; just past full moon
// the phase falls again instead of passing 1.
TEST(SunMoonTable, ColumnsAtAFullTurnAndJustPastFullMoon) {
    EXPECT_EQ(onlyRow(258866.9762, kDefaultLatitude).substr(19, 11), "   360.00  ");
    const double fullMoon = nextMoonPhase(kFirstNoonOf720, kPi);
    EXPECT_EQ(onlyRow(fullMoon + 0.12, kDefaultLatitude).substr(85, 4), "0.99");
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
            ((sunAltitude(mid) < 0.0) == risingAtLo ? lo : hi) = mid;
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
    EXPECT_EQ(sunRiseSet(sunset, 0.25, kDefaultLatitude),
              "SS@" + dateLabel(sunset).substr(10, 5) + " ");
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
        {1.6, "  TS "},    {-1.6, "  TS "},  {1.72, "  PS "},   {-2.5, "  PS "},
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
