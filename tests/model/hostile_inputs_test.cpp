// Damaged and hostile inputs: locations files made by hand or by accident, and long runs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThreadPool>
#include <random>

#include "model_fixture.h"
#include "support/qt_wait.h"

namespace morvane {
namespace {

using testing::ModelFixture;
using testing::waitUntil;

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray entry(const QString& id, const QString& name, double latitude = 0.1) {
    return QJsonDocument(
               QJsonObject{{"id", id}, {"latitude", latitude}, {"longitude", 0.2}, {"name", name}})
        .toJson(QJsonDocument::Compact);
}

TEST(HostileLocations, UnusableFilesGiveTheBuiltInPlacesAndAreKept) {
    const QByteArray unusable[] = {
        "[{\"id\": \"0A0B0C0D-0000-4000-8000-000000000001\", \"latitude\": 0.1,",      // truncated
        "[{\"id\": 12, \"latitude\": \"north\", \"longitude\": [], \"name\": null}]",  // wrong
                                                                                       // types
        "[{\"id\": \"0A0B0C0D-0000-4000-8000-000000000001\", \"latitude\": 0.1, \"longitude\": "
        "0.2, "
        "\"name\": \"\xff\xfe bad\"}]",  // not UTF-8
        "{\"cities\": []}",
        QByteArray(1000, '\0'),
    };
    for (const QByteArray& bytes : unusable) {
        ModelFixture fixture;
        writeFile(fixture.locationsPath(), bytes);
        const auto model = fixture.makeModel();
        EXPECT_EQ(model->cities().size(), 14) << bytes.left(40).toStdString();
        EXPECT_EQ(model->loadNotices().size(), 1);
        ASSERT_TRUE(std::holds_alternative<QUuid>(model->saveLocation("Home")));
        const QStringList copies =
            QDir(fixture.folder.path()).entryList({"locations.json.corrupt*"});
        ASSERT_EQ(copies.size(), 1);
        QFile copy(fixture.folder.path() + "/" + copies.first());
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_EQ(copy.readAll(), bytes);
    }
}

TEST(HostileLocations, OddButWellFormedFilesLoad) {
    ModelFixture fixture;
    const QString hugeName(10'000'000 / 2, QChar(u'é'));  // a 10 MB name
    QByteArray file = "[" + entry("0a0b0c0d-0000-4000-8000-00000000000a", "lower-case id") + "," +
                      entry("0A0B0C0D-0000-4000-8000-000000000002", "twin one") + "," +
                      entry("0A0B0C0D-0000-4000-8000-000000000002", "twin two") + "," +
                      entry("0A0B0C0D-0000-4000-8000-000000000003", hugeName) + "," +
                      entry("0A0B0C0D-0000-4000-8000-000000000004", "line\nbreak / slash <b>") +
                      "]";
    writeFile(fixture.locationsPath(), file);
    const auto model = fixture.makeModel();
    ASSERT_EQ(model->cities().size(), 6);

    // Duplicate ids: the first entry answers for the id; deleting removes both.
    model->setSelectedCityID(QUuid("0A0B0C0D-0000-4000-8000-000000000002"));
    EXPECT_EQ(model->latitude(), 0.1);
    model->deleteLocation(QUuid("0A0B0C0D-0000-4000-8000-000000000002"));
    EXPECT_EQ(model->cities().size(), 4);
    EXPECT_EQ(model->selectedCityID(), manualCityID());

    // The next save writes the id in canonical upper case.
    QFile written(fixture.locationsPath());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_TRUE(text.contains("0A0B0C0D-0000-4000-8000-00000000000A"));
    EXPECT_FALSE(text.contains("00000000000a"));
}

TEST(HostileLocations, AHundredThousandEntriesLoadAndSortQuickly) {
    ModelFixture fixture;
    QJsonArray array;
    std::mt19937 random(1);
    for (int i = 0; i < 100'000; ++i) {
        array.append(QJsonObject{{"id", canonicalUuid(QUuid::createUuid())},
                                 {"latitude", 0.5},
                                 {"longitude", -0.5},
                                 {"name", QString("Place %1").arg(random())}});
    }
    writeFile(fixture.locationsPath(), QJsonDocument(array).toJson());
    QElapsedTimer timer;
    timer.start();
    const auto model = fixture.makeModel();
    EXPECT_EQ(model->cities().size(), 100'001);
    EXPECT_LT(timer.elapsed(), 10'000);
    for (qsizetype i = 2; i < model->cities().size(); i += 997) {
        EXPECT_FALSE(model->cities()[i] < model->cities()[i - 1]);
    }
}

TEST(HostileInputs, CalculatePressedRepeatedlyWhileInputsChange) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    std::mt19937 random(4);
    std::uniform_int_distribution<int> quarter(0, 95);
    int refused = 0;
    for (int i = 0; i < 60; ++i) {
        model->setHour(quarter(random) / 4.0);
        model->setDayIndex(i % 30);
        if (model->isCalculating()) ++refused;
        model->calculate();
        if (i % 7 == 0) QCoreApplication::processEvents();
    }
    ASSERT_TRUE(waitUntil([&] { return !model->isCalculating(); }));
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_GT(refused, 0);  // some presses found a calculation running and did nothing
    EXPECT_FALSE(model->isCalculating());
    EXPECT_FALSE(model->hasErrorMessage());
    // The outputs describe one moment, whichever calculation ran last.
    EXPECT_TRUE(model->starMapSVG().contains(model->dateLabel()));
    EXPECT_TRUE(model->basicTableHourly().contains("\n" + model->dateLabel()));
}

}  // namespace
}  // namespace morvane
