// The calendar and almanac commands as a user runs them: what they list is held against the
// events command and the engine; almanac_formats.py reads their JSON and CSV back with Python's
// parsers, and the golden cases pin whole outputs.
#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <sstream>

#include "cli_test_support.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "events/almanac.h"
#include "events/calendar_month.h"

namespace morvane::cli {
namespace {

using ::testing::HasSubstr;
using testing::numbersAfter;
using testing::runCli;
using ::testing::StartsWith;

using Args = std::vector<std::string>;

Args joined(Args head, const Args& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::ptrdiff_t occurrences(const std::string& text, const std::string& what) {
    std::ptrdiff_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The objects of a JSON array written one a line, without the separating commas.
std::vector<std::string> objectLines(const std::string& json) {
    std::vector<std::string> objects;
    for (std::string line : linesOf(json)) {
        line.erase(0, line.find_first_not_of(' '));
        if (!line.starts_with("{\"")) continue;
        if (line.ends_with(",")) line.pop_back();
        objects.push_back(line);
    }
    return objects;
}

const std::regex kId(R"re("id": "([^"]+)", )re");

std::string withoutId(const std::string& object) { return std::regex_replace(object, kId, ""); }

// How far the local solar time at t lies from `minutes` past a midnight, in minutes.
double minutesFrom(double t, double longitude, double minutes) {
    const double off = std::fmod(localSolarMinutes(t, longitude) - minutes, 1440.0);
    return std::min(std::fabs(off), 1440.0 - std::fabs(off));
}

// The table rows of a text almanac: the lines between the table's header and the blank line.
std::vector<std::string> tableRows(const std::string& text) {
    const auto lines = linesOf(text);
    const auto header = std::find_if(lines.begin(), lines.end(),
                                     [](const std::string& l) { return l.starts_with("Date "); });
    const auto end = std::find(header, lines.end(), std::string());
    return {header + 1, end};
}

TEST(AlmanacCommand, HoldsExactlyTheEventsOfTheSameDays) {
    // Its JSON is the events command's for the same days with an id put first, its table the
    // events table; the default kinds, the given kinds, and a day at the polar circle.
    std::string standard;
    for (const EventKind kind : defaultAlmanacKinds()) {
        standard += (standard.empty() ? "" : ",") + std::string(kindName(kind));
    }
    const std::vector<std::pair<Args, Args>> cases = {
        {{"--from", "720-1-1", "--to", "720-12-30"},
         {"--date", "720-1-1", "--days", "360", "--kinds", standard}},
        {{"--from", "719-12-29", "--to", "720-1-2", "--place", "goris", "--kinds",
          "sunrise,sunset,full-moon"},
         {"--date", "719-12-29", "--days", "4", "--place", "goris", "--kinds",
          "sunrise,sunset,full-moon"}},
        {{"--from", "1500-7-15", "--to", "1500-7-15", "--lat", "66.6S", "--kinds",
          "noon,midnight,moonrise,sunset"},
         {"--date", "1500-7-15", "--days", "1", "--lat", "66.6S", "--kinds",
          "noon,midnight,moonrise,sunset"}},
    };
    for (const auto& [span, days] : cases) {
        const Args almanac = joined({"almanac"}, span);
        const Args events = joined({"events", "--time", "00:00"}, days);
        const auto json = runCli(joined(almanac, {"--json"}));
        ASSERT_EQ(json.status, kExitOk) << span[1] << json.err;
        const auto objects = objectLines(json.out);
        const auto expected = objectLines(runCli(joined(events, {"--json"})).out);
        ASSERT_FALSE(objects.empty()) << span[1];
        ASSERT_EQ(objects.size(), expected.size()) << span[1];
        for (std::size_t i = 0; i < objects.size(); ++i) {
            EXPECT_TRUE(objects[i].starts_with("{\"id\": \"")) << objects[i];
            EXPECT_EQ(withoutId(objects[i]), expected[i]) << span[1];
        }
        const auto text = runCli(almanac).out;
        EXPECT_EQ(tableRows(text), tableRows(runCli(events).out)) << span[1];
        EXPECT_EQ(runCli(joined(almanac, {"--format", "json"})).out, json.out);
        EXPECT_EQ(runCli(joined(almanac, {"--format", "txt"})).out, text);
    }
}

TEST(CalendarCommand, MonthAgreesWithTheEventsOfItsDays) {
    for (const Args& place : {Args{}, Args{"--lat", "80S", "--lon", "33.5E"}}) {
        const auto month = runCli(joined({"calendar", "--json", "--date", "720-4-9"}, place));
        ASSERT_EQ(month.status, kExitOk) << month.err;
        EXPECT_THAT(month.out, StartsWith("{\n  \"year\": 720,\n  \"month\": 4,\n  \"name\": "));
        EXPECT_THAT(month.out, HasSubstr("\n  \"clock\": \"reference\",\n  \"hour\": 12,\n"));
        const auto days = objectLines(month.out.substr(month.out.find("\"days\"")));
        ASSERT_EQ(days.size(), 30u);
        const auto starts = numbersAfter(month.out, "start");
        const auto moments = numbersAfter(month.out, "moment");
        for (int d = 0; d < 30; ++d) {
            EXPECT_THAT(days[static_cast<std::size_t>(d)],
                        StartsWith(fmt::format("{{\"date\": \"720-04-{:02d}\", ", d + 1)));
            EXPECT_EQ(starts.at(static_cast<std::size_t>(d)), dayCount(720, 3, d, 0.0));
            EXPECT_EQ(moments.at(static_cast<std::size_t>(d)), dayCount(720, 3, d, 12.0));
        }
        // The marks are the almanac's objects for the month's days and mark kinds; the sunrises
        // and sunsets those of the events command.
        std::string kinds;
        for (const EventKind kind : kMonthMarkKinds) {
            kinds += (kinds.empty() ? "" : ",") + std::string(kindName(kind));
        }
        const auto almanac = runCli(
            joined({"almanac", "--from", "720-4-1", "--to", "720-4-30", "--json", "--kinds", kinds},
                   place));
        std::string marks;
        for (const std::string& object : objectLines(almanac.out)) {
            // Only Nolomar's ingresses mark a day.
            const bool otherIngress = object.find("\"kind\": \"ingress\"") != std::string::npos &&
                                      object.find("\"bodies\": [\"Nolomar\"]") == std::string::npos;
            if (!otherIngress) marks += object + "\n";
        }
        std::string found;
        const std::regex markList(R"re("marks": \[(.*)\]\}$)re");
        for (const std::string& day : days) {
            std::smatch match;
            ASSERT_TRUE(std::regex_search(day, match, markList)) << day;
            const std::string list = match[1];
            for (std::size_t at = 0; at < list.size();) {
                const std::size_t end = list.find("}, {\"id\"", at);
                found += list.substr(at, end == std::string::npos ? end : end + 1 - at) + "\n";
                at = end == std::string::npos ? list.size() : end + 3;
            }
        }
        EXPECT_EQ(found, marks);
        const auto sunrises = runCli(joined({"events", "--date", "720-4-1", "--time", "00:00",
                                             "--days", "30", "--kinds", "sunrise", "--json"},
                                            place));
        const auto expected = numbersAfter(sunrises.out, "t");
        std::vector<double> listed;
        const std::regex riseList(R"re("sunrises": \[([^\]]*)\])re");
        for (const std::string& day : days) {
            std::smatch match;
            ASSERT_TRUE(std::regex_search(day, match, riseList)) << day;
            const auto ts = numbersAfter(match[1], "t");
            listed.insert(listed.end(), ts.begin(), ts.end());
            // A day without sunrise or sunset in the southern winter's polar night.
            if (!place.empty()) {
                EXPECT_THAT(day, HasSubstr("\"sunDay\": \"polar-night\"")) << day;
            }
        }
        EXPECT_EQ(listed, expected);
        if (place.empty()) {
            EXPECT_EQ(listed.size(), 30u);
        }
    }
}

TEST(CalendarCommand, TheMomentChoosesMonthYearHourAndClock) {
    // --t names the month of its calendar date and the hour of its clock time.
    const auto fromT = runCli({"calendar", "--json", "--t", "259000.3"});
    const CalendarFields f = calendarFields(259000.3);
    ASSERT_EQ(fromT.status, kExitOk) << fromT.err;
    EXPECT_THAT(fromT.out,
                HasSubstr(fmt::format("\"year\": {},\n  \"month\": {},", f.year, f.month)));
    EXPECT_EQ(fromT.out, runCli({"calendar", "--json", "--date",
                                 fmt::format("{}-{}-{}", f.year, f.month, f.day), "--time",
                                 fmt::format("{:02d}:{:02d}", f.hour, f.minute)})
                             .out);

    // On the local clock a day runs from local midnight, and the phase is shown at the local
    // hour: the moment the other commands read from the same date and time.
    const double longitude = degreesToRadians(100.0);
    const auto local =
        runCli({"calendar", "--json", "--local-time", "--time", "06:30", "--lon", "100E"});
    EXPECT_THAT(local.out, HasSubstr("\"clock\": \"local\",\n  \"hour\": 6.5,\n"));
    const auto moments = numbersAfter(local.out, "moment");
    ASSERT_EQ(moments.size(), 30u);
    for (int d : {0, 17, 29}) {
        const double t = localDayCount(dayCount(720, 0, d, 6, 30), 6.5, longitude);
        EXPECT_NEAR(moments[static_cast<std::size_t>(d)], t, 1e-5) << d;
        EXPECT_LT(minutesFrom(moments[static_cast<std::size_t>(d)], longitude, 390.0), 0.01);
    }
    const auto starts = numbersAfter(local.out, "start");
    ASSERT_EQ(starts.size(), 30u);
    EXPECT_LT(minutesFrom(starts[3], longitude, 0.0), 0.01);
    EXPECT_NEAR(starts[3], dayCount(720, 0, 3, 0.0) - 100.0 / 360.0, 0.02);

    // The year: twelve months of thirty days, phases without rises and sets, and the year's
    // marks; the same months as the month view at the same hour.
    const auto year = runCli({"calendar", "--year", "--json", "--date", "721-5-5"});
    ASSERT_EQ(year.status, kExitOk) << year.err;
    EXPECT_EQ(occurrences(year.out, "{\"date\": \""), 360);
    EXPECT_EQ(occurrences(year.out, "{\"month\": "), 12);
    EXPECT_THAT(year.out, ::testing::Not(HasSubstr("sunrises")));
    const auto month = runCli({"calendar", "--json", "--date", "721-5-5"});
    const auto monthPhases = numbersAfter(month.out, "illuminated");
    const auto yearPhases = numbersAfter(year.out, "illuminated");
    ASSERT_EQ(yearPhases.size(), 360u);
    EXPECT_TRUE(std::equal(monthPhases.begin(), monthPhases.end(), yearPhases.begin() + 120));
}

TEST(CalendarCommand, TextAndPicturesNameThePlaceAndFrameTheChosenDay) {
    const auto text = runCli({"calendar", "--place", "Goris", "--date", "720-6-7"});
    ASSERT_EQ(text.status, kExitOk) << text.err;
    const auto lines = linesOf(text.out);
    EXPECT_THAT(lines.at(0), HasSubstr(" 720"));
    EXPECT_EQ(lines.at(1), "Goris");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("720-06-"); }),
              30);
    EXPECT_THAT(runCli({"calendar", "--lat", "12.25S", "--lon", "100E"}).out,
                HasSubstr("\n12.25°S 100.00°E\n"));

    const auto svg = runCli({"calendar", "--format", "svg", "--date", "720-6-7"});
    ASSERT_EQ(svg.status, kExitOk) << svg.err;
    EXPECT_THAT(svg.out, StartsWith("<svg"));
    EXPECT_THAT(svg.out, HasSubstr("40.50°N 20.90°W"));
    // Another day of the same month draws the same month with another day framed.
    const auto other = runCli({"calendar", "--format", "svg", "--date", "720-6-8"}).out;
    EXPECT_NE(other, svg.out);
    EXPECT_EQ(runCli({"calendar", "--format", "txt", "--date", "720-6-8"}).out,
              runCli({"calendar", "--date", "720-6-7"}).out);
    const auto yearSvg = runCli({"calendar", "--year", "--format", "svg"});
    EXPECT_THAT(yearSvg.out, StartsWith("<svg"));
    EXPECT_NE(yearSvg.out,
              runCli({"calendar", "--year", "--format", "svg", "--date", "720-2-1"}).out);
}

}  // namespace
}  // namespace morvane::cli
