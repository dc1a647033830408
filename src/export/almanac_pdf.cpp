#include "export/almanac_pdf.h"

#include <QFileDevice>
#include <QFont>
#include <QFontMetricsF>
#include <QIODevice>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace morvane {

namespace {

// Points: the writer's resolution is set to 72 dots per inch, so a dot is a point.
constexpr double kMargin = 42.0;
constexpr double kLargestFont = 9.0;
// Below this a printed line is hard to read; a line still too wide runs into the margin.
constexpr double kSmallestFont = 5.0;
// Layouts are checked against the caller this often (in lines), cheap against drawing them.
constexpr qint64 kLinesBetweenChecks = 500;

QString withoutLineEnd(const QByteArray& bytes) {
    qsizetype size = bytes.size();
    while (size > 0 && (bytes[size - 1] == '\n' || bytes[size - 1] == '\r')) --size;
    return QString::fromUtf8(bytes.constData(), size);
}

// Characters as a fixed-width column counts them: code points, not UTF-16 units.
qsizetype characters(const QString& line) {
    return line.size() -
           std::count_if(line.cbegin(), line.cend(), [](QChar c) { return c.isLowSurrogate(); });
}

// Where the lines go on a page: the same walk counts the pages and then draws them.
class Pagination {
  public:
    Pagination(qint64 rowsPerPage, const QString& repeated)
        : rowsPerPage_(std::max<qint64>(rowsPerPage, 2)), repeated_(repeated) {}

    // Whether the line starts a new page, and then whether the repeated line opens it.
    struct Place {
        bool newPage = false;
        bool repeat = false;
        qint64 row = 0;  ///< the line's row on its page, from 0
    };
    Place place(const QString& line) {
        Place at;
        if (pages_ == 0 || used_ == rowsPerPage_) {
            ++pages_;
            at.newPage = true;
            at.repeat = repeating_;
            used_ = repeating_ ? 1 : 0;
        }
        at.row = used_++;
        if (!repeated_.isEmpty() && line == repeated_) repeating_ = true;
        return at;
    }
    [[nodiscard]] int pages() const { return int(std::max<qint64>(pages_, 1)); }

  private:
    qint64 rowsPerPage_;
    QString repeated_;
    qint64 pages_ = 0;
    qint64 used_ = 0;
    bool repeating_ = false;
};

QFont monospaced(double pointSize) {
    QFont font(QStringLiteral("monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(pointSize);
    return font;
}

}  // namespace

AlmanacPdfResult writeAlmanacPdf(QIODevice& text, QIODevice& pdf, const AlmanacPdfOptions& options,
                                 const std::function<bool(double)>& progress) {
    AlmanacPdfResult result;
    // First pass: how many lines, and how wide the widest.
    if (!text.seek(0)) {
        result.error = QStringLiteral("The text to lay out could not be read.");
        return result;
    }
    qint64 lines = 0;
    qsizetype widest = 0;
    while (!text.atEnd()) {
        widest = std::max(widest, characters(withoutLineEnd(text.readLine())));
        ++lines;
    }

    QPdfWriter writer(&pdf);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(options.heading);
    writer.setCreator(QStringLiteral("Morvane Astro"));
    QSizeF page = QPageSize(QPageSize::A4).size(QPageSize::Point);

    QFont font = monospaced(kLargestFont);
    const double needed =
        QFontMetricsF(font, &writer).horizontalAdvance(QLatin1Char('M')) * double(widest);
    // The event list fits a portrait page; a table of counts with a column per kind is wider,
    // and turning the page keeps it readable where shrinking the font would not.
    const bool landscape = needed > page.width() - 2.0 * kMargin;
    writer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (landscape) page.transpose();
    const double width = page.width() - 2.0 * kMargin;
    if (needed > width) font.setPointSizeF(std::max(kSmallestFont, kLargestFont * width / needed));
    const QFontMetricsF metrics(font, &writer);
    const double rowHeight = metrics.lineSpacing();
    // The heading takes a row and a blank row below it.
    const double top = kMargin + metrics.ascent();
    const double bodyTop = top + 2.0 * rowHeight;
    const auto rowsPerPage =
        qint64(std::floor((page.height() - kMargin - (bodyTop - metrics.ascent())) / rowHeight));

    Pagination counting(rowsPerPage, options.repeatedLine);
    text.seek(0);
    while (!text.atEnd()) counting.place(withoutLineEnd(text.readLine()));
    result.pages = counting.pages();

    QPainter painter;
    if (!painter.begin(&writer)) {
        result.error = QStringLiteral("The PDF could not be started.");
        return result;
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    QFont headingFont = font;
    headingFont.setBold(true);
    int pageNumber = 0;
    const auto startPage = [&] {
        if (pageNumber > 0) writer.newPage();
        ++pageNumber;
        const QString number = QStringLiteral("page %1 of %2").arg(pageNumber).arg(result.pages);
        const double numberWidth = metrics.horizontalAdvance(number);
        painter.setFont(headingFont);
        const QFontMetricsF headingMetrics(headingFont, &writer);
        painter.drawText(
            QPointF(kMargin, top),
            headingMetrics.elidedText(options.heading, Qt::ElideRight, width - numberWidth - 12.0));
        painter.setFont(font);
        painter.drawText(QPointF(kMargin + width - numberWidth, top), number);
    };
    const auto rowBaseline = [&](qint64 row) { return bodyTop + double(row) * rowHeight; };

    Pagination drawing(rowsPerPage, options.repeatedLine);
    text.seek(0);
    qint64 done = 0;
    while (!text.atEnd()) {
        const QString line = withoutLineEnd(text.readLine());
        const Pagination::Place at = drawing.place(line);
        if (at.newPage) {
            startPage();
            if (at.repeat) painter.drawText(QPointF(kMargin, rowBaseline(0)), options.repeatedLine);
        }
        if (!line.isEmpty()) painter.drawText(QPointF(kMargin, rowBaseline(at.row)), line);
        if (++done % kLinesBetweenChecks == 0 && progress &&
            !progress(double(done) / double(lines))) {
            painter.end();
            result.cancelled = true;
            return result;
        }
    }
    if (pageNumber == 0) startPage();  // no text: still a page that says what it is
    painter.end();
    if (auto* file = qobject_cast<QFileDevice*>(&pdf);
        file && file->error() != QFileDevice::NoError)
        result.error = file->errorString();
    if (progress) progress(1.0);
    return result;
}

}  // namespace morvane
