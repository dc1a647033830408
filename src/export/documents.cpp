#include "export/documents.h"

#include <fmt/format.h>

#include <cmath>

#include "charts/calendar_chart.h"
#include "charts/day_chart.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "events/calendar_text.h"
#include "events/event_table.h"
#include "events/light_text.h"
#include "reports/positions_text.h"

namespace morvane {

namespace {

QString placeText(const ExportContext& c, const char* separator) {
    return c.placeLabel(c.cities, separator);
}

long long plusOne(qint64 index) {
    long long result = 0;
    return __builtin_add_overflow(index, 1, &result) ? index : result;
}

const char* const kReportHead =
    "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<style>\n"
    "    body {\n        font-family: \"DejaVu Sans\", \"Liberation Sans\", sans-serif;\n"
    "        color: #1a1a1a;\n        padding: 28px;\n        margin: 0;\n    }\n"
    "    h1 {\n        font-size: 18px;\n        margin: 0 0 4px 0;\n    }\n"
    "    .meta {\n        font-size: 10px;\n        color: #666;\n        margin-bottom: 18px;\n"
    "        white-space: pre-wrap;\n    }\n"
    "    h2 {\n        font-size: 12px;\n        margin: 14px 0 4px 0;\n        color: #444;\n    "
    "}\n"
    "    pre {\n        font-family: \"DejaVu Sans Mono\", \"Liberation Mono\", monospace;\n"
    "        font-size: 9px;\n"
    "        line-height: 1.25;\n        margin: 0;\n    }\n"
    "</style>\n</head>\n<body>\n<h1>";

}  // namespace

QString suggestedFileName(const ExportContext& c, const QString& baseName,
                          const QString& fileExtension) {
    QString place = placeText(c, " ");
    place.replace(QLatin1Char('/'), QLatin1Char('-'));  // a name must not open a folder
    // A damaged stored hour that is no ordinary number names the file 00-00.
    const auto [hours, minutes] = clockOfHour(c.hour);
    const std::string when =
        fmt::format("{:03d}-{:02d}-{:02d} {:02d}-{:02d}", c.year, plusOne(c.monthIndex),
                    plusOne(c.dayIndex), hours, minutes);
    const QString tail = QStringLiteral(" - ") + fromStd(when) + QLatin1Char('.') + fileExtension;
    QString name = baseName + QStringLiteral(" - ") + place + tail;
    // A file name has at most 255 bytes: a very long location name is cut to fit.
    constexpr qsizetype kMaxBytes = 255;
    if (name.toUtf8().size() > kMaxBytes) {
        const qsizetype room = kMaxBytes -
                               (baseName + QStringLiteral(" - ") + tail).toUtf8().size() -
                               QStringLiteral("…").toUtf8().size();
        QString cut;
        for (const QChar c : place) {
            if ((cut + c).toUtf8().size() > room) break;
            cut += c;
        }
        if (!cut.isEmpty() && cut.back().isHighSurrogate()) cut.chop(1);
        name = baseName + QStringLiteral(" - ") + cut + QStringLiteral("…") + tail;
    }
    return name;
}

QString planetPositionsText(const ExportContext& c) {
    return fromStd(positionsText(c.outputs.positions));
}

QString sunMoonDocument(const ExportContext& c) {
    return QStringLiteral("— Hourly —\n\n") + c.outputs.basicTableHourly +
           QStringLiteral("\n\n— Monthly —\n\n") + c.outputs.basicTableMonthly;
}

QString conjunctionsDocument(const ExportContext& c) {
    return QStringLiteral("— Daily Conjunctions —\n\n") + c.outputs.conjunctionDaily +
           QStringLiteral("\n\n— Yearly Conjunctions —\n\n") + c.outputs.conjunctionYearly;
}

QString eventsHeading(const EventQuery& query) {
    return QStringLiteral("Place: ") + query.placeLabel + QStringLiteral("\nSpan: ") +
           query.spanText() + QStringLiteral("\nKinds: ") + query.options.filter.text();
}

namespace {

// The table, or why there is none, and how many rows it has ("12 events"; "" for none).
struct EventsBody {
    QString count;
    QString text;
};

EventsBody eventsBody(const EventQuery& query) {
    if (!query.t) return {{}, QStringLiteral("Nothing calculated yet.\n")};
    if (query.options.filter.showsNone())
        return {{}, QStringLiteral("No kinds of event chosen.\n")};
    const std::vector<SkyEvent> events = query.find();
    if (events.empty()) return {{}, QStringLiteral("No events of these kinds in this span.\n")};
    const QString count = events.size() == 1 ? QStringLiteral("1 event")
                                             : QStringLiteral("%1 events").arg(events.size());
    return {count, fromStd(eventTable(events, query.longitude))};
}

}  // namespace

QString eventsDocument(const ExportContext& c) {
    if (!c.events.t) return QStringLiteral("Events\n\n") + eventsBody(c.events).text;
    return QStringLiteral("Events\n") + eventsHeading(c.events) + QStringLiteral("\n\n") +
           eventsBody(c.events).text;
}

std::optional<DayLight> dayOf(const ExportContext& c) {
    if (!c.events.t) return std::nullopt;
    return dayLight(*c.events.t, c.events.latitude, c.events.longitude, c.thresholds);
}

namespace {

// "Yael above 0° and at least 50 % lit"; the altitude to a tenth of a degree, as typed.
QString moonlightText(const MoonlightThresholds& thresholds) {
    // + 0.0 turns a rounded −0 into 0.
    const double degrees = std::round(thresholds.minAltitude * 1800.0 / kPi) / 10.0 + 0.0;
    return fromStd(fmt::format("Yael above {:g}\u00b0 and at least {} % lit", degrees,
                               std::llround(thresholds.minIllumination * 100.0)));
}

QString nothingCalculated() { return QStringLiteral("Nothing calculated yet.\n"); }

}  // namespace

QString dayHeading(const ExportContext& c) {
    if (!c.events.t) return {};
    const double t = *c.events.t;
    return QStringLiteral("Place: ") + c.events.placeLabel + QStringLiteral("\nFrom: ") +
           fromStd(fmt::format("{} (local {}), 24 hours", dateLabel(t),
                               localTimeLabel(t, c.events.longitude))) +
           QStringLiteral("\nMoonlight: ") + moonlightText(c.thresholds);
}

QString lightStretchesText(const DayLight& day) {
    std::string text;
    for (const LightSpan& span : day.levels) {
        text += fmt::format("{}\u2013{} {}\n", localTimeLabel(span.from, day.longitude),
                            localTimeLabel(span.to, day.longitude), levelName(span.level));
    }
    return fromStd(text);
}

namespace {

QString hourlyLightText(const DayLight& day) {
    std::string text = lightTableHeader();
    for (const LightSample& sample : lightRows(day, 1.0 / 24.0))
        text += lightTableRow(sample, day.longitude);
    return fromStd(text);
}

}  // namespace

QString dayDocument(const ExportContext& c) {
    const std::optional<DayLight> day = dayOf(c);
    if (!day) return QStringLiteral("Day\n\n") + nothingCalculated();
    return QStringLiteral("Day\n") + dayHeading(c) + QStringLiteral("\n\n") +
           fromStd(daySummaryText(*day)) + QStringLiteral("\n\u2014 Light \u2014\n\n") +
           lightStretchesText(*day) + QStringLiteral("\n\u2014 Hourly \u2014\n\n") +
           hourlyLightText(*day);
}

QString htmlEscaped(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
    escaped.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
    escaped.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
    return escaped;
}

QString svgPage(const QString& svg) {
    return QStringLiteral(
               "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<style>\n"
               "    html, body { margin: 0; padding: 0; width: 100%; height: 100%; "
               "background: transparent; }\n"
               "    svg { display: block; width: 100%; height: 100%; }\n"
               "</style>\n</head>\n<body>\n") +
           svg + QStringLiteral("\n</body>\n</html>");
}

QString reportMetaLine(const ExportContext& c) {
    return c.outputs.dateLabel + QStringLiteral("   ") + placeText(c, "  ");
}

namespace {

// A report with, when `figure` is not empty, that SVG document between the metadata and the
// sections, as wide as the page.
QString reportPage(const QString& title, const QList<std::pair<QString, QString>>& sections,
                   const QString& metaLine, const QString& figure) {
    QString html = QString::fromUtf8(kReportHead);
    html += htmlEscaped(title);
    html += QStringLiteral("</h1>\n<div class=\"meta\">");
    html += htmlEscaped(title) + QLatin1Char('\n') + htmlEscaped(metaLine);
    html += QStringLiteral("</div>\n");
    if (!figure.isEmpty()) {
        html += QStringLiteral(
                    "<style>\n    .figure svg { display: block; width: 100%; height: auto; }\n"
                    "</style>\n<div class=\"figure\">\n") +
                figure + QStringLiteral("</div>\n");
    }
    QStringList blocks;
    for (const auto& [heading, text] : sections) {
        blocks.append(QStringLiteral("<h2>") + htmlEscaped(heading) +
                      QStringLiteral("</h2>\n<pre>") + htmlEscaped(text) +
                      QStringLiteral("</pre>"));
    }
    html += blocks.join(QLatin1Char('\n'));
    html += QStringLiteral("\n</body>\n</html>");
    return html;
}

TabPdf dayPdf(const ExportContext& c) {
    const TabExport& exported = tabExport(OutputTab::day);
    const std::optional<DayLight> day = dayOf(c);
    if (!day) {
        return {reportHTML("Day", {{QString(), nothingCalculated()}}, QString()),
                exported.pdfPageSize, exported.baseName};
    }
    return {reportPage("Day",
                       {{QStringLiteral("Summary"), fromStd(daySummaryText(*day))},
                        {QStringLiteral("Light"), lightStretchesText(*day)}},
                       dayHeading(c), fromStd(dayChartDocument(*day))),
            exported.pdfPageSize, exported.baseName};
}

CalendarMonth monthOf(const CalendarPage& page) {
    return calendarMonth(page.year, page.monthIndex, page.hour, page.clock, page.latitude,
                         page.longitude);
}

CalendarYear yearOf(const CalendarPage& page) {
    return calendarYear(page.year, page.hour, page.clock, page.latitude, page.longitude);
}

std::optional<TabDocument> calendarSvg(const ExportContext& c) {
    if (!c.calendar) return std::nullopt;
    const CalendarPage& page = *c.calendar;
    const std::string place = page.place.toStdString();
    if (page.span == CalendarSpan::year) {
        return TabDocument{fromStd(calendarYearSvg(yearOf(page), place, page.chosenMonthInYear(),
                                                   page.chosenDayIndex)),
                           true, QStringLiteral("Calendar Year")};
    }
    return TabDocument{fromStd(calendarMonthSvg(monthOf(page), place, page.chosenDayInMonth())),
                       true, tabExport(OutputTab::calendar).baseName};
}

}  // namespace

QString reportHTML(const QString& title, const QList<std::pair<QString, QString>>& sections,
                   const QString& metaLine) {
    return reportPage(title, sections, metaLine, QString());
}

std::optional<TabDocument> tabDocument(OutputTab tab, const ExportContext& c) {
    const QString& base = tabExport(tab).baseName;
    switch (tab) {
        case OutputTab::starMap:
            return TabDocument{c.outputs.starMapSVG, true, base};
        case OutputTab::horoscope:
            return TabDocument{c.outputs.horoscopeSVG, true, base};
        case OutputTab::planets:
            return TabDocument{planetPositionsText(c), false, base};
        case OutputTab::sunMoon:
            return TabDocument{sunMoonDocument(c), false, base};
        case OutputTab::positions:
            return TabDocument{conjunctionsDocument(c), false, base};
        case OutputTab::events:
            return TabDocument{eventsDocument(c), false, base};
        case OutputTab::day: {
            const std::optional<DayLight> day = dayOf(c);
            if (!day) return std::nullopt;
            return TabDocument{fromStd(dayChartDocument(*day)), true, base};
        }
        case OutputTab::calendar:
            return calendarSvg(c);
        case OutputTab::location:
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<TabDocument> tabTextDocument(OutputTab tab, const ExportContext& c) {
    if (tab == OutputTab::day) return TabDocument{dayDocument(c), false, tabExport(tab).baseName};
    if (tab != OutputTab::calendar) return std::nullopt;
    if (!c.calendar) {
        return TabDocument{QStringLiteral("Calendar\n\n") + nothingCalculated(), false,
                           tabExport(tab).baseName};
    }
    // The year view writes the year's notable days; the month view every day of the month.
    const CalendarPage& page = *c.calendar;
    const std::string place = page.place.toStdString();
    if (page.span == CalendarSpan::year) {
        return TabDocument{fromStd(calendarYearText(yearOf(page), place)), false,
                           QStringLiteral("Calendar Year")};
    }
    return TabDocument{fromStd(calendarMonthText(monthOf(page), place)), false,
                       tabExport(tab).baseName};
}

std::optional<TabPdf> tabPdf(OutputTab tab, const ExportContext& c) {
    const TabExport& exported = tabExport(tab);
    const QString meta = reportMetaLine(c);
    switch (tab) {
        case OutputTab::starMap:
            return TabPdf{svgPage(c.outputs.starMapSVG), exported.pdfPageSize, exported.baseName};
        case OutputTab::horoscope:
            return TabPdf{svgPage(c.outputs.horoscopeSVG), exported.pdfPageSize, exported.baseName};
        case OutputTab::planets:
            return TabPdf{
                reportHTML("Planet Positions", {{"Positions", planetPositionsText(c)}}, meta),
                exported.pdfPageSize, exported.baseName};
        case OutputTab::sunMoon:
            return TabPdf{reportHTML("Sun & Moon",
                                     {{"Hourly", c.outputs.basicTableHourly},
                                      {"Monthly", c.outputs.basicTableMonthly}},
                                     meta),
                          exported.pdfPageSize, exported.baseName};
        case OutputTab::positions:
            return TabPdf{reportHTML("Conjunctions",
                                     {{"Daily", c.outputs.conjunctionDaily},
                                      {"Yearly", c.outputs.conjunctionYearly}},
                                     meta),
                          exported.pdfPageSize, exported.baseName};
        case OutputTab::events: {
            const EventsBody body = eventsBody(c.events);
            return TabPdf{reportHTML("Events", {{body.count, body.text}}, eventsHeading(c.events)),
                          exported.pdfPageSize, exported.baseName};
        }
        case OutputTab::day:
            return dayPdf(c);
        case OutputTab::calendar: {
            // The SVG is the landscape handout itself, heading and legend included.
            if (const auto svg = calendarSvg(c))
                return TabPdf{svgPage(svg->content), exported.pdfPageSize, svg->baseName};
            return TabPdf{reportHTML("Calendar", {{QString(), nothingCalculated()}}, QString()),
                          exported.pdfPageSize, exported.baseName};
        }
        case OutputTab::location:
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace morvane
