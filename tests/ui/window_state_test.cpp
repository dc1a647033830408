// The main window around its views: its size and what it remembers, its menus, automatic
// recalculation, and what it tells the user about exports and damaged data.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "ui/morvane_astro_app.h"
#include "ui/notice_bar.h"
#include "ui/ui_window.h"

namespace morvane {
namespace {

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

TEST(WindowState, SizeSplitterAndTabAreRememberedAcrossRuns) {
    std::map<QString, QVariant> remembered;
    {
        Window w;
        w.activate();
        w.view->resize(700, 500);  // the offscreen screen is 800 × 600
        w.view->splitter()->setSizes({290, 410});
        QTest::keyClick(w.view.get(), Qt::Key_4, Qt::ControlModifier);
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

TEST(WindowState, TheViewMenuChoosesOutputsByKeyboardAndMarksTheCurrentOne) {
    Window w;
    w.activate();
    for (OutputTab tab : kAllOutputTabs) {
        QTest::keyClick(w.view.get(), Qt::Key(Qt::Key_1 + int(tab)), Qt::ControlModifier);
        EXPECT_EQ(w.view->selectedTab(), tab);
        EXPECT_TRUE(w.view->tabAction(tab)->isChecked());
    }
    w.view->tabButton(OutputTab::horoscope)->click();
    EXPECT_TRUE(w.view->tabAction(OutputTab::horoscope)->isChecked());
    EXPECT_FALSE(w.view->tabAction(OutputTab::location)->isChecked());
}

TEST(WindowState, ChangesRecalculateOnTheirOwnAsOneCalculationPerBurst) {
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
}

TEST(WindowState, WithAutomaticRecalculationOffTheOutputsSayTheyAreOutOfDate) {
    Window w;
    w.showAndCalculate();
    w.view->autoRecalculateAction()->trigger();  // off
    EXPECT_EQ(w.viewSettings->values["MainWindow/autoRecalculate"], QVariant(false));
    w.model->setHour(18.0);
    QTest::qWait(kAutoPauseMs);
    EXPECT_EQ(w.model->dateLabel(), "720-01-01 12:00 OST");
    EXPECT_TRUE(w.view->staleBar()->isVisible());
    w.model->setHour(12.0);  // back where the results are: nothing is out of date
    EXPECT_FALSE(w.view->staleBar()->isVisible());
    w.model->setHour(18.0);
    w.view->staleBar()->actionButton()->click();  // "Calculate"
    ASSERT_TRUE(waitUntil([&] { return w.model->dateLabel() == "720-01-01 18:00 OST"; }));
    EXPECT_FALSE(w.view->staleBar()->isVisible());

    // The choice is remembered.
    Window again({}, w.viewSettings->values);
    EXPECT_FALSE(again.view->autoRecalculateAction()->isChecked());
    EXPECT_FALSE(again.view->autoRecalculator()->isEnabled());
}

TEST(WindowState, ASavedFileIsNamedWithAWayToItsFolder) {
    QTemporaryDir folder;
    Window w;
    w.showAndCalculate();
    w.chooser->answer = folder.filePath("map.svg");
    w.sidebar()->exportButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !w.view->exportStatus()->text().isEmpty(); }));
    EXPECT_TRUE(w.view->exportStatus()->text().contains(folder.filePath("map.svg")));
    EXPECT_FALSE(w.view->openFolderButton()->isHidden());
    EXPECT_TRUE(QFile::exists(folder.filePath("map.svg")));
}

TEST(WindowState, DamagedSavedPlacesAreReportedOnceInTheWindow) {
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
    EXPECT_TRUE(notice->text().contains("locations.json")) << notice->text().toStdString();
    EXPECT_EQ(app.mainWindow()->windowTitle(), "Morvanian Astrologer");

    // The next start finds a sound file and says nothing.
    MorvaneAstroApp next(fixture.makeModel());
    EXPECT_TRUE(next.mainWindow()->noticeBar()->isHidden());
}

TEST(WindowState, TheWindowTitleIsTheApplicationsTitleAlone) {
    // A display name set on the application is appended to every title by the platform.
    configureApplication();
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QGuiApplication::applicationName());
    EXPECT_EQ(QGuiApplication::desktopFileName(), "morvane-astro");
}

}  // namespace
}  // namespace morvane
