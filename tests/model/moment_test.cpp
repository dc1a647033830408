#include "model/moment.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QThreadPool>
#include <random>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "model_fixture.h"
#include "support/qt_wait.h"

namespace morvane {
namespace {

constexpr double kSecond = 1.0 / 86400.0;

TEST(Moment, EveryMinuteOfADayReadsBackAsThatMinute) {
    for (int h = 0; h < 24; ++h) {
        for (int m = 0; m < 60; ++m) {
            const double hour = hourOfClock(h, m);
            ASSERT_EQ(clockOfHour(hour), (std::pair<long long, long long>(h, m))) << h << ":" << m;
            ASSERT_EQ(dayCount(720, 3, 9, hour), dayCount(720, 3, 9, h, m));
            ASSERT_LT(hour - (h + m / 60.0), 1e-12);
            // Any moment the date label prints as that minute goes back to it.
            for (const double off : {-0.4, 0.0, 59.4}) {
                const auto in = ostInputsOf(dayCount(720, 3, 9, h, m) + off * kSecond);
                ASSERT_TRUE(in);
                ASSERT_EQ(*in, (ClockInputs{720, 3, 9, hour})) << h << ":" << m << off;
            }
        }
    }
}

TEST(Moment, RoundingAndStepsRollOverAndStopAtTheCalendarsEnds) {
    // 23:59:59.6 on the last day of a year is labelled, and lands on, the next year's first
    // minute; 23:59:59.4 stays in the old year, as its label does.
    EXPECT_EQ(ostInputsOf(dayCount(720, 11, 29, 23, 59) + 59.6 * kSecond),
              (ClockInputs{721, 0, 0, 0.0}));
    EXPECT_EQ(ostInputsOf(dayCount(720, 11, 29, 23, 59) + 59.4 * kSecond),
              (ClockInputs{720, 11, 29, hourOfClock(23, 59)}));
    EXPECT_EQ(ostInputsOf(dayCount(2000, 11, 29, 23, 59)),
              (ClockInputs{2000, 11, 29, hourOfClock(23, 59)}));
    EXPECT_FALSE(ostInputsOf(dayCount(2000, 11, 29, 23, 59) + 59.6 * kSecond));
    EXPECT_FALSE(ostInputsOf(dayCount(1, 0, 0, 0, 0) - 1 * kSecond));
    EXPECT_FALSE(ostInputsOf(std::nan("")));

    const struct {
        ClockInputs from;
        qint64 minutes;
        std::optional<ClockInputs> to;
    } steps[] = {
        {{720, 11, 29, 23.75}, 15, ClockInputs{721, 0, 0, 0.0}},
        {{720, 0, 0, 0.0}, -60, ClockInputs{719, 11, 29, 23.0}},
        {{720, 4, 29, 10.999}, 1440, ClockInputs{720, 5, 0, hourOfClock(10, 59)}},  // seconds go
        {{720, 11, 29, 12.0}, 30 * 1440, ClockInputs{721, 0, 29, 12.0}},
        {{1999, 6, 14, 6.5}, 360 * 1440, ClockInputs{2000, 6, 14, 6.5}},
        {{2000, 6, 14, 6.5}, 360 * 1440, std::nullopt},
        {{1, 0, 0, 0.0}, -15, std::nullopt},
        {{1, 0, 0, 0.25}, -15, ClockInputs{1, 0, 0, 0.0}},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(steppedInputs(step.from, step.minutes), step.to)
            << step.from.year << " " << step.minutes;
    }
}

TEST(Moment, LocalInputsLandOnTheMomentsMinuteEverywhere) {
    std::mt19937_64 random(12);
    std::uniform_real_distribution<double> moment(1.0, 719'000.0);
    for (const double degrees : {0.0, 20.9, -97.5, 179.9, -179.9, 180.0}) {
        const double longitude = radiansFromDegrees(degrees);
        for (int i = 0; i < 200; ++i) {
            const double t = moment(random);
            const auto in = localInputsOf(t, longitude);
            ASSERT_TRUE(in) << t;
            const double landed = dayCountOf(*in, true, longitude);
            // Half a minute of rounding and the local clock's drift against OST; near the
            // date line up to a minute more, where the aim moves within the minute.
            ASSERT_LT(std::fabs(landed - t), (std::fabs(degrees) > 170 ? 91 : 31) * kSecond)
                << degrees << " " << t;
            const auto [h, m] = clockOfHour(in->hour);
            ASSERT_EQ(localTimeLabel(landed - 29 * kSecond, longitude),
                      fmt::format("{:02d}:{:02d}", h, m));
        }
    }
    EXPECT_FALSE(localInputsOf(dayCount(2000, 11, 29, 23, 0), radiansFromDegrees(90.0)));
    EXPECT_TRUE(localInputsOf(dayCount(2000, 11, 29, 23, 0), radiansFromDegrees(-90.0)));
}

TEST(Moment, ARowOfATableGoesToItsMomentOrToTheEventUnderTheCursor) {
    const QString sunMoon =
        "720-01-09 12:00 OST   114.95   011.12  -007.97   114.71   006.27   002.40   006.71   "
        "0.60   MR@12:33 MS@02:13 FUL 722-06-15 10:33 OST  179:17:11 ";
    const QString conjunction = "1234-06-12 07:08 OST   208:08   039:46   80:58  EP-ME ";
    const double row = dayCount(720, 0, 8, 12, 0);
    const struct {
        QString line;
        qsizetype column;
        std::optional<double> moment;
    } cases[] = {
        {sunMoon, 0, row},
        {sunMoon, 60, row},
        {sunMoon, sunMoon.indexOf("MR@") + 7, row + 33.0 / 1440.0},
        {sunMoon, sunMoon.indexOf("MS@"), row + (14 * 60 + 13) / 1440.0},  // the next morning
        {sunMoon, sunMoon.indexOf("MS@") - 1, row},
        {sunMoon, sunMoon.indexOf("722-06"), dayCount(722, 5, 14, 10, 33)},
        {conjunction, 40, dayCount(1234, 5, 11, 7, 8)},
        {"YR MO DAY TIME        Y-RA     Y-DEC", 3, std::nullopt},
        {"                      EQUATORIAL COORDINATES  720-01-09 12:00 OST", 50, std::nullopt},
        {"", 0, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<double> t = tableMomentAt(c.line, c.column);
        ASSERT_EQ(t.has_value(), c.moment.has_value()) << c.line.toStdString() << c.column;
        if (t) {
            EXPECT_NEAR(*t, *c.moment, 1e-9) << c.line.toStdString() << " at " << c.column;
        }
    }
}

TEST(ModelNavigation, JumpsAndStepsMoveTheInputsAndCalculateTheNewestMoment) {
    testing::ModelFixture fixture;
    const auto model = fixture.makeModel();
    QSignalSpy busy(model.get(), &AstronomyModel::isCalculatingChanged);
    const double t = dayCount(1234, 5, 6, 7, 8) + 10 * kSecond;
    ASSERT_TRUE(model->goToMoment(t));
    EXPECT_EQ(model->currentDayCount(), dayCount(1234, 5, 6, 7, 8));
    EXPECT_TRUE(model->isCalculating());
    // Steps while it runs change the inputs at once; only the newest moment is calculated next.
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(model->stepMinutes(24 * 60));
    ASSERT_TRUE(testing::waitUntil([&] { return busy.count() == 4; }));
    EXPECT_FALSE(model->isCalculating());
    EXPECT_EQ(model->dateLabel(), "1234-06-12 07:08 OST");

    model->setUseLocalTime(true);
    ASSERT_TRUE(model->goToMoment(t));
    EXPECT_LT(std::fabs(model->currentDayCount() - t), 31 * kSecond);
    ASSERT_TRUE(testing::waitUntil([&] { return !model->isCalculating(); }));

    // Out of range: a message, and nothing moves.
    const Inputs before = model->inputs();
    EXPECT_FALSE(model->stepMinutes(qint64{800} * 360 * 1440));
    EXPECT_EQ(model->errorMessage(),
              "The calendar ends with year 2000: that step would go past it.");
    EXPECT_FALSE(model->goToMoment(-1.0));
    EXPECT_EQ(model->errorMessage(),
              "That moment falls before year 1, the first year the calendar can show.");
    EXPECT_EQ(model->inputs(), before);
    EXPECT_FALSE(model->isCalculating());
    // The pool's threads end before the process does, so ThreadSanitizer sees them joined.
    QThreadPool::globalInstance()->waitForDone();
}

}  // namespace
}  // namespace morvane
