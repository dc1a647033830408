#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

#include "support/qt_wait.h"
#include "ui/location_sheets.h"
#include "ui/main_view.h"
#include "ui/sidebar_view.h"
#include "ui/ui_window.h"
#include "ui/widgets.h"

namespace morvane {
namespace {

using testing::waitUntil;
using testing::Window;

TEST(MainWindow, LayoutFirstCalculationAndExportsThatFollowTheTab) {
    Window w;
    // Nothing is calculated before the window shows: nothing to export, and the tooltip says so.
    EXPECT_TRUE(w.model->dateLabel().isEmpty());
    EXPECT_FALSE(w.sidebar()->exportButton()->isEnabled());
    EXPECT_FALSE(w.view->exportPdfAction()->isEnabled());
    EXPECT_TRUE(w.sidebar()->exportPdfButton()->toolTip().contains("calculate first"));
    w.showAndCalculate();
    EXPECT_EQ(w.model->dateLabel(), "720-01-01 12:00 OST");
    EXPECT_TRUE(w.view->exportPdfAction()->isEnabled());
    EXPECT_FALSE(w.view->splitter()->childrenCollapsible());
    EXPECT_GE(w.sidebar()->width(), 240);
    EXPECT_LE(w.sidebar()->width(), 300);
    for (OutputTab tab : kAllOutputTabs) {
        // "&" is doubled so that "Sun & Moon" shows its ampersand rather than a mnemonic.
        EXPECT_EQ(w.view->tabButton(tab)->text().replace("&&", "&"), tabExport(tab).title);
    }

    EXPECT_EQ(w.sidebar()->exportButton()->text(), "Export SVG");
    w.view->selectTab(OutputTab::positions);
    EXPECT_EQ(w.sidebar()->exportButton()->text(), "Export TXT");
    EXPECT_TRUE(w.sidebar()->exportPdfButton()->isEnabled());
    w.sidebar()->exportButton()->click();
    EXPECT_EQ(w.chooser->asked, 1);
    QTest::mouseClick(w.sidebar()->pickFromMapButton(), Qt::LeftButton);
    EXPECT_EQ(w.view->selectedTab(), OutputTab::location);
    EXPECT_EQ(w.sidebar()->exportButton()->text(), "Export");
    EXPECT_FALSE(w.sidebar()->exportButton()->isEnabled());
    EXPECT_FALSE(w.sidebar()->exportPdfButton()->isEnabled());
    EXPECT_EQ(w.sidebar()->exportPdfButton()->text(), "Export PDF");
}

TEST(Sidebar, ManualRowsAndSavedRowSwapAndHemispheresReachTheModel) {
    Window w;
    EXPECT_FALSE(w.sidebar()->manualRows()->isHidden());
    EXPECT_TRUE(w.sidebar()->savedRow()->isHidden());
    EXPECT_EQ(w.sidebar()->locationPicker()->currentText(), "Manual");
    QTest::mouseClick(w.sidebar()->northSouth()->secondButton(), Qt::LeftButton);
    EXPECT_FALSE(w.model->latNorth());
    QTest::mouseClick(w.sidebar()->westEast()->secondButton(), Qt::LeftButton);
    EXPECT_FALSE(w.model->longWest());

    w.selectCity("Goris");
    EXPECT_TRUE(w.sidebar()->manualRows()->isHidden());
    EXPECT_FALSE(w.sidebar()->savedRow()->isHidden());
    EXPECT_EQ(w.sidebar()->locationPicker()->currentText(), "Goris");
    EXPECT_EQ(w.sidebar()->coordinatesLabel()->text(), "21.00° N   5.10° E");
    EXPECT_EQ(coordinatesText(-0.5, -0.3647738136668149), "28.65° S   20.90° W");
    EXPECT_EQ(coordinatesText(0.7068583470577035, 0.0), "40.50° N   0.00° E");

    // Choosing "Manual" in the picker shows the editable fields again.
    w.sidebar()->locationPicker()->setCurrentIndex(0);
    emit w.sidebar()->locationPicker()->activated(0);
    EXPECT_EQ(w.model->selectedCityID(), manualCityID());
    EXPECT_FALSE(w.sidebar()->manualRows()->isHidden());
}

TEST(LocationSheetsInTheWindow, SaveRefusesBlankAndTakenNamesAndDeleteFallsBackToManual) {
    Window w;
    QTest::mouseClick(w.sidebar()->saveAsButton(), Qt::LeftButton);
    auto* sheet = qobject_cast<SaveLocationSheet*>(w.lastSheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->nameField()->text().isEmpty());
    EXPECT_TRUE(sheet->isModal());

    QTest::keyClicks(sheet->nameField(), "   ");
    EXPECT_FALSE(sheet->saveButton()->isEnabled());
    QTest::keyClick(sheet->nameField(), Qt::Key_Return);  // Return still asks the model
    EXPECT_EQ(sheet->errorLabel()->text(), "Please enter a name.");
    EXPECT_TRUE(sheet->isVisible());

    sheet->nameField()->setText(" goris ");
    EXPECT_TRUE(sheet->saveButton()->isEnabled());
    QTest::mouseClick(sheet->saveButton(), Qt::LeftButton);
    EXPECT_EQ(sheet->errorLabel()->text(), "\"goris\" already exists.");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->nameField()->text(), " goris ");  // the typed name stays

    sheet->nameField()->setText("<b>x</b>");
    QTest::keyClick(sheet->nameField(), Qt::Key_Return);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(w.sidebar()->locationPicker()->currentText(), "<b>x</b>");
    EXPECT_FALSE(w.sidebar()->savedRow()->isHidden());

    // Names are plain text: markup in them is shown as typed.
    QTest::mouseClick(w.sidebar()->deleteButton(), Qt::LeftButton);
    auto* remove = qobject_cast<DeleteLocationSheet*>(w.lastSheet);
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(remove->question()->text(), "Delete location \"<b>x</b>\"?");
    EXPECT_EQ(remove->question()->textFormat(), Qt::PlainText);
    ASSERT_TRUE(remove->deleteButton()->isDefault());
    ASSERT_TRUE(remove->isVisible());
    QTest::keyClick(remove, Qt::Key_Return);  // Delete is the default
    EXPECT_EQ(w.model->selectedCityID(), manualCityID());
    EXPECT_EQ(w.sidebar()->locationPicker()->currentText(), "Manual");
    EXPECT_EQ(w.sidebar()->locationPicker()->findText("<b>x</b>"), -1);

    // Opened again, the save sheet starts empty; Escape cancels.
    QTest::mouseClick(w.sidebar()->saveAsButton(), Qt::LeftButton);
    auto* again = qobject_cast<SaveLocationSheet*>(w.lastSheet);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->nameField()->text().isEmpty());
    EXPECT_TRUE(again->errorLabel()->isHidden());
    QTest::keyClick(again, Qt::Key_Escape);
    EXPECT_FALSE(again->isVisible());
}

TEST(Sidebar, SteppersAndSliderStopAtTheirBounds) {
    Window w;
    QSpinBox* day = w.sidebar()->daySpin();
    EXPECT_EQ(day->text(), "Day 1");
    for (int i = 0; i < 40; ++i) day->stepUp();
    EXPECT_EQ(w.model->dayIndex(), 29);
    EXPECT_EQ(day->text(), "Day 30");
    day->stepDown();
    EXPECT_EQ(w.model->dayIndex(), 28);

    QSpinBox* year = w.sidebar()->yearSpin();
    w.model->setYear(1999);
    year->stepBy(2);
    EXPECT_EQ(w.model->year(), 2000);
    w.model->setYear(2);
    year->stepBy(-2);
    EXPECT_EQ(w.model->year(), 1);

    Stepper* hour = w.sidebar()->hourStepper();
    w.model->setHour(23.5);
    hour->upButton()->click();
    hour->upButton()->click();
    EXPECT_EQ(w.model->hour(), 23.75);
    EXPECT_EQ(w.sidebar()->hourLabel()->text(), "23:45");
    QSlider* slider = w.sidebar()->hourSlider();
    EXPECT_EQ(slider->value(), slider->maximum());
    slider->setValue(0);
    EXPECT_EQ(w.model->hour(), 0.0);
    hour->downButton()->click();
    EXPECT_EQ(w.model->hour(), 0.0);
    EXPECT_EQ(w.sidebar()->hourLabel()->text(), "00:00");
    slider->setValue(49);
    EXPECT_EQ(w.model->hour(), 12.25);
    EXPECT_EQ(w.sidebar()->hourLabel()->text(), "12:15");

    w.sidebar()->localTimeSwitch()->click();
    EXPECT_TRUE(w.model->useLocalTime());
}

TEST(Sidebar, CalculateShowsItsBusyStateAndErrors) {
    Window w;
    w.showAndCalculate();
    QPushButton* calculate = w.sidebar()->calculateButton();
    EXPECT_EQ(calculate->text(), "Calculate");
    EXPECT_TRUE(calculate->isEnabled());

    bool sawBusy = false;
    QObject::connect(w.model.get(), &AstronomyModel::isCalculatingChanged, calculate, [&] {
        if (w.model->isCalculating()) {
            sawBusy = !calculate->isEnabled() && calculate->text().isEmpty() &&
                      !w.sidebar()->busyLabel()->isHidden() &&
                      w.sidebar()->busyLabel()->text() == "Calculating…";
        }
    });
    calculate->click();
    ASSERT_TRUE(waitUntil([&] { return !w.model->isCalculating(); }));
    EXPECT_TRUE(sawBusy);
    EXPECT_TRUE(calculate->isEnabled());
    EXPECT_EQ(calculate->text(), "Calculate");
    EXPECT_TRUE(w.sidebar()->errorLabel()->isHidden());

    w.model->setHour(1e300);  // a value no sidebar control makes
    calculate->click();
    EXPECT_FALSE(w.sidebar()->errorLabel()->isHidden());
    EXPECT_TRUE(w.sidebar()->errorLabel()->text().contains("hour"));
}

}  // namespace
}  // namespace morvane
