#pragma once

#include <QByteArray>
#include <QList>
#include <QSizeF>
#include <QString>
#include <optional>

namespace morvane::cli {

/// One PDF to make: the HTML page, its page size in points, and the file it goes to.
struct PdfPage {
    QString html;
    QSizeF pageSize;
    QString path;
};

/// The request morvane-astro-cli hands the PDF renderer on its standard input.
QByteArray encodePdfJob(const QList<PdfPage>& pages);
/// The pages of a request; nothing unless the bytes are one whole request of this version.
std::optional<QList<PdfPage>> decodePdfJob(const QByteArray& bytes);

/// The renderer answers on its standard output with one line per page, in request order:
/// "OK" once the file is written, or "ERROR " and the cause, after which it stops.
QByteArray pdfReportLine(const std::optional<QString>& error);

/// What a report says: how many pages, from the first, were written, and the cause the
/// renderer gave for the next one when it gave one.
struct PdfReport {
    qsizetype written = 0;
    std::optional<QString> error;
};
PdfReport readPdfReport(const QByteArray& output);

}  // namespace morvane::cli
