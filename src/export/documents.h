#pragma once

#include <QList>
#include <QSizeF>
#include <QString>
#include <optional>
#include <string>
#include <utility>

#include "events/light.h"
#include "export/export_context.h"
#include "export/output_tab.h"

namespace morvane {

/// base name, " - ", place, " - ", date, " ", time, ".", extension; the place is the typed-in
/// coordinates ("40.50°N 20.90°W") or the selected location's name, the time "HH-MM". Never
/// holds a path separator: a "/" of a location's name becomes "-".
QString suggestedFileName(const ExportContext& context, const QString& baseName,
                          const QString& fileExtension);

/// The positions as the text table of the Nolomar System tab.
QString planetPositionsText(const ExportContext& context);
/// "— Hourly —", the hourly table, "— Monthly —", the monthly table.
QString sunMoonDocument(const ExportContext& context);
/// "— Daily Conjunctions —", the daily table, "— Yearly Conjunctions —", the yearly table.
QString conjunctionsDocument(const ExportContext& context);

/// The heading of the Events document: "Place: …", "Span: 1 month (30 days) from …",
/// "Kinds: …", one a line, without a final line feed.
QString eventsHeading(const EventQuery& query);
/// "Events", the heading, a blank line, the event table at the place's local time; a sentence
/// instead of the table when there is nothing to list.
QString eventsDocument(const ExportContext& context);

/// The day from the last calculation's moment at its place, with the user's thresholds; nothing
/// before the first calculation.
std::optional<DayLight> dayOf(const ExportContext& context);
/// "Place: …", "From: 720-03-10 22:00 OST (local 20:36), 24 hours", "Moonlight: …", one a
/// line, without a final line feed.
QString dayHeading(const ExportContext& context);
/// The light stretches of the day, one a line at the place's local time: "19:20–19:52 dim".
QString lightStretchesText(const DayLight& day);
/// "Day", the heading, the summary, the light stretches and the hourly light table; a sentence
/// instead before the first calculation.
QString dayDocument(const ExportContext& context);

/// "&", "<" and ">" as entities, in that order; nothing else.
QString htmlEscaped(const QString& text);
/// A bare page that fills its page size with the SVG document.
QString svgPage(const QString& svg);
/// The last calculation's date label, three blanks, and the place.
QString reportMetaLine(const ExportContext& context);
/// A small report: title, metadata, one preformatted block per (heading, text) section.
QString reportHTML(const QString& title, const QList<std::pair<QString, QString>>& sections,
                   const QString& metaLine);

/// What the first export button of a tab writes; nothing on the location tab, nor on the Day
/// and Calendar tabs before the first calculation. The Calendar tab writes the month or the
/// year its view shows ("Calendar" or "Calendar Year").
struct TabDocument {
    QString content;
    bool isSvg;
    QString baseName;
};
std::optional<TabDocument> tabDocument(OutputTab tab, const ExportContext& context);
/// What the text button of a tab that also writes text writes (tabExport(tab).alsoWritesText);
/// nothing on the other tabs. The Calendar tab writes a line for every day of the month shown,
/// or in the year view the year's notable days.
std::optional<TabDocument> tabTextDocument(OutputTab tab, const ExportContext& context);

/// The page a tab's PDF is made from; nothing on the location tab.
struct TabPdf {
    QString html;
    QSizeF pageSize;  ///< points
    QString baseName;
};
std::optional<TabPdf> tabPdf(OutputTab tab, const ExportContext& context);

}  // namespace morvane
