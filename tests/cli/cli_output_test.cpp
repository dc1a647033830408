// Whole outputs of the default and of several chosen moments are pinned byte for byte by the
// golden cases (tests/golden/cli); these cases cover what they cannot: other spellings of the
// same request, overrides, aliases, extremes and the outputs no golden case prints.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "cli_test_support.h"

namespace morvane::cli {
namespace {

using ::testing::HasSubstr;
using testing::runCli;

std::ptrdiff_t lineCount(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

TEST(CliOutput, EquivalentSpellingsGiveTheSameOutput) {
    const auto reference = runCli({"positions", "--date", "720-01-01", "--time", "12:00", "--lat",
                                   "40.5S", "--lon", "20.9E"});
    ASSERT_EQ(reference.status, kExitOk) << reference.err;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"positions", "--date", "720-1-1", "--lat", "-40.5", "--lon", "20.9"},
             {"positions", "--date=720-1-1", "--lat=40.5s", "--lon=20.9e"},
             {"positions", "--t", "258840", "--lat", "40.5S", "--lon", "20.9E"},
         }) {
        EXPECT_EQ(runCli(args).out, reference.out) << args[1];
    }
    // "10m" is exactly the default ten-minute step, "1d" the yearly one and "1h" the hourly one.
    EXPECT_EQ(runCli({"conjunctions", "--step", "10m"}).out, runCli({"conjunctions"}).out);
    EXPECT_EQ(runCli({"conjunctions", "--rows", "360", "--step", "1d"}).out,
              runCli({"conjunctions", "--yearly"}).out);
    EXPECT_EQ(runCli({"sunmoon", "--step", "1h"}).out, runCli({"sunmoon"}).out);
}

TEST(CliOutput, DayCountOverridesTheCalendarOptions) {
    EXPECT_EQ(runCli({"labels", "--t", "0", "--date", "5-5-5", "--local-time"}).out,
              runCli({"labels", "--t", "0"}).out);
}

TEST(CliOutput, AnyMinuteIsTakenAsTyped) {
    // Through a fractional hour, 01:01 would come out as 01:00.
    EXPECT_TRUE(
        runCli({"labels", "--time", "01:01"}).out.starts_with("Date: 720-01-01 01:01 OST\n"));
}

TEST(CliOutput, ExtremeButValidMomentsAndRowCountsFinish) {
    for (const char* t : {"1e9", "-1e9", "0.000001"}) {
        const auto result = runCli({"labels", "--t", t});
        EXPECT_EQ(result.status, kExitOk) << t << result.err;
        EXPECT_EQ(lineCount(result.out), 3) << t;
    }
    // A span may end on the last day count itself.
    EXPECT_EQ(runCli({"events", "--t", "999999970", "--days", "30", "--kinds", "noon"}).status,
              kExitOk);
    const auto lastDay = runCli({"positions", "--date", "1000000-12-30", "--time", "23:59"});
    EXPECT_EQ(lastDay.status, kExitOk);
    for (const char* pole : {"90N", "90S", "0"}) {
        EXPECT_EQ(runCli({"positions", "--lat", pole}).status, kExitOk) << pole;
    }
    const std::string table = runCli({"sunmoon"}).out;
    EXPECT_EQ(runCli({"sunmoon", "--rows", "0"}).out, table.substr(0, table.find('\n') + 1));
    EXPECT_THAT(runCli({"sunmoon", "--rows", "2", "--step", "-0.5"}).out,
                HasSubstr("\n720-01-01 00:00 OST"));
}

TEST(CliOutput, NextFindsWhatEventsListsAndPreviousGoesBack) {
    // Kind names in any case, with spaces and repeats, name the same kinds.
    const auto next = runCli({"next", "Last-Quarter", "--count", "3"});
    EXPECT_EQ(lineCount(next.out), 4) << next.err;
    EXPECT_EQ(next.out,
              runCli({"events", "--days", "90", "--kinds", "last-quarter , LAST-QUARTER"}).out);
    // A full moon falls at 258883.999985: the previous ones from just before it, latest first.
    const auto previous =
        runCli({"next", "full-moon", "--previous", "--count", "2", "--t", "258883.99"});
    const auto lines = previous.out.substr(previous.out.find('\n') + 1);
    EXPECT_TRUE(lines.starts_with("720-01-15 12:00 OST")) << previous.out;
    EXPECT_THAT(lines, HasSubstr("\n719-12-15 ")) << previous.out;
    EXPECT_EQ(runCli({"events", "--days", "0.01", "--kinds", "lunar-eclipse", "--json"}).out,
              "[]\n");
}

TEST(CliOutput, NextStopsAtTheEndOfTheDayCountsWithANote) {
    const auto edge = runCli({"next", "full-moon", "--count", "3", "--t", "999999980"});
    EXPECT_EQ(edge.status, kExitOk);
    EXPECT_EQ(lineCount(edge.out), 2);
    EXPECT_EQ(edge.err,
              "morvane-astro-cli: next: 1 of 3 found; no later full-moon within day counts -1e9 "
              "to 1e9\n");
}

// No golden case prints the catalogue as JSON.
TEST(CliOutput, CatalogueAsJson) {
    const auto json = runCli({"catalogue", "--json"});
    ASSERT_EQ(json.status, kExitOk);
    EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '{'), 724);
    EXPECT_THAT(json.out, HasSubstr("{\"name\": \"Lókiârn\", \"eqPhi\": 5.459586531581287, "
                                    "\"eqTheta\": -0.7504915783575616, "));
    EXPECT_TRUE(json.out.ends_with("}\n]\n"));
}

TEST(CliOutput, HelpAndVersion) {
    const auto help = runCli({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_THAT(help.out, HasSubstr("Usage: morvane-astro-cli COMMAND"));
    EXPECT_THAT(help.out, HasSubstr("next KIND [--count N] [--previous]"));
    const auto version = runCli({"--version"});
    EXPECT_EQ(version.status, kExitOk);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("morvane-astro-cli \\d+\\.\\d+\\.\\d+ "
                                                         "\\(build \\w+\\)\n")));
}

}  // namespace
}  // namespace morvane::cli
