#include "charts/day_chart.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>
#include <regex>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "well_formed.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr double kDegree = kPi / 180.0;
// 40.5° N 20.9° W, the default place.
constexpr double kLatitude = 40.5 * kDegree;
constexpr double kLongitude = -20.9 * kDegree;

struct Point {
    double x;
    double y;
};

// The points of the n-th polyline of the document.
std::vector<Point> polyline(const std::string& svg, int n) {
    static const std::regex line(R"re(<polyline points="([^"]*)")re");
    auto it = std::sregex_iterator(svg.begin(), svg.end(), line);
    std::advance(it, n);
    std::vector<Point> points;
    const std::string text = (*it)[1];
    static const std::regex pair(R"((-?[\d.]+),(-?[\d.]+))");
    for (auto p = std::sregex_iterator(text.begin(), text.end(), pair); p != std::sregex_iterator();
         ++p) {
        points.push_back({std::stod((*p)[1]), std::stod((*p)[2])});
    }
    return points;
}

// Where the label of a mark ("sunrise 05:12") is drawn across the plot.
double markX(const std::string& svg, const std::string& label) {
    const std::regex mark(R"re(translate\((-?[\d.]+),[\d.]+\) rotate\((-?90)\)[^>]*>)re" + label);
    std::smatch match;
    if (!std::regex_search(svg, match, mark)) return std::nan("");
    return std::stod(match[1]) + (match[2] == "90" ? -2.5 : 2.5);
}

// The numbers of the attributes `names` of every `element` in document order.
std::vector<std::vector<double>> attributes(const std::string& svg, const std::string& element,
                                            const std::vector<std::string>& names) {
    std::string pattern = "<" + element;
    for (const std::string& name : names) pattern += " " + name + "=\"(-?[\\d.]+)\"";
    const std::regex re(pattern);
    std::vector<std::vector<double>> found;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), re); it != std::sregex_iterator();
         ++it) {
        std::vector<double> values;
        for (std::size_t i = 1; i <= names.size(); ++i) values.push_back(std::stod((*it)[i]));
        found.push_back(values);
    }
    return found;
}

std::size_t count(const std::string& text, const std::string& piece) {
    std::size_t n = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
}

// Spring at the default place: the day from noon of month 3, day 10 of year 720.
TEST(DayChart, AnOrdinaryDayDrawsBandsCurvesAndAMarkOnTheCurveForEachEvent) {
    const DayLight day = dayLight(dayCount(720, 2, 9, 12.0), kLatitude, kLongitude);
    ASSERT_EQ(day.summary.course, SunCourse::risesAndSets);
    const std::string svg = dayChartDocument(day);
    EXPECT_EQ(testing::xmlProblem(svg), "");
    EXPECT_THAT(svg, HasSubstr("viewBox=\"0 0 720 360\""));
    for (const char* band : {">day<", ">civil<", ">nautical<", ">astronomical<", ">night<"})
        EXPECT_THAT(svg, HasSubstr(band));
    EXPECT_THAT(svg, Not(HasSubstr("Polar")));
    EXPECT_EQ(count(svg, "<polyline"), 3u);  // Yael's outline and line, Nolomar's line

    // The sun curve, 289 samples across the 624 units of the plot, crosses the horizon (y 150)
    // where the sunrise and sunset marks stand and peaks at the noon mark.
    const std::vector<Point> sun = polyline(svg, 2);
    ASSERT_EQ(sun.size(), day.curve.size());
    EXPECT_DOUBLE_EQ(sun.front().x, 40.0);
    EXPECT_DOUBLE_EQ(sun.back().x, 664.0);
    const auto crossing = [&](bool rising) {
        for (std::size_t i = 1; i < sun.size(); ++i) {
            const bool up = sun[i].y < 150.0;
            if (up == rising && (sun[i - 1].y < 150.0) != up) return (sun[i - 1].x + sun[i].x) / 2;
        }
        return std::nan("");
    };
    const auto label = [&](const char* name, double t) {
        return std::string(name) + " " + localTimeLabel(t, kLongitude);
    };
    ASSERT_EQ(day.summary.sunrises.size(), 1u);
    ASSERT_EQ(day.summary.sunsets.size(), 1u);
    ASSERT_EQ(day.summary.noons.size(), 1u);
    EXPECT_NEAR(markX(svg, label("sunrise", day.summary.sunrises[0])), crossing(true), 2.5);
    EXPECT_NEAR(markX(svg, label("sunset", day.summary.sunsets[0])), crossing(false), 2.5);
    const auto highest =
        std::min_element(sun.begin(), sun.end(), [](Point a, Point b) { return a.y < b.y; });
    EXPECT_NEAR(markX(svg, label("noon", day.summary.noons[0])), highest->x, 3.0);
    // Dawns before sunrise, in order of the sun's climb; the moon's marks stand on the bottom.
    const double astronomical =
        markX(svg, label("astronomical dawn", day.summary.astronomicalDawns.at(0)));
    const double nautical = markX(svg, label("nautical dawn", day.summary.nauticalDawns.at(0)));
    const double civil = markX(svg, label("civil dawn", day.summary.civilDawns.at(0)));
    EXPECT_LT(astronomical, nautical);
    EXPECT_LT(nautical, civil);
    EXPECT_LT(civil, crossing(true));
    // The five bands tile the plot from +90° to −90°; the civil dawn's dot sits on the line
    // between the civil and the nautical band.
    const auto rects = attributes(svg, "rect", {"x", "y", "width", "height"});
    ASSERT_GE(rects.size(), 6u);
    double bandTop = 42.0;
    for (std::size_t i = 1; i <= 5; ++i) {  // after the page
        EXPECT_EQ(rects[i][0], 40.0);
        EXPECT_EQ(rects[i][2], 624.0);
        EXPECT_NEAR(rects[i][1], bandTop, 0.05) << i;
        bandTop = rects[i][1] + rects[i][3];
    }
    EXPECT_NEAR(bandTop, 258.0, 0.05);
    const auto dots = attributes(svg, "circle", {"cx", "cy"});
    const auto dawnDot = std::find_if(
        dots.begin(), dots.end(), [&](const auto& dot) { return std::fabs(dot[0] - civil) < 0.1; });
    ASSERT_NE(dawnDot, dots.end());
    EXPECT_NEAR((*dawnDot)[1], rects[3][1], 0.15);
    for (const double t : day.summary.moonrises)
        EXPECT_FALSE(std::isnan(markX(svg, label("moonrise", t))));
    EXPECT_EQ(count(svg, "stroke-dasharray=\"3,2\" />"), day.events.size() + 4);  // + legend

    // Each stretch of Yael above the horizon has its bar and its lit fraction; the strip has a
    // rectangle per light stretch, the day's light at both ends.
    for (const MoonUp& up : day.moonUp)
        EXPECT_THAT(svg, HasSubstr(std::to_string(std::llround(up.illumination * 100)) + " % lit"));
    EXPECT_EQ(count(svg, ">bright<"), 3u);  // noon to noon: both ends, and the legend
    EXPECT_GE(count(svg, ">dark<"), 2u);

    // Ticks at whole local hours, labelled every third: local noon is Nolomar's transit.
    const auto tickX = [&svg](const std::string& hour) {
        const std::regex tick(R"re(<text x="([\d.]+)" y="[\d.]+" [^>]*>)re" + hour + "<");
        std::smatch match;
        return std::regex_search(svg, match, tick) ? std::stod(match[1]) : std::nan("");
    };
    EXPECT_NEAR(tickX("12:00"), markX(svg, label("noon", day.summary.noons[0])), 0.6);
    EXPECT_NEAR(tickX("09:00") - tickX("12:00"), 21 * 26.0, 0.3);  // the next morning
    const std::regex hourLabel(R"(>\d\d:00</text>)");
    EXPECT_EQ(std::distance(std::sregex_iterator(svg.begin(), svg.end(), hourLabel),
                            std::sregex_iterator()),
              8);

    // The bytes do not depend on the process's locale.
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    std::locale::global(std::locale("de_DE.UTF-8"));
    const std::string german = dayChartDocument(day);
    std::setlocale(LC_ALL, "C");
    std::locale::global(std::locale::classic());
    EXPECT_EQ(german, svg);
}

// Nolomar at its southernmost: 80° N has polar night, 80° S polar day; neither has a sunrise.
TEST(DayChart, PolarNightAndPolarDayAreSaidInWords) {
    std::optional<SkyEvent> solstice =
        EventFinder(0.0, 0.0).next(EventKind::solstice, dayCount(720, 0, 0, 0.0));
    if (solstice && solstice->season != Season::southern)
        solstice = EventFinder(0.0, 0.0).next(EventKind::solstice, solstice->t);
    ASSERT_TRUE(solstice);
    ASSERT_LT(subSolarPoint(solstice->t).latitude, -20.0 * kDegree);
    const double t = solstice->t - 0.5;
    const DayLight north = dayLight(t, 80.0 * kDegree, 0.0);
    const DayLight south = dayLight(t, -80.0 * kDegree, 0.0);
    ASSERT_EQ(north.summary.course, SunCourse::polarNight);
    ASSERT_EQ(south.summary.course, SunCourse::polarDay);
    const std::string night = dayChartDocument(north);
    const std::string day = dayChartDocument(south);
    EXPECT_THAT(night, HasSubstr("Polar night: Nolomar stays below the horizon all day"));
    EXPECT_THAT(day, HasSubstr("Polar day: Nolomar stays above the horizon all day"));
    for (const std::string& svg : {night, day}) {
        EXPECT_EQ(testing::xmlProblem(svg), "");
        EXPECT_THAT(svg, Not(HasSubstr(">sunrise ")));
        EXPECT_THAT(svg, Not(HasSubstr(">sunset ")));
    }
    EXPECT_EQ(count(night, ">bright<"), 1u);  // the legend's only
}

// A lunar eclipse's mark is drawn in bold; whatever the moment and the place, even at the
// poles, the document is well-formed.
TEST(DayChart, EclipsesAndEveryPlaceMakeWellFormedDocuments) {
    const std::optional<SkyEvent> eclipse =
        EventFinder(kLatitude, kLongitude).next(EventKind::lunarEclipse, dayCount(720, 0, 0, 0.0));
    ASSERT_TRUE(eclipse);
    const std::string svg = dayChartDocument(dayLight(eclipse->t - 0.25, kLatitude, kLongitude));
    EXPECT_THAT(svg, HasSubstr("font-weight=\"bold\">lunar eclipse " +
                               localTimeLabel(eclipse->t, kLongitude)));
    testing::expectWellFormedEverywhere(7, [](double t, double latitude, double longitude) {
        return dayChartDocument(dayLight(t, latitude, longitude));
    });
}

}  // namespace
}  // namespace morvane
