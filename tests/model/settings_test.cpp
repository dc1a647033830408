#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cmath>

#include "model_fixture.h"

namespace morvane {
namespace {

using testing::ModelFixture;

const QString kTimeKeys[] = {"AstronomyModel.year", "AstronomyModel.monthIndex",
                             "AstronomyModel.dayIndex", "AstronomyModel.hour",
                             "AstronomyModel.useLocalTime"};
const QString kLocationKeys[] = {"AstronomyModel.selectedCityID", "AstronomyModel.manualLatDeg",
                                 "AstronomyModel.manualLongDeg", "AstronomyModel.latNorth",
                                 "AstronomyModel.longWest"};

TEST(Settings, FreshStoreGivesTheDefaultsAndConstructionWritesNothing) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    EXPECT_EQ(model->year(), 720);
    EXPECT_EQ(model->monthIndex(), 0);
    EXPECT_EQ(model->dayIndex(), 0);
    EXPECT_EQ(model->hour(), 12.0);
    EXPECT_FALSE(model->useLocalTime());
    EXPECT_EQ(model->selectedCityID(), manualCityID());
    EXPECT_EQ(model->manualLatDeg(), 40.5);
    EXPECT_EQ(model->manualLongDeg(), 20.9);
    EXPECT_TRUE(model->latNorth());
    EXPECT_TRUE(model->longWest());
    EXPECT_TRUE(fixture.store->writes.empty());
    EXPECT_TRUE(model->loadNotices().isEmpty());
    // Outputs stay empty until the first calculation.
    EXPECT_TRUE(model->starMapSVG().isEmpty());
    EXPECT_TRUE(model->positions().empty());
    EXPECT_TRUE(model->dateLabel().isEmpty());
    EXPECT_FALSE(model->isCalculating());
    EXPECT_FALSE(model->hasErrorMessage());
    EXPECT_EQ(AstronomyModel::months().size(), 12);
    EXPECT_EQ(AstronomyModel::months().constFirst(), "Nuzyael");
}

TEST(Settings, StoredValuesWithinTheirRangesReplaceTheDefaults) {
    ModelFixture fixture;
    const QString zeta = "0A0B0C0D-0000-4000-8000-000000000001";
    QFile file(fixture.locationsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("[{\"id\": \"" + zeta +
                "\", \"latitude\": 0.1, \"longitude\": 0.2, "
                "\"name\": \"Zeta\"}]")
                   .toUtf8());
    file.close();
    const auto model = fixture.makeModel({
        {"AstronomyModel.selectedCityID", zeta.toLower()},
        {"AstronomyModel.manualLatDeg", 90.0},
        {"AstronomyModel.manualLongDeg", QStringLiteral("180")},  // INI files give text back
        {"AstronomyModel.latNorth", QStringLiteral("false")},
        {"AstronomyModel.longWest", false},
        {"AstronomyModel.monthIndex", 11},
        {"AstronomyModel.dayIndex", 29},
        {"AstronomyModel.year", QStringLiteral("2000")},
        {"AstronomyModel.hour", 23.75},
        {"AstronomyModel.useLocalTime", true},
    });
    EXPECT_EQ(model->selectedCityID(), QUuid(zeta));
    EXPECT_EQ(model->latitude(), 0.1);
    EXPECT_EQ(model->manualLatDeg(), 90.0);
    EXPECT_EQ(model->manualLongDeg(), 180.0);
    EXPECT_FALSE(model->latNorth());
    EXPECT_FALSE(model->longWest());
    EXPECT_EQ(model->monthIndex(), 11);
    EXPECT_EQ(model->dayIndex(), 29);
    EXPECT_EQ(model->year(), 2000);
    EXPECT_EQ(model->hour(), 23.75);
    EXPECT_TRUE(model->useLocalTime());
    EXPECT_TRUE(model->loadNotices().isEmpty());
    EXPECT_TRUE(fixture.store->writes.empty());
}

TEST(Settings, ValuesOutsideTheControlsRangesFallBackToTheDefaultsWithOneNotice) {
    ModelFixture fixture;
    const auto model = fixture.makeModel({
        {"AstronomyModel.manualLatDeg", 95.0},
        {"AstronomyModel.manualLongDeg", QStringLiteral("-3")},
        {"AstronomyModel.monthIndex", -1},
        {"AstronomyModel.dayIndex", 40},
        {"AstronomyModel.year", QStringLiteral("-5")},
        {"AstronomyModel.hour", 24.0},
    });
    EXPECT_EQ(model->manualLatDeg(), 40.5);
    EXPECT_EQ(model->manualLongDeg(), 20.9);
    EXPECT_EQ(model->monthIndex(), 0);
    EXPECT_EQ(model->dayIndex(), 0);
    EXPECT_EQ(model->year(), 720);
    EXPECT_EQ(model->hour(), 12.0);
    ASSERT_EQ(model->loadNotices().size(), 1);
    const QString notice = model->loadNotices().first();
    for (const char* field : {"latitude", "longitude", "month", "day", "year", "hour"}) {
        EXPECT_TRUE(notice.contains(field)) << field << ": " << notice.toStdString();
    }
    EXPECT_FALSE(notice.contains("north"));  // only what was replaced
    EXPECT_TRUE(fixture.store->writes.empty());

    // Beyond each upper end as well.
    const auto high = fixture.makeModel({{"AstronomyModel.monthIndex", 12},
                                         {"AstronomyModel.year", 2001},
                                         {"AstronomyModel.manualLongDeg", 180.5}});
    EXPECT_EQ(high->monthIndex(), 0);
    EXPECT_EQ(high->year(), 720);
    EXPECT_EQ(high->manualLongDeg(), 20.9);
    ASSERT_EQ(high->loadNotices().size(), 1);
    EXPECT_TRUE(high->loadNotices().first().contains("longitude, month and year"))
        << high->loadNotices().first().toStdString();
}

TEST(Settings, UnusableValuesFallBackToTheDefaults) {
    ModelFixture fixture;
    const auto model = fixture.makeModel({
        {"AstronomyModel.selectedCityID", QStringLiteral("not a uuid")},
        {"AstronomyModel.manualLatDeg", QStringLiteral("nan")},
        {"AstronomyModel.manualLongDeg", std::numeric_limits<double>::infinity()},
        {"AstronomyModel.latNorth", QStringLiteral("maybe")},
        {"AstronomyModel.longWest", 2.5},
        {"AstronomyModel.monthIndex", QStringLiteral("99999999999999999999999")},
        {"AstronomyModel.dayIndex", QStringLiteral("3.5")},
        {"AstronomyModel.year", QStringLiteral("seven hundred")},
        {"AstronomyModel.hour", QStringLiteral("noon")},
        {"AstronomyModel.useLocalTime", QStringLiteral("")},
    });
    EXPECT_EQ(model->selectedCityID(), manualCityID());
    EXPECT_EQ(model->manualLatDeg(), 40.5);
    EXPECT_EQ(model->manualLongDeg(), 20.9);
    EXPECT_TRUE(model->latNorth());
    EXPECT_TRUE(model->longWest());
    EXPECT_EQ(model->monthIndex(), 0);
    EXPECT_EQ(model->dayIndex(), 0);
    EXPECT_EQ(model->year(), 720);
    EXPECT_EQ(model->hour(), 12.0);
    EXPECT_FALSE(model->useLocalTime());
    // Damage the user did not cause is worth one sentence.
    EXPECT_EQ(model->loadNotices().size(), 1);
    EXPECT_TRUE(fixture.store->writes.empty());
}

TEST(Settings, EveryWriteStoresItsWholeGroupInOrder) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    QSignalSpy hourSpy(model.get(), &AstronomyModel::hourChanged);
    QSignalSpy yearSpy(model.get(), &AstronomyModel::yearChanged);

    model->setHour(18.25);
    ASSERT_EQ(fixture.store->writes.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(fixture.store->writes[i].first, kTimeKeys[i]);
    EXPECT_EQ(fixture.store->writes[0].second.toLongLong(), 720);  // the others keep their values
    EXPECT_EQ(fixture.store->writes[3].second.toDouble(), 18.25);
    EXPECT_EQ(hourSpy.count(), 1);
    EXPECT_EQ(yearSpy.count(), 0);

    // An equal value is stored again but not announced.
    fixture.store->writes.clear();
    model->setHour(18.25);
    EXPECT_EQ(fixture.store->writes.size(), 5u);
    EXPECT_EQ(hourSpy.count(), 1);

    fixture.store->writes.clear();
    QSignalSpy northSpy(model.get(), &AstronomyModel::latNorthChanged);
    model->setLatNorth(true);
    ASSERT_EQ(fixture.store->writes.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(fixture.store->writes[i].first, kLocationKeys[i]);
    EXPECT_EQ(fixture.store->writes[0].second.toString(), "00000000-0000-0000-0000-000000000001");
    EXPECT_EQ(northSpy.count(), 0);
}

TEST(Settings, QSettingsStoreRoundTripsThroughAnIniFile) {
    QTemporaryDir folder;
    const QString file = folder.path() + "/settings.ini";
    {
        QSettingsStore store(std::make_unique<QSettings>(file, QSettings::IniFormat));
        store.setDouble("AstronomyModel.hour", 9.75);
        store.setInteger("AstronomyModel.year", 1999);
        store.setBool("AstronomyModel.latNorth", false);
        store.setText("AstronomyModel.selectedCityID", "ABC");
    }
    QSettingsStore store(std::make_unique<QSettings>(file, QSettings::IniFormat));
    EXPECT_EQ(storedDouble(store.value("AstronomyModel.hour")), 9.75);
    EXPECT_EQ(storedInteger(store.value("AstronomyModel.year")), 1999);
    EXPECT_EQ(storedBool(store.value("AstronomyModel.latNorth")), false);
    EXPECT_EQ(storedText(store.value("AstronomyModel.selectedCityID")), "ABC");
    EXPECT_FALSE(store.value("AstronomyModel.missing").isValid());
}

}  // namespace
}  // namespace morvane
