#include "charts/calendar_chart.h"

#include <expat.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/text.h"
#include "events/light.h"
#include "well_formed.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;

constexpr double kDegree = kPi / 180.0;
constexpr double kLatitude = 40.5 * kDegree;
constexpr double kLongitude = -20.9 * kDegree;
constexpr const char* kFullMoonFill = "#fff3b0";
constexpr const char* kEclipseRed = "#d0201c";

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
    [[nodiscard]] std::string get(const std::string& key) const {
        const auto it = attributes.find(key);
        return it == attributes.end() ? std::string() : it->second;
    }
    [[nodiscard]] double number(const std::string& key) const { return std::stod(get(key)); }
    // Where the element stands: its x, y; a circle's centre; a polygon's or path's first point.
    [[nodiscard]] std::pair<double, double> anchor() const {
        if (name == "circle") return {number("cx"), number("cy")};
        if (name == "polygon" || name == "path") {
            double x = 0.0;
            double y = 0.0;
            const std::string points = name == "path" ? get("d").substr(2) : get("points");
            std::sscanf(points.c_str(), "%lf,%lf", &x, &y);
            return {x, y};
        }
        return {number("x"), number("y")};
    }
};

// The document's elements in order, with their text decoded as any SVG reader decodes it.
std::vector<Element> parse(const std::string& svg) {
    struct State {
        std::vector<Element> elements;
        std::vector<std::size_t> open;
    } state;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(
        parser,
        [](void* data, const char* name, const char** attributes) {
            auto& s = *static_cast<State*>(data);
            Element e{name, {}, {}};
            for (int i = 0; attributes[i] != nullptr; i += 2)
                e.attributes[attributes[i]] = attributes[i + 1];
            s.open.push_back(s.elements.size());
            s.elements.push_back(std::move(e));
        },
        [](void* data, const char*) { static_cast<State*>(data)->open.pop_back(); });
    XML_SetCharacterDataHandler(parser, [](void* data, const char* text, int length) {
        auto& s = *static_cast<State*>(data);
        if (!s.open.empty()) s.elements[s.open.back()].text.append(text, length);
    });
    EXPECT_NE(XML_Parse(parser, svg.data(), static_cast<int>(svg.size()), 1), XML_STATUS_ERROR);
    XML_ParserFree(parser);
    return state.elements;
}

std::vector<Element> within(const std::vector<Element>& doc, const CalendarRect& r,
                            const std::string& name) {
    std::vector<Element> found;
    for (const Element& e : doc) {
        if (e.name != name || e.name == "svg") continue;
        const auto [x, y] = e.anchor();
        if (r.contains(x, y)) found.push_back(e);
    }
    return found;
}

bool hasText(const std::vector<Element>& doc, const CalendarRect& r, const std::string& text) {
    for (const Element& e : within(doc, r, "text"))
        if (e.text == text) return true;
    return false;
}

// The lit share of the phase disc in the rectangle and the side it is lit on (+1 right, −1 left),
// read off its path as SVG draws it: from the top along the limb to the bottom and back along
// the terminator, each a half-ellipse. A sweep flag of 1 turns clockwise on the page, so from
// the top it passes on the right, from the bottom on the left.
std::pair<double, int> litPart(const std::vector<Element>& doc, const CalendarRect& cell) {
    const std::vector<Element> paths = within(doc, cell, "path");
    double cx = 0, top = 0, rx1 = 0, ry1 = 0, x2 = 0, bottom = 0, rx2 = 0, ry2 = 0;
    int sweep1 = 0, sweep2 = 0;
    if (paths.size() != 1 ||
        std::sscanf(paths[0].get("d").c_str(),
                    "M %lf,%lf A %lf,%lf 0 0,%d %lf,%lf A %lf,%lf 0 0,%d", &cx, &top, &rx1, &ry1,
                    &sweep1, &x2, &bottom, &rx2, &ry2, &sweep2) != 10) {
        ADD_FAILURE() << "no phase disc in the cell at " << cell.x << "," << cell.y;
        return {0.0, 0};
    }
    const double radius = (bottom - top) / 2.0;
    EXPECT_TRUE(rx1 == radius && ry1 == radius && ry2 == radius && x2 == cx);
    double disc = 0.0, lit = 0.0, moment = 0.0;
    for (int i = 0; i < 400; ++i) {
        const double h = std::sqrt(1.0 - std::pow((i + 0.5) / 200.0 - 1.0, 2));
        const double limb = (sweep1 == 1 ? 1.0 : -1.0) * radius * h;
        const double terminator = (sweep2 == 1 ? -1.0 : 1.0) * rx2 * h;
        disc += 2.0 * radius * h;
        lit += std::fabs(limb - terminator);
        moment += std::fabs(limb - terminator) * (limb + terminator);
    }
    return {lit / disc, moment > 0.0 ? 1 : -1};
}

// The eclipse symbols in the rectangle: filled, only outlined, and how many are diamonds.
struct EclipseMarks {
    int filled = 0;
    int outlined = 0;
    int diamonds = 0;
};
EclipseMarks eclipseMarks(const std::vector<Element>& doc, const CalendarRect& cell) {
    EclipseMarks marks;
    for (const std::string shape : {"circle", "polygon"}) {
        for (const Element& g : within(doc, cell, shape)) {
            if (g.get("fill") == kEclipseRed) {
                ++marks.filled;
            } else if (g.get("stroke") == kEclipseRed) {
                ++marks.outlined;
            } else {
                continue;
            }
            marks.diamonds += shape == "polygon";
        }
    }
    return marks;
}

// The day the moment falls on.
int dayOf(const CalendarMonth& month, double t) {
    for (int d = 0; d < kCalendarDays; ++d) {
        const CalendarDay& day = month.days.at(static_cast<std::size_t>(d));
        if (t >= day.start && t < day.end) return d;
    }
    return -1;
}

// A click anywhere on a grid hits exactly one cell (the top and left edges are the cell's own),
// in reading order: five across, then the next row.
TEST(CalendarChart, EveryPointOfAGridHitsOneCellInReadingOrder) {
    const auto expectGrid = [](const CalendarRect& area, int rows, auto cellAt) {
        for (double y = area.y; y < area.y + area.height; y += area.height / (rows * 7.0)) {
            for (double x = area.x; x < area.x + area.width; x += area.width / 37.0) {
                std::vector<int> hits;
                for (int i = 0; i < rows * 5; ++i)
                    if (cellAt(i).contains(x, y)) hits.push_back(i);
                const int row = static_cast<int>((y - area.y) * rows / area.height);
                const int column = static_cast<int>((x - area.x) * 5 / area.width);
                ASSERT_EQ(hits, std::vector<int>{row * 5 + column}) << x << "," << y;
            }
        }
    };
    const CalendarRect first = monthDayCell(0);
    const CalendarRect last = monthDayCell(kCalendarDays - 1);
    const CalendarRect grid{first.x, first.y, last.x + last.width - first.x,
                            last.y + last.height - first.y};
    EXPECT_GE(grid.x, 0.0);
    EXPECT_LE(grid.x + grid.width, kCalendarPageWidth);
    EXPECT_LE(grid.y + grid.height, kCalendarPageHeight - 40.0);  // room for the legend
    expectGrid(grid, 6, monthDayCell);
    // The year: 4 × 3 boxes on the page, each holding its 6 × 5 days under the month's name.
    for (int m = 0; m < kCalendarMonths; ++m) {
        const CalendarRect box = yearMonthBox(m);
        EXPECT_TRUE(box.x >= 0 && box.x + box.width <= kCalendarPageWidth &&
                    box.y + box.height <= kCalendarPageHeight - 40.0);
        const CalendarRect next = yearMonthBox(m + 1);
        EXPECT_TRUE(m % 4 == 3 ? next.y >= box.y + box.height : next.x >= box.x + box.width);
        const CalendarRect top = yearDayCell(m, 0);
        EXPECT_GT(top.y, box.y + 8.0);
        expectGrid({top.x, top.y, box.x + box.width - top.x, box.y + box.height - top.y}, 6,
                   [m](int d) { return yearDayCell(m, d); });
    }
}

TEST(CalendarChart, MonthShowsEveryDayItsSunTimesAndTheEnginesMarksInTheRightCell) {
    const CalendarMonth month =
        calendarMonth(720, 2, 12.0, CalendarClock::reference, kLatitude, kLongitude);
    const std::string svg = calendarMonthSvg(month, "Tom <&> \"Jerry\"\x01", 13);
    ASSERT_EQ(testing::xmlProblem(svg), "");
    EXPECT_THAT(svg, HasSubstr("viewBox=\"0 0 842 595\""));
    const std::vector<Element> doc = parse(svg);
    const CalendarRect page{0, 0, kCalendarPageWidth, 80};
    EXPECT_TRUE(hasText(doc, page, "Kelen 720"));
    EXPECT_TRUE(hasText(doc, page, "Tom <&> \"Jerry\""));

    const EventFinder finder(kLatitude, kLongitude);
    for (int d = 0; d < kCalendarDays; ++d) {
        const CalendarRect cell = monthDayCell(d);
        const CalendarDay& day = month.days.at(static_cast<std::size_t>(d));
        EXPECT_TRUE(hasText(doc, cell, std::to_string(d + 1))) << d;
        const auto rises = finder.between(std::array{EventKind::sunrise}, day.start, day.end);
        const auto sets = finder.between(std::array{EventKind::sunset}, day.start, day.end);
        ASSERT_EQ(rises.size() + sets.size(), 2u);
        EXPECT_TRUE(hasText(doc, cell,
                            "\u2191 " + localTimeLabel(rises[0].t, kLongitude) + "\u2003\u2193 " +
                                localTimeLabel(sets[0].t, kLongitude)))
            << d;
        // Every text stays inside its cell at a generous 0.6 em a character.
        for (const Element& text : within(doc, cell, "text")) {
            const double right = text.number("x") + 0.6 * text.number("font-size") *
                                                        characterCount(text.text) *
                                                        (text.get("text-anchor") == "end" ? 0 : 1);
            EXPECT_LE(right, cell.x + cell.width) << text.text;
        }
    }
    // The engine's full moon: its day has the mark and the text at its local time, no other
    // day has the mark.
    const auto full = finder.next(EventKind::fullMoon, month.days[0].start);
    const int fullDay = dayOf(month, full->t);
    ASSERT_GE(fullDay, 0);
    for (int d = 0; d < kCalendarDays; ++d) {
        int marks = 0;
        for (const Element& c : within(doc, monthDayCell(d), "circle"))
            marks += c.get("fill") == kFullMoonFill;
        EXPECT_EQ(marks, d == fullDay ? 1 : 0) << d;
    }
    EXPECT_TRUE(
        hasText(doc, monthDayCell(fullDay), "full moon " + localTimeLabel(full->t, kLongitude)));

    // The chosen day, and only it, has the heavy frame; none when no day is chosen.
    const auto frames = [](const std::string& document) {
        std::vector<int> framed;
        for (const Element& r : parse(document)) {
            if (r.name != "rect" || r.get("stroke-width") != "2.5") continue;
            for (int d = 0; d < kCalendarDays; ++d)
                if (monthDayCell(d).contains(r.number("x"), r.number("y"))) framed.push_back(d);
        }
        return framed;
    };
    EXPECT_EQ(frames(svg), std::vector<int>{13});
    EXPECT_TRUE(frames(calendarMonthSvg(month, "", -1)).empty());
    EXPECT_TRUE(frames(calendarMonthSvg(month, "", 30)).empty());
}

// North and south of the tropics, and far north where Nolomar stays up or down for weeks.
TEST(CalendarChart, DiscsAreLitAsTheEngineSaysMirroredInTheSouthAndPolarDaysSaySo) {
    int polar = 0;
    for (const auto& [latitude, monthIndex] :
         {std::pair{kLatitude, 5}, {-kLatitude, 5}, {80 * kDegree, 3}, {80 * kDegree, 9}}) {
        const CalendarMonth month =
            calendarMonth(720, monthIndex, 6.0, CalendarClock::local, latitude, kLongitude);
        const std::vector<Element> doc = parse(calendarMonthSvg(month, "", -1));
        for (int d = 0; d < kCalendarDays; ++d) {
            const CalendarDay& day = month.days.at(static_cast<std::size_t>(d));
            const CalendarRect cell = monthDayCell(d);
            const auto [share, side] = litPart(doc, cell);
            EXPECT_NEAR(share, illuminatedFraction(day.moment), 0.01) << d;
            // Seen from the north a waxing Yael is lit on the right; the south sees her mirrored.
            if (share > 0.03 && share < 0.97) {
                EXPECT_EQ(side > 0, (day.elongation < kPi) == (latitude > 0))
                    << d << " " << latitude;
            }
            if (day.sunDay == SunDay::ordinary) continue;
            ++polar;
            const bool night = sunAltitude(day.moment, latitude, kLongitude) < 0.0;
            EXPECT_TRUE(hasText(doc, cell, night ? "polar night" : "polar day")) << d;
            for (const Element& t : within(doc, cell, "text"))
                EXPECT_EQ(t.text.find("\u2191"), std::string::npos);  // no sunrise
        }
    }
    EXPECT_GT(polar, 20);
}

TEST(CalendarChart, MarksFollowTheEventsFilledEclipsesWhenVisibleAndOverflowIsCounted) {
    // The engine's eclipses over some years, in the month that holds each, until both kinds
    // have been seen visible and not. Yael is full near noon OST on the 15th, so her eclipses
    // are seen from the far side of the world, and the default place sees none.
    std::map<std::pair<EventKind, bool>, int> seen;
    const auto bothSeen = [&](EventKind kind) {
        return seen.count({kind, true}) > 0 && seen.count({kind, false}) > 0;
    };
    for (const double longitude : {kLongitude, 170.0 * kDegree}) {
        const EventFinder finder(kLatitude, longitude);
        for (const EventKind kind : {EventKind::solarEclipse, EventKind::lunarEclipse}) {
            double t = dayCount(720, 0, 0, 0.0);
            for (int i = 0; i < 6; ++i) {
                const SkyEvent e = finder.next(kind, t).value();
                t = e.t;
                const CalendarFields f = calendarFields(e.t);
                const CalendarMonth month =
                    calendarMonth(f.year, static_cast<int>(f.month - 1), 12.0,
                                  CalendarClock::reference, kLatitude, longitude);
                const std::vector<Element> doc = parse(calendarMonthSvg(month, "", -1));
                const EclipseMarks marks = eclipseMarks(doc, monthDayCell(dayOf(month, e.t)));
                EXPECT_EQ(marks.filled, e.visible ? 1 : 0) << dateLabel(e.t);
                EXPECT_EQ(marks.outlined, e.visible ? 0 : 1) << dateLabel(e.t);
                // Nolomar's eclipse is the diamond, Yael's the disc.
                EXPECT_EQ(marks.diamonds, kind == EventKind::solarEclipse ? 1 : 0);
                ++seen[{kind, e.visible}];
            }
        }
    }
    EXPECT_TRUE(bothSeen(EventKind::solarEclipse));
    EXPECT_TRUE(bothSeen(EventKind::lunarEclipse));

    // Six marks on one day: two lines and a count of the rest. A sign name too long for the
    // cell is cut with an ellipsis.
    CalendarMonth month = calendarMonth(720, 0, 12.0, CalendarClock::reference, 0.0, 0.0);
    SkyEvent ingress;
    ingress.kind = EventKind::ingress;
    ingress.t = month.days[4].start + 0.25;
    ingress.sign = "Averyveryverylongsignnamethatdoesnotfit";
    month.days[4].marks.assign(6, ingress);
    const std::vector<Element> doc = parse(calendarMonthSvg(month, "", -1));
    const std::vector<Element> texts = within(doc, monthDayCell(4), "text");
    ASSERT_EQ(texts.size(), 6u);  // number, lit share, sun line, two marks, the count
    EXPECT_EQ(texts[5].text, "+4 more");
    EXPECT_THAT(texts[3].text, ::testing::StartsWith("enters Avery"));
    EXPECT_THAT(texts[3].text, ::testing::EndsWith("\u2026"));
    EXPECT_EQ(within(doc, monthDayCell(4), "polygon").size(), 2u);  // one symbol a line
}

TEST(CalendarChart, YearShadesDaysByPhaseAndMarksTheEnginesEclipsesAndSeasons) {
    const CalendarYear year =
        calendarYear(720, 12.0, CalendarClock::reference, kLatitude, kLongitude);
    const std::string svg = calendarYearSvg(year, "A & B", 2, 13);
    ASSERT_EQ(testing::xmlProblem(svg), "");
    const std::vector<Element> doc = parse(svg);
    EXPECT_TRUE(hasText(doc, {0, 0, kCalendarPageWidth, 80}, "A & B"));
    const auto luminance = [](const std::string& hex) {
        const long value = std::stol(hex.substr(1), nullptr, 16);
        return (0.3 * (value >> 16) + 0.59 * ((value >> 8) & 255) + 0.11 * (value & 255)) / 255;
    };
    for (int m = 0; m < kCalendarMonths; ++m) {
        EXPECT_TRUE(hasText(doc, yearMonthBox(m),
                            std::string(kMonthNames.at(static_cast<std::size_t>(m)))));
        // Dark at new moon, light at full: the shades sorted by the engine's lit share.
        std::vector<std::pair<double, double>> shades;
        for (int d = 0; d < kCalendarDays; ++d) {
            const CalendarRect cell = yearDayCell(m, d);
            EXPECT_TRUE(hasText(doc, cell, std::to_string(d + 1)));
            const double moment = year.months.at(static_cast<std::size_t>(m))
                                      .days.at(static_cast<std::size_t>(d))
                                      .moment;
            shades.emplace_back(illuminatedFraction(moment),
                                luminance(within(doc, cell, "rect").at(0).get("fill")));
        }
        std::sort(shades.begin(), shades.end());
        EXPECT_LT(shades.front().second, 0.2);
        EXPECT_GT(shades.back().second, 0.85);
        for (std::size_t i = 1; i < shades.size(); ++i)
            EXPECT_LE(shades[i - 1].second, shades[i].second + 0.005);
    }
    // Each eclipse and season of the year in its day's cell.
    const EventFinder finder(kLatitude, kLongitude);
    const auto events = finder.between(std::array{EventKind::solarEclipse, EventKind::lunarEclipse,
                                                  EventKind::equinox, EventKind::solstice},
                                       dayCount(720, 0, 0, 0.0), dayCount(721, 0, 0, 0.0));
    EXPECT_GE(events.size(), 5u);
    for (const SkyEvent& e : events) {
        const CalendarFields f = calendarFields(e.t);
        const CalendarRect cell =
            yearDayCell(static_cast<int>(f.month - 1), static_cast<int>(f.day - 1));
        const EclipseMarks marks = eclipseMarks(doc, cell);
        int seasons = 0;
        for (const Element& r : within(doc, cell, "rect")) seasons += r.get("fill") == "#1f78b4";
        if (e.kind == EventKind::equinox || e.kind == EventKind::solstice) {
            EXPECT_EQ(seasons, 1) << dateLabel(e.t);
        } else {
            EXPECT_EQ(e.visible ? marks.filled : marks.outlined, 1) << dateLabel(e.t);
            EXPECT_EQ(marks.diamonds, e.kind == EventKind::solarEclipse ? 1 : 0);
        }
    }
    // The chosen day is framed, in the chosen month's box.
    int framed = 0;
    for (const Element& r : doc) {
        if (r.name != "rect" || r.get("stroke-width") != "2" || r.number("y") > 550) continue;
        ++framed;
        EXPECT_TRUE(yearDayCell(2, 13).contains(r.number("x"), r.number("y")));
    }
    EXPECT_EQ(framed, 1);
}

}  // namespace
}  // namespace morvane
