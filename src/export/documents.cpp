#include "export/documents.h"

#include <fmt/format.h>

#include <cmath>

#include "engine/calendar.h"
#include "events/event_table.h"
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

QString reportHTML(const QString& title, const QList<std::pair<QString, QString>>& sections,
                   const QString& metaLine) {
    QString html = QString::fromUtf8(kReportHead);
    html += htmlEscaped(title);
    html += QStringLiteral("</h1>\n<div class=\"meta\">");
    html += htmlEscaped(title) + QLatin1Char('\n') + htmlEscaped(metaLine);
    html += QStringLiteral("</div>\n");
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
        case OutputTab::location:
            return std::nullopt;
    }
    return std::nullopt;
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
        case OutputTab::location:
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace morvane
