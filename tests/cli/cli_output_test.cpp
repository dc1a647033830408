#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "cli_test_support.h"

namespace morvane::cli {
namespace {

using testing::runCli;

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
}

TEST(CliOutput, DefaultsAreTheModelsDefaults) {
    EXPECT_EQ(runCli({"positions"}).out, runCli({"positions", "--date", "720-1-1", "--time",
                                                 "12:00", "--lat", "40.5N", "--lon", "20.9W"})
                                             .out);
}

TEST(CliOutput, DayCountOverridesTheCalendarOptions) {
    EXPECT_EQ(runCli({"labels", "--t", "0", "--date", "5-5-5", "--local-time"}).out,
              runCli({"labels", "--t", "0"}).out);
}

TEST(CliOutput, LabelsOfTheEpoch) {
    const auto result = runCli({"labels", "--t", "0", "--lon", "0"});
    ASSERT_EQ(result.status, kExitOk);
    // Full moon at t = 14.129425…, new moon at 29.129425…: 15:06 OST on days 15 and 30.
    const std::regex expected(
        "Date: 001-01-01 12:00 OST\n"
        "Next full moon: 001-01-15 15:06 OST  \\(local \\d\\d:\\d\\d\\)\n"
        "Next new moon: 001-01-30 15:06 OST  \\(local \\d\\d:\\d\\d\\)\n");
    EXPECT_TRUE(std::regex_match(result.out, expected)) << result.out;
}

TEST(CliOutput, AnyMinuteIsTakenAsTyped) {
    EXPECT_EQ(runCli({"labels", "--time", "01:01"}).out.substr(0, 26),
              "Date: 720-01-01 01:01 OST\n");
    EXPECT_EQ(runCli({"labels", "--date", "720-6-15", "--time", "18:15"}).out.substr(0, 26),
              "Date: 720-06-15 18:15 OST\n");
}

TEST(CliOutput, LocalTimeIsSolvedAtThePlace) {
    const auto result =
        runCli({"labels", "--date", "1-1-1", "--time", "12:00", "--local-time", "--lon", "0"});
    EXPECT_EQ(result.out.substr(0, 26), "Date: 001-01-01 11:58 OST\n");
}

TEST(CliOutput, ExtremeButValidMomentsFinish) {
    for (const char* t : {"1e9", "-1e9", "0.000001"}) {
        const auto result = runCli({"labels", "--t", t});
        EXPECT_EQ(result.status, kExitOk) << t << result.err;
        EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 3) << t;
    }
    const auto lastDay = runCli({"positions", "--date", "1000000-12-30", "--time", "23:59"});
    EXPECT_EQ(lastDay.status, kExitOk);
    for (const char* pole : {"90N", "90S", "0"}) {
        EXPECT_EQ(runCli({"positions", "--lat", pole}).status, kExitOk) << pole;
    }
}

TEST(CliOutput, PositionsAsJson) {
    const auto result = runCli({"positions", "--json", "--t", "0", "--lat", "40N", "--lon", "0"});
    ASSERT_EQ(result.status, kExitOk);
    EXPECT_TRUE(
        result.out.starts_with("[\n  {\"name\": \"Nolomar\", \"bodyType\": \"Sun\", "
                               "\"azimuth\": \"    :43\", \"altitude\": \" 049:49\", "
                               "\"ecLong\": \" 359:30\", \"sign\": \"Ládo       \", "
                               "\"azimuthDeg\": 0."))
        << result.out;
    EXPECT_TRUE(result.out.ends_with("}\n]\n"));
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '{'), 6);
    EXPECT_NE(result.out.find("\"ecLongDeg\": -173.7"), std::string::npos);  // Kenôr
}

TEST(CliOutput, CatalogueLinesReadBackToTheStoredDoubles) {
    const auto result = runCli({"catalogue"});
    ASSERT_EQ(result.status, kExitOk);
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 724);
    const std::string firstLine = result.out.substr(0, result.out.find('\n'));
    EXPECT_TRUE(firstLine.starts_with("_BACKGROUND002\t")) << firstLine;
    EXPECT_EQ(std::count(firstLine.begin(), firstLine.end(), '\t'), 6);
    EXPECT_NE(result.out.find("\nNORTH\t0\t1.5707963267948966\t"), std::string::npos);
    EXPECT_TRUE(result.out.ends_with("\t1\t#f4f4f3\n"));

    const auto json = runCli({"catalogue", "--json"});
    ASSERT_EQ(json.status, kExitOk);
    EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '{'), 724);
    EXPECT_NE(json.out.find("{\"name\": \"Lókiârn\", \"eqPhi\": 5.459586531581287, "
                            "\"eqTheta\": -0.7504915783575616, "),
              std::string::npos);
}

TEST(CliOutput, TableShapes) {
    const auto lineCount = [](const std::string& text) {
        return std::count(text.begin(), text.end(), '\n');
    };
    EXPECT_EQ(lineCount(runCli({"sunmoon"}).out), 1 + 24);
    EXPECT_EQ(lineCount(runCli({"sunmoon", "--monthly"}).out), 1 + 30);
    EXPECT_EQ(lineCount(runCli({"sunmoon", "--rows", "0"}).out), 1);
    EXPECT_EQ(lineCount(runCli({"conjunctions"}).out), 2 + 144);
    EXPECT_EQ(lineCount(runCli({"conjunctions", "--yearly"}).out), 2 + 360);
    // "10m" is exactly the default ten-minute step, and "1d" the yearly one.
    EXPECT_EQ(runCli({"conjunctions", "--step", "10m"}).out, runCli({"conjunctions"}).out);
    EXPECT_EQ(runCli({"conjunctions", "--rows", "360", "--step", "1d"}).out,
              runCli({"conjunctions", "--yearly"}).out);
    EXPECT_EQ(runCli({"sunmoon", "--step", "1h"}).out, runCli({"sunmoon"}).out);
    const auto backwards = runCli({"sunmoon", "--rows", "2", "--step", "-0.5"}).out;
    EXPECT_NE(backwards.find("\n720-01-01 00:00 OST"), std::string::npos) << backwards;
}

TEST(CliOutput, ChartsAreWholeDocuments) {
    const auto map = runCli({"starmap"});
    ASSERT_EQ(map.status, kExitOk);
    EXPECT_TRUE(map.out.starts_with(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 360 360\" >\n"));
    EXPECT_TRUE(map.out.ends_with("</svg>\n"));
    const auto wheel = runCli({"horoscope"});
    ASSERT_EQ(wheel.status, kExitOk);
    EXPECT_NE(wheel.out.find("Sun HA: -20.5°   MC: 336.9°"), std::string::npos);
    EXPECT_TRUE(wheel.out.ends_with("</svg>\n"));
}

TEST(CliOutput, HelpAndVersion) {
    const auto help = runCli({"--help"});
    EXPECT_EQ(help.status, kExitOk);
    EXPECT_NE(help.out.find("Usage: morvane-astro-cli COMMAND"), std::string::npos);
    const auto version = runCli({"--version"});
    EXPECT_EQ(version.status, kExitOk);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("morvane-astro-cli \\d+\\.\\d+\\.\\d+ "
                                                         "\\(build \\w+\\)\n")));
}

}  // namespace
}  // namespace morvane::cli
