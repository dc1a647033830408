#include "export/documents.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace morvane
