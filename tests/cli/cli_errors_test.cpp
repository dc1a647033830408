#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "cli_test_support.h"

namespace morvane::cli {
namespace {

using ::testing::HasSubstr;
using testing::runCli;

struct BadInput {
    std::vector<std::string> args;
    const char* mentions;  // the message must name the option (or command) at fault
};

TEST(CliErrors, EveryBadInputGetsOneLineAndStatusTwo) {
    const std::string huge(5000, '9');
    const BadInput cases[] = {
        {{}, "missing command"},
        {{"bogus"}, "bogus"},
        {{"sunrise", "--json"}, "sunrise"},
        {{"positions", "--date", "720-13-01"}, "--date"},
        {{"positions", "--date", "720-0-01"}, "--date"},
        {{"positions", "--date", "720-01-31"}, "--date"},
        {{"positions", "--date", "0-01-01"}, "--date"},
        {{"positions", "--date", "-720-01-01"}, "--date"},
        {{"positions", "--date", "720-1"}, "--date"},
        {{"positions", "--date", "720-1-1-1"}, "--date"},
        {{"positions", "--date", "720/1/1"}, "--date"},
        {{"positions", "--date", huge + "-1-1"}, "--date"},
        {{"positions", "--time", "24:00"}, "--time"},
        {{"positions", "--time", "12:60"}, "--time"},
        {{"positions", "--time", "12"}, "--time"},
        {{"positions", "--time", "1:2:3"}, "--time"},
        {{"positions", "--lat", "95N"}, "--lat"},
        {{"positions", "--lat", "40.5X"}, "--lat"},
        {{"positions", "--lat", "-40.5S"}, "--lat"},
        {{"positions", "--lat", "N"}, "--lat"},
        {{"positions", "--lat", "nan"}, "--lat"},
        {{"positions", "--lat", ""}, "--lat"},
        {{"positions", "--lat", "1e400"}, "--lat"},
        {{"positions", "--lon", "181E"}, "--lon"},
        {{"positions", "--lon", "20,9W"}, "--lon"},
        {{"labels", "--t", "nan"}, "--t"},
        {{"labels", "--t", "-inf"}, "--t"},
        {{"labels", "--t", "1e10"}, "--t"},
        {{"labels", "--t", "0x10"}, "--t"},
        {{"labels", "--t"}, "--t"},
        {{"labels", "--bogus"}, "--bogus"},
        {{"labels", "--json"}, "--json"},
        {{"catalogue", "--date", "720-01-01"}, "--date"},
        {{"positions", "--lat", "10N", "--lat", "10S"}, "--lat"},
        {{"positions", "--local-time=yes"}, "--local-time"},
        {{"positions", "--date", "72\n0-01-01"}, "--date"},
        {{"sunmoon", "--rows", "-1"}, "--rows"},
        {{"sunmoon", "--rows", "1000001"}, "--rows"},
        {{"conjunctions", "--step", "0x"}, "--step"},
        {{"conjunctions", "--step", "10s"}, "--step"},
        {{"conjunctions", "--step", "m"}, "--step"},
        {{"conjunctions", "--step", "nan"}, "--step"},
        {{"conjunctions", "--rows", "1000000", "--step", "1e300"}, "--step"},
        {{"sunmoon", "--t", "999999999", "--rows", "10", "--step", "1d"}, "--step"},
        {{"sunmoon", "--monthly", "--rows", "5"}, "--monthly"},
        {{"conjunctions", "--monthly"}, "--monthly"},
        {{"starmap", "--json"}, "--json"},
        {{"horoscope", "--rows", "3"}, "--rows"},
        {{"export"}, "--out"},
        {{"export", "--out", ""}, "--out"},
        {{"export", "--out", "/proc/version"}, "--out"},
        {{"export", "--out", "/proc/no/such"}, "--out"},
        {{"labels", "--pdf"}, "--pdf"},
        {{"events", "--days", "0"}, "--days"},
        {{"events", "--days", "-1"}, "--days"},
        {{"events", "--days", "360001"}, "--days"},
        {{"events", "--days", "abc"}, "--days"},
        {{"events", "--t", "999999990", "--days", "30"}, "--days"},
        {{"events", "--kinds", "full-moon,werewolf"}, "werewolf"},
        {{"events", "--kinds", "full-moon,"}, "--kinds"},
        {{"events", "--kinds", huge}, "--kinds"},
        {{"events", "--json", "--csv"}, "--csv"},
        {{"events", "--count", "3"}, "--count"},
        {{"events", "full-moon"}, "full-moon"},
        {{"next"}, "KIND"},
        {{"next", "werewolf"}, "werewolf"},
        {{"next", "full-moon", "new-moon"}, "new-moon"},
        {{"next", "full-moon", "--count", "0"}, "--count"},
        {{"next", "full-moon", "--count", "100001"}, "--count"},
        {{"next", "full-moon", "--count", "2.5"}, "--count"},
        {{"next", "full-moon", "--days", "3"}, "--days"},
        {{"light", "--step", "0.9m"}, "--step"},
        {{"light", "--step", "1.01d"}, "--step"},
        {{"light", "--step", "-10m"}, "--step"},
        {{"light", "--json", "--csv"}, "--csv"},
        {{"light", "--moon-altitude", "90.5"}, "--moon-altitude"},
        {{"light", "--moon-altitude", "10N"}, "--moon-altitude"},
        {{"light", "--moon-lit", "-0.01"}, "--moon-lit"},
        {{"light", "--moon-lit", "1.01"}, "--moon-lit"},
        {{"light", "--moon-lit", "nan"}, "--moon-lit"},
        {{"light", "--t", "999999999.5"}, "--t"},
        {{"light", "--rows", "3"}, "--rows"},
        {{"events", "--moon-lit", "0.5"}, "--moon-lit"},
        {{"subpoints", "--csv"}, "--csv"},
        {{"subpoints", "--step", "1h"}, "--step"},
        {{"calendar", "--month", "--year"}, "--month"},
        {{"calendar", "--format", "csv"}, "--format"},
        {{"calendar", "--format", "svg", "--json"}, "--format"},
        {{"calendar", "--csv"}, "--csv"},
        {{"calendar", "--t", "-0.6"}, "--t"},
        {{"calendar", "--year", "--t", "999999900"}, "--t"},
        {{"calendar", "--kinds", "full-moon"}, "--kinds"},
        {{"almanac"}, "--from"},
        {{"almanac", "--from", "720-1-1"}, "--to"},
        {{"almanac", "--to", "720-1-1"}, "--from"},
        {{"almanac", "--from", "720-3-1", "--to", "720-2-30"}, "--to"},
        {{"almanac", "--from", "720-1-1", "--to", "1000001-1-1"}, "--to"},
        {{"almanac", "--from", "0-12-30", "--to", "720-1-1"}, "--from"},
        {{"almanac", "--from", "720-1-31", "--to", "720-2-1"}, "--from"},
        {{"almanac", "--from", "720-1-1", "--to", "720-1-2", "--date", "720-1-1"}, "--date"},
        {{"almanac", "--from", "720-1-1", "--to", "720-1-2", "--t", "5"}, "--t"},
        {{"almanac", "--from", "720-1-1", "--to", "720-1-2", "--format", "svg"}, "--format"},
        {{"almanac", "--from", "720-1-1", "--to", "720-1-2", "--csv", "--format", "csv"},
         "--format"},
        {{"almanac", "--from", "720-1-1", "--to", "720-1-2", "--kinds", "werewolf"}, "werewolf"},
        {{"almanac", "--from", "720-1-1", "--to", "720-1-2", "--year"}, "--year"},
    };
    for (const BadInput& c : cases) {
        std::string shown;
        for (const auto& a : c.args) shown += "[" + a.substr(0, 30) + "] ";
        const auto result = runCli(c.args);
        EXPECT_EQ(result.status, kExitUsage) << shown;
        EXPECT_TRUE(result.out.empty()) << shown;
        ASSERT_FALSE(result.err.empty()) << shown;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << shown << result.err;
        EXPECT_EQ(result.err.back(), '\n') << shown;
        EXPECT_THAT(result.err, HasSubstr(c.mentions)) << shown;
        // The longest lists the 23 kind names (about 240 characters) beside a word cut short.
        EXPECT_LT(result.err.size(), 400u) << shown;
    }
}

TEST(CliErrors, MessageSaysWhatTheOptionAccepts) {
    const auto result = runCli({"positions", "--date", "720-13-01"});
    EXPECT_EQ(result.err,
              "morvane-astro-cli: --date: expected Y-M-D with year 1 to 1000000, month 1 to 12, "
              "day 1 to 30, got \"720-13-01\"\n");
    EXPECT_EQ(runCli({"events", "--kinds", "sunrise,moonrize"}).err,
              "morvane-astro-cli: --kinds: expected kinds from new-moon,first-quarter,full-moon,"
              "last-quarter,solar-eclipse,lunar-eclipse,conjunction,opposition,sunrise,sunset,"
              "moonrise,moonset,noon,midnight,civil-dawn,civil-dusk,nautical-dawn,nautical-dusk,"
              "astronomical-dawn,astronomical-dusk,ingress,equinox,solstice; got \"moonrize\"\n");
    EXPECT_EQ(runCli({"almanac", "--from", "720-3-1", "--to", "720-2-30"}).err,
              "morvane-astro-cli: --to: 720-02-30 comes before --from 720-03-01; expected that "
              "day or a later one\n");
}

TEST(CliErrors, FailedWriteIsStatusOne) {
    // The event commands write as they go, the others at the end.
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"labels"},
             {"events", "--days", "360"},
             {"next", "full-moon", "--json"},
             {"calendar", "--year"},
             {"almanac", "--from", "720-1-1", "--to", "729-12-30"}}) {
        std::ostringstream out;
        std::ostringstream err;
        out.setstate(std::ios::badbit);
        EXPECT_EQ(run(args, out, err), kExitWriteFailure) << args[0];
        EXPECT_EQ(err.str(), "morvane-astro-cli: cannot write to standard output\n") << args[0];
    }
}

}  // namespace
}  // namespace morvane::cli
