#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "engine/calendar.h"
#include "export/documents.h"
#include "export/export_controller.h"
#include "export/pdf_exporter.h"
#include "model/calculation.h"
#include "support/pdf_tools.h"
#include "support/qt_wait.h"

namespace morvane {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using testing::pdfInfo;
using testing::pdfText;
using ::testing::StartsWith;
using testing::waitUntil;

// The default moment and place, calculated once for all tests.
const ExportContext& calculated() {
    static const ExportContext context = [] {
        ExportContext c;
        c.selectedCityID = manualCityID();
        c.cities = {CityPreset::manual()};
        c.outputs = calculateOutputs(258840.0, 0.7068583470577035, -0.3647738136668149);
        return c;
    }();
    return context;
}

// The same with the Events list's query set: a month of every kind from the default moment.
ExportContext calculatedWithEvents() {
    ExportContext c = calculated();
    c.events = {258840.0,
                0.7068583470577035,
                -0.3647738136668149,
                "40.50°N  20.90°W",
                {EventSpan::month, EventFilter::all()}};
    return c;
}

QByteArray render(OutputTab tab, const ExportContext& context = calculated()) {
    const auto page = tabPdf(tab, context);
    QByteArray pdf;
    bool done = false;
    PDFExporter::exportHTML(page->html, page->pageSize, [&](PDFExporter::Result result) {
        if (const auto* bytes = std::get_if<QByteArray>(&result)) pdf = *bytes;
        done = true;
    });
    EXPECT_TRUE(waitUntil([&] { return done; }, 60000));
    return pdf;
}

QString saved(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// Each table row of a text table, as whitespace-separated words, in order. (The report's
// metadata line also starts with a date label, but has only five words.)
QList<QStringList> rowsOf(const QString& table) {
    QList<QStringList> rows;
    // pdftotext starts each new page with a form feed.
    for (const QString& line : QString(table).replace('\f', '\n').split('\n')) {
        const QStringList words = line.split(' ', Qt::SkipEmptyParts);
        if (words.size() > 6 &&
            QRegularExpression("^\\d{3,}-\\d\\d-\\d\\d$").match(words[0]).hasMatch()) {
            rows.append(words);
        }
    }
    return rows;
}

TEST(PdfExport, EachTabIsAPageOfItsSizeAndReportsHoldEveryLineWhole) {
    QTemporaryDir dir;
    const CalculationResults& out = calculated().outputs;
    const struct {
        OutputTab tab;
        double width, height;
        int minPages, maxPages;
        std::optional<QString> tables;  // the text the page holds, row by row
        int rows;
    } documents[] = {
        // The engine sizes pages in 1/300 inch: 760 points come out as 760.08.
        {OutputTab::starMap, 720, 720, 1, 1, std::nullopt, 0},
        {OutputTab::horoscope, 1440, 760, 1, 1, std::nullopt, 0},
        // Long tables go on over further pages of the same size.
        {OutputTab::positions, 612, 792, 4, 99, out.conjunctionDaily + out.conjunctionYearly,
         144 + 360},
        {OutputTab::sunMoon, 612, 792, 1, 99, out.basicTableHourly + out.basicTableMonthly,
         24 + 30},
        {OutputTab::planets, 612, 792, 1, 99, planetPositionsText(calculated()), 0},
    };
    for (const auto& d : documents) {
        const QString path = saved(dir, "page.pdf", render(d.tab));
        const auto info = pdfInfo(path);
        EXPECT_GE(info.pages, d.minPages) << path.toStdString();
        EXPECT_LE(info.pages, d.maxPages) << path.toStdString();
        EXPECT_EQ(info.width, d.width);
        EXPECT_NEAR(info.height, d.height, 0.1);
        if (!d.tables) continue;
        const QString text = pdfText(path);
        const QList<QStringList> expected = rowsOf(*d.tables);
        EXPECT_EQ(expected.size(), d.rows);
        // Every row, in order, with every column up to its last conjunction label.
        const QList<QStringList> found = rowsOf(text);
        EXPECT_EQ(found.size(), expected.size());
        for (qsizetype i = 0; i < std::min(found.size(), expected.size()); ++i) {
            ASSERT_EQ(found[i].join(' ').toStdString(), expected[i].join(' ').toStdString())
                << "row " << i;
        }
        if (d.tab == OutputTab::planets) {
            EXPECT_THAT(text.toStdString(), AllOf(HasSubstr("Mêrgus"), HasSubstr("Angberélius")));
        }
    }
}

TEST(PdfExport, EventsGoOnOverPagesWithTheirHeadingAndEveryRowWhole) {
    // A month of every kind: the daily rises, sets, noons and midnights fill several pages.
    const ExportContext c = calculatedWithEvents();
    QTemporaryDir dir;
    const QByteArray pdf = render(OutputTab::events, c);
    ASSERT_FALSE(pdf.isEmpty());
    const QString path = saved(dir, "events.pdf", pdf);
    const auto info = pdfInfo(path);
    EXPECT_GE(info.pages, 3);
    EXPECT_EQ(info.width, 612);
    const QString text = pdfText(path);
    EXPECT_THAT(text.simplified().toStdString(),
                AllOf(HasSubstr("Place: 40.50°N 20.90°W"),
                      HasSubstr("Span: 1 month (30 days) from 720-01-01 12:00 OST"),
                      HasSubstr("Kinds: all")));
    // Every row in order, each with all its words: none cut at a page's foot or right edge.
    const auto words = [](const QString& table) {
        QStringList rows;
        for (const QString& line : QString(table).replace('\f', '\n').split('\n')) {
            if (QRegularExpression("^\\s*\\d{3,}-\\d\\d-\\d\\d ").match(line).hasMatch())
                rows << line.split(' ', Qt::SkipEmptyParts).join(' ');
        }
        return rows;
    };
    const QStringList expected = words(eventsDocument(c));
    ASSERT_GT(expected.size(), 150);
    EXPECT_EQ(words(text), expected);
}

// The chart's text stays text in the PDF, and the chart, the summary and the stretches share one
// page.
TEST(PdfExport, TheDayIsOnePageWithItsChartSummaryAndStretches) {
    const ExportContext c = calculatedWithEvents();
    QTemporaryDir dir;
    const QByteArray pdf = render(OutputTab::day, c);
    ASSERT_FALSE(pdf.isEmpty());
    const QString path = saved(dir, "day.pdf", pdf);
    const auto info = pdfInfo(path);
    EXPECT_EQ(info.pages, 1);
    EXPECT_EQ(info.width, 612);
    const std::string text = pdfText(path).simplified().toStdString();
    EXPECT_THAT(text, AllOf(HasSubstr("Day from 720-01-01 12:00 OST"), HasSubstr("Yael up"),
                            HasSubstr("Place: 40.50°N 20.90°W"), HasSubstr("Astronomical dawn")));
    for (const QString& stretch : lightStretchesText(*dayOf(c)).split('\n', Qt::SkipEmptyParts))
        EXPECT_THAT(text, HasSubstr(stretch.toStdString()));
}

// The calendar handout is one landscape page whose words stay text.
TEST(PdfExport, TheCalendarMonthIsOneLandscapePage) {
    ExportContext c = calculated();
    CalendarPage page;
    page.year = page.chosenYear = 720;
    page.monthIndex = page.chosenMonthIndex = 4;
    page.latitude = 0.7068583470577035;
    page.longitude = -0.3647738136668149;
    page.place = "Goris";
    c.calendar = page;
    QTemporaryDir dir;
    const QByteArray pdf = render(OutputTab::calendar, c);
    ASSERT_FALSE(pdf.isEmpty());
    const QString path = saved(dir, "calendar.pdf", pdf);
    const auto info = pdfInfo(path);
    EXPECT_EQ(info.pages, 1);
    EXPECT_NEAR(info.width, 842, 0.1);  // sized in 1/300 inch
    EXPECT_NEAR(info.height, 595, 0.1);
    const std::string text = pdfText(path).simplified().toStdString();
    EXPECT_THAT(text, AllOf(HasSubstr(std::string(kMonthNames[4]) + " 720"), HasSubstr("Goris"),
                            HasSubstr("chosen day")));
}

TEST(PdfExport, CompletionRunsOnceAndTheExporterIsHeldUntilThen) {
    int calls = 0;
    PDFExporter::exportHTML("<p>x</p>", QSizeF(200, 200), [&](PDFExporter::Result) { ++calls; });
    EXPECT_EQ(PDFExporter::activeExporters().size(), 1);
    ASSERT_TRUE(waitUntil([&] { return calls > 0; }, 60000));
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(PDFExporter::activeExporters().isEmpty());
}

// A save dialog that answers at once with a path prepared by the test.
class AnsweringChooser final : public FileChooser {
  public:
    std::optional<QString> answer;
    QString lastMessage;
    QString lastSuggestedName;
    Kind lastKind = Kind::text;
    void chooseSaveLocation(Kind kind, const QString& message, const QString& suggestedName,
                            std::function<void(std::optional<QString>)> done) override {
        lastKind = kind;
        lastMessage = message;
        lastSuggestedName = suggestedName;
        done(answer);
    }
};

TEST(ExportFlow, ButtonsAskWithTheRightTypeMessageAndName) {
    QTemporaryDir dir;
    auto chooser = std::make_unique<AnsweringChooser>();
    AnsweringChooser* answering = chooser.get();
    ExportController controller(std::move(chooser));
    QSignalSpy exported(&controller, &ExportController::exported);

    answering->answer = dir.filePath("map.svg");
    controller.exportDocument(OutputTab::starMap, calculated());
    EXPECT_EQ(answering->lastKind, FileChooser::Kind::svg);
    EXPECT_EQ(answering->lastMessage, "Choose where to save the SVG file");
    EXPECT_EQ(answering->lastSuggestedName, "Star Map - 40.50°N 20.90°W - 720-01-01 12-00.svg");
    EXPECT_EQ(exported.count(), 1);
    EXPECT_TRUE(QFile::exists(dir.filePath("map.svg")));

    answering->answer = dir.filePath("planets.txt");
    controller.exportDocument(OutputTab::planets, calculated());
    EXPECT_EQ(answering->lastMessage, "Choose where to save the text file");
    QFile text(dir.filePath("planets.txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(text.readAll()), planetPositionsText(calculated()));

    answering->answer = dir.filePath("wheel.pdf");
    controller.exportPDF(OutputTab::horoscope, calculated());
    EXPECT_EQ(answering->lastMessage, "Choose where to save the PDF file");
    ASSERT_TRUE(waitUntil([&] { return exported.count() == 3; }, 60000));
    EXPECT_EQ(pdfInfo(dir.filePath("wheel.pdf")).pages, 1);

    // Cancelled: nothing written, nothing said. Location tab: not even a dialog.
    answering->answer.reset();
    controller.exportDocument(OutputTab::sunMoon, calculated());
    answering->lastMessage.clear();
    controller.exportDocument(OutputTab::location, calculated());
    controller.exportPDF(OutputTab::location, calculated());
    EXPECT_TRUE(answering->lastMessage.isEmpty());
    EXPECT_EQ(exported.count(), 3);
}

TEST(ExportFlow, AWindowClosedWhileItsPdfRendersLosesNothingElse) {
    QTemporaryDir dir;
    auto chooser = std::make_unique<AnsweringChooser>();
    chooser->answer = dir.filePath("late.pdf");
    auto controller = std::make_unique<ExportController>(std::move(chooser));
    controller->exportPDF(OutputTab::starMap, calculated());
    ASSERT_EQ(PDFExporter::activeExporters().size(), 1);
    controller.reset();  // the window and its buttons are gone
    ASSERT_TRUE(waitUntil([] { return PDFExporter::activeExporters().isEmpty(); }, 60000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(QFile::exists(dir.filePath("late.pdf")));
}

TEST(ExportFlow, AFailureIsPrintedAndAnnouncedAndNeverReportedAsSaved) {
    QTemporaryDir dir;
    auto chooser = std::make_unique<AnsweringChooser>();
    AnsweringChooser* answering = chooser.get();
    ExportController controller(std::move(chooser));
    QSignalSpy failed(&controller, &ExportController::exportFailed);
    QSignalSpy exported(&controller, &ExportController::exported);
    answering->answer = dir.filePath("no/such/folder/file");
    const auto printedBy = [&](const std::function<void()>& attempt) {
        const qsizetype before = failed.count();
        ::testing::internal::CaptureStdout();
        attempt();
        EXPECT_TRUE(waitUntil([&] { return failed.count() == before + 1; }, 60000));
        EXPECT_EQ(failed.last().at(0).toString(), *answering->answer);
        EXPECT_FALSE(failed.last().at(1).toString().isEmpty());
        return ::testing::internal::GetCapturedStdout();
    };
    EXPECT_THAT(printedBy([&] { controller.exportDocument(OutputTab::starMap, calculated()); }),
                StartsWith("Error saving SVG: "));
    EXPECT_THAT(printedBy([&] { controller.exportDocument(OutputTab::sunMoon, calculated()); }),
                StartsWith("Error saving text: "));
    // The page renders, but the file cannot be written.
    EXPECT_THAT(printedBy([&] { controller.exportPDF(OutputTab::horoscope, calculated()); }),
                StartsWith("Error writing PDF: "));
    EXPECT_EQ(exported.count(), 0);
}

}  // namespace
}  // namespace morvane
