#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "model/model_fixture.h"
#include "support/qt_wait.h"
#include "ui/detailed_view.h"
#include "ui/location_sheets.h"
#include "ui/notice_bar.h"
#include "ui/output_views.h"
#include "ui/readability.h"
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
    EXPECT_DOUBLE_EQ(contrastRatio(Qt::white, Qt::black), 21.0);
    EXPECT_NEAR(contrastRatio(QColor(0x76, 0x76, 0x76), Qt::white), 4.54, 0.01);
    // Half-transparent black on white is the grey it shows.
    EXPECT_NEAR(contrastRatio(QColor(0, 0, 0, 128), Qt::white),
                contrastRatio(QColor(0x7f, 0x7f, 0x7f), Qt::white), 0.05);

    // Lifted just enough: a pale grey on white darkens to the edge, a readable colour stays.
    EXPECT_NEAR(contrastRatio(withContrast(QColor(0xcc, 0xcc, 0xcc), Qt::white), Qt::white), 4.55,
                0.05);
    EXPECT_EQ(withContrast(Qt::black, Qt::white), QColor(Qt::black));

    // Both reach 4.5:1 on the window, so the error red is dark on light and light on dark.
    for (const QPalette& palette : {lightPalette(), darkPalette()}) {
        const QColor window = palette.color(QPalette::Window);
        const QColor secondary = secondaryTextColor(palette);
        const QColor error = errorTextColor(palette);
        EXPECT_GE(contrastRatio(secondary, window), 4.5);
        EXPECT_GE(contrastRatio(error, window), 4.5);
        // Muted: closer to the window than the ordinary text is.
        EXPECT_LT(contrastRatio(secondary, window),
                  contrastRatio(palette.color(QPalette::WindowText), window));
        // Red, clearly coloured.
        EXPECT_TRUE(error.hslHue() <= 10 || error.hslHue() >= 350) << error.name().toStdString();
        EXPECT_GT(error.hslSaturation(), 128) << error.name().toStdString();
    }
}

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

TEST(Readability, TheCheckCatchesFaintTextAndTheViewsOwnBackdrop) {
    QWidget window;
    auto* faint = new QLabel(QStringLiteral("faint"), &window);
    faint->setObjectName(QStringLiteral("faintLabel"));
    setColour(faint, QPalette::WindowText, faint->palette().color(QPalette::Window).darker(115));
    EXPECT_NONFATAL_FAILURE(expectReadable(&window), "faintLabel");

    // Text readable on the window, on a panel that fills its own dark background, counts
    // against that panel.
    auto* panel = new QWidget(&window);
    panel->setAutoFillBackground(true);
    setColour(panel, QPalette::Window, Qt::black);
    auto* onPanel = new QLabel(QStringLiteral("black on black"), panel);
    onPanel->setObjectName(QStringLiteral("onPanel"));
    setColour(onPanel, QPalette::WindowText, Qt::black);
    faint->hide();  // hidden text is not checked
    EXPECT_NONFATAL_FAILURE(expectReadable(&window), "onPanel");
}

// Every output view of the model, made and checked in the palette in force. Ends on the sun
// and moon tables, whose captions and choice take colours computed from the palette.
void expectEveryViewReadable(DetailedView& detail) {
    for (OutputTab tab : {OutputTab::starMap, OutputTab::horoscope, OutputTab::planets,
                          OutputTab::positions, OutputTab::events, OutputTab::sunMoon}) {
        SCOPED_TRACE(static_cast<int>(tab));
        detail.setTab(tab);
        QCoreApplication::processEvents();  // a view added to a shown window shows later
        if (auto* chart = qobject_cast<ChartView*>(detail.currentView())) {
            // No text of its own: the charts keep the page their ink is drawn for.
            EXPECT_TRUE(chart->autoFillBackground());
            EXPECT_EQ(chart->palette().color(chart->backgroundRole()), chartPageColor());
            continue;
        }
        expectReadable(&detail);
        if (auto* choice = detail.currentView()->findChild<SegmentedChoice*>()) {
            choice->secondButton()->click();  // the other segment chosen
            expectReadable(&detail);
        }
    }
}

TEST(Readability, OutputViewsEmptyAndCalculatedInLightAndDarkPalettesAndAfterASwitch) {
    testing::ModelFixture fixture;
    auto model = fixture.makeModel();
    ApplicationPalette light(lightPalette());
    DetailedView detail(model.get());
    detail.resize(900, 600);
    detail.show();
    {
        ApplicationPalette dark(darkPalette());
        expectEveryViewReadable(detail);  // before the first calculation: the empty states
    }
    model->calculate();
    ASSERT_TRUE(waitUntil([&] { return !model->isCalculating() && !model->positions().empty(); }));
    expectEveryViewReadable(detail);
    {
        ApplicationPalette dark(darkPalette());
        expectReadable(&detail);  // made in the light palette, shown in the dark one
        expectEveryViewReadable(detail);
    }
    expectReadable(&detail);  // and back
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
    QLineEdit* latitude = w.sidebar()->latitudeField();
    latitude->setFocus();
    latitude->selectAll();
    QTest::keyClicks(latitude, "abc");
    w.sidebar()->calculateButton()->click();  // refused, with the reason in the error line
    ASSERT_TRUE(w.sidebar()->errorLabel()->isVisible());
    expectReadable(w.view.get());
    w.view->selectTab(OutputTab::location);  // the map's captions: zoom level and hint
    QCoreApplication::processEvents();
    expectReadable(w.view.get());

    // The save sheet's error line, in its own window.
    w.selectCity("Goris");
    w.model->setSelectedCityID(manualCityID());
    latitude->selectAll();
    QTest::keyClicks(latitude, "40");  // a valid place again, so the sheet opens
    w.sidebar()->saveAsButton()->click();
    auto* sheet = qobject_cast<SaveLocationSheet*>(w.lastSheet);
    ASSERT_NE(sheet, nullptr);
    sheet->nameField()->setText(QStringLiteral("Goris"));
    sheet->saveButton()->click();  // "Goris" already exists
    expectReadable(sheet);
}

}  // namespace
}  // namespace morvane
