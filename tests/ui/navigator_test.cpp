// Travelling through time from the keyboard: steps, jumps to events, rows of the tables.
#include "ui/navigator.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QTest>
#include <QTextBlock>

#include "engine/calendar.h"
#include "events/sky_events.h"
#include "model/moment.h"
#include "ui/detailed_view.h"
#include "ui/output_views.h"
#include "ui/ui_window.h"

namespace morvane {
namespace {

using testing::waitUntil;
using testing::Window;

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : QApplication::activeWindow(), Qt::Key(key),
                    modifiers);
}

bool settled(const Window& w) {
    return waitUntil([&] { return !w.model->isCalculating(); });
}

ClockInputs clockInputs(const AstronomyModel& model) {
    return {model.year(), model.monthIndex(), model.dayIndex(), model.hour()};
}

TEST(KeyboardTravel, ADayForwardTheNextFullMoonAndARowOfTheTable) {
    Window w;
    w.activate();
    press(Qt::Key_Up, Qt::AltModifier);
    ASSERT_TRUE(settled(w));
    EXPECT_EQ(w.model->dateLabel(), "720-01-02 12:00 OST");
    // The chart took the new moment in place, without loading its page again.
    auto* chart = qobject_cast<ChartView*>(w.view->detail()->currentView());
    ASSERT_NE(chart, nullptr);
    ASSERT_TRUE(waitUntil([&] { return chart->svgView()->replacements() >= 1; }));
    EXPECT_EQ(chart->svgView()->page(), svgViewPage(w.model->starMapSVG()));

    // Two full moons in a row: the second press leaves the first behind.
    const EventFinder finder(w.model->latitude(), w.model->longitude());
    double from = w.model->currentDayCount();
    for (int i = 0; i < 2; ++i) {
        const auto fullMoon = finder.next(EventKind::fullMoon, from);
        ASSERT_TRUE(fullMoon);
        press(Qt::Key_F, Qt::ControlModifier);
        EXPECT_EQ(clockInputs(*w.model), ostInputsOf(fullMoon->t));
        // The minute its label shows: within a minute before the event (the label rounds to
        // the second first).
        EXPECT_LE(fullMoon->t - w.model->currentDayCount(), 60.0 / 86400.0);
        EXPECT_GE(fullMoon->t - w.model->currentDayCount(), -0.5 / 86400.0);
        ASSERT_TRUE(settled(w));
        from = fullMoon->t;
    }

    // Return on the fourth row of the hourly table goes to its moment; on the heading, nowhere.
    press(Qt::Key_4, Qt::ControlModifier);
    auto* tables = qobject_cast<TablesView*>(w.view->detail()->currentView());
    ASSERT_NE(tables, nullptr);
    QPlainTextEdit* text = tables->textView()->textEdit();
    text->setFocus();
    const QString before = w.model->dateLabel();
    press(Qt::Key_Return);
    EXPECT_EQ(w.model->dateLabel(), before);
    for (int i = 0; i < 4; ++i) press(Qt::Key_Down);
    const QString row = text->document()->findBlockByNumber(4).text().left(19);
    press(Qt::Key_Return);
    ASSERT_TRUE(settled(w));
    EXPECT_EQ(w.model->dateLabel(), row);
}

TEST(KeyboardTravel, StepsRollOverStopAtTheCalendarsEndAndEveryCommandHasItsOwnKeys) {
    Window w({{"AstronomyModel.year", 2000},
              {"AstronomyModel.monthIndex", 11},
              {"AstronomyModel.dayIndex", 29},
              {"AstronomyModel.hour", 23.75}});
    w.activate();
    QLabel* error = w.sidebar()->errorLabel();
    press(Qt::Key_Right, Qt::AltModifier);  // 15 minutes on is year 2001
    EXPECT_EQ(error->text(), "The calendar ends with year 2000: that step would go past it.");
    EXPECT_EQ(clockInputs(*w.model), (ClockInputs{2000, 11, 29, 23.75}));
    press(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(error->text(),
              "That moment falls after year 2000, the last year the calendar can show.");
    press(Qt::Key_PageDown, Qt::AltModifier | Qt::ShiftModifier);  // a month back
    ASSERT_TRUE(settled(w));
    EXPECT_TRUE(error->text().isEmpty());
    press(Qt::Key_PageDown, Qt::AltModifier | Qt::ControlModifier);  // a year back
    press(Qt::Key_PageUp, Qt::AltModifier | Qt::ShiftModifier);      // a month on
    EXPECT_EQ(clockInputs(*w.model), (ClockInputs{1999, 11, 29, 23.75}));
    press(Qt::Key_Right, Qt::AltModifier);  // and into the next year
    EXPECT_EQ(clockInputs(*w.model), (ClockInputs{2000, 0, 0, 0.0}));
    press(Qt::Key_PageUp, Qt::AltModifier);  // an hour on
    ASSERT_TRUE(settled(w));
    EXPECT_EQ(w.model->dateLabel(), "2000-01-01 01:00 OST");
    EXPECT_EQ(w.sidebar()->hourLabel()->text(), "01:00");

    // On a list, Alt+Down opens it and steps nothing.
    w.sidebar()->monthPicker()->setFocus();
    press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(w.model->dayIndex(), 0);
    press(Qt::Key_Escape);

    // No two commands share a key, and every kind can be gone to both ways.
    QSet<QKeySequence> keys;
    QSet<QAction*> commands;
    const std::function<void(const QList<QAction*>&)> collect = [&](const QList<QAction*>& list) {
        for (QAction* action : list) {
            if (action->menu() != nullptr) collect(action->menu()->actions());
            if (action->isSeparator() || action->menu() != nullptr || commands.contains(action))
                continue;
            commands.insert(action);
            for (const QKeySequence& key : action->shortcuts()) {
                EXPECT_FALSE(keys.contains(key)) << key.toString().toStdString();
                keys.insert(key);
            }
        }
    };
    collect(w.view->menuBar()->actions());
    const QList<QAction*> go = w.view->goMenu()->actions();
    for (const EventKind kind : kAllEventKinds) {
        for (QAction* action :
             {w.view->navigator()->nextAction(kind), w.view->navigator()->previousAction(kind)}) {
            EXPECT_TRUE(action->associatedObjects().size() >= 1) << action->text().toStdString();
        }
    }
    EXPECT_GE(commands.size(), 2 * 17 + 2 + 10);
    EXPECT_EQ(w.view->navigator()->nextAction(EventKind::sunset)->text(), "Next Sunset");
    EXPECT_EQ(go.size(), 10 + 1 + 2 + 1 + 10);
}

}  // namespace
}  // namespace morvane
