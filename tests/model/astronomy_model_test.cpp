#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSignalSpy>
#include <QThreadPool>
#include <functional>
#include <limits>

#include "model_fixture.h"
#include "support/qt_wait.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using testing::ModelFixture;
using testing::RecordingStore;
using testing::waitUntil;

bool calculated(AstronomyModel& model) {
    model.calculate();
    return waitUntil([&] { return !model.isCalculating(); });
}

TEST(ModelInputs, AModelStartsFromTheStoredInputsAndWritesNothing) {
    ModelFixture fixture;
    const auto fresh = fixture.makeModel();
    EXPECT_EQ(fresh->inputs(), Inputs());
    EXPECT_TRUE(fresh->loadNotices().isEmpty());
    EXPECT_FALSE(fresh->isCalculating());  // no calculation starts by itself
    EXPECT_TRUE(fresh->dateLabel().isEmpty());

    const CityPreset& goris = CityPreset::defaults().last();
    const auto model = fixture.makeModel({{"AstronomyModel.selectedCityID", goris.id.toString()},
                                          {"AstronomyModel.year", QStringLiteral("2000")},
                                          {"AstronomyModel.monthIndex", 12},
                                          {"AstronomyModel.hour", 24.0}});
    EXPECT_EQ(model->latitude(), goris.latitude);  // kept, and looked up in the model's list
    EXPECT_EQ(model->year(), 2000);
    EXPECT_EQ(model->hour(), 12.0);
    ASSERT_EQ(model->loadNotices().size(), 1);
    EXPECT_THAT(model->loadNotices()[0].toStdString(), HasSubstr("for the month and hour were"));
    EXPECT_TRUE(fixture.store->writes.empty());

    // A selection naming no place of the list (one since deleted) quietly becomes Manual.
    const auto stale =
        fixture.makeModel({{"AstronomyModel.selectedCityID", canonicalUuid(QUuid::createUuid())}});
    EXPECT_EQ(stale->selectedCityID(), manualCityID());
    EXPECT_EQ(stale->latitude(), 0.7068583470577035);  // the typed-in place, not 0, 0
    EXPECT_TRUE(stale->loadNotices().isEmpty());
    EXPECT_TRUE(fixture.store->writes.empty());
}

TEST(ModelInputs, EachSetterStoresItsWholeGroupAndAnnouncesOnlyAChange) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    AstronomyModel& m = *model;
    const QUuid goris = CityPreset::defaults().last().id;
    using M = AstronomyModel;
    // The location group first, then the time group.
    const std::pair<std::function<void()>, void (M::*)()> setters[] = {
        {[&] { m.setSelectedCityID(goris); }, &M::selectedCityIDChanged},
        {[&] { m.setManualLatDeg(10.5); }, &M::manualLatDegChanged},
        {[&] { m.setManualLongDeg(99.0); }, &M::manualLongDegChanged},
        {[&] { m.setLatNorth(false); }, &M::latNorthChanged},
        {[&] { m.setLongWest(false); }, &M::longWestChanged},
        {[&] { m.setMonthIndex(5); }, &M::monthIndexChanged},
        {[&] { m.setDayIndex(14); }, &M::dayIndexChanged},
        {[&] { m.setYear(5); }, &M::yearChanged},
        {[&] { m.setHour(18.25); }, &M::hourChanged},
        {[&] { m.setUseLocalTime(true); }, &M::useLocalTimeChanged},
    };
    std::vector<std::size_t> announced;
    for (std::size_t j = 0; j < std::size(setters); ++j)
        QObject::connect(&m, setters[j].second, &m, [&announced, j] { announced.push_back(j); });
    for (std::size_t i = 0; i < std::size(setters); ++i) {
        fixture.store->writes.clear();
        announced.clear();
        setters[i].first();
        setters[i].first();  // an equal value: stored again, not announced
        RecordingStore twice;
        for (int k = 0; k < 2; ++k)
            m.inputs().save(twice, i < 5 ? Inputs::Group::location : Inputs::Group::time);
        EXPECT_EQ(fixture.store->writes, twice.writes) << i;
        EXPECT_EQ(announced, std::vector<std::size_t>{i});
        const Inputs read{m.selectedCityID(), m.manualLatDeg(), m.manualLongDeg(), m.latNorth(),
                          m.longWest(),       m.monthIndex(),   m.dayIndex(),      m.year(),
                          m.hour(),           m.useLocalTime()};
        EXPECT_EQ(read, m.inputs()) << i;  // each getter reads its own input
    }
    EXPECT_EQ(m.inputs(), (Inputs{goris, 10.5, 99.0, false, false, 5, 14, 5, 18.25, true}));
}

TEST(ModelMoment, DayCountOfTheInputs) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    EXPECT_EQ(model->currentDayCount(), 258840.0);
    model->setMonthIndex(5);
    model->setDayIndex(14);
    model->setHour(18.25);
    EXPECT_DOUBLE_EQ(model->currentDayCount(), 258840.0 + 150 + 14 + 0.26041666666666666);
    model->setUseLocalTime(true);
    EXPECT_NE(model->currentDayCount(), 258840.0 + 150 + 14 + 0.26041666666666666);
}

TEST(ModelPipeline, ACalculationPublishesEveryOutputTogether) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    QSignalSpy busy(model.get(), &AstronomyModel::isCalculatingChanged);
    QSignalSpy positions(model.get(), &AstronomyModel::positionsChanged);
    QSignalSpy starMap(model.get(), &AstronomyModel::starMapSVGChanged);
    model->calculate();
    model->calculate();  // pressed again while it runs: nothing more
    ASSERT_TRUE(waitUntil([&] { return !model->isCalculating(); }));
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(busy.count(), 2);  // on, then off
    EXPECT_EQ(positions.count(), 1);
    EXPECT_TRUE(model->starMapSVG().startsWith("<svg"));
    EXPECT_THAT(model->horoscopeSVG().toStdString(), HasSubstr("Sun HA: -20.5°   MC: 336.9°"));
    EXPECT_EQ(model->basicTableHourly().count('\n'), 25);
    EXPECT_EQ(model->basicTableMonthly().count('\n'), 31);
    EXPECT_EQ(model->conjunctionDaily().count('\n'), 146);
    EXPECT_EQ(model->conjunctionYearly().count('\n'), 362);
    EXPECT_EQ(model->positions().size(), 6u);
    EXPECT_EQ(model->dateLabel(), "720-01-01 12:00 OST");
    // Two spaces between the label and the bracket.
    EXPECT_TRUE(model->nextFullMoonLabel().contains(
        QRegularExpression("^\\d{3}-\\d\\d-\\d\\d \\d\\d:\\d\\d OST  \\(local \\d\\d:\\d\\d\\)$")))
        << model->nextFullMoonLabel().toStdString();
    EXPECT_THAT(model->nextNewMoonLabel().toStdString(), HasSubstr("OST  (local "));
    EXPECT_FALSE(model->hasErrorMessage());

    ASSERT_TRUE(calculated(*model));  // same inputs, same outputs
    EXPECT_EQ(positions.count(), 2);  // every write of the positions notifies
    EXPECT_EQ(starMap.count(), 1);

    // Observers see only the outputs of the inputs the calculation started from.
    model->setHour(18.0);
    int checks = 0;
    const auto allNew = [&] {
        ++checks;
        EXPECT_EQ(model->dateLabel(), "720-01-01 18:00 OST");
        EXPECT_THAT(model->starMapSVG().toStdString(), HasSubstr("720-01-01 18:00 OST"));
        EXPECT_THAT(model->basicTableHourly().toStdString(), HasSubstr("\n720-01-01 18:00 OST"));
        EXPECT_THAT(model->conjunctionYearly().toStdString(), HasSubstr("\n720-01-01 18:00 OST"));
    };
    for (auto signal :
         {&AstronomyModel::starMapSVGChanged, &AstronomyModel::horoscopeSVGChanged,
          &AstronomyModel::basicTableHourlyChanged, &AstronomyModel::positionsChanged,
          &AstronomyModel::dateLabelChanged, &AstronomyModel::conjunctionDailyChanged}) {
        QObject::connect(model.get(), signal, model.get(), allNew);
    }
    bool stillBusyWhenOutputsArrived = false;
    QObject::connect(model.get(), &AstronomyModel::dateLabelChanged, model.get(),
                     [&] { stillBusyWhenOutputsArrived = model->isCalculating(); });
    model->calculate();
    model->setHour(18.25);  // a change during the calculation does not reach it
    ASSERT_TRUE(waitUntil([&] { return !model->isCalculating(); }));
    EXPECT_EQ(checks, 6);
    EXPECT_TRUE(stillBusyWhenOutputsArrived);  // isCalculating is cleared last
}

TEST(ModelPipeline, AModelDestroyedMidCalculationDropsItsResults) {
    ModelFixture fixture;
    for (int i = 0; i < 20; ++i) {
        auto model = fixture.makeModel();
        model->calculate();
        model.reset();  // the task is still running
        if (i % 2 == 0) QCoreApplication::processEvents();
    }
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();  // the hand-backs find no model
    // Reaching this line is the assertion: a hand-back into a destroyed model crashes, and
    // under AddressSanitizer (as CI runs this) any use after free stops the run.
}

TEST(ModelGuard, InputsThatCannotBeCalculatedSetAnErrorInstead) {
    // Through the setters, as from a view that did not check them (stored values fall back at
    // load); the engine's limits themselves are checked with checkedDayCount.
    const std::pair<std::function<void(AstronomyModel&)>, const char*> damage[] = {
        {[](AstronomyModel& m) { m.setYear(1'000'000'000'000'000); }, "date"},
        {[](AstronomyModel& m) { m.setDayIndex(std::numeric_limits<qint64>::max()); }, "date"},
        {[](AstronomyModel& m) { m.setHour(1e300); }, "hour"},
        // "Lat: 095:00:00" on the chart.
        {[](AstronomyModel& m) { m.setManualLatDeg(95.0); }, "Latitude must be a number from 0"},
        {[](AstronomyModel& m) { m.setManualLongDeg(180.001); }, "Longitude must be a number"},
    };
    for (const auto& [damageOf, expected] : damage) {
        ModelFixture fixture;
        const auto model = fixture.makeModel();
        damageOf(*model);
        model->calculate();
        EXPECT_FALSE(model->isCalculating()) << expected;
        ASSERT_TRUE(model->hasErrorMessage()) << expected;
        EXPECT_THAT(model->errorMessage().toStdString(), HasSubstr(expected));
        // Mended to values at or past the controls' ends that can still be calculated: the
        // next calculation clears the message and runs.
        model->setYear(720);
        model->setDayIndex(40);
        model->setHour(30.5);
        model->setUseLocalTime(true);
        model->setManualLatDeg(90.0);
        model->setManualLongDeg(180.0);
        ASSERT_TRUE(calculated(*model));
        EXPECT_FALSE(model->hasErrorMessage());
        EXPECT_FALSE(model->starMapSVG().isEmpty());
    }
}

}  // namespace
}  // namespace morvane
