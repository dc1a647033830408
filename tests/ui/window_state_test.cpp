// The main window around its views: its size and what it remembers, its menus, automatic
// recalculation, and what it tells the user about damaged data.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

#include "ui/morvane_astro_app.h"
#include "ui/notice_bar.h"
#include "ui/ui_window.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using testing::kAutoPauseMs;
using testing::waitUntil;
using testing::Window;

TEST(WindowState, TheFirstSizeFitsTheScreen) {
    EXPECT_EQ(initialWindowSize(QRect(0, 0, 1600, 1000)), QSize(1180, 780));
    const QSize small = initialWindowSize(QRect(0, 27, 1366, 741));  // 1366 × 768 less a panel
    EXPECT_LE(small.width(), 1366);
    EXPECT_LE(small.height() + 40, 741);                             // room for the title bar
    const QSize doubled = initialWindowSize(QRect(0, 0, 800, 500));  // 1600 × 1000 at 2×
    EXPECT_LE(doubled.height() + 40, 500);
    EXPECT_LE(doubled.width(), 800);
}

TEST(WindowState, TheViewMenuChoosesOutputsAndSizeSplitterAndTabAreRememberedAcrossRuns) {
    std::map<QString, QVariant> remembered;
    {
        Window w;
        w.activate();
        w.view->tabButton(OutputTab::horoscope)->click();  // the menu follows the buttons
        EXPECT_TRUE(w.view->tabAction(OutputTab::horoscope)->isChecked());
        QTest::keyClick(w.view.get(), Qt::Key_4, Qt::ControlModifier);
        EXPECT_FALSE(w.view->tabAction(OutputTab::horoscope)->isChecked());
        w.view->resize(700, 500);  // the offscreen screen is 800 × 600
        w.view->splitter()->setSizes({290, 410});
        w.view->close();
        remembered = w.viewSettings->values;
    }
    Window again({}, remembered);
    EXPECT_EQ(again.view->selectedTab(), OutputTab::sunMoon);
    EXPECT_TRUE(again.view->tabAction(OutputTab::sunMoon)->isChecked());
    EXPECT_EQ(again.view->size(), QSize(700, 500));
    again.view->show();
    EXPECT_EQ(again.view->splitter()->sizes().value(0), 290);

    // Damaged view state is ignored, not trusted.
    Window damaged({}, {{"MainWindow/geometry", "%%%"}, {"MainWindow/tab", "Nowhere"}});
    EXPECT_EQ(damaged.view->selectedTab(), OutputTab::starMap);
}

TEST(WindowState, ChangesRecalculateOnTheirOwnOncePerBurstUnlessSwitchedOff) {
    Window w;
    w.showAndCalculate();
    int started = 0;
    QObject::connect(w.model.get(), &AstronomyModel::isCalculatingChanged, w.view.get(),
                     [&] { started += w.model->isCalculating() ? 1 : 0; });
    for (int quarter = 1; quarter <= 8; ++quarter) w.model->setHour(12.0 + quarter * 0.25);
    w.model->setYear(721);
    ASSERT_TRUE(waitUntil([&] { return w.model->dateLabel() == "721-01-01 14:00 OST"; }));
    QTest::qWait(kAutoPauseMs);
    EXPECT_EQ(started, 1);
    EXPECT_FALSE(w.view->staleBar()->isVisible());

    // A change while a calculation runs is calculated right after it.
    w.model->calculate();
    ASSERT_TRUE(w.model->isCalculating());
    w.model->setHour(6.0);
    ASSERT_TRUE(waitUntil([&] { return w.model->dateLabel() == "721-01-01 06:00 OST"; }));

    // Switched off, the outputs say when they are out of date, and the choice is remembered.
    w.view->autoRecalculateAction()->trigger();
    w.model->setHour(18.0);
    QTest::qWait(kAutoPauseMs);
    EXPECT_EQ(w.model->dateLabel(), "721-01-01 06:00 OST");
    EXPECT_TRUE(w.view->staleBar()->isVisible());
    w.model->setHour(6.0);  // back where the results are: nothing is out of date
    EXPECT_FALSE(w.view->staleBar()->isVisible());
    w.model->setHour(18.0);
    w.view->staleBar()->actionButton()->click();  // "Calculate"
    ASSERT_TRUE(waitUntil([&] { return w.model->dateLabel() == "721-01-01 18:00 OST"; }));
    EXPECT_FALSE(w.view->staleBar()->isVisible());

    Window again({}, w.viewSettings->values);
    EXPECT_FALSE(again.view->autoRecalculateAction()->isChecked());
    EXPECT_FALSE(again.view->autoRecalculator()->isEnabled());
}

TEST(WindowState, DamagedSavedPlacesAreReportedOnceAndTheTitleIsTheApplicationsAlone) {
    QStandardPaths::setTestModeEnabled(true);  // the app's own view settings stay out of $HOME
    testing::ModelFixture fixture;
    {
        QFile damaged(fixture.locationsPath());
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("[{\"id\": 3");
    }
    MorvaneAstroApp app(fixture.makeModel());
    NoticeBar* notice = app.mainWindow()->noticeBar();
    EXPECT_FALSE(notice->isHidden());
    EXPECT_THAT(notice->text().toStdString(), HasSubstr("locations.json"));

    // The next start finds a sound file and says nothing.
    MorvaneAstroApp next(fixture.makeModel());
    EXPECT_TRUE(next.mainWindow()->noticeBar()->isHidden());

    // A display name set on the application is appended to every title by the platform.
    configureApplication();
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
    EXPECT_EQ(QGuiApplication::desktopFileName(), "morvane-astro");
}

}  // namespace
}  // namespace morvane
