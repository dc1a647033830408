// Damaged and hostile inputs: locations files made by hand or by accident, and long runs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThreadPool>
#include <random>

#include "model_fixture.h"
#include "support/qt_wait.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using testing::ModelFixture;
using ::testing::Not;
using testing::readFile;
using testing::waitUntil;
using testing::writeFile;

QByteArray entry(const QString& id, const QString& name, double latitude = 0.1) {
    return QJsonDocument(
               QJsonObject{{"id", id}, {"latitude", latitude}, {"longitude", 0.2}, {"name", name}})
        .toJson(QJsonDocument::Compact);
}

TEST(HostileLocations, OddButWellFormedFilesLoad) {
    ModelFixture fixture;
    const QString hugeName(10'000'000 / 2, QChar(u'é'));  // a 10 MB name
    QByteArray file = "[" + entry("0a0b0c0d-0000-4000-8000-00000000000a", "lower-case id") + "," +
                      entry("0A0B0C0D-0000-4000-8000-000000000002", "twin one") + "," +
                      entry("0A0B0C0D-0000-4000-8000-000000000002", "twin two") + "," +
                      entry("0A0B0C0D-0000-4000-8000-000000000003", hugeName) + "," +
                      entry("0A0B0C0D-0000-4000-8000-000000000004", "line\nbreak / slash <b>") +
                      R"(,{"name": "zeta", "id": "0A0B0C0D-0000-4000-8000-000000000005",
                           "latitude": 0.3, "longitude": -0.2, "population": 12, "notes": {}}])";
    ASSERT_TRUE(writeFile(fixture.locationsPath(), file));
    const auto model = fixture.makeModel();
    ASSERT_EQ(model->cities().size(), 7);
    EXPECT_TRUE(model->loadNotices().isEmpty());
    EXPECT_EQ(model->cities()[5].name, "zeta");  // sorted; members beyond the four are ignored
    EXPECT_EQ(model->cities()[5].longitude, -0.2);

    // Duplicate ids: deleting removes both.
    model->setSelectedCityID(QUuid("0A0B0C0D-0000-4000-8000-000000000002"));
    model->deleteLocation(QUuid("0A0B0C0D-0000-4000-8000-000000000002"));
    EXPECT_EQ(model->cities().size(), 5);
    EXPECT_EQ(model->selectedCityID(), manualCityID());

    // The next save writes the id in canonical upper case.
    const std::string text = readFile(fixture.locationsPath()).toStdString();
    EXPECT_THAT(text, HasSubstr("0A0B0C0D-0000-4000-8000-00000000000A"));
    EXPECT_THAT(text, Not(HasSubstr("00000000000a")));
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
    ASSERT_TRUE(writeFile(fixture.locationsPath(), QJsonDocument(array).toJson()));
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
    EXPECT_FALSE(model->hasErrorMessage());
    // The outputs describe one moment, whichever calculation ran last.
    const std::string label = model->dateLabel().toStdString();
    EXPECT_THAT(model->starMapSVG().toStdString(), HasSubstr(label));
    EXPECT_THAT(model->basicTableHourly().toStdString(), HasSubstr("\n" + label));
}

}  // namespace
}  // namespace morvane
