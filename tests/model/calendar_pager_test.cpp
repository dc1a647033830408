#include "model/calendar_pager.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <functional>
#include <ostream>

#include "engine/calendar.h"
#include "model/calculation.h"
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

struct Date {
    std::int64_t year;
    int month;
    int day;
    friend bool operator==(const Date&, const Date&) = default;
};

std::ostream& operator<<(std::ostream& out, const Date& d) {
    return out << d.year << '-' << d.month + 1 << '-' << d.day + 1;
}

Date cursorOf(const CalendarPager& pager) {
    return {pager.page()->year, pager.page()->monthIndex, pager.page()->dayIndex};
}

TEST(CalendarPager, FollowsTheCalculatedDatePlaceHourAndClock) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    CalendarPager& pager = CalendarPager::of(*model);
    EXPECT_EQ(&CalendarPager::of(*model), &pager);  // one pager per model
    EXPECT_EQ(CalendarPager::find(*model), &pager);
    EXPECT_FALSE(pager.page());
    // Nothing to page through before the first calculation.
    EXPECT_FALSE(pager.moveCursorByDays(1));
    pager.setSpan(CalendarSpan::year);
    EXPECT_FALSE(pager.page());
    QSignalSpy changed(&pager, &CalendarPager::changed);

    // Inputs moved while the calculation runs: the calendar keeps to the date calculated, as
    // the other outputs do.
    model->setMonthIndex(2);
    model->setDayIndex(13);
    model->setHour(9.75);
    model->calculate();
    model->setDayIndex(20);
    ASSERT_TRUE(waitUntil([&] { return !model->isCalculating(); }));
    ASSERT_TRUE(pager.page());
    CalendarPage page = *pager.page();
    EXPECT_EQ(page.span, CalendarSpan::month);
    EXPECT_EQ(cursorOf(pager), (Date{720, 2, 13}));
    EXPECT_EQ((Date{page.chosenYear, page.chosenMonthIndex, page.chosenDayIndex}),
              (Date{720, 2, 13}));
    EXPECT_EQ(page.hour, 9.75);
    EXPECT_EQ(page.clock, CalendarClock::reference);
    EXPECT_EQ(page.latitude, model->latitude());
    EXPECT_EQ(page.longitude, model->longitude());
    EXPECT_EQ(page.place, "40.50°N 20.90°W");  // as file names write the typed-in place
    EXPECT_EQ(changed.count(), 1);
    // The day that was calculated is the one the moment falls on.
    EXPECT_EQ(calendarMoment(page.year, page.monthIndex, page.dayIndex, page.hour, page.clock,
                             page.longitude),
              dayCount(720, 2, 13, 9.75));

    // The next calculation brings the cursor back to its day and keeps the view's span; a saved
    // place is named, and local time counts the days on the place's clock.
    pager.setSpan(CalendarSpan::year);
    pager.moveCursorByMonths(5);
    for (const CityPreset& city : model->cities()) {
        if (city.name == "Goris") model->setSelectedCityID(city.id);
    }
    model->setUseLocalTime(true);
    ASSERT_TRUE(calculated(*model));
    page = *pager.page();
    EXPECT_EQ(page.span, CalendarSpan::year);
    EXPECT_EQ(cursorOf(pager), (Date{720, 2, 20}));
    EXPECT_EQ(page.place, "Goris");
    EXPECT_EQ(page.clock, CalendarClock::local);
    EXPECT_EQ(page.longitude, model->longitude());
    EXPECT_NEAR(calendarMoment(720, 2, 20, 9.75, page.clock, page.longitude),
                model->currentDayCount(), 1.0 / 1440.0);
    const int before = int(changed.count());
    ASSERT_TRUE(calculated(*model));  // the same inputs again change nothing
    EXPECT_EQ(changed.count(), before);

    // A pager made after a calculation starts from it.
    ModelFixture other;
    const auto late = other.makeModel();
    late->setYear(1200);
    ASSERT_TRUE(calculated(*late));
    EXPECT_EQ(cursorOf(CalendarPager::of(*late)), (Date{1200, 0, 0}));
}

TEST(CalendarPager, TheCursorRunsOnAcrossMonthsAndYearsAndStopsAtTheAcceptedYears) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    CalendarPager& pager = CalendarPager::of(*model);
    ASSERT_TRUE(calculated(*model));  // 720-01-01
    QSignalSpy changed(&pager, &CalendarPager::changed);

    const struct {
        const char* what;
        std::function<bool()> move;
        bool moved;
        Date expected;
    } steps[] = {
        {"a day back into the last year",
         [&] { return pager.moveCursorByDays(-1); },
         true,
         {719, 11, 29}},
        {"a row on into the new year",
         [&] { return pager.moveCursorByDays(5); },
         true,
         {720, 0, 4}},
        {"a month back keeps the day",
         [&] { return pager.moveCursorByMonths(-1); },
         true,
         {719, 11, 4}},
        {"fourteen months on", [&] { return pager.moveCursorByMonths(14); }, true, {721, 1, 4}},
        {"a year of days back", [&] { return pager.moveCursorByDays(-360); }, true, {720, 1, 4}},
        {"straight to a day", [&] { return pager.moveCursorTo(720, 6, 29); }, true, {720, 6, 29}},
        {"a day past the month's end",
         [&] { return pager.moveCursorByDays(1); },
         true,
         {720, 7, 0}},
        {"no month 13", [&] { return pager.moveCursorTo(720, 12, 0); }, false, {720, 7, 0}},
        {"no day 31", [&] { return pager.moveCursorTo(720, 7, 30); }, false, {720, 7, 0}},
        {"no year 2001", [&] { return pager.moveCursorTo(2001, 0, 0); }, false, {720, 7, 0}},
        {"to the first day of year 1",
         [&] { return pager.moveCursorTo(1, 0, 0); },
         true,
         {1, 0, 0}},
        {"no day before it", [&] { return pager.moveCursorByDays(-1); }, false, {1, 0, 0}},
        {"a month back stops there",
         [&] { return pager.moveCursorByMonths(-1); },
         false,
         {1, 0, 0}},
        {"to the last day of year 2000",
         [&] { return pager.moveCursorTo(2000, 11, 29); },
         true,
         {2000, 11, 29}},
        {"no day after it", [&] { return pager.moveCursorByDays(5); }, false, {2000, 11, 29}},
        {"a long way back stops at the first day",
         [&] { return pager.moveCursorByDays(-1000000); },
         true,
         {1, 0, 0}},
        {"a long way on stops at the last month",
         [&] { return pager.moveCursorByMonths(99999); },
         true,
         {2000, 11, 0}},
    };
    int moves = 0;
    for (const auto& s : steps) {
        EXPECT_EQ(s.move(), s.moved) << s.what;
        EXPECT_EQ(cursorOf(pager), s.expected) << s.what;
        moves += s.moved ? 1 : 0;
    }
    EXPECT_EQ(changed.count(), moves);  // a move that could not be made announces nothing

    // None of it touches the date calculated, and the cursor goes back to it on request.
    const CalendarPage& page = *pager.page();
    EXPECT_EQ((Date{page.chosenYear, page.chosenMonthIndex, page.chosenDayIndex}),
              (Date{720, 0, 0}));
    EXPECT_EQ(model->dayIndex(), 0);
    EXPECT_EQ(page.chosenDayInMonth(), -1);
    EXPECT_EQ(page.chosenMonthInYear(), -1);
    pager.resetCursor();
    EXPECT_EQ(cursorOf(pager), (Date{720, 0, 0}));
    EXPECT_EQ(pager.page()->chosenDayInMonth(), 0);
    pager.moveCursorByMonths(4);
    EXPECT_EQ(pager.page()->chosenDayInMonth(), -1);  // another month of the same year
    EXPECT_EQ(pager.page()->chosenMonthInYear(), 0);
}

}  // namespace
}  // namespace morvane
