#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "model/model_fixture.h"
#include "support/qt_wait.h"
#include "ui/detailed_view.h"
#include "ui/output_views.h"
#include "ui/readability.h"
#include "ui/notice_bar.h"
#include "ui/ui_window.h"
#include "ui/widgets.h"

namespace morvane {
namespace {

using testing::ApplicationPalette;
using testing::darkPalette;
using testing::expectReadable;
using testing::lightPalette;
using testing::waitUntil;

TEST(Contrast, RatiosAndTheColoursDerivedFromAPalette) {
    EXPECT_DOUBLE_EQ(contrastRatio(Qt::black, Qt::white), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(Qt::white, Qt::black), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(QColor(0x77, 0x77, 0x77), QColor(0x77, 0x77, 0x77)), 1.0);
    EXPECT_NEAR(contrastRatio(QColor(0x76, 0x76, 0x76), Qt::white), 4.54, 0.01);
    // Half-transparent black on white is the grey it shows.
    EXPECT_NEAR(contrastRatio(QColor(0, 0, 0, 128), Qt::white),
                contrastRatio(QColor(0x7f, 0x7f, 0x7f), Qt::white), 0.05);

    // Lifted just enough: a pale grey on white darkens to the edge, a readable colour stays.
    const QColor lifted = withContrast(QColor(0xcc, 0xcc, 0xcc), Qt::white);
    EXPECT_GE(contrastRatio(lifted, Qt::white), 4.5);
    EXPECT_LT(contrastRatio(lifted, Qt::white), 4.6);
    EXPECT_EQ(withContrast(Qt::black, Qt::white), QColor(Qt::black));
    EXPECT_GE(contrastRatio(withContrast(QColor(0x40, 0x40, 0x40), Qt::black), Qt::black), 4.5);

    for (const QPalette& palette : {lightPalette(), darkPalette()}) {
        const QColor window = palette.color(QPalette::Window);
        const QColor secondary = secondaryTextColor(palette);
        const QColor error = errorTextColor(palette);
        EXPECT_GE(contrastRatio(secondary, window), 4.5);
        EXPECT_GE(contrastRatio(error, window), 4.5);
        // Muted: closer to the window than the ordinary text is.
        EXPECT_LT(contrastRatio(secondary, window),
                  contrastRatio(palette.color(QPalette::WindowText), window));
        const int hue = error.hslHue();  // red, clearly coloured
        EXPECT_TRUE(hue <= 10 || hue >= 350) << error.name().toStdString();
        EXPECT_GT(error.hslSaturation(), 128) << error.name().toStdString();
    }
    EXPECT_LT(errorTextColor(lightPalette()).lightness(), 128);  // dark red on light
    EXPECT_GT(errorTextColor(darkPalette()).lightness(), 128);   // light red on dark
}

TEST(Readability, TheCheckCatchesFaintTextAndTheViewsOwnBackdrop) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* faint = new QLabel(QStringLiteral("faint"), &window);
    faint->setObjectName(QStringLiteral("faintLabel"));
    QPalette colours = faint->palette();
    colours.setColor(QPalette::WindowText, colours.color(QPalette::Window).darker(115));
    faint->setPalette(colours);
    layout->addWidget(faint);
    EXPECT_NONFATAL_FAILURE(expectReadable(&window), "faintLabel");

    // Readable text on a panel that fills its own dark background counts against that panel.
    auto* panel = new QWidget(&window);
    panel->setAutoFillBackground(true);
    QPalette dark = panel->palette();
    dark.setColor(QPalette::Window, Qt::black);
    panel->setPalette(dark);
    auto* onPanel = new QLabel(QStringLiteral("black on black"), panel);
    QPalette black = onPanel->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    onPanel->setPalette(black);
    onPanel->setObjectName(QStringLiteral("onPanel"));
    layout->addWidget(panel);
    faint->hide();  // hidden text is not checked
    EXPECT_NONFATAL_FAILURE(expectReadable(&window), "onPanel");
}

// Every output view of a calculated model, checked in the palette in force.
void expectEveryViewReadable(DetailedView& detail) {
    for (OutputTab tab : {OutputTab::starMap, OutputTab::horoscope, OutputTab::planets,
                          OutputTab::sunMoon, OutputTab::positions}) {
        SCOPED_TRACE(static_cast<int>(tab));
        detail.setTab(tab);
        QCoreApplication::processEvents();
        if (auto* chart = qobject_cast<ChartView*>(detail.currentView())) {
            // No text of its own: the charts keep the page their ink is drawn for.
            EXPECT_TRUE(chart->autoFillBackground());
            EXPECT_EQ(chart->palette().color(chart->backgroundRole()), chartPageColor());
            EXPECT_EQ(chartPageColor(), QColor(Qt::white));
            continue;
        }
        expectReadable(&detail);
        if (auto* tables = qobject_cast<TablesView*>(detail.currentView())) {
            tables->choice()->secondButton()->click();  // the other segment chosen
            expectReadable(&detail);
        }
    }
}

TEST(Readability, OutputViewsInLightAndDarkPalettesAndAfterASwitch) {
    testing::ModelFixture fixture;
    auto model = fixture.makeModel();
    model->calculate();
    ASSERT_TRUE(waitUntil([&] { return !model->isCalculating() && !model->positions().empty(); }));
    for (const QPalette& palette : {lightPalette(), darkPalette()}) {
        ApplicationPalette scope(palette);
        DetailedView detail(model.get());
        detail.resize(900, 600);
        detail.show();
        expectEveryViewReadable(detail);
    }
    // Made in one palette, shown in another: the views follow the change.
    ApplicationPalette light(lightPalette());
    DetailedView detail(model.get());
    detail.resize(900, 600);
    detail.show();
    detail.setTab(OutputTab::sunMoon);
    QCoreApplication::processEvents();
    {
        ApplicationPalette dark(darkPalette());
        expectReadable(&detail);
        detail.setTab(OutputTab::planets);
        QCoreApplication::processEvents();  // a view added to a shown window shows later
        expectReadable(&detail);
    }
    expectReadable(&detail);
}

TEST(Readability, EmptyStatesInADarkPalette) {
    ApplicationPalette dark(darkPalette());
    testing::ModelFixture fixture;
    auto model = fixture.makeModel();  // never calculated: every view shows its empty state
    DetailedView detail(model.get());
    detail.resize(700, 500);
    detail.show();
    for (OutputTab tab : {OutputTab::planets, OutputTab::sunMoon, OutputTab::positions}) {
        detail.setTab(tab);
        QCoreApplication::processEvents();
        expectReadable(&detail);
    }
    auto* positions = qobject_cast<PositionsView*>(detail.currentView());
    ASSERT_NE(positions, nullptr);
    EXPECT_TRUE(positions->textView()->showsPlaceholder());
}

TEST(Readability, TheWholeWindowInADarkPaletteIncludingWhatItSaysAboutErrors) {
    ApplicationPalette dark(darkPalette());
    testing::Window w;
    w.showAndCalculate();
    w.view->showNotice(QStringLiteral("The saved locations file was damaged."));
    w.view->autoRecalculateAction()->trigger();  // off, so the outputs may say they are stale
    w.model->setHour(18.0);
    QCoreApplication::processEvents();
    ASSERT_TRUE(w.view->staleBar()->isVisible());
    w.sidebar()->latitudeField()->setFocus();
    w.sidebar()->latitudeField()->selectAll();
    QTest::keyClicks(w.sidebar()->latitudeField(), "abc");
    w.sidebar()->calculateButton()->click();  // refused, with the reason in the error line
    ASSERT_TRUE(w.sidebar()->errorLabel()->isVisible());
    expectReadable(w.view.get());
    w.view->selectTab(OutputTab::positions);
    QCoreApplication::processEvents();
    expectReadable(w.view.get());
}

}  // namespace
}  // namespace morvane
