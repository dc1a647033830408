// The light and subpoints commands as a user runs them; their JSON and CSV are read back by
// light_formats.py, and the default outputs pinned by the golden cases.
#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "cli_test_support.h"
#include "engine/constants.h"
#include "events/light.h"

namespace morvane::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testing::numbersAfter;
using testing::runCli;

std::ptrdiff_t count(const std::string& text, const std::string& what) {
    std::ptrdiff_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(LightCommand, StepsBoundsAndThresholdsShapeTheTable) {
    const auto standard = runCli({"light"});
    ASSERT_EQ(standard.status, kExitOk) << standard.err;
    EXPECT_EQ(count(standard.out, " OST  "), 144);
    EXPECT_EQ(runCli({"light", "--step", "10m"}).out, standard.out);
    // A step that does not divide the day: rows at 0, 7 h, 14 h and 21 h.
    EXPECT_EQ(count(runCli({"light", "--step", "7h"}).out, " OST  "), 4);
    EXPECT_EQ(count(runCli({"light", "--step", "1m", "--csv"}).out, "\n"), 1440 + 1);
    for (const auto& edge : std::vector<std::vector<std::string>>{
             {"--step", "1d", "--moon-altitude", "-90", "--moon-lit", "0"},
             {"--step", "24h", "--moon-altitude", "90", "--moon-lit", "1"}}) {
        std::vector<std::string> args = {"light"};
        args.insert(args.end(), edge.begin(), edge.end());
        EXPECT_EQ(runCli(args).status, kExitOk) << edge[1];
    }

    // Yael 55 % to 65 % lit and up in the evening: dim, unless asked for more of her or higher.
    const std::vector<std::string> evening = {"light", "--t", "258847", "--step", "1h"};
    const auto dimRows = [&evening](std::vector<std::string> extra) {
        extra.insert(extra.begin(), evening.begin(), evening.end());
        return count(runCli(extra).out, "  dim\n");
    };
    const auto standardDim = dimRows({});
    EXPECT_GT(standardDim, dimRows({"--moon-lit", "0.7"}));
    EXPECT_GT(standardDim, dimRows({"--moon-altitude", "45"}));
    EXPECT_EQ(standardDim, dimRows({"--moon-lit", "0.55", "--moon-altitude", "-0.0"}));
}

TEST(LightCommand, PolarDayAndNightAreSaidInWords) {
    // The northern solstice: Nolomar circles above the north's 80th parallel and below the
    // south's.
    const auto north = runCli({"light", "--date", "720-04-02", "--lat", "80N", "--step", "1d"});
    EXPECT_THAT(north.out, HasSubstr("\nSunrise:           none: polar day, Nolomar stays above "
                                     "the horizon\n"));
    EXPECT_THAT(north.out, HasSubstr("\nDay length:        24 h 0 min\n"));
    EXPECT_THAT(north.out, HasSubstr("\nDarkest:           none: no darkness"));
    const auto south = runCli({"light", "--date", "720-04-02", "--lat", "80S", "--step", "1d"});
    EXPECT_THAT(south.out, HasSubstr("\nSunset:            none: polar night, Nolomar stays below "
                                     "the horizon\n"));
    EXPECT_THAT(south.out,
                HasSubstr("\nCivil dawn:        none: Nolomar stays below −6° all day\n"));
    EXPECT_THAT(south.out, Not(HasSubstr("Nautical dawn:     none")));
    // At 60°N the summer night stays in nautical twilight.
    const auto summer = runCli({"light", "--date", "720-04-02", "--lat", "60N", "--step", "1d"});
    EXPECT_THAT(summer.out, HasSubstr("\nAstronomical dusk: none: Nolomar stays above −18° all "
                                      "night\n"));
    EXPECT_THAT(summer.out, HasSubstr("), nautical twilight, Yael down\n"));
}

TEST(SubpointsCommand, EachBodyStandsAtTheZenithOfItsPoint) {
    for (const char* t : {"258840", "-123456.789", "31415926.5"}) {
        const auto json = runCli({"subpoints", "--json", "--t", t});
        ASSERT_EQ(json.status, kExitOk) << json.err;
        const auto latitudes = numbersAfter(json.out, "latitude");
        const auto longitudes = numbersAfter(json.out, "longitude");
        ASSERT_EQ(latitudes.size(), 2u) << json.out;
        ASSERT_EQ(longitudes.size(), 2u) << json.out;
        // Nolomar through the positions command at the point read back.
        const auto positions =
            runCli({"positions", "--json", "--t", t, "--lat", fmt::format("{}", latitudes[0]),
                    "--lon", fmt::format("{}", longitudes[0])});
        const auto altitudes = numbersAfter(positions.out, "altitudeDeg");
        ASSERT_FALSE(altitudes.empty()) << positions.err;
        EXPECT_NEAR(altitudes[0], 90.0, 0.01) << t;
        // Yael as seen from the world's centre: the positions list places her as seen from the
        // place, which moves her off the zenith by up to her parallax.
        const double moon = moonAltitude(std::stod(t), degreesToRadians(latitudes[1]),
                                         degreesToRadians(longitudes[1]));
        EXPECT_NEAR(moon * kDegreesPerRadian, 90.0, 0.01) << t;
        const auto text = runCli({"subpoints", "--t", t}).out;
        EXPECT_TRUE(text.starts_with("Body       Latitude    Longitude\nNolomar  ")) << text;
        EXPECT_EQ(count(text, "\n"), 3) << text;
    }
}

TEST(TwilightKinds, NextFindsEachAndEventsListsThem) {
    const auto day = runCli({"events", "--days", "1"}).out;
    for (const char* kind : {"civil-dawn", "civil-dusk", "nautical-dawn", "nautical-dusk",
                             "astronomical-dawn", "astronomical-dusk"}) {
        const auto next = runCli({"next", kind});
        ASSERT_EQ(next.status, kExitOk) << kind << next.err;
        const std::string row = next.out.substr(next.out.find('\n') + 1);
        EXPECT_THAT(row, HasSubstr(std::string("  ") + kind + "  ")) << kind;
        EXPECT_THAT(day, HasSubstr(row)) << kind;
    }
}

}  // namespace
}  // namespace morvane::cli
