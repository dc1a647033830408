#include "ui/calendar_view.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <cstdio>
#include <vector>

#include "charts/calendar_chart.h"
#include "engine/calendar.h"
#include "export/documents.h"
#include "model/calculation.h"
#include "support/qt_wait.h"
#include "ui/detailed_view.h"
#include "ui/output_views.h"
#include "ui/ui_window.h"
#include "ui/widgets.h"

namespace morvane {
namespace {

using testing::kAutoPauseMs;
using testing::waitUntil;
using testing::Window;

constexpr char kPlace[] = "40.50°N 20.90°W";

struct Date {
    std::int64_t year;
    int month;
    int day;
    friend bool operator==(const Date&, const Date&) = default;
};

std::ostream& operator<<(std::ostream& out, const Date& d) {
    return out << d.year << '-' << d.month + 1 << '-' << d.day + 1;
}

// The window calculated at its default moment (720-01-01 12:00 OST) with the Calendar shown.
struct CalendarWindow : Window {
    CalendarView* calendar = nullptr;

    void open() {
        activate();
        view->selectTab(OutputTab::calendar);
        calendar = qobject_cast<CalendarView*>(view->detail()->currentView());
        ASSERT_NE(calendar, nullptr);
        ASSERT_TRUE(waitUntil([this] { return calendar->grid()->width() > 400; }));
    }
    const CalendarPage& page() const { return *CalendarPager::of(*model).page(); }
    Date cursor() const { return {page().year, page().monthIndex, page().dayIndex}; }
    Date inputs() const {
        return {model->year(), int(model->monthIndex()), int(model->dayIndex())};
    }
    // The month document as the engine works it out, with that day marked as chosen.
    QString monthPage(std::int64_t year, int month, int chosenDay) const {
        return svgViewPage(fromStd(
            calendarMonthSvg(calendarMonth(year, month, model->hour(), CalendarClock::reference,
                                           model->latitude(), model->longitude()),
                             kPlace, chosenDay)));
    }
    // The page shown, without the cursor drawn over the document.
    QString shownPage() const {
        QString page = calendar->chart()->svgView()->page();
        return page.remove(QRegularExpression(R"re(<rect class="cursor" [^>]*/>\n)re"));
    }
    // The top left corners of the cursor's frames (a day's cell, or in the year view also its
    // month's box) and whether the day's is dashed.
    struct Frames {
        std::vector<QPointF> corners;
        bool dashed = false;
    };
    Frames cursorFrames() const {
        Frames frames;
        const QString page = calendar->chart()->svgView()->page();
        auto found =
            QRegularExpression(
                R"re(<rect class="cursor" x="([-\d.]+)" y="([-\d.]+)"(?:[^>]*( stroke-dasharray))?[^>]*/>)re")
                .globalMatch(page);
        while (found.hasNext()) {
            const auto match = found.next();
            frames.corners.emplace_back(match.captured(1).toDouble(), match.captured(2).toDouble());
            frames.dashed = !match.captured(3).isEmpty();
        }
        return frames;
    }
    void clickAt(const CalendarRect& cell) {
        const QPointF centre =
            calendar->gridPoint(cell.x + cell.width / 2, cell.y + cell.height / 2);
        QTest::mouseClick(calendar->grid(), Qt::LeftButton, {}, centre.toPoint());
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(calendar->grid(), key, modifiers);
    }
    bool recalculated() {
        QTest::qWait(kAutoPauseMs);
        return waitUntil([this] { return !model->isCalculating(); });
    }
};

QString monthName(int index) { return fromStd(std::string(kMonthNames[std::size_t(index)])); }

TEST(CalendarView, FollowsTheCalculationMarksItsDayAndWorksOutOnlyWhatChanged) {
    CalendarWindow w;
    w.activate();
    // Ctrl+8 shows the Calendar; the map moved on to Ctrl+9.
    QTest::keyClick(w.view.get(), Qt::Key_9, Qt::ControlModifier);
    EXPECT_EQ(w.view->selectedTab(), OutputTab::location);
    w.sidebar()->exportButton()->setFocus();
    QTest::keyClick(w.view.get(), Qt::Key_8, Qt::ControlModifier);
    ASSERT_EQ(w.view->selectedTab(), OutputTab::calendar);
    EXPECT_EQ(w.sidebar()->exportButton()->text(), "Export SVG");
    EXPECT_FALSE(w.sidebar()->exportTextButton()->isHidden());
    w.calendar = qobject_cast<CalendarView*>(w.view->detail()->currentView());
    ASSERT_NE(w.calendar, nullptr);
    CalendarView* view = w.calendar;
    // From a sidebar control's focus, the arrows move the days at once.
    EXPECT_TRUE(view->grid()->hasFocus());
    EXPECT_FALSE(view->showsPlaceholder());
    EXPECT_EQ(view->titleLabel()->text(), monthName(0) + " 720");
    EXPECT_EQ(w.shownPage(), w.monthPage(720, 0, 0));
    EXPECT_EQ(view->computations(), 1);

    // A calculation of another month shows it with its day marked.
    w.model->setMonthIndex(2);
    w.model->setDayIndex(13);
    ASSERT_TRUE(w.recalculated());
    EXPECT_EQ(w.cursor(), (Date{720, 2, 13}));
    EXPECT_EQ(view->titleLabel()->text(), monthName(2) + " 720");
    EXPECT_EQ(w.shownPage(), w.monthPage(720, 2, 13));
    EXPECT_EQ(view->computations(), 2);
    // Another day of the same month at the same hour and place only moves the mark.
    w.model->setDayIndex(20);
    ASSERT_TRUE(w.recalculated());
    EXPECT_EQ(w.shownPage(), w.monthPage(720, 2, 20));
    EXPECT_EQ(view->computations(), 2);
    // Another hour draws every day's phase anew.
    w.model->setHour(6.0);
    ASSERT_TRUE(w.recalculated());
    EXPECT_EQ(view->computations(), 3);
    EXPECT_EQ(view->month()->hour, 6.0);
    EXPECT_EQ(w.shownPage(), w.monthPage(720, 2, 20));
    // The cursor's day is told in words: its date and its sunrise at least.
    EXPECT_TRUE(view->cursorDescription().startsWith("720-03-21: "))
        << view->cursorDescription().toStdString();
    EXPECT_TRUE(view->cursorDescription().contains("sunrise "))
        << view->cursorDescription().toStdString();
    EXPECT_EQ(view->grid()->accessibleDescription(), view->cursorDescription());
}

TEST(CalendarView, AClickOrReturnOnADaySetsTheDateAndKeepsTheTime) {
    CalendarWindow w;
    w.open();
    w.model->setHour(9.75);
    ASSERT_TRUE(w.recalculated());
    CalendarView* view = w.calendar;

    w.clickAt(monthDayCell(17));
    EXPECT_EQ(w.inputs(), (Date{720, 0, 17}));
    EXPECT_EQ(w.model->hour(), 9.75);
    EXPECT_TRUE(view->grid()->hasFocus());
    // The automatic recalculation takes the date as it takes the sidebar's.
    EXPECT_EQ(w.sidebar()->daySpin()->value(), 18);
    ASSERT_TRUE(w.recalculated());
    EXPECT_EQ(w.model->dateLabel(), "720-01-18 09:45 OST");
    EXPECT_EQ(w.shownPage(), w.monthPage(720, 0, 17));

    // The frame sits on the cursor's cell; the keys move it without touching the date, Return
    // takes it.
    w.key(Qt::Key_Right);
    w.key(Qt::Key_Down);
    EXPECT_EQ(w.cursor(), (Date{720, 0, 23}));
    const CalendarRect cell = monthDayCell(23);
    const QRectF frame = view->cursorFrame();
    const QPointF topLeft = view->gridPoint(cell.x, cell.y);
    const QPointF bottomRight = view->gridPoint(cell.x + cell.width, cell.y + cell.height);
    EXPECT_NEAR(frame.left(), topLeft.x(), 1e-9);
    EXPECT_NEAR(frame.top(), topLeft.y(), 1e-9);
    EXPECT_NEAR(frame.right(), bottomRight.x(), 1e-9);
    EXPECT_NEAR(frame.bottom(), bottomRight.y(), 1e-9);
    // The frame is drawn into the document shown, just outside the cell; dashed while the days
    // do not have the keyboard.
    ASSERT_TRUE(waitUntil([&] { return !w.cursorFrames().corners.empty(); }));
    const CalendarWindow::Frames drawn = w.cursorFrames();
    ASSERT_EQ(drawn.corners.size(), 1U);
    EXPECT_NEAR(drawn.corners[0].x(), cell.x - 1.5, 0.051);
    EXPECT_NEAR(drawn.corners[0].y(), cell.y - 1.5, 0.051);
    EXPECT_FALSE(drawn.dashed);
    w.sidebar()->calculateButton()->setFocus();
    EXPECT_TRUE(w.cursorFrames().dashed);
    view->grid()->setFocus();
    // The page is fitted whole: the document's corners lie within the layer.
    EXPECT_TRUE(QRectF(view->grid()->rect())
                    .adjusted(-0.5, -0.5, 0.5, 0.5)
                    .contains(view->gridPoint(kCalendarPageWidth, kCalendarPageHeight)));
    EXPECT_GE(view->gridPoint(0, 0).x(), 0.0);
    EXPECT_EQ(w.inputs(), (Date{720, 0, 17}));
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.inputs(), (Date{720, 0, 23}));
    EXPECT_EQ(w.model->hour(), 9.75);
    ASSERT_TRUE(w.recalculated());
    EXPECT_EQ(w.model->dateLabel(), "720-01-24 09:45 OST");

    // A click between the cells, on the heading, chooses nothing.
    w.clickAt({0, 0, 1, 1});
    EXPECT_EQ(w.inputs(), (Date{720, 0, 23}));
}

TEST(CalendarView, KeysMoveTheCursorAcrossMonthsAndYears) {
    CalendarWindow w;
    w.open();
    CalendarView* view = w.calendar;
    view->grid()->setFocus();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        Date expected;
    } steps[] = {
        {Qt::Key_Left, {}, {719, 11, 29}},  // back over the year's first day
        {Qt::Key_Right, {}, {720, 0, 0}},
        {Qt::Key_Down, {}, {720, 0, 5}},  // a row of five
        {Qt::Key_Up, {}, {720, 0, 0}},
        {Qt::Key_Up, {}, {719, 11, 25}},
        {Qt::Key_PageDown, {}, {720, 0, 25}},  // a month keeps the day
        {Qt::Key_PageUp, {}, {719, 11, 25}},
        {Qt::Key_End, {}, {719, 11, 29}},
        {Qt::Key_Home, {}, {719, 11, 0}},
        {Qt::Key_PageDown, Qt::ControlModifier, {720, 0, 0}},  // the "›" button's keys
        {Qt::Key_PageUp, Qt::ControlModifier, {719, 11, 0}},
    };
    for (const auto& s : steps) {
        w.key(s.key, s.modifiers);
        EXPECT_EQ(w.cursor(), s.expected) << "key " << int(s.key);
        EXPECT_EQ(view->month()->year, s.expected.year);
        EXPECT_EQ(view->month()->monthIndex, s.expected.month);
        EXPECT_EQ(w.shownPage(), w.monthPage(s.expected.year, s.expected.month,
                                             s.expected == Date{720, 0, s.expected.day} ? 0 : -1));
    }
    EXPECT_EQ(view->titleLabel()->text(), monthName(11) + " 719");
    EXPECT_EQ(view->previousButton()->toolTip(), "Previous month (Ctrl+PgUp)");
    EXPECT_EQ(w.inputs(), (Date{720, 0, 0}));

    // The buttons step too; a tab chosen again starts from the calculated day.
    QTest::mouseClick(view->nextButton(), Qt::LeftButton);
    EXPECT_EQ(w.cursor(), (Date{720, 0, 0}));
    QTest::mouseClick(view->nextButton(), Qt::LeftButton);
    w.view->selectTab(OutputTab::day);
    w.view->selectTab(OutputTab::calendar);
    view = qobject_cast<CalendarView*>(w.view->detail()->currentView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(w.cursor(), (Date{720, 0, 0}));

    // The window's own keys still reach it: Alt+Right steps the time, and the calculation
    // that follows brings the cursor home.
    w.calendar = view;
    w.key(Qt::Key_PageDown);
    w.key(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(w.model->hour(), 12.25);
    ASSERT_TRUE(w.recalculated());
    EXPECT_EQ(w.cursor(), (Date{720, 0, 0}));
}

TEST(CalendarView, TheYearViewPagesByYearAndAClickOpensTheMonth) {
    CalendarWindow w;
    w.open();
    CalendarView* view = w.calendar;
    QTest::mouseClick(view->spanChoice()->secondButton(), Qt::LeftButton);
    ASSERT_EQ(w.page().span, CalendarSpan::year);
    EXPECT_EQ(view->titleLabel()->text(), "Year 720");
    ASSERT_TRUE(view->year());
    EXPECT_EQ(w.shownPage(), svgViewPage(fromStd(calendarYearSvg(*view->year(), kPlace, 0, 0))));
    EXPECT_EQ(view->nextButton()->accessibleName(), "Next year");
    // The exports follow what is shown.
    const auto document = tabDocument(OutputTab::calendar, ExportContext::fromModel(*w.model));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->baseName, "Calendar Year");

    view->grid()->setFocus();
    w.key(Qt::Key_PageDown);
    w.key(Qt::Key_Right);
    EXPECT_EQ(w.cursor(), (Date{720, 1, 1}));
    const CalendarRect cell = yearDayCell(1, 1);
    EXPECT_TRUE(view->cursorFrame().contains(view->gridPoint(cell.x + 1, cell.y + 1)));
    const CalendarWindow::Frames drawn = w.cursorFrames();
    ASSERT_EQ(drawn.corners.size(), 2U);  // the month's box and the day
    EXPECT_NEAR(drawn.corners[1].x(), cell.x - 1.0, 0.051);
    EXPECT_NEAR(drawn.corners[1].y(), cell.y - 1.0, 0.051);
    EXPECT_LT(drawn.corners[0].x(), yearMonthBox(1).x);
    const int computed = view->computations();
    QTest::mouseClick(view->nextButton(), Qt::LeftButton);  // a year on
    EXPECT_EQ(w.cursor(), (Date{721, 1, 1}));
    EXPECT_EQ(view->titleLabel()->text(), "Year 721");
    EXPECT_EQ(view->year()->year, 721);
    EXPECT_EQ(view->computations(), computed + 1);
    QTest::keyClick(w.view.get(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(w.cursor(), (Date{720, 1, 1}));

    // Return opens the cursor's month; a click on a day of the year opens its month on it.
    w.key(Qt::Key_Return);
    EXPECT_EQ(w.page().span, CalendarSpan::month);
    EXPECT_EQ(view->titleLabel()->text(), monthName(1) + " 720");
    EXPECT_TRUE(view->spanChoice()->isFirst());
    QTest::mouseClick(view->spanChoice()->secondButton(), Qt::LeftButton);
    w.clickAt(yearDayCell(4, 7));
    EXPECT_EQ(w.page().span, CalendarSpan::month);
    EXPECT_EQ(w.cursor(), (Date{720, 4, 7}));
    EXPECT_EQ(w.shownPage(), w.monthPage(720, 4, -1));
    EXPECT_EQ(w.inputs(), (Date{720, 0, 0}));  // opening a month chooses no date
}

// The time a month and a year take to show: working the days out, drawing the document and
// the page taking it. Printed for the performance notes; the bound only catches a runaway.
TEST(CalendarView, MonthAndYearTimings) {
    CalendarWindow w;
    w.open();
    CalendarView* view = w.calendar;
    QSignalSpy loaded(view->chart()->svgView(), &SVGView::pageLoaded);
    const CalendarPage& page = w.page();
    const auto time = [](const auto& work) {
        QElapsedTimer timer;
        timer.start();
        work();
        return double(timer.nsecsElapsed()) / 1e6;
    };
    for (const bool year : {false, true}) {
        double compute = 1e9, draw = 1e9;
        for (int i = 0; i < 3; ++i) {
            if (year) {
                CalendarYear y;
                compute = std::min(compute, time([&] {
                                       y = calendarYear(721, page.hour, page.clock, page.latitude,
                                                        page.longitude);
                                   }));
                draw = std::min(draw, time([&] { (void)calendarYearSvg(y, kPlace, 0, 0); }));
            } else {
                CalendarMonth m;
                compute = std::min(compute, time([&] {
                                       m = calendarMonth(720, 5, page.hour, page.clock,
                                                         page.latitude, page.longitude);
                                   }));
                draw = std::min(draw, time([&] { (void)calendarMonthSvg(m, kPlace, 0); }));
            }
        }
        // The whole way from a key press to the page showing the next month or year, once
        // the page has settled.
        if (year) QTest::mouseClick(view->spanChoice()->secondButton(), Qt::LeftButton);
        w.key(Qt::Key_PageUp);
        ASSERT_TRUE(waitUntil([&] { return !loaded.isEmpty(); }));
        QTest::qWait(500);
        loaded.clear();
        QElapsedTimer timer;
        timer.start();
        w.key(Qt::Key_PageDown, year ? Qt::ControlModifier : Qt::NoModifier);
        ASSERT_TRUE(waitUntil([&] { return !loaded.isEmpty(); }));
        const double shown = double(timer.nsecsElapsed()) / 1e6;
        std::printf("%s view: compute %.1f ms, SVG %.2f ms, key to page shown %.1f ms\n",
                    year ? "year" : "month", compute, draw, shown);
        EXPECT_LT(shown, 5000.0);
    }
}

}  // namespace
}  // namespace morvane
