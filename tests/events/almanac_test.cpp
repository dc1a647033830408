#include "events/almanac.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/sun_moon.h"
#include "events/event_table.h"

namespace morvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const EventFinder kGoris(degreesToRadians(40.5), degreesToRadians(-20.9));

std::vector<std::string> idsOf(const std::vector<SkyEvent>& events) {
    std::vector<std::string> ids;
    for (const SkyEvent& event : events) ids.push_back(eventId(event));
    return ids;
}

SkyEvent eventAt(EventKind kind, double t) {
    SkyEvent event;
    event.kind = kind;
    event.t = t;
    event.bodies[0] = SkyBody::yael;
    event.bodyCount = 1;
    return event;
}

// Splits one CSV line as RFC 4180 reads it: quoted fields may hold commas and doubled quotes.
std::vector<std::string> csvFields(std::string_view line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(AlmanacGroups, KindsComeInTheEnginesOrderEachOnce) {
    EXPECT_THAT(almanacKinds(std::vector{AlmanacGroup::sunrises, AlmanacGroup::moonPhases,
                                         AlmanacGroup::sunrises}),
                ElementsAre(EventKind::newMoon, EventKind::firstQuarter, EventKind::fullMoon,
                            EventKind::lastQuarter, EventKind::sunrise, EventKind::sunset));
    // The groups do not share a kind, and the default leaves out only the daily rises and sets.
    std::size_t inGroups = 0;
    for (const AlmanacGroup group : kAllAlmanacGroups) {
        inGroups += almanacGroupKinds(group).size();
        EXPECT_FALSE(almanacGroupTitle(group).empty());
    }
    EXPECT_EQ(almanacKinds(kAllAlmanacGroups).size(), inGroups);
    const std::vector<EventKind> standard = defaultAlmanacKinds();
    EXPECT_EQ(standard.size(), inGroups - 2);
    EXPECT_TRUE(std::is_sorted(standard.begin(), standard.end()));
    for (const EventKind kind : {EventKind::sunrise, EventKind::sunset, EventKind::moonrise,
                                 EventKind::noon, EventKind::civilDawn}) {
        EXPECT_EQ(std::count(standard.begin(), standard.end(), kind), 0) << kindName(kind);
    }
}

TEST(AlmanacSpan, RunsFromTheFirstMidnightToTheEndOfTheLastDay) {
    const AlmanacSpan year = almanacSpan({720, 1, 1}, {720, 12, 30});
    EXPECT_EQ(year.from, dayCount(720, 0, 0, 0.0));
    EXPECT_EQ(year.from, 258839.5);
    EXPECT_EQ(year.days, 360);
    EXPECT_EQ(year.to, year.from + 360.0);
    // Across a year's end, one day, and a last day before the first.
    const AlmanacSpan turn = almanacSpan({719, 12, 29}, {720, 1, 2});
    EXPECT_EQ(turn.days, 4);
    EXPECT_EQ(turn.to, dayCount(720, 0, 2, 0.0));
    EXPECT_EQ(almanacSpan({5, 3, 7}, {5, 3, 7}).days, 1);
    const AlmanacSpan backwards = almanacSpan({720, 3, 2}, {720, 3, 1});
    EXPECT_EQ(backwards.days, 0);
    EXPECT_EQ(backwards.to, backwards.from);
    // The last accepted day ends far inside the day counts the engine labels.
    EXPECT_EQ(almanacSpan({1, 1, 1}, {1'000'000, 12, 30}).days, 360'000'000);
}

TEST(EventId, NamesTheKindTheBodiesAndTheMinuteInAscii) {
    const std::vector<SkyEvent> events =
        kGoris.between(std::vector{EventKind::fullMoon, EventKind::solarEclipse,
                                   EventKind::conjunction, EventKind::ingress},
                       258839.5, 258839.5 + 720.0);
    const std::regex shape(
        R"(^[a-z-]+:[a-z]+(\+[a-z]+)?:[0-9]+-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}$)");
    std::set<std::string> kinds;
    for (const SkyEvent& event : events) {
        const std::string id = eventId(event);
        EXPECT_TRUE(std::regex_match(id, shape)) << id;
        EXPECT_TRUE(id.starts_with(std::string(kindName(event.kind)) + ":")) << id;
        // The date and minute are those the calendar labels the moment rounded to the minute.
        const double minute = std::round((event.t + 0.5) * 1440.0) / 1440.0 - 0.5;
        std::string label = dateLabel(minute);
        label.resize(label.find(" OST"));
        label[label.find(' ')] = 'T';
        EXPECT_TRUE(id.ends_with(":" + label)) << id << " at " << dateLabel(event.t);
        kinds.insert(id.substr(0, id.find(':', id.find(':') + 1)));
    }
    EXPECT_TRUE(kinds.contains("conjunction:epeon+alaran")) << fmt::format("{}", kinds.size());
    EXPECT_TRUE(kinds.contains("solar-eclipse:nolomar+yael"));
    EXPECT_TRUE(kinds.contains("full-moon:yael"));
    EXPECT_TRUE(kinds.contains("ingress:nolomar"));

    // Rounding to the nearest minute, before the first day and far on; no padding of the year.
    const double second = 1.0 / 86400.0;
    EXPECT_EQ(eventId(eventAt(EventKind::newMoon, 0.0)), "new-moon:yael:1-01-01T12:00");
    EXPECT_EQ(eventId(eventAt(EventKind::newMoon, -0.5)), "new-moon:yael:1-01-01T00:00");
    EXPECT_EQ(eventId(eventAt(EventKind::newMoon, -0.5 - 31 * second)),
              "new-moon:yael:0-12-30T23:59");
    EXPECT_EQ(eventId(eventAt(EventKind::newMoon, 258840.0 + 29 * second)),
              "new-moon:yael:720-01-01T12:00");
    EXPECT_EQ(eventId(eventAt(EventKind::newMoon, 258840.0 + 31 * second)),
              "new-moon:yael:720-01-01T12:01");
    EXPECT_EQ(eventId(eventAt(EventKind::newMoon, 258839.5 - 10 * second)),
              "new-moon:yael:720-01-01T00:00");
    EXPECT_EQ(eventId(eventAt(EventKind::newMoon, 359999999.5 - 40 * second)),
              "new-moon:yael:1000000-12-30T23:59");
}

TEST(EventId, StaysTheSameAcrossOverlappingSpansAndPieces) {
    const std::vector<EventKind> kinds = almanacKinds(kAllAlmanacGroups);
    const EventFinder arctic(degreesToRadians(69.5), degreesToRadians(142.25));
    const double start = almanacSpan({719, 5, 11}, {719, 5, 11}).from;
    const auto first = arctic.between(kinds, start, start + 400.0);
    const auto second = arctic.between(kinds, start + 200.0, start + 600.0);
    std::vector<std::string> overlapFirst;
    for (const SkyEvent& event : first) {
        if (event.t >= start + 200.0) overlapFirst.push_back(eventId(event));
    }
    std::vector<std::string> overlapSecond;
    for (const SkyEvent& event : second) {
        if (event.t < start + 400.0) overlapSecond.push_back(eventId(event));
    }
    ASSERT_GT(overlapFirst.size(), 300u);
    EXPECT_EQ(overlapFirst, overlapSecond);

    // A span cut into days, and into months, gives the ids of the span in one piece.
    const auto whole = idsOf(arctic.between(kinds, start, start + 90.0));
    for (const double piece : {1.0, 30.0}) {
        std::vector<std::string> pieces;
        for (double from = start; from < start + 90.0; from += piece) {
            const auto ids = idsOf(arctic.between(kinds, from, from + piece));
            pieces.insert(pieces.end(), ids.begin(), ids.end());
        }
        EXPECT_EQ(pieces, whole) << piece;
    }
}

TEST(EventId, NoTwoEventsOfACenturyShareOne) {
    // Every almanac kind for a hundred years, daily rises and sets included; every engine kind
    // (moonrises, noons, twilights) for two years.
    const AlmanacSpan century = almanacSpan({720, 1, 1}, {819, 12, 30});
    std::set<std::string> ids;
    std::int64_t count = 0;
    kGoris.between(almanacKinds(kAllAlmanacGroups), century.from, century.to,
                   [&](const SkyEvent& event) {
                       ids.insert(eventId(event));
                       ++count;
                   });
    EXPECT_GT(count, 72'000);
    EXPECT_EQ(static_cast<std::int64_t>(ids.size()), count);
    const auto every = idsOf(kGoris.between(kAllEventKinds, century.from, century.from + 720.0));
    EXPECT_EQ(std::set<std::string>(every.begin(), every.end()).size(), every.size());
}

TEST(AlmanacCounts, AgreeWithTheMoonsOwnPhaseSearch) {
    const AlmanacSpan span = almanacSpan({720, 1, 1}, {722, 12, 30});
    AlmanacCounts counts;
    kGoris.between(defaultAlmanacKinds(), span.from, span.to,
                   [&counts](const SkyEvent& event) { counts.add(event); });
    // Full and new moons counted year by year from the sun and moon table's phase search.
    for (const auto& [target, kind] :
         {std::pair{kPi, EventKind::fullMoon}, std::pair{0.0, EventKind::newMoon}}) {
        std::int64_t all = 0;
        for (std::int64_t year = 720; year <= 722; ++year) {
            const double end = dayCount(year + 1, 0, 0, 0.0);
            std::int64_t n = 0;
            for (double t = nextMoonPhase(dayCount(year, 0, 0, 0.0), target); t < end;
                 t = nextMoonPhase(t + 1.0, target)) {
                ++n;
            }
            EXPECT_EQ(counts.perYear.at(year)[static_cast<std::size_t>(kind)], n)
                << kindName(kind) << " " << year;
            all += n;
        }
        EXPECT_EQ(counts.perKind[static_cast<std::size_t>(kind)], all) << kindName(kind);
    }
    std::int64_t sum = 0;
    for (const auto& [year, perKind] : counts.perYear) {
        for (const std::int64_t n : perKind) sum += n;
    }
    EXPECT_EQ(sum, counts.total);
    EXPECT_EQ(counts.perYear.size(), 3u);
    // Each year has four seasons.
    for (const auto& [year, perKind] : counts.perYear) {
        EXPECT_EQ(perKind[static_cast<std::size_t>(EventKind::equinox)] +
                      perKind[static_cast<std::size_t>(EventKind::solstice)],
                  4)
            << year;
    }
}

TEST(AlmanacCounts, TextListsEveryKindAskedAndEveryYearBetween) {
    // Solar eclipses only, over years some of which have none.
    const std::vector kinds = {EventKind::solarEclipse, EventKind::lunarEclipse};
    const AlmanacSpan span = almanacSpan({700, 1, 1}, {739, 12, 30});
    AlmanacCounts counts;
    kGoris.between(std::vector{EventKind::solarEclipse}, span.from, span.to,
                   [&counts](const SkyEvent& event) { counts.add(event); });
    const auto lines = linesOf(almanacCountsText(counts, kinds));
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Events by kind");
    EXPECT_EQ(lines[1], fmt::format("solar-eclipse      {}", counts.total));
    EXPECT_TRUE(lines[2].starts_with("lunar-eclipse      ")) << lines[2];
    EXPECT_TRUE(lines[2].ends_with(" 0")) << lines[2];
    EXPECT_EQ(lines[3], fmt::format("all                {}", counts.total));
    EXPECT_EQ(lines[5], "Events by year");
    EXPECT_EQ(lines[6], "Year  solar-eclipse  lunar-eclipse  all");
    const std::int64_t firstYear = counts.perYear.begin()->first;
    const std::int64_t lastYear = counts.perYear.rbegin()->first;
    ASSERT_LT(counts.perYear.size(), static_cast<std::size_t>(lastYear - firstYear + 1))
        << "every year has an eclipse: pick a rarer kind";
    ASSERT_EQ(lines.size(), 7 + static_cast<std::size_t>(lastYear - firstYear + 1));
    std::int64_t total = 0;
    for (std::size_t i = 7; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), lines[6].size()) << lines[i];
        std::istringstream row(lines[i]);
        std::int64_t year = 0, solar = 0, lunar = 0, all = 0;
        row >> year >> solar >> lunar >> all;
        EXPECT_EQ(year, firstYear + static_cast<std::int64_t>(i - 7));
        const auto found = counts.perYear.find(year);
        EXPECT_EQ(solar, found == counts.perYear.end()
                             ? 0
                             : found->second[static_cast<std::size_t>(EventKind::solarEclipse)])
            << lines[i];
        EXPECT_EQ(lunar, 0);
        EXPECT_EQ(all, solar);
        total += solar;
    }
    EXPECT_EQ(total, counts.total);
    // Without kinds given, those that came up.
    EXPECT_THAT(almanacCountsText(counts), HasSubstr("\nYear  solar-eclipse  all\n"));
    EXPECT_EQ(almanacCountsText(AlmanacCounts{}), "Events by kind\nall                0\n");
}

TEST(AlmanacRows, CsvAndJsonCarryTheIdBeforeTheEventsOwnFields) {
    const auto events = kGoris.between(std::vector{EventKind::conjunction, EventKind::ingress},
                                       258839.5, 258839.5 + 1440.0);
    const double longitude = degreesToRadians(-20.9);
    EXPECT_EQ(almanacCsvHeader(), "id,kind,t,label,local,bodies,class,visible,sign,pair\n");
    bool quotedBodies = false;
    for (const SkyEvent& event : events) {
        const std::string row = almanacCsvRow(event, longitude);
        ASSERT_TRUE(row.ends_with("\n"));
        const auto fields = csvFields(std::string_view(row).substr(0, row.size() - 1));
        ASSERT_EQ(fields.size(), 10u) << row;
        EXPECT_EQ(fields[0], eventId(event));
        EXPECT_EQ(fields[1], kindName(event.kind));
        EXPECT_EQ(std::stod(fields[2]), event.t);
        EXPECT_EQ(fields[5], eventBodies(event)) << row;
        quotedBodies = quotedBodies || row.find(",\"" + eventBodies(event) + "\",") != row.npos;

        const std::string json = almanacJson(event, longitude);
        EXPECT_EQ(json,
                  "{\"id\": \"" + eventId(event) + "\", " + eventJson(event, longitude).substr(1));
    }
    EXPECT_TRUE(quotedBodies) << "no two-body row with a comma to quote";
}

// A stream that takes a set number of characters and then fails, like a closed pipe.
class FailingBuffer : public std::streambuf {
  public:
    explicit FailingBuffer(std::size_t room) : room_(room) {}

  protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        if (static_cast<std::size_t>(n) > room_) return 0;
        room_ -= static_cast<std::size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override {
        return xsputn(nullptr, 1) == 1 ? c : traits_type::eof();
    }

  private:
    std::size_t room_;
};

TEST(AlmanacWriter, WritesLongSpansWholeInEachFormat) {
    // Long enough that the output goes out in many blocks.
    const AlmanacSpan span = almanacSpan({720, 1, 1}, {749, 12, 30});
    const std::vector<EventKind> kinds = defaultAlmanacKinds();
    const std::vector<SkyEvent> events = kGoris.between(kinds, span.from, span.to);
    const double longitude = kGoris.longitude();
    const std::vector<std::string> heading =
        almanacHeading("Goris", {720, 1, 1}, {749, 12, 30}, kinds);
    EXPECT_THAT(heading,
                ElementsAre("Place: Goris",
                            "Span: 720-01-01 to 749-12-30, 10800 days, 00:00 OST to 24:00 OST",
                            HasSubstr("Kinds: new-moon, first-quarter, full-moon, ")));

    std::ostringstream text, csv, json;
    AlmanacWriter toText(text, AlmanacFormat::text, longitude, heading, kinds);
    AlmanacWriter toCsv(csv, AlmanacFormat::csv, longitude);
    AlmanacWriter toJson(json, AlmanacFormat::json, longitude);
    for (const SkyEvent& event : events) {
        for (AlmanacWriter* writer : {&toText, &toCsv, &toJson}) writer->add(event);
    }
    for (AlmanacWriter* writer : {&toText, &toCsv, &toJson}) {
        writer->finish();
        EXPECT_EQ(writer->count(), static_cast<std::int64_t>(events.size()));
    }
    ASSERT_GT(csv.str().size(), 10u * 65536u);

    const auto textLines = linesOf(text.str());
    const auto csvLines = linesOf(csv.str());
    const auto jsonLines = linesOf(json.str());
    ASSERT_EQ(csvLines.size(), events.size() + 1);
    ASSERT_EQ(jsonLines.size(), events.size() + 2);
    EXPECT_EQ(jsonLines.front(), "[");
    EXPECT_EQ(jsonLines.back(), "]");
    ASSERT_GT(textLines.size(), events.size() + 5);
    EXPECT_EQ(textLines[3], "");
    EXPECT_EQ(textLines[4] + "\n", eventTableHeader());
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::string id = eventId(events[i]);
        EXPECT_EQ(textLines[5 + i] + "\n", eventTableRow(events[i], longitude)) << i;
        EXPECT_TRUE(csvLines[1 + i].starts_with(id + ",")) << i;
        EXPECT_TRUE(jsonLines[1 + i].starts_with("  {\"id\": \"" + id + "\", ")) << i;
        EXPECT_EQ(jsonLines[1 + i].ends_with(","), i + 1 < events.size()) << i;
    }
    EXPECT_EQ(textLines[5 + events.size()], "");
    EXPECT_EQ(text.str().substr(text.str().find("\nEvents by kind\n") + 1),
              almanacCountsText(toText.counts(), kinds));

    std::ostringstream empty;
    AlmanacWriter none(empty, AlmanacFormat::json, longitude);
    none.finish();
    EXPECT_EQ(empty.str(), "[]\n");

    // A stream that stops taking text stops the writer, in a block or at the end.
    for (const std::size_t room : {std::size_t{100}, std::size_t{300'000}}) {
        FailingBuffer buffer(room);
        std::ostream closed(&buffer);
        AlmanacWriter writer(closed, AlmanacFormat::csv, longitude);
        EXPECT_THROW(
            {
                for (const SkyEvent& event : events) writer.add(event);
                writer.finish();
            },
            std::ios_base::failure)
            << room;
    }
}

}  // namespace
}  // namespace morvane
