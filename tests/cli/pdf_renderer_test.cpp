// The hand-over between the companion and its PDF renderer. The real renderer is run by the
// cli.export.files.pdf1 case; here stand-in renderers play every way a run can end.
#include "cli/pdf_renderer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <optional>
#include <tuple>

#include "cli/pdf_job.h"
#include "cli_test_support.h"

namespace morvane::cli {
namespace {

using ::testing::ElementsAre;
using testing::runCli;
using ::testing::StartsWith;

TEST(PdfJob, RequestKeepsEveryPageAndPathAsGiven) {
    const QList<PdfPage> pages = {
        {QStringLiteral("<p>a & b</p>"), {720, 720}, QStringLiteral("/tmp/Star Map.pdf")},
        {QString(), {1440.5, 760}, QStringLiteral("/tmp/odd\nname ü.pdf")},
    };
    const auto decoded = decodePdfJob(encodePdfJob(pages));
    ASSERT_TRUE(decoded);
    const auto fields = [](const PdfPage& page) {
        return std::tuple(page.html, page.pageSize.width(), page.pageSize.height(), page.path);
    };
    ASSERT_EQ(decoded->size(), 2);
    for (qsizetype i = 0; i < 2; ++i) EXPECT_EQ(fields((*decoded)[i]), fields(pages[i]));
    EXPECT_TRUE(decodePdfJob(encodePdfJob({})));
}

TEST(PdfJob, AnythingButOneWholeRequestIsRefused) {
    const QByteArray whole =
        encodePdfJob({{QStringLiteral("<p/>"), {100, 200}, QStringLiteral("/tmp/a.pdf")}});
    EXPECT_FALSE(decodePdfJob(QByteArray()));
    EXPECT_FALSE(decodePdfJob("%PDF-1.4"));
    EXPECT_FALSE(decodePdfJob(whole + '\0'));
    for (qsizetype size = 0; size < whole.size(); ++size) {
        EXPECT_FALSE(decodePdfJob(whole.first(size))) << size;
    }
    for (const QSizeF& size :
         {QSizeF(0, 100), QSizeF(100, -1), QSizeF(NAN, 100), QSizeF(100, INFINITY)}) {
        EXPECT_FALSE(decodePdfJob(encodePdfJob({{QString(), size, QStringLiteral("/tmp/a")}})));
    }
    EXPECT_FALSE(decodePdfJob(encodePdfJob({{QString(), {100, 100}, QString()}})));
}

TEST(PdfJob, ReportCountsWholeLinesUpToTheFirstFailure) {
    EXPECT_EQ(readPdfReport("").written, 0);
    EXPECT_EQ(readPdfReport("OK\nOK\nOK\n").written, 3);
    EXPECT_EQ(readPdfReport("OK\nOK").written, 1);  // cut off inside a line
    EXPECT_EQ(readPdfReport("OK\nOKAY\nOK\n").written, 1);

    const PdfReport failed =
        readPdfReport("OK\n" + pdfReportLine(QStringLiteral("disk full\nreally")) + "OK\n");
    EXPECT_EQ(failed.written, 1);
    EXPECT_EQ(failed.error, QStringLiteral("disk full really"));
    EXPECT_EQ(readPdfReport(pdfReportLine({})).written, 1);
    EXPECT_FALSE(readPdfReport("OK\n").error);
}

// "export --pdf" into a fresh folder, with the renderer the test names.
class ExportPdf : public ::testing::Test {
  protected:
    void TearDown() override { qunsetenv(kPdfRendererVariable); }

    // A stand-in renderer: a shell script with the given body.
    void useRenderer(const QByteArray& body) {
        const QString path = folder_.filePath(QStringLiteral("renderer"));
        QFile script(path);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + body);
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        qputenv(kPdfRendererVariable, QFile::encodeName(path));
    }

    testing::Result exportPdf() {
        return runCli({"export", "--out", out().toStdString(), "--pdf"});
    }
    QString out() const { return folder_.filePath(QStringLiteral("out")); }
    std::string pdfPath(const char* baseName) const {
        return QDir(out()).filePath(baseName).toStdString() +
               " - 40.50°N 20.90°W - 720-01-01 12-00.pdf";
    }
    QStringList written() const { return QDir(out()).entryList(QDir::Files, QDir::Name); }
    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> result;
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            result.push_back(text.substr(start, end - start));
        }
        return result;
    }

    QTemporaryDir folder_;
};

TEST_F(ExportPdf, PathsPrintInTabOrderOnceTheRendererReportsThem) {
    const QString request = folder_.filePath(QStringLiteral("request"));
    useRenderer("cat > '" + request.toUtf8() + "'\nfor i in 1 2 3 4 5; do echo OK; done\n");
    const auto result = exportPdf();
    EXPECT_EQ(result.status, kExitOk) << result.err;
    EXPECT_EQ(result.err, "");
    const auto printed = lines(result.out);
    ASSERT_EQ(printed.size(), 10u);
    EXPECT_THAT(std::vector(printed.begin() + 5, printed.end()),
                ElementsAre(pdfPath("Star Map"), pdfPath("Horoscope"), pdfPath("Planets"),
                            pdfPath("Sun & Moon"), pdfPath("Positions")));

    // The renderer was handed those same paths, in that order, with pages to lay out.
    QFile file(request);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto pages = decodePdfJob(file.readAll());
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->size(), 5);
    for (qsizetype i = 0; i < 5; ++i) {
        EXPECT_EQ((*pages)[i].path.toStdString(), printed[5 + static_cast<std::size_t>(i)]);
        EXPECT_THAT((*pages)[i].html.toStdString(), StartsWith("<"));
    }
    EXPECT_EQ((*pages)[0].pageSize, QSizeF(720, 720));
}

// Missing, not executable, or failing in any way: the other files are written, and one line
// names the first PDF not written and the cause.
TEST_F(ExportPdf, RendererFailuresNameTheFirstFileNotWritten) {
    const std::string renderer = folder_.filePath(QStringLiteral("renderer")).toStdString();
    const struct {
        std::optional<QByteArray> body;  // none: no renderer where the variable points
        std::size_t pdfsWritten;
        const char* failedFile;
        std::string cause;
    } cases[] = {
        {std::nullopt, 0, "Star Map",
         "the PDF renderer morvane-astro-pdf is missing (looked for /nonexistent/x)"},
        {"echo OK; echo 'ERROR rendering failed: no page'; echo OK\n", 1, "Horoscope",
         "rendering failed: no page"},
        {"echo OK; echo OK; echo OK; exit 3\n", 3, "Sun & Moon",
         "the PDF renderer " + renderer + " stopped with status 3"},
        {"echo OK; kill -9 $$\n", 1, "Horoscope",
         "the PDF renderer " + renderer + " was stopped by signal 9"},
        {"exit 0\n", 0, "Star Map", "the PDF renderer " + renderer + " stopped with status 0"},
        {"", 0, "Star Map", "cannot start " + renderer + ": it is not executable"},
    };
    for (const auto& c : cases) {
        if (c.body) {
            useRenderer(*c.body);
            // Last, as it cannot be written over.
            if (c.body->isEmpty()) QFile::setPermissions(QString::fromStdString(renderer), {});
        } else {
            qputenv(kPdfRendererVariable, "/nonexistent/x");
        }
        const auto result = exportPdf();
        EXPECT_EQ(result.status, kExitWriteFailure) << c.cause;
        EXPECT_EQ(result.err, "morvane-astro-cli: cannot write " + pdfPath(c.failedFile) + ": " +
                                  c.cause + "\n");
        EXPECT_EQ(lines(result.out).size(), 5 + c.pdfsWritten) << c.cause;
        EXPECT_EQ(written().size(), 5) << c.cause;  // every file but the PDFs
        QDir(out()).removeRecursively();
    }
}

}  // namespace
}  // namespace morvane::cli
