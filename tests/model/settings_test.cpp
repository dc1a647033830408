#include <gtest/gtest.h>

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
    // Outputs stay empty until the first calculation.
    EXPECT_TRUE(model->starMapSVG().isEmpty());
    EXPECT_TRUE(model->positions().empty());
    EXPECT_TRUE(model->dateLabel().isEmpty());
    EXPECT_FALSE(model->isCalculating());
    EXPECT_FALSE(model->hasErrorMessage());
    EXPECT_EQ(AstronomyModel::months().size(), 12);
    EXPECT_EQ(AstronomyModel::months().constFirst(), "Nuzyael");
}

TEST(Settings, StoredValuesReplaceTheDefaultsUnadjusted) {
    ModelFixture fixture;
    const QUuid id = QUuid::createUuid();
    const auto model = fixture.makeModel({
        {"AstronomyModel.selectedCityID", id.toString(QUuid::WithoutBraces)},
        {"AstronomyModel.manualLatDeg", 12.25},
        {"AstronomyModel.manualLongDeg", QStringLiteral("100.5")},  // INI files give text back
        {"AstronomyModel.latNorth", QStringLiteral("false")},
        {"AstronomyModel.longWest", false},
        {"AstronomyModel.monthIndex", 11},
        {"AstronomyModel.dayIndex", 40},  // out of range but computable: kept
        {"AstronomyModel.year", QStringLiteral("1000")},
        {"AstronomyModel.hour", 18.25},
        {"AstronomyModel.useLocalTime", true},
    });
    EXPECT_EQ(model->selectedCityID(), id);
    EXPECT_EQ(model->manualLatDeg(), 12.25);
    EXPECT_EQ(model->manualLongDeg(), 100.5);
    EXPECT_FALSE(model->latNorth());
    EXPECT_FALSE(model->longWest());
    EXPECT_EQ(model->monthIndex(), 11);
    EXPECT_EQ(model->dayIndex(), 40);
    EXPECT_EQ(model->year(), 1000);
    EXPECT_EQ(model->hour(), 18.25);
    EXPECT_TRUE(model->useLocalTime());
    EXPECT_TRUE(fixture.store->writes.empty());
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
