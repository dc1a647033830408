#include "export/almanac_pdf.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "engine/calendar.h"
#include "events/almanac.h"
#include "events/event_table.h"
#include "support/pdf_tools.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using testing::pdfInfo;
using testing::pdfText;

// The PDF of `text` in a file of the folder, and what writeAlmanacPdf said of it.
struct Laid {
    QString path;
    AlmanacPdfResult result;
};

Laid layOut(const QTemporaryDir& dir, const QByteArray& text, const AlmanacPdfOptions& options,
            const std::function<bool(double)>& progress = {}) {
    QBuffer source;
    source.setData(text);
    source.open(QIODevice::ReadOnly);
    Laid laid{dir.filePath(QStringLiteral("almanac.pdf")), {}};
    QFile pdf(laid.path);
    EXPECT_TRUE(pdf.open(QIODevice::WriteOnly));
    laid.result = writeAlmanacPdf(source, pdf, options, progress);
    return laid;
}

// The lines pdftotext finds on each page from `first` to `last` (0: the end), blank ones left
// out and their runs of spaces made one.
QList<QStringList> pagesOf(const QString& path, int first = 1, int last = 0) {
    QStringList arguments = {QStringLiteral("-layout"), QStringLiteral("-f"),
                             QString::number(first)};
    if (last > 0) arguments << QStringLiteral("-l") << QString::number(last);
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-"));
    process.waitForFinished(60000);
    QList<QStringList> pages;
    for (const QString& page : QString::fromUtf8(process.readAllStandardOutput()).split('\f')) {
        QStringList lines;
        for (const QString& line : page.split(QLatin1Char('\n'))) {
            if (!line.trimmed().isEmpty()) lines << line.simplified();
        }
        if (!lines.isEmpty()) pages << lines;
    }
    return pages;
}

TEST(AlmanacPdf, LongTextGoesOnOverNumberedA4PagesWithEveryLineWholeAndInOrder) {
    // A heading, the column heads, then rows; one far wider than the rest, with letters
    // beyond ASCII as the body names have them.
    QStringList lines = {QStringLiteral("Place: Goris"), QString(),
                         QStringLiteral("Date        Kind      Bodies")};
    for (int row = 1; row <= 1500; ++row)
        lines << QStringLiteral("row %1  full-moon  Yael, Épeòn").arg(row, 5, 10, QLatin1Char('0'));
    lines[700] += QStringLiteral(" ") + QString(120, QLatin1Char('x')) + QStringLiteral(" END");
    QTemporaryDir dir;
    const AlmanacPdfOptions options{QStringLiteral("Almanac: Goris, 720-01-01 to 720-12-30"),
                                    lines[2]};
    std::vector<double> fractions;
    const Laid laid = layOut(dir, (lines.join('\n') + '\n').toUtf8(), options, [&](double f) {
        fractions.push_back(f);
        return true;
    });
    ASSERT_FALSE(laid.result.error) << laid.result.error->toStdString();
    EXPECT_FALSE(laid.result.cancelled);
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    ASSERT_FALSE(fractions.empty());
    EXPECT_EQ(fractions.back(), 1.0);

    const auto info = pdfInfo(laid.path);
    EXPECT_EQ(info.pages, laid.result.pages);
    EXPECT_GT(info.pages, 10);
    // The one wide line does not fit a portrait page at 9 points: the pages turn.
    EXPECT_NEAR(info.width, 841.89, 0.5);
    EXPECT_NEAR(info.height, 595.28, 0.5);

    const QList<QStringList> pages = pagesOf(laid.path);
    ASSERT_EQ(pages.size(), info.pages);
    QStringList body;
    for (qsizetype n = 0; n < pages.size(); ++n) {
        const QStringList& page = pages[n];
        // The heading and the page's number share the first line.
        ASSERT_GE(page.size(), 2);
        EXPECT_THAT(page[0].toStdString(), HasSubstr(options.heading.toStdString()));
        EXPECT_THAT(
            page[0].toStdString(),
            HasSubstr(QStringLiteral("page %1 of %2").arg(n + 1).arg(pages.size()).toStdString()));
        // Every page after the first opens with the column heads.
        if (n > 0) {
            EXPECT_EQ(page[1].simplified(), lines[2].simplified()) << "page " << n + 1;
        }
        body << page.mid(n > 0 ? 2 : 1);
    }
    QStringList expected;
    for (const QString& line : lines) {
        if (!line.isEmpty()) expected << line.simplified();
    }
    for (QString& line : body) line = line.simplified();
    EXPECT_EQ(body, expected);
}

TEST(AlmanacPdf, StopsWhenToldAndStillMakesAPageOfNoText) {
    QTemporaryDir dir;
    QByteArray many;
    for (int i = 0; i < 5000; ++i) many += "a line of the almanac\n";
    int asked = 0;
    const Laid stopped = layOut(dir, many, {QStringLiteral("Almanac"), {}}, [&](double) {
        ++asked;
        return false;
    });
    EXPECT_TRUE(stopped.result.cancelled);
    EXPECT_EQ(asked, 1);

    const Laid empty = layOut(dir, QByteArray(), {QStringLiteral("Almanac: nothing found"), {}});
    EXPECT_FALSE(empty.result.cancelled);
    EXPECT_FALSE(empty.result.error);
    EXPECT_EQ(pdfInfo(empty.path).pages, 1);
    EXPECT_NEAR(pdfInfo(empty.path).width, 595.28, 0.5);  // nothing wide: A4 portrait
    EXPECT_THAT(pdfText(empty.path).toStdString(),
                AllOf(HasSubstr("Almanac: nothing found"), HasSubstr("page 1 of 1")));
}

// A century of daily sunrises and sunsets at 40.5° N: 72,000 rows, the largest almanac a user
// is expected to print. Its first and last events stand whole on the first and last pages.
TEST(AlmanacPdf, ACenturyOfSunrisesAndSunsetsLaysOutInSeconds) {
    const AlmanacDate first{720, 1, 1};
    const AlmanacDate last{819, 12, 30};
    const AlmanacSpan span = almanacSpan(first, last);
    const std::vector<EventKind> kinds = {EventKind::sunrise, EventKind::sunset};
    const double longitude = -0.3647738136668149;
    const EventFinder finder(0.7068583470577035, longitude);
    std::ostringstream text;
    AlmanacWriter writer(text, AlmanacFormat::text, longitude,
                         almanacHeading("40.50°N 20.90°W", first, last, kinds), kinds);
    SkyEvent firstEvent;
    SkyEvent lastEvent;
    finder.between(kinds, span.from, span.to, [&](const SkyEvent& event) {
        if (writer.count() == 0) firstEvent = event;
        lastEvent = event;
        writer.add(event);
    });
    writer.finish();
    ASSERT_EQ(writer.count(), 72000);

    QTemporaryDir dir;
    QString columns = QString::fromStdString(eventTableHeader()).trimmed();
    QElapsedTimer timer;
    timer.start();
    const Laid laid = layOut(dir, QByteArray::fromStdString(text.str()),
                             {QStringLiteral("Almanac: 40.50°N 20.90°W"), columns});
    const qint64 ms = timer.elapsed();
    std::printf("72,000 rows laid out on %d pages in %lld ms\n", laid.result.pages,
                static_cast<long long>(ms));
    ASSERT_FALSE(laid.result.error);
    EXPECT_LT(ms, 30000);
    EXPECT_EQ(pdfInfo(laid.path).pages, laid.result.pages);
    const auto row = [longitude](const SkyEvent& event) {
        return QString::fromStdString(eventTableRow(event, longitude)).simplified();
    };
    const QList<QStringList> opening = pagesOf(laid.path, 1, 1);
    ASSERT_EQ(opening.size(), 1);
    EXPECT_TRUE(opening[0].contains(row(firstEvent))) << opening[0].join('\n').toStdString();
    // The counts below the table fill the last pages; the last event comes just before them.
    const QList<QStringList> closing = pagesOf(laid.path, laid.result.pages - 3);
    ASSERT_EQ(closing.size(), 4);
    EXPECT_THAT(closing[0][0].toStdString(), HasSubstr(QStringLiteral("page %1 of %2")
                                                           .arg(laid.result.pages - 3)
                                                           .arg(laid.result.pages)
                                                           .toStdString()));
    QStringList tail;
    for (const QStringList& page : closing) tail << page;
    EXPECT_TRUE(tail.contains(row(lastEvent)));
    EXPECT_EQ(tail.back(),
              QString::fromStdString(text.str()).trimmed().split('\n').back().simplified());
}

}  // namespace
}  // namespace morvane
