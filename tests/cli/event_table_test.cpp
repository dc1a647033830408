// The whole table, CSV and JSON of real events are pinned by the golden cases and by
// event_formats.py; these cases cover what real events rarely or never produce.
#include "events/event_table.h"

#include <gtest/gtest.h>

#include <charconv>

#include "engine/constants.h"

namespace morvane {
namespace {

TEST(EventTable, MomentsReadBackExactlyWithAtLeastNineDecimals) {
    for (const double t :
         {0.0, -0.5, 1.0 / 3.0, 1e-12, 258853.99999999997, -999999985.8703301, 1e9}) {
        const std::string text = eventMomentText(t);
        const std::size_t point = text.find('.');
        ASSERT_NE(point, std::string::npos) << text;
        EXPECT_GE(text.size() - point - 1, 9u) << text;
        double back = 0.0;
        const auto [end, error] =
            std::from_chars(text.data(), text.data() + text.size(), back, std::chars_format::fixed);
        EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
        EXPECT_EQ(back, t) << text;
    }
    EXPECT_EQ(eventMomentText(258840.0), "258840.000000000");
}

TEST(EventTable, AltitudeRoundsToTheMinuteAndSignsOnlyWhatIsBelow) {
    const std::pair<double, const char*> cases[] = {{45.2, "alt  45:12"},
                                                    {-3.0 - 5.0 / 60.0, "alt  -3:05"},
                                                    {-0.5, "alt  -0:30"},
                                                    {-0.001, "alt   0:00"},
                                                    {59.999, "alt  60:00"}};
    for (const auto& [degrees, expected] : cases) {
        SkyEvent noon;
        noon.kind = EventKind::noon;
        noon.sunAltitude = degreesToRadians(degrees);
        EXPECT_EQ(eventDetails(noon), expected) << degrees;
    }
}

TEST(EventTable, CsvQuotesWhatRfc4180Asks) {
    SkyEvent event;
    event.kind = EventKind::conjunction;
    event.t = 0.5;
    event.pair = "say \"EP\", then AL";
    event.bodies = {SkyBody::epeon, SkyBody::alaran};
    event.bodyCount = 2;
    const std::string row = eventCsvRow(event, 0.0);
    EXPECT_TRUE(row.starts_with("conjunction,0.500000000,001-01-02 00:00 OST,")) << row;
    EXPECT_TRUE(row.ends_with(",\"Épeòn, Álaran\",,,,\"say \"\"EP\"\", then AL\"\n")) << row;
}

}  // namespace
}  // namespace morvane
