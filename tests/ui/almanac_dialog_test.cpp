#include "ui/almanac_dialog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <map>

#include "engine/calendar.h"
#include "events/event_table.h"
#include "model/event_list.h"
#include "model/model_fixture.h"
#include "support/pdf_tools.h"
#include "support/qt_wait.h"
#include "ui/readability.h"
#include "ui/ui_window.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using testing::RecordingStore;
using testing::waitUntil;

// The dialog on a model and settings of its own, with a save dialog the test answers.
struct Almanac {
    testing::ModelFixture fixture;
    std::unique_ptr<AstronomyModel> model = fixture.makeModel();
    RecordingStore settings;
    std::optional<QString> answer;  // what the save dialog answers; nothing: cancelled
    QString suggested;
    int asked = 0;
    std::unique_ptr<AlmanacDialog> dialog;

    explicit Almanac(std::map<QString, QVariant> stored = {}) {
        settings.values = std::move(stored);
        open();
    }
    void open() {
        dialog = std::make_unique<AlmanacDialog>(model.get(), &settings);
        dialog->setSaveChooser([this](AlmanacFile, const QString& name, const auto& done) {
            ++asked;
            suggested = name;
            done(answer);
        });
        dialog->resize(900, 640);
        dialog->show();
        settle();
    }
    void settle() const {
        ASSERT_TRUE(waitUntil([this] { return !dialog->isSearching(); }, 60000));
    }
    void setSpan(AlmanacDate first, AlmanacDate last) const {
        dialog->fromEdit()->setDate(first);
        dialog->toEdit()->setDate(last);
        settle();
    }
    void choosePlace(const QString& name) const {
        const int index = dialog->placeBox()->findText(name);
        ASSERT_GT(index, 0) << name.toStdString();
        dialog->placeBox()->setCurrentIndex(index);
        emit dialog->placeBox()->activated(index);
        settle();
    }
    const CityPreset& city(const QString& name) const {
        for (const CityPreset& c : model->cities()) {
            if (c.name == name) return c;
        }
        static const CityPreset none;
        ADD_FAILURE() << "no " << name.toStdString();
        return none;
    }
    // Exports as the button does, with the save dialog answering `path`; whether a progress
    // dialog showed.
    bool exportAs(AlmanacFile file, const QString& path) {
        answer = path;
        QSignalSpy done(dialog.get(), &AlmanacDialog::exported);
        dialog->exportButton(file)->click();
        bool progressShown = false;
        EXPECT_TRUE(waitUntil(
            [&] {
                const QProgressDialog* progress = dialog->progressDialog();
                progressShown = progressShown || (progress && progress->isVisible());
                return !dialog->isExporting();
            },
            120000));
        EXPECT_EQ(done.count(), 1) << path.toStdString();
        if (done.count() == 1) {
            EXPECT_EQ(done.at(0).at(0).toString(), path);
        }
        return progressShown;
    }
};

// What the engine finds for the request: the facts the preview must show.
std::vector<SkyEvent> engineEvents(const AlmanacRequest& request) {
    const AlmanacSpan span = request.span();
    return EventFinder(request.place.latitude, request.place.longitude)
        .between(request.kinds(), span.from, span.to);
}

// 1940 as "1,940".
QString english(std::size_t number) {
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(qulonglong(number));
}

QString cell(const QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
}

// The records of RFC 4180 text: fields split at commas outside quotes, doubled quotes inside
// them read as one, records ended by line ends outside quotes.
QList<QStringList> csvRecords(const QString& text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record << field;
            field.clear();
        } else if (c == '\n') {
            records << (record << field);
            record.clear();
            field.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.isEmpty() || !record.isEmpty()) records << (record << field);
    return records;
}

TEST(AlmanacDialog, PreviewHoldsWhatTheEngineFindsCountedPerYearAndKindAndRemembersChoices) {
    Almanac a;
    AlmanacDialog& d = *a.dialog;
    // The model's year, whole, at the current place, with everything but sunrises.
    EXPECT_EQ(d.fromEdit()->date(), (AlmanacDate{720, 1, 1}));
    EXPECT_EQ(d.toEdit()->date(), (AlmanacDate{720, 12, 30}));
    EXPECT_EQ(d.placeBox()->itemText(0), "Current place (40.50°N 20.90°W)");
    EXPECT_EQ(d.placeBox()->count(), a.model->cities().size());  // the manual entry is the first
    EXPECT_FALSE(d.groupBox(AlmanacGroup::sunrises)->isChecked());
    const std::vector<SkyEvent> year = engineEvents(d.request());
    EXPECT_EQ(d.request().kinds(), defaultAlmanacKinds());
    EXPECT_DOUBLE_EQ(d.request().place.latitude, a.model->latitude());
    ASSERT_GT(year.size(), 100U);
    EXPECT_EQ(d.summaryLabel()->text(),
              QStringLiteral("%1 events, 720-01-01 to 720-12-30 (360 days)").arg(year.size()));

    // Two years from mid-year at a saved place, with the daily sunrises and sunsets.
    a.choosePlace("Goris");
    d.groupBox(AlmanacGroup::sunrises)->click();
    a.setSpan({720, 7, 1}, {722, 6, 30});
    const AlmanacRequest request = d.request();
    EXPECT_EQ(request.place.latitude, a.city("Goris").latitude);
    EXPECT_EQ(request.place.longitude, a.city("Goris").longitude);
    const std::vector<SkyEvent> expected = engineEvents(request);
    ASSERT_EQ(d.preview().events.size(), expected.size());
    ASSERT_EQ(d.eventTable()->model()->rowCount(), int(expected.size()));
    EXPECT_EQ(d.summaryLabel()->text(),
              QStringLiteral("%1 events, 720-07-01 to 722-06-30 (720 days)")
                  .arg(english(expected.size())));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const int row = int(i);
        ASSERT_EQ(cell(d.eventTable(), row, 0), QString::fromStdString(dateLabel(expected[i].t)))
            << row;
        ASSERT_EQ(cell(d.eventTable(), row, 1),
                  QString::fromStdString(localTimeLabel(expected[i].t, request.place.longitude)));
        ASSERT_EQ(cell(d.eventTable(), row, 2), kindTitle(expected[i].kind)) << row;
        ASSERT_EQ(cell(d.eventTable(), row, 3), QString::fromStdString(eventBodies(expected[i])));
    }

    // Counts: a row per year (720 to 722) and a total row; a column per kind and one for all.
    const QTableView* counts = d.countsTable();
    const std::vector<EventKind> kinds = request.kinds();
    ASSERT_EQ(counts->model()->rowCount(), 4);
    ASSERT_EQ(counts->model()->columnCount(), int(kinds.size()) + 1);
    EXPECT_EQ(counts->model()->headerData(0, Qt::Vertical).toString(), "720");
    EXPECT_EQ(counts->model()->headerData(3, Qt::Vertical).toString(), "Total");
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        EXPECT_EQ(counts->model()->headerData(int(k), Qt::Horizontal).toString(),
                  kindTitle(kinds[k]));
        for (int row = 0; row < 4; ++row) {
            const auto count = std::count_if(expected.begin(), expected.end(), [&](auto& e) {
                return e.kind == kinds[k] && (row == 3 || calendarFields(e.t).year == 720 + row);
            });
            EXPECT_EQ(cell(counts, row, int(k)).remove(','), QString::number(count))
                << kindName(kinds[k]) << " row " << row;
        }
    }
    EXPECT_EQ(cell(counts, 3, int(kinds.size())).remove(','), QString::number(expected.size()));
    // Year 722 has only its first half: fewer sunrises than the whole year 721.
    const int sunrise =
        int(std::find(kinds.begin(), kinds.end(), EventKind::sunrise) - kinds.begin());
    EXPECT_EQ(cell(counts, 1, sunrise), "360");
    EXPECT_EQ(cell(counts, 2, sunrise), "180");

    // The place and the groups are kept, and a new dialog starts from them.
    EXPECT_EQ(a.settings.values["Almanac/place"], canonicalUuid(a.city("Goris").id));
    EXPECT_EQ(a.settings.values["Almanac/groups"],
              "moon-phases,eclipses,conjunctions,ingresses,seasons,sunrise-sunset");
    d.groupBox(AlmanacGroup::eclipses)->click();
    a.open();
    EXPECT_EQ(a.dialog->placeBox()->currentText(), "Goris");
    EXPECT_FALSE(a.dialog->groupBox(AlmanacGroup::eclipses)->isChecked());
    EXPECT_TRUE(a.dialog->groupBox(AlmanacGroup::sunrises)->isChecked());
    testing::expectControlsNamed(*a.dialog);
    testing::expectReadable(a.dialog.get());
}

TEST(AlmanacDialog, ASpanEndingBeforeItBeginsOrNoKindsSaySoAndCannotBeExported) {
    Almanac a;
    AlmanacDialog& d = *a.dialog;
    const auto exportable = [&d] {
        int enabled = 0;
        for (const AlmanacFile file : kAllAlmanacFiles)
            enabled += d.exportButton(file)->isEnabled();
        return enabled;
    };
    EXPECT_EQ(exportable(), 4);
    a.setSpan({720, 3, 10}, {720, 3, 9});
    EXPECT_EQ(exportable(), 0);
    EXPECT_THAT(
        d.summaryLabel()->text().toStdString(),
        AllOf(HasSubstr("ends before it begins"), HasSubstr("720-03-09"), HasSubstr("720-03-10")));
    EXPECT_EQ(d.eventTable()->model()->rowCount(), 0);
    EXPECT_EQ(d.countsTable()->model()->rowCount(), 0);
    d.exportTo(AlmanacFile::csv, QDir::temp().filePath("never.csv"));  // a stray call too
    EXPECT_FALSE(d.isExporting());
    EXPECT_EQ(a.asked, 0);

    // One day is a span: the day's events, both ends included.
    a.setSpan({720, 3, 10}, {720, 3, 10});
    EXPECT_EQ(exportable(), 4);
    EXPECT_THAT(d.summaryLabel()->text().toStdString(), HasSubstr("(1 day)"));
    EXPECT_EQ(d.preview().events.size(), engineEvents(d.request()).size());

    for (const AlmanacGroup group : kAllAlmanacGroups) {
        if (d.groupBox(group)->isChecked()) d.groupBox(group)->click();
    }
    a.settle();
    EXPECT_EQ(exportable(), 0);
    EXPECT_THAT(d.summaryLabel()->text().toStdString(), HasSubstr("No kinds"));
    EXPECT_EQ(a.settings.values["Almanac/groups"], "");
}

TEST(AlmanacDialog, TheWindowAnswersDuringALongSearchAndTheNewestRequestWins) {
    Almanac a;
    AlmanacDialog& d = *a.dialog;
    QSignalSpy shown(&d, &AlmanacDialog::previewChanged);
    // Five thousand years: seconds of searching on a worker.
    d.toEdit()->setDate({5719, 12, 30});
    d.refreshPreview();
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    tick.start(10);
    QTest::qWait(400);
    EXPECT_TRUE(d.isSearching()) << "the search ended too soon to tell";
    EXPECT_THAT(d.summaryLabel()->text().toStdString(), HasSubstr("Working…"));
    EXPECT_LT(longestGap, 150);
    EXPECT_EQ(shown.count(), 0);

    // A newer span wins: its result is shown, the older one never is.
    a.setSpan({720, 4, 1}, {720, 4, 30});
    EXPECT_LT(clock.elapsed(), 3000);
    const std::vector<SkyEvent> april = engineEvents(d.request());
    ASSERT_EQ(shown.count(), 1);
    EXPECT_EQ(d.preview().request.last, (AlmanacDate{720, 4, 30}));
    EXPECT_EQ(d.preview().events.size(), april.size());
    EXPECT_EQ(d.preview().counts.total, std::int64_t(april.size()));
    QTest::qWait(300);
    EXPECT_EQ(shown.count(), 1);

    // Another long search, then the dialog goes: it stops the search rather than wait it out.
    d.toEdit()->setDate({5719, 12, 30});
    d.refreshPreview();
    QTest::qWait(100);
    ASSERT_TRUE(d.isSearching());
    clock.restart();
    a.dialog.reset();
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST(AlmanacDialog, AHugeListShowsItsFirstEventsAndCountsAll) {
    Almanac a;
    AlmanacDialog& d = *a.dialog;
    d.setPreviewLimit(100);
    a.settle();
    const std::vector<SkyEvent> year = engineEvents(d.request());
    ASSERT_GT(year.size(), 100U);
    ASSERT_EQ(d.eventTable()->model()->rowCount(), 100);
    EXPECT_EQ(d.preview().events.back().t, year[99].t);
    EXPECT_EQ(d.preview().counts.total, std::int64_t(year.size()));
    EXPECT_EQ(cell(d.countsTable(), d.countsTable()->model()->rowCount() - 1,
                   d.countsTable()->model()->columnCount() - 1),
              QString::number(year.size()));
    EXPECT_THAT(
        d.summaryLabel()->text().toStdString(),
        HasSubstr(QStringLiteral("showing the first 100 of %1").arg(year.size()).toStdString()));
}

// The figures a game master meets: a century of the default kinds previewed, and a century of
// daily sunrises and sunsets (72,000 rows) exported.
TEST(AlmanacDialog, ACenturyIsPreviewedInWellUnderASecondAndItsSunrisesExportWhole) {
    Almanac a;
    AlmanacDialog& d = *a.dialog;
    QElapsedTimer clock;
    clock.start();
    a.setSpan({720, 1, 1}, {819, 12, 30});
    const qint64 previewMs = clock.elapsed();
    EXPECT_EQ(d.preview().events.size(), engineEvents(d.request()).size());
    EXPECT_GT(d.preview().counts.total, 20000);
    EXPECT_LT(previewMs, 1500);

    for (const AlmanacGroup group : kAllAlmanacGroups) {
        if (d.groupBox(group)->isChecked() != (group == AlmanacGroup::sunrises))
            d.groupBox(group)->click();
    }
    a.settle();
    ASSERT_EQ(d.preview().counts.total, 72000);
    QTemporaryDir dir;
    clock.restart();
    a.exportAs(AlmanacFile::csv, dir.filePath("century.csv"));
    const qint64 exportMs = clock.elapsed();
    const QByteArray csv = testing::readFile(dir.filePath("century.csv"));
    EXPECT_EQ(csv.count('\n'), 72001);
    EXPECT_TRUE(csv.endsWith(QByteArray::fromStdString(
        almanacCsvRow(d.preview().events.back(), d.request().place.longitude))));
    std::printf(
        "100 years of the default kinds previewed in %lld ms; 72,000 sunrises and "
        "sunsets exported as CSV in %lld ms\n",
        static_cast<long long>(previewMs), static_cast<long long>(exportMs));
}

TEST(AlmanacDialog, ExportsHoldThePreviewedEventsWithTheirIdsInFilesThatParse) {
    Almanac a;
    AlmanacDialog& d = *a.dialog;
    a.choosePlace("Goris");
    d.groupBox(AlmanacGroup::sunrises)->click();
    a.setSpan({720, 1, 1}, {720, 12, 30});
    const std::vector<SkyEvent> events = d.preview().events;
    ASSERT_GT(events.size(), 720U);
    const double longitude = d.request().place.longitude;
    QTemporaryDir dir;

    // A year's export is quick: no progress dialog flashes up.
    EXPECT_FALSE(a.exportAs(AlmanacFile::csv, dir.filePath("almanac.csv")));
    EXPECT_EQ(a.suggested, "Almanac - Goris - 720-01-01 to 720-12-30.csv");
    const QList<QStringList> records =
        csvRecords(QString::fromUtf8(testing::readFile(dir.filePath("almanac.csv"))));
    ASSERT_EQ(records.size(), qsizetype(events.size()) + 1);
    EXPECT_EQ(records[0].join(','), "id,kind,t,label,local,bodies,class,visible,sign,pair");
    bool twoBodies = false;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const QStringList& r = records[qsizetype(i) + 1];
        ASSERT_EQ(r.size(), 10) << i;
        ASSERT_EQ(r[0].toStdString(), eventId(events[i]));
        ASSERT_EQ(r[1].toStdString(), kindName(events[i].kind));
        ASSERT_EQ(r[2].toDouble(), events[i].t);
        ASSERT_EQ(r[3].toStdString(), dateLabel(events[i].t));
        ASSERT_EQ(r[4].toStdString(), localTimeLabel(events[i].t, longitude));
        ASSERT_EQ(r[5].toStdString(), eventBodies(events[i]));
        twoBodies = twoBodies || events[i].bodyCount == 2;
    }
    EXPECT_TRUE(twoBodies);  // so that a quoted "A, B" field was read

    EXPECT_FALSE(a.exportAs(AlmanacFile::json, dir.filePath("almanac.json")));
    QJsonParseError error;
    const QJsonDocument json =
        QJsonDocument::fromJson(testing::readFile(dir.filePath("almanac.json")), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray objects = json.array();
    ASSERT_EQ(objects.size(), qsizetype(events.size()));
    for (std::size_t i = 0; i < events.size(); ++i) {
        const QJsonObject o = objects[qsizetype(i)].toObject();
        ASSERT_EQ(o["id"].toString().toStdString(), eventId(events[i]));
        ASSERT_EQ(o["kind"].toString().toStdString(), kindName(events[i].kind));
        ASSERT_EQ(o["t"].toDouble(), events[i].t);
        ASSERT_EQ(o["bodies"].toArray().size(), events[i].bodyCount);
    }

    // Text: the heading names the place with its degrees, then every row in order.
    EXPECT_FALSE(a.exportAs(AlmanacFile::text, dir.filePath("almanac.txt")));
    const std::string text = testing::readFile(dir.filePath("almanac.txt")).toStdString();
    EXPECT_THAT(text, HasSubstr("Place: Goris ("));
    std::size_t at = 0;
    for (const SkyEvent& event : events) {
        at = text.find(eventTableRow(event, longitude), at);
        ASSERT_NE(at, std::string::npos) << eventTableRow(event, longitude);
    }

    // PDF: the same rows on numbered pages.
    EXPECT_FALSE(a.exportAs(AlmanacFile::pdf, dir.filePath("almanac.pdf")));
    const auto info = testing::pdfInfo(dir.filePath("almanac.pdf"));
    EXPECT_GT(info.pages, 5);
    const QString pages = testing::pdfText(dir.filePath("almanac.pdf")).simplified();
    EXPECT_THAT(pages.toStdString(),
                AllOf(HasSubstr(QStringLiteral("page %1 of %1").arg(info.pages).toStdString()),
                      HasSubstr(QString::fromStdString(eventTableRow(events.front(), longitude))
                                    .simplified()
                                    .toStdString()),
                      HasSubstr(QString::fromStdString(eventTableRow(events.back(), longitude))
                                    .simplified()
                                    .toStdString())));
    // Only the four files: no temporary one left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

TEST(AlmanacDialog, ACancelledExportLeavesNoFileAndAFailedOneSaysWhy) {
    Almanac a;
    AlmanacDialog& d = *a.dialog;
    QSignalSpy exported(&d, &AlmanacDialog::exported);
    QSignalSpy failed(&d, &AlmanacDialog::exportFailed);
    QTemporaryDir dir;

    // Called off at once, while a century's events are still being found.
    a.setSpan({720, 1, 1}, {819, 12, 30});
    d.exportTo(AlmanacFile::csv, dir.filePath("a.csv"));
    EXPECT_TRUE(d.isExporting());
    for (const AlmanacFile file : kAllAlmanacFiles) EXPECT_FALSE(d.exportButton(file)->isEnabled());
    d.cancelExport();
    ASSERT_TRUE(waitUntil([&] { return !d.isExporting(); }));
    EXPECT_TRUE(d.exportButton(AlmanacFile::csv)->isEnabled());

    // A century of sunrises as pages takes seconds: the progress shows, and its Cancel stops
    // the layout half way.
    d.groupBox(AlmanacGroup::sunrises)->click();
    a.settle();
    d.exportTo(AlmanacFile::pdf, dir.filePath("a.pdf"));
    ASSERT_NE(d.progressDialog(), nullptr);
    EXPECT_FALSE(d.progressDialog()->isVisible());  // not before it is seen to last
    ASSERT_TRUE(waitUntil([&] { return d.progressDialog() && d.progressDialog()->isVisible(); }));
    ASSERT_TRUE(waitUntil([&] { return d.progressDialog()->value() > 500; }, 30000));
    auto* cancel = d.progressDialog()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Cancel");
    cancel->click();
    ASSERT_TRUE(waitUntil([&] { return !d.isExporting(); }, 30000));
    EXPECT_EQ(d.progressDialog(), nullptr);
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << QDir(dir.path()).entryList().join(' ').toStdString();
    EXPECT_EQ(exported.count(), 0);
    EXPECT_EQ(failed.count(), 0);

    // A folder that cannot be: a message, and no word of success.
    a.setSpan({720, 1, 1}, {720, 1, 30});
    ASSERT_TRUE(testing::writeFile(dir.filePath("plain"), "a file, not a folder"));
    const QString impossible = dir.filePath("plain/almanac.json");
    d.exportTo(AlmanacFile::json, impossible);
    ASSERT_TRUE(waitUntil([&] { return !d.isExporting(); }));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toString(), impossible);
    EXPECT_FALSE(failed.at(0).at(1).toString().isEmpty());
    EXPECT_EQ(exported.count(), 0);
    auto* message = d.findChild<QMessageBox*>();
    ASSERT_NE(message, nullptr);
    EXPECT_THAT(message->text().toStdString(), HasSubstr(impossible.toStdString()));
    message->close();
}

TEST(AlmanacDialog, OpensFromTheFileMenuOnceAndKeepsItsChoicesWithTheWindow) {
    testing::Window w;
    w.showAndCalculate();
    auto* action = w.view->findChild<QAction*>("almanac");
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), "&Almanac…");
    action->trigger();
    auto* dialog = w.view->findChild<AlmanacDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    dialog->groupBox(AlmanacGroup::seasons)->click();
    EXPECT_EQ(w.viewSettings->values["Almanac/groups"],
              "moon-phases,eclipses,conjunctions,ingresses");
    dialog->close();
    action->trigger();
    EXPECT_EQ(w.view->findChildren<AlmanacDialog*>().size(), 1);
    EXPECT_FALSE(dialog->groupBox(AlmanacGroup::seasons)->isChecked());
    EXPECT_TRUE(dialog->isVisible());
    // The current place follows the window's.
    w.selectCity("Goris");
    EXPECT_EQ(dialog->placeBox()->itemText(0), "Current place (Goris)");
    ASSERT_TRUE(waitUntil([&] { return !dialog->isSearching(); }, 60000));
    EXPECT_EQ(dialog->preview().request.place.name, "Goris");
}

}  // namespace
}  // namespace morvane
