#include "events/light_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/constants.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;

std::string factValue(const DayLight& day, const std::string& label) {
    for (const SummaryFact& fact : daySummaryFacts(day)) {
        if (fact.label == label) return fact.value;
    }
    return "(no fact " + label + ")";
}

// A day whose summary is written by hand, so that each way of wording a missing event is
// reached without searching for a place and moment that shows it.
DayLight handMadeDay() {
    DayLight day;
    day.start = 258840.0;  // 720-01-01 12:00 OST; at longitude 0 the local time runs 2 min ahead
    day.end = 258841.0;
    DaySummary& s = day.summary;
    s.course = SunCourse::risesAndSets;
    s.darkestStage = TwilightStage::astronomical;
    s.lightestStage = TwilightStage::day;
    s.sunrises = {258840.25, 258840.5};
    s.sunsets = {258840.375};
    s.civilDawns = {258840.2};
    s.civilDusks = {258840.4};
    s.nauticalDawns = {258840.1};
    s.dayLength = 11.0 / 24.0 + 5.4 / 1440.0;
    s.illuminationStart = 0.5;
    s.illuminationEnd = 0.25;
    s.darkest = DarkStretch{258840.75, 258840.875, TwilightStage::astronomical, true};
    return day;
}

TEST(LightText, MissingEventsAreSaidInWordsAndSeveralAreJoined) {
    DayLight day = handMadeDay();
    EXPECT_EQ(factValue(day, "Sunrise"),
              "18:02 (720-01-01 18:00 OST), 00:02 (720-01-02 00:00 OST)");
    EXPECT_EQ(factValue(day, "Astronomical dawn"), "none: Nolomar stays above −18° all night");
    EXPECT_EQ(factValue(day, "Nautical dusk"), "none within the day");
    EXPECT_EQ(factValue(day, "Noon"), "none within the day");
    EXPECT_EQ(factValue(day, "Moonrise"), "none: Yael stays below the horizon all day");
    EXPECT_EQ(factValue(day, "Day length"), "11 h 5 min");
    EXPECT_EQ(factValue(day, "Yael lit"), "50.0% to 25.0%, waning");
    EXPECT_EQ(factValue(day, "Darkest"),
              "06:02 – 09:02 (3 h 0 min), astronomical twilight, Yael up");

    day.summary.moonsets = {258840.5};
    day.moonUp = {{258840.0, 258840.5, 0.4}};
    EXPECT_EQ(factValue(day, "Moonrise"), "none within the day");
    day.summary.moonsets.clear();
    EXPECT_EQ(factValue(day, "Moonrise"), "none: Yael stays above the horizon all day");

    DaySummary& s = day.summary;
    s.sunrises.clear();
    s.sunsets.clear();
    s.course = SunCourse::polarDay;
    s.darkestStage = TwilightStage::day;
    s.darkest.reset();
    EXPECT_EQ(factValue(day, "Sunrise"), "none: polar day, Nolomar stays above the horizon");
    EXPECT_EQ(factValue(day, "Nautical dusk"), "none: Nolomar stays above −12° all day");
    EXPECT_EQ(factValue(day, "Darkest"),
              "none: no darkness, Nolomar stays above the horizon all day");

    s.course = SunCourse::polarNight;
    s.darkestStage = TwilightStage::night;
    s.lightestStage = TwilightStage::nautical;
    s.civilDusks.clear();
    EXPECT_EQ(factValue(day, "Sunset"), "none: polar night, Nolomar stays below the horizon");
    EXPECT_EQ(factValue(day, "Civil dusk"), "none: Nolomar stays below −6° all day");
    EXPECT_EQ(factValue(day, "Astronomical dusk"), "none within the day");
}

TEST(LightText, SummaryOfARealDayInReadingOrderWithAlignedValues) {
    // A lunar eclipse falls at 259723.94, while Yael is down at this place.
    const DayLight day = dayLight(259723.5, degreesToRadians(40.5), degreesToRadians(-20.9));
    const auto facts = daySummaryFacts(day);
    ASSERT_GE(facts.size(), 15u);
    EXPECT_EQ(facts[0].label, "Astronomical dawn");
    EXPECT_EQ(facts[4].label, "Noon");
    EXPECT_EQ(facts[13].label, "Darkest");
    EXPECT_EQ(facts.back().label, "Lunar eclipse");
    EXPECT_THAT(facts.back().value, HasSubstr("(722-06-15 10:33 OST), second, not visible here"));
    EXPECT_THAT(factValue(day, "Noon"), HasSubstr(", altitude "));

    const std::string text = daySummaryText(day);
    EXPECT_TRUE(text.starts_with("Astronomical dawn: ")) << text;
    EXPECT_THAT(text, HasSubstr("\nSunrise:           "));
    EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')), facts.size());
}

TEST(LightText, RowsStepFromTheStartAndColumnsLineUp) {
    // Yael is 55 % to 65 % lit and up in the evening: demanding 90 % darkens those hours.
    const MoonlightThresholds strict{0.0, 0.9};
    const DayLight day = dayLight(258847.0, 0.7, -0.36, strict);
    EXPECT_EQ(lightRows(day, 1.0 / 144.0).size(), 144u);
    EXPECT_TRUE(lightRows(day, 0.0).empty());
    const auto rows = lightRows(day, 0.3);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3].t, 258847.0 + 3.0 * 0.3);
    int darkened = 0;
    for (const LightSample& row : lightRows(day, 1.0 / 24.0)) {
        const LightSample strictSample = lightAt(row.t, 0.7, -0.36, strict);
        EXPECT_EQ(row.level, strictSample.level);
        EXPECT_EQ(row.sunAltitude, strictSample.sunAltitude);
        if (row.level != lightAt(row.t, 0.7, -0.36).level) ++darkened;
    }
    EXPECT_GT(darkened, 0);

    LightSample sample;
    sample.t = 258840.0;
    sample.sunAltitude = degreesToRadians(-0.004);  // rounds to 0:00: no sign
    sample.moonAltitude = degreesToRadians(-45.5);
    sample.stage = TwilightStage::astronomical;
    sample.illumination = 0.5;
    sample.level = LightLevel::dark;
    const std::string header = lightTableHeader();
    const std::string row = lightTableRow(sample, 0.0);
    EXPECT_EQ(row, "720-01-01 12:00 OST  12:02     0:00  astronomical  -45:30  0.500  dark\n");
    // Every column ends where its header does.
    for (const char* title : {"Local", "Nolomar", "Yael", "Lit"}) {
        const std::size_t end = header.find(title) + std::string(title).size();
        EXPECT_EQ(row[end], ' ') << title;
        EXPECT_NE(row[end - 1], ' ') << title;
    }
    EXPECT_EQ(header.find("Level"), row.find("dark"));
}

}  // namespace
}  // namespace morvane
