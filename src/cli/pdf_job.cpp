#include "cli/pdf_job.h"

#include <QDataStream>
#include <QIODevice>
#include <cmath>

namespace morvane::cli {

namespace {

// Both programs come from one build, but a renderer left over from another build must not
// misread a request: the tag changes whenever the layout does.
constexpr char kTag[] = "morvane-astro-pdf 1";
constexpr quint32 kMaxPages = 64;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;

bool usable(const PdfPage& page) {
    const double width = page.pageSize.width();
    const double height = page.pageSize.height();
    return std::isfinite(width) && std::isfinite(height) && width > 0 && height > 0 &&
           !page.path.isEmpty();
}

}  // namespace

QByteArray encodePdfJob(const QList<PdfPage>& pages) {
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream.setVersion(kStreamVersion);
    stream << QByteArray(kTag) << static_cast<quint32>(pages.size());
    for (const PdfPage& page : pages) {
        stream << page.html << page.pageSize.width() << page.pageSize.height() << page.path;
    }
    return bytes;
}

std::optional<QList<PdfPage>> decodePdfJob(const QByteArray& bytes) {
    QDataStream stream(bytes);
    stream.setVersion(kStreamVersion);
    QByteArray tag;
    quint32 count = 0;
    stream >> tag >> count;
    if (stream.status() != QDataStream::Ok || tag != kTag || count > kMaxPages) return {};
    QList<PdfPage> pages;
    for (quint32 i = 0; i < count; ++i) {
        PdfPage page;
        double width = 0;
        double height = 0;
        stream >> page.html >> width >> height >> page.path;
        page.pageSize = QSizeF(width, height);
        if (stream.status() != QDataStream::Ok || !usable(page)) return {};
        pages.append(page);
    }
    if (!stream.atEnd()) return {};
    return pages;
}

QByteArray pdfReportLine(const std::optional<QString>& error) {
    if (!error) return "OK\n";
    // The cause ends the line, so it must not hold a line break of its own.
    QString cause = *error;
    cause.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return "ERROR " + cause.toUtf8() + '\n';
}

PdfReport readPdfReport(const QByteArray& output) {
    PdfReport report;
    qsizetype start = 0;
    // Only whole lines count: a renderer that dies halfway through one has not finished it.
    for (qsizetype end = output.indexOf('\n'); end >= 0;
         start = end + 1, end = output.indexOf('\n', start)) {
        const QByteArray line = output.sliced(start, end - start);
        if (line == "OK") {
            ++report.written;
        } else {
            if (line.startsWith("ERROR ")) report.error = QString::fromUtf8(line.sliced(6));
            break;
        }
    }
    return report;
}

}  // namespace morvane::cli
