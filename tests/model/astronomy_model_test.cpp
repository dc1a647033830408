#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSignalSpy>
#include <QThreadPool>
#include <cmath>
#include <functional>

#include "model_fixture.h"
#include "support/qt_wait.h"

namespace morvane {
namespace {

using testing::ModelFixture;
using testing::waitUntil;

bool calculated(AstronomyModel& model) {
    model.calculate();
    return waitUntil([&] { return !model.isCalculating(); });
}

TEST(ModelPlace, TypedInCoordinatesBecomeRadians) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    EXPECT_EQ(model->latitude(), 0.7068583470577035);
    EXPECT_EQ(model->longitude(), -0.3647738136668149);

    model->setManualLatDeg(0.0);
    model->setLatNorth(false);
    EXPECT_EQ(model->latitude(), 0.0);
    EXPECT_TRUE(std::signbit(model->latitude()));  // negative zero, and it behaves as 0

    model->setLongWest(false);
    EXPECT_EQ(model->longitude(), 0.3647738136668149);
}

TEST(ModelPlace, SavedLocationOrNothing) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    const CityPreset& goris = *std::find_if(model->cities().begin(), model->cities().end(),
                                            [](const CityPreset& c) { return c.name == "Goris"; });
    model->setSelectedCityID(goris.id);
    EXPECT_EQ(model->latitude(), 21.0 * 3.141592653589793 / 180.0);
    EXPECT_EQ(model->longitude(), 5.1 * 3.141592653589793 / 180.0);

    model->setSelectedCityID(QUuid::createUuid());  // names no entry
    EXPECT_EQ(model->latitude(), 0.0);
    EXPECT_EQ(model->longitude(), 0.0);
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

TEST(ModelPipeline, ACalculationFillsEveryOutput) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    QSignalSpy busy(model.get(), &AstronomyModel::isCalculatingChanged);
    ASSERT_TRUE(calculated(*model));
    EXPECT_EQ(busy.count(), 2);  // on, then off
    EXPECT_TRUE(model->starMapSVG().startsWith("<svg"));
    EXPECT_TRUE(model->horoscopeSVG().contains("Sun HA: -20.5°   MC: 336.9°"));
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
    EXPECT_TRUE(model->nextNewMoonLabel().contains("OST  (local "));
    EXPECT_FALSE(model->hasErrorMessage());
}

TEST(ModelPipeline, ObserversNeverSeeAMixOfOldAndNewOutputs) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    ASSERT_TRUE(calculated(*model));
    model->setHour(18.0);

    int checks = 0;
    const auto allNew = [&] {
        ++checks;
        EXPECT_EQ(model->dateLabel(), "720-01-01 18:00 OST");
        EXPECT_TRUE(model->starMapSVG().contains("720-01-01 18:00 OST"));
        EXPECT_TRUE(model->horoscopeSVG().contains("720-01-01 18:00 OST"));
        EXPECT_TRUE(model->basicTableHourly().contains("\n720-01-01 18:00 OST"));
        EXPECT_TRUE(model->conjunctionYearly().contains("\n720-01-01 18:00 OST"));
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
    ASSERT_TRUE(calculated(*model));
    EXPECT_EQ(checks, 6);
    EXPECT_TRUE(stillBusyWhenOutputsArrived);  // isCalculating is cleared last
}

TEST(ModelPipeline, PositionsNotifyOnEveryWrite) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    QSignalSpy positions(model.get(), &AstronomyModel::positionsChanged);
    QSignalSpy starMap(model.get(), &AstronomyModel::starMapSVGChanged);
    ASSERT_TRUE(calculated(*model));
    ASSERT_TRUE(calculated(*model));  // same inputs, same outputs
    EXPECT_EQ(positions.count(), 2);
    EXPECT_EQ(starMap.count(), 1);
}

TEST(ModelPipeline, ASecondCalculateWhileOneRunsChangesNothing) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    QSignalSpy busy(model.get(), &AstronomyModel::isCalculatingChanged);
    QSignalSpy positions(model.get(), &AstronomyModel::positionsChanged);
    model->calculate();
    model->calculate();
    model->calculate();
    ASSERT_TRUE(waitUntil([&] { return !model->isCalculating(); }));
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(busy.count(), 2);
    EXPECT_EQ(positions.count(), 1);
}

TEST(ModelPipeline, InputsChangedDuringACalculationDoNotReachIt) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    model->calculate();
    model->setHour(18.25);
    model->setYear(5);
    ASSERT_TRUE(waitUntil([&] { return !model->isCalculating(); }));
    EXPECT_EQ(model->dateLabel(), "720-01-01 12:00 OST");
    EXPECT_EQ(model->hour(), 18.25);
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
    // Stored values out of range never get this far (they fall back at load); these arrive
    // through the setters, as from a view that did not check them.
    const std::function<void(AstronomyModel&)> damage[] = {
        [](AstronomyModel& m) { m.setYear(1'000'000'000'000'000); },
        [](AstronomyModel& m) { m.setYear(std::numeric_limits<qint64>::min()); },
        [](AstronomyModel& m) { m.setDayIndex(std::numeric_limits<qint64>::max()); },
        [](AstronomyModel& m) { m.setHour(1e300); },
        [](AstronomyModel& m) { m.setManualLatDeg(1e308); },
        [](AstronomyModel& m) { m.setManualLongDeg(-1e308); },
        [](AstronomyModel& m) { m.setManualLatDeg(95.0); },  // "Lat: 095:00:00" on the chart
        [](AstronomyModel& m) { m.setManualLongDeg(180.001); },
    };
    const char* expected[] = {"date",
                              "date",
                              "date",
                              "hour",
                              "Latitude must be a number from 0 to 90 degrees.",
                              "Longitude must be a number from 0 to 180 degrees.",
                              "Latitude must be a number from 0 to 90 degrees.",
                              "Longitude must be a number from 0 to 180 degrees."};
    for (std::size_t i = 0; i < std::size(damage); ++i) {
        ModelFixture fixture;
        const auto model = fixture.makeModel();
        damage[i](*model);
        model->calculate();
        EXPECT_FALSE(model->isCalculating()) << i;
        ASSERT_TRUE(model->hasErrorMessage()) << i;
        EXPECT_TRUE(model->errorMessage().contains(expected[i]))
            << model->errorMessage().toStdString();
        EXPECT_TRUE(model->starMapSVG().isEmpty());
        // Mended input: the next calculation clears the message and runs.
        model->setYear(720);
        model->setDayIndex(0);
        model->setHour(12.0);
        model->setManualLatDeg(90.0);
        model->setManualLongDeg(180.0);
        ASSERT_TRUE(calculated(*model));
        EXPECT_FALSE(model->hasErrorMessage());
        EXPECT_FALSE(model->starMapSVG().isEmpty());
    }
}

TEST(ModelGuard, HugeButComputableInputsStillCalculate) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    model->setDayIndex(40);
    model->setHour(30.5);
    model->setUseLocalTime(true);
    ASSERT_TRUE(calculated(*model));
    EXPECT_FALSE(model->hasErrorMessage());
    EXPECT_FALSE(model->dateLabel().isEmpty());
}

}  // namespace
}  // namespace morvane
