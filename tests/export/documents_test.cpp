#include "export/documents.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "charts/calendar_chart.h"
#include "charts/day_chart.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "events/calendar_text.h"
#include "events/light_text.h"
#include "events/sky_events.h"
#include "model/light_settings.h"
#include "model/model_fixture.h"
#include "support/qt_wait.h"

namespace morvane {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

ExportContext defaults() {
    ExportContext c;
    c.selectedCityID = manualCityID();
    c.cities = {CityPreset::manual()};
    return c;
}

TEST(SuggestedFileName, TypedInPlaceSavedPlaceAndClock) {
    ExportContext c = defaults();
    EXPECT_EQ(suggestedFileName(c, "Star Map", "svg"),
              "Star Map - 40.50°N 20.90°W - 720-01-01 12-00.svg");

    c.selectedCityID = QUuid::createUuid();  // names no entry
    c.hour = 9.75;
    c.year = 5;
    c.monthIndex = 11;
    c.dayIndex = 29;
    EXPECT_EQ(suggestedFileName(c, "Planets", "pdf"), "Planets - Manual - 005-12-30 09-45.pdf");

    c = defaults();
    c.latNorth = false;
    c.longWest = false;
    c.manualLatDeg = 0.005;
    c.manualLongDeg = 179.999;
    EXPECT_EQ(suggestedFileName(c, "Horoscope", "svg"),
              "Horoscope - 0.01°S 180.00°E - 720-01-01 12-00.svg");
}

TEST(SuggestedFileName, NeverOpensAFolder) {
    ExportContext c = defaults();
    const CityPreset odd{QUuid::createUuid(), "North/South ../x", 0, 0};
    c.cities.append(odd);
    c.selectedCityID = odd.id;
    const QString name = suggestedFileName(c, "Star Map", "svg");
    EXPECT_THAT(name.toStdString(), Not(HasSubstr("/")));
    EXPECT_EQ(name, "Star Map - North-South ..-x - 720-01-01 12-00.svg");
}

TEST(SuggestedFileName, AVeryLongNameIsCutToFitAFileName) {
    ExportContext c = defaults();
    const CityPreset longName{QUuid::createUuid(), QString(10000, QChar(u'é')), 0, 0};
    c.cities.append(longName);
    c.selectedCityID = longName.id;
    const QString name = suggestedFileName(c, "Star Map", "svg");
    EXPECT_LE(name.toUtf8().size(), 255);
    EXPECT_GT(name.toUtf8().size(), 240);
    EXPECT_THAT(name.toStdString(), StartsWith("Star Map - éé"));
    EXPECT_THAT(name.toStdString(), EndsWith("é… - 720-01-01 12-00.svg"));
}

TEST(SuggestedFileName, DamagedHourGivesAPlainClock) {
    ExportContext c = defaults();
    c.hour = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THAT(suggestedFileName(c, "Star Map", "svg").toStdString(), EndsWith(" 00-00.svg"));
    c.hour = 1e300;
    EXPECT_THAT(suggestedFileName(c, "Star Map", "svg").toStdString(), EndsWith(" 00-00.svg"));
}

TEST(Documents, TextDocumentsBeforeAndAfterACalculation) {
    ExportContext c = defaults();
    EXPECT_EQ(sunMoonDocument(c), "— Hourly —\n\n\n\n— Monthly —\n\n");
    EXPECT_EQ(conjunctionsDocument(c), "— Daily Conjunctions —\n\n\n\n— Yearly Conjunctions —\n\n");
    EXPECT_EQ(planetPositionsText(c),
              "Body           Azimuth    Altitude   Ec. Long.   Sign\n"
              "----           -------    --------   ---------   ----\n");
    c.outputs.basicTableHourly = "H\n";
    c.outputs.basicTableMonthly = "M\n";
    EXPECT_EQ(sunMoonDocument(c), "— Hourly —\n\nH\n\n\n— Monthly —\n\nM\n");
}

TEST(Html, EscapingAndReportPage) {
    EXPECT_EQ(htmlEscaped("Sun & Moon <b>\"x\"</b>"), "Sun &amp; Moon &lt;b&gt;\"x\"&lt;/b&gt;");
    EXPECT_EQ(htmlEscaped("&lt;"), "&amp;lt;");

    ExportContext c = defaults();
    EXPECT_EQ(reportMetaLine(c), "   40.50°N  20.90°W");  // before the first calculation
    c.outputs.dateLabel = "720-01-01 12:00 OST";
    EXPECT_EQ(reportMetaLine(c), "720-01-01 12:00 OST   40.50°N  20.90°W");

    const QString html =
        reportHTML("Sun & Moon", {{"Hourly", "a < b\n"}, {"Monthly", "m"}}, "meta");
    EXPECT_TRUE(
        html.startsWith("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<style>\n"));
    EXPECT_TRUE(
        html.endsWith("<h1>Sun &amp; Moon</h1>\n<div class=\"meta\">Sun &amp; Moon\nmeta</div>\n"
                      "<h2>Hourly</h2>\n<pre>a &lt; b\n</pre>\n<h2>Monthly</h2>\n<pre>m</pre>\n"
                      "</body>\n</html>"))
        << html.right(200).toStdString();
    EXPECT_THAT(html.toStdString(), HasSubstr("        white-space: pre-wrap;\n"));
}

TEST(Html, SvgPageWrapsTheDocumentUnescaped) {
    EXPECT_EQ(svgPage("<svg>&</svg>"),
              "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<style>\n"
              "    html, body { margin: 0; padding: 0; width: 100%; height: 100%; background: "
              "transparent; }\n    svg { display: block; width: 100%; height: 100%; }\n"
              "</style>\n</head>\n<body>\n<svg>&</svg>\n</body>\n</html>");
}

TEST(Tabs, WhatEachTabExports) {
    ExportContext c = defaults();
    c.outputs.starMapSVG = "<svg/>";
    EXPECT_EQ(tabDocument(OutputTab::starMap, c)->content, "<svg/>");
    EXPECT_TRUE(tabDocument(OutputTab::starMap, c)->isSvg);
    EXPECT_EQ(tabDocument(OutputTab::planets, c)->baseName, "Planets");
    EXPECT_FALSE(tabDocument(OutputTab::planets, c)->isSvg);
    EXPECT_EQ(tabDocument(OutputTab::positions, c)->content, conjunctionsDocument(c));
    EXPECT_FALSE(tabDocument(OutputTab::location, c));
    EXPECT_FALSE(tabPdf(OutputTab::location, c));

    const auto planets = tabPdf(OutputTab::planets, c);
    EXPECT_THAT(planets->html.toStdString(), HasSubstr("<h1>Planet Positions</h1>"));
    EXPECT_THAT(planets->html.toStdString(), HasSubstr("<h2>Positions</h2>"));
    EXPECT_THAT(tabPdf(OutputTab::positions, c)->html.toStdString(), HasSubstr("<h2>Daily</h2>"));
}

// The default moment at the typed-in place, calculated, with the span and groups given.
ExportContext withEvents(EventSpan span, std::initializer_list<EventGroup> groups) {
    ExportContext c = defaults();
    EventFilter filter;
    for (const EventGroup group : groups) filter.setShown(group, true);
    c.events = {
        258840.0, 0.7068583470577035, -0.3647738136668149, "40.50°N  20.90°W", {span, filter}};
    return c;
}

TEST(EventsDocument, HeadingNamesPlaceSpanAndKindsAndEachRowIsAnEventOfTheFinder) {
    const ExportContext c = withEvents(EventSpan::year, {EventGroup::phases, EventGroup::eclipses});
    const QString heading =
        "Place: 40.50°N  20.90°W\nSpan: 1 year (360 days) from 720-01-01 12:00 OST\n"
        "Kinds: Moon phases, Eclipses";
    const QString text = eventsDocument(c);
    ASSERT_TRUE(text.startsWith("Events\n" + heading + "\n\n")) << text.left(300).toStdString();
    const QStringList lines = text.split('\n', Qt::SkipEmptyParts).mid(4);  // from the header
    const auto events = EventFinder(c.events.latitude, c.events.longitude)
                            .between(c.events.options.filter.kinds(), 258840.0, 258840.0 + 360.0);
    ASSERT_GE(events.size(), 48U);  // twelve months of four phases, and the eclipses
    ASSERT_EQ(lines.size(), qsizetype(events.size()) + 1);
    int eclipses = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::string row = lines[qsizetype(i) + 1].toStdString();
        EXPECT_THAT(row, StartsWith(dateLabel(events[i].t))) << i;
        EXPECT_THAT(row, HasSubstr(std::string(kindName(events[i].kind))));
        if (events[i].kind == EventKind::solarEclipse ||
            events[i].kind == EventKind::lunarEclipse) {
            ++eclipses;
            EXPECT_THAT(row, HasSubstr("visible here"));
        }
    }
    EXPECT_GT(eclipses, 0);

    // The text button writes the same; the PDF page carries the heading, count and table.
    EXPECT_EQ(tabDocument(OutputTab::events, c)->content, text);
    EXPECT_EQ(suggestedFileName(c, tabDocument(OutputTab::events, c)->baseName, "txt"),
              "Events - 40.50°N 20.90°W - 720-01-01 12-00.txt");
    const std::string html = tabPdf(OutputTab::events, c)->html.toStdString();
    EXPECT_THAT(html, HasSubstr("<div class=\"meta\">Events\n" +
                                htmlEscaped(heading).toStdString() + "</div>"));
    EXPECT_THAT(html,
                HasSubstr(QString("<h2>%1 events</h2>\n<pre>").arg(events.size()).toStdString()));
    EXPECT_THAT(html, HasSubstr(htmlEscaped(lines.last()).toStdString()));
}

TEST(EventsDocument, SaysWhyThereIsNoTable) {
    ExportContext before = withEvents(EventSpan::month, {EventGroup::phases});
    before.events.t.reset();
    EXPECT_EQ(eventsDocument(before), "Events\n\nNothing calculated yet.\n");
    EXPECT_THAT(eventsDocument(withEvents(EventSpan::year, {})).toStdString(),
                EndsWith("\nKinds: none\n\nNo kinds of event chosen.\n"));
    const ExportContext quiet = withEvents(EventSpan::day, {EventGroup::eclipses});
    EXPECT_THAT(eventsDocument(quiet).toStdString(),
                EndsWith("Kinds: Eclipses\n\nNo events of these kinds in this span.\n"));
    EXPECT_THAT(tabPdf(OutputTab::events, quiet)->html.toStdString(),
                HasSubstr("<h2></h2>\n<pre>No events of these kinds in this span.\n</pre>"));
}

}  // namespace
}  // namespace morvane

namespace morvane {
namespace {

constexpr double kDegree = kPi / 180.0;

TEST(DayDocument, HeadingSummaryStretchesAndHoursOfTheCalculatedDay) {
    ExportContext c = withEvents(EventSpan::month, {EventGroup::phases});
    c.thresholds = {10.0 * kDegree, 0.25};
    const std::optional<DayLight> day = dayOf(c);
    ASSERT_TRUE(day);
    EXPECT_EQ(day->start, 258840.0);
    EXPECT_EQ(day->thresholds, c.thresholds);
    const QString heading =
        "Place: 40.50°N  20.90°W\nFrom: 720-01-01 12:00 OST (local 10:38), 24 hours\n"
        "Moonlight: Yael above 10° and at least 25 % lit";
    EXPECT_EQ(dayHeading(c), heading);

    // The stretches run on from one to the next over the whole day, at local time.
    const QStringList stretches = lightStretchesText(*day).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(stretches.size(), qsizetype(day->levels.size()));
    const QRegularExpression line("^(\\d\\d:\\d\\d)–(\\d\\d:\\d\\d) (bright|dim|dark)$");
    QString previousEnd = "10:38";
    for (const QString& stretch : stretches) {
        const auto match = line.match(stretch);
        ASSERT_TRUE(match.hasMatch()) << stretch.toStdString();
        EXPECT_EQ(match.captured(1), previousEnd);
        previousEnd = match.captured(2);
    }
    EXPECT_EQ(previousEnd, "10:38");

    const QString text = dayDocument(c);
    EXPECT_TRUE(text.startsWith("Day\n" + heading + "\n\n" + fromStd(daySummaryText(*day)) +
                                "\n— Light —\n\n" + lightStretchesText(*day) + "\n— Hourly —\n\n" +
                                fromStd(lightTableHeader())))
        << text.left(400).toStdString();
    EXPECT_EQ(text.split('\n', Qt::SkipEmptyParts).filter(QRegularExpression("^720-")).size(), 24);

    // Thresholds as the user may have stored them: tenths of a degree, no "-0".
    c.thresholds = {-0.01 * kDegree, 0.5};
    EXPECT_TRUE(dayHeading(c).endsWith("Yael above 0° and at least 50 % lit"));
    c.thresholds = {-5.26 * kDegree, 1.0};
    EXPECT_TRUE(dayHeading(c).endsWith("Yael above -5.3° and at least 100 % lit"));
}

TEST(DayDocument, TheDayTabWritesAnSvgATextAndAPageWithBoth) {
    const ExportContext c = withEvents(EventSpan::month, {EventGroup::phases});
    const TabExport& exported = tabExport(OutputTab::day);
    EXPECT_EQ(exported.firstButtonLabel, "Export SVG");
    EXPECT_EQ(kAllOutputTabs[6], OutputTab::day);
    EXPECT_EQ(kAllOutputTabs.back(), OutputTab::location);
    for (const OutputTab tab : kAllOutputTabs)
        EXPECT_EQ(tabExport(tab).alsoWritesText, tabTextDocument(tab, c).has_value());

    const auto svg = tabDocument(OutputTab::day, c);
    ASSERT_TRUE(svg);
    EXPECT_TRUE(svg->isSvg);
    EXPECT_EQ(svg->content, fromStd(dayChartDocument(*dayOf(c))));
    EXPECT_EQ(suggestedFileName(c, svg->baseName, "svg"),
              "Day - 40.50°N 20.90°W - 720-01-01 12-00.svg");
    EXPECT_EQ(tabTextDocument(OutputTab::day, c)->content, dayDocument(c));
    const std::string html = tabPdf(OutputTab::day, c)->html.toStdString();
    EXPECT_THAT(html, HasSubstr("<div class=\"meta\">Day\n" +
                                htmlEscaped(dayHeading(c)).toStdString() + "</div>\n"));
    EXPECT_THAT(html, HasSubstr("<div class=\"figure\">\n<svg "));
    EXPECT_THAT(html, HasSubstr("<h2>Summary</h2>\n<pre>" +
                                htmlEscaped(fromStd(daySummaryText(*dayOf(c)))).toStdString()));
    EXPECT_THAT(html, HasSubstr("<h2>Light</h2>\n<pre>"));

    // Before the first calculation there is no day to draw.
    ExportContext before = c;
    before.events.t.reset();
    EXPECT_FALSE(tabDocument(OutputTab::day, before));
    EXPECT_EQ(dayDocument(before), "Day\n\nNothing calculated yet.\n");
    EXPECT_THAT(tabPdf(OutputTab::day, before)->html.toStdString(),
                HasSubstr("<pre>Nothing calculated yet.\n</pre>"));
}

TEST(DayDocument, TheContextCarriesTheUsersThresholds) {
    testing::ModelFixture fixture;
    const auto model = fixture.makeModel();
    EXPECT_EQ(ExportContext::fromModel(*model).thresholds, MoonlightThresholds{});
    LightSettings::attach(*model, std::make_unique<testing::RecordingStore>())
        .setThresholds({-3.0 * kDegree, 0.75});
    EXPECT_EQ(ExportContext::fromModel(*model).thresholds,
              (MoonlightThresholds{-3.0 * kDegree, 0.75}));
}

// Goris, with the 14th of the third month calculated at 06:30 local time, as the Calendar
// output hands it to the exports.
CalendarPage gorisPage(CalendarSpan span, std::int64_t year, int monthIndex) {
    CalendarPage page;
    page.span = span;
    page.year = year;
    page.monthIndex = monthIndex;
    page.dayIndex = 9;
    page.chosenYear = 720;
    page.chosenMonthIndex = 2;
    page.chosenDayIndex = 13;
    page.hour = 6.5;
    page.clock = CalendarClock::local;
    page.latitude = 21.0 * kDegree;
    page.longitude = 5.1 * kDegree;
    page.place = "Goris";
    return page;
}

TEST(CalendarDocument, TheShownMonthOrYearAsALandscapeHandoutAndItsText) {
    const TabExport& exported = tabExport(OutputTab::calendar);
    EXPECT_EQ(kAllOutputTabs[7], OutputTab::calendar);  // after the Day
    EXPECT_EQ(exported.title, "Calendar");
    EXPECT_EQ(exported.firstButtonLabel, "Export SVG");
    EXPECT_TRUE(exported.alsoWritesText);
    EXPECT_EQ(exported.pdfPageSize, QSizeF(kCalendarPageWidth, kCalendarPageHeight));
    EXPECT_GT(exported.pdfPageSize.width(), exported.pdfPageSize.height());  // landscape

    // Before the first calculation there is no month to draw.
    ExportContext c = defaults();
    EXPECT_FALSE(tabDocument(OutputTab::calendar, c));
    EXPECT_EQ(tabTextDocument(OutputTab::calendar, c)->content,
              "Calendar\n\nNothing calculated yet.\n");
    EXPECT_THAT(tabPdf(OutputTab::calendar, c)->html.toStdString(),
                HasSubstr("<pre>Nothing calculated yet.\n</pre>"));

    // A month paged to away from the calculated day: no day of it is marked.
    const CalendarMonth may =
        calendarMonth(720, 4, 6.5, CalendarClock::local, 21.0 * kDegree, 5.1 * kDegree);
    c.calendar = gorisPage(CalendarSpan::month, 720, 4);
    const auto svg = tabDocument(OutputTab::calendar, c);
    ASSERT_TRUE(svg);
    EXPECT_TRUE(svg->isSvg);
    EXPECT_EQ(svg->content, fromStd(calendarMonthSvg(may, "Goris", -1)));
    EXPECT_EQ(suggestedFileName(c, svg->baseName, "svg"),
              "Calendar - 40.50°N 20.90°W - 720-01-01 12-00.svg");
    const QString text = tabTextDocument(OutputTab::calendar, c)->content;
    EXPECT_EQ(text, fromStd(calendarMonthText(may, "Goris")));
    EXPECT_EQ(text.split('\n').filter(QRegularExpression("^720-05-\\d\\d ")).size(), 30);
    const auto pdf = tabPdf(OutputTab::calendar, c);
    EXPECT_EQ(pdf->html, svgPage(svg->content));
    EXPECT_EQ(pdf->pageSize, exported.pdfPageSize);
    EXPECT_EQ(pdf->baseName, "Calendar");
    // The calculated day's month marks it.
    c.calendar = gorisPage(CalendarSpan::month, 720, 2);
    EXPECT_EQ(tabDocument(OutputTab::calendar, c)->content,
              fromStd(calendarMonthSvg(
                  calendarMonth(720, 2, 6.5, CalendarClock::local, 21.0 * kDegree, 5.1 * kDegree),
                  "Goris", 13)));

    // The year view writes the year, its notable days as text, under a name of its own.
    const CalendarYear year =
        calendarYear(720, 6.5, CalendarClock::local, 21.0 * kDegree, 5.1 * kDegree);
    c.calendar->span = CalendarSpan::year;
    const auto yearSvg = tabDocument(OutputTab::calendar, c);
    EXPECT_EQ(yearSvg->content, fromStd(calendarYearSvg(year, "Goris", 2, 13)));
    EXPECT_EQ(yearSvg->baseName, "Calendar Year");
    EXPECT_EQ(tabTextDocument(OutputTab::calendar, c)->content,
              fromStd(calendarYearText(year, "Goris")));
    EXPECT_EQ(tabPdf(OutputTab::calendar, c)->html, svgPage(yearSvg->content));
    EXPECT_EQ(tabPdf(OutputTab::calendar, c)->baseName, "Calendar Year");
    c.calendar = gorisPage(CalendarSpan::year, 721, 2);
    EXPECT_EQ(tabDocument(OutputTab::calendar, c)->content,
              fromStd(calendarYearSvg(
                  calendarYear(721, 6.5, CalendarClock::local, 21.0 * kDegree, 5.1 * kDegree),
                  "Goris", -1, 13)));
}

TEST(CalendarDocument, TheContextCarriesWhatTheCalendarShows) {
    testing::ModelFixture fixture;
    const auto model = fixture.makeModel();
    model->setMonthIndex(6);
    model->calculate();
    ASSERT_TRUE(testing::waitUntil([&] { return !model->isCalculating(); }));
    EXPECT_FALSE(ExportContext::fromModel(*model).calendar);  // no calendar made yet
    CalendarPager& pager = CalendarPager::of(*model);
    pager.setSpan(CalendarSpan::year);
    pager.moveCursorByMonths(3);
    const std::optional<CalendarPage> page = ExportContext::fromModel(*model).calendar;
    ASSERT_TRUE(page);
    EXPECT_EQ(*page, *pager.page());
    EXPECT_EQ(page->span, CalendarSpan::year);
    EXPECT_EQ(page->monthIndex, 9);
    EXPECT_EQ(page->chosenMonthIndex, 6);
}

}  // namespace
}  // namespace morvane
