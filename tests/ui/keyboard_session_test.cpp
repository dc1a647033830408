// An evening of play without a mouse: every step is a key pressed where the focus is.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "engine/constants.h"
#include "ui/ui_window.h"

namespace morvane {
namespace {

using testing::waitUntil;
using testing::Window;

QWidget* focusOrWindow() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus : QApplication::activeWindow();
}

void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(focusOrWindow(), Qt::Key(key), modifiers);
}

void type(const QString& text) {
    for (const QChar c : text) QTest::keyClicks(focusOrWindow(), QString(c));
}

TEST(KeyboardSession, StartPlaceYearCalculateTabsPdfAndQuit) {
    QTemporaryDir folder;
    Window w;
    w.activate();  // start: the first calculation runs when the window shows

    // A place: Alt+A goes to Latitude, the typed value is calculated with Return.
    press(Qt::Key_A, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), w.sidebar()->latitudeField());
    press(Qt::Key_A, Qt::ControlModifier);
    type(QLocale().toString(42.5));
    press(Qt::Key_Return);
    EXPECT_EQ(w.model->manualLatDeg(), 42.5);

    // A year: Alt+M to Month, two Tabs to Year, typed over and confirmed. Not taken while
    // typing: 1, 15, 150 are no years anyone wants.
    press(Qt::Key_M, Qt::AltModifier);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w.sidebar()->yearSpin());
    type("1500");
    EXPECT_EQ(w.model->year(), 720);
    press(Qt::Key_Return);
    EXPECT_EQ(w.model->year(), 1500);

    // Calculate, wherever the focus is.
    press(Qt::Key_F5);
    ASSERT_TRUE(waitUntil([&] {
        return w.model->dateLabel() == "1500-01-01 12:00 OST" && !w.model->isCalculating();
    }));
    EXPECT_DOUBLE_EQ(w.model->latitude(), 42.5 * kPi / 180.0);

    // Outputs by Ctrl+number.
    press(Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(w.view->selectedTab(), OutputTab::horoscope);

    // A PDF of the horoscope.
    w.chooser->answer = folder.filePath("horoscope.pdf");
    press(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(folder.filePath("horoscope.pdf")).size() > 1000; },
                          30000));
    EXPECT_EQ(w.chooser->asked, 1);

    // Quit.
    QSignalSpy quit(w.view.get(), &MainView::quitRequested);
    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quit.count(), 1);
}

}  // namespace
}  // namespace morvane
