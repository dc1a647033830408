#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "export/export_controller.h"
#include "support/qt_wait.h"
#include "ui/ui_window.h"
#include "ui/about_window.h"
#include "ui/app_information.h"
#include "ui/detailed_view.h"
#include "ui/location_sheets.h"
#include "ui/main_view.h"
#include "ui/map_location_picker.h"
#include "ui/output_views.h"
#include "ui/sidebar_view.h"
#include "ui/widgets.h"

namespace morvane {
namespace {

using testing::waitUntil;
using testing::Window;

TEST(MainWindow, LayoutTitleAndFirstCalculation) {
    Window w;
    EXPECT_EQ(w.view->windowTitle(), "Morvanian Astrologer");
    EXPECT_TRUE(w.model->dateLabel().isEmpty());  // nothing before the window is shown
    w.showAndCalculate();
    EXPECT_EQ(w.model->dateLabel(), "720-01-01 12:00 OST");
    EXPECT_FALSE(w.view->splitter()->childrenCollapsible());
    EXPECT_GE(w.sidebar()->width(), 240);
    EXPECT_LE(w.sidebar()->width(), 300);
    for (OutputTab tab : kAllOutputTabs) {
        // "&" is doubled so that "Sun & Moon" shows its ampersand rather than a mnemonic.
        EXPECT_EQ(w.view->tabButton(tab)->text().replace("&&", "&"), tabExport(tab).title);
    }
}

TEST(Sidebar, ManualRowsAndSavedRowSwap) {
    Window w;
    EXPECT_FALSE(w.sidebar()->manualRows()->isHidden());
    EXPECT_TRUE(w.sidebar()->savedRow()->isHidden());
    EXPECT_EQ(w.sidebar()->locationPicker()->currentText(), "Manual");

    w.selectCity("Goris");
    EXPECT_TRUE(w.sidebar()->manualRows()->isHidden());
    EXPECT_FALSE(w.sidebar()->savedRow()->isHidden());
    EXPECT_EQ(w.sidebar()->locationPicker()->currentText(), "Goris");
    EXPECT_EQ(w.sidebar()->coordinatesLabel()->text(), "21.00° N   5.10° E");

    // Choosing "Manual" in the picker shows the editable fields again.
    w.sidebar()->locationPicker()->setCurrentIndex(0);
    emit w.sidebar()->locationPicker()->activated(0);
    EXPECT_EQ(w.model->selectedCityID(), manualCityID());
    EXPECT_FALSE(w.sidebar()->manualRows()->isHidden());
}

TEST(Sidebar, CoordinatesTextOfASavedLocation) {
    EXPECT_EQ(coordinatesText(-0.5, -0.3647738136668149), "28.65° S   20.90° W");
    EXPECT_EQ(coordinatesText(0.7068583470577035, 0.0), "40.50° N   0.00° E");
    EXPECT_EQ(clockText(12.25), "12:15");
    EXPECT_EQ(clockText(0.0), "00:00");
}

TEST(Sidebar, TypedCoordinatesAndHemispheresReachTheModel) {
    Window w;
    QLineEdit* latitude = w.sidebar()->latitudeField();
    latitude->selectAll();
    QTest::keyClicks(latitude, QLocale().toString(12.5));
    emit latitude->editingFinished();
    EXPECT_EQ(w.model->manualLatDeg(), 12.5);
    QTest::mouseClick(w.sidebar()->northSouth()->secondButton(), Qt::LeftButton);
    EXPECT_FALSE(w.model->latNorth());
    QTest::mouseClick(w.sidebar()->westEast()->secondButton(), Qt::LeftButton);
    EXPECT_FALSE(w.model->longWest());
    latitude->selectAll();
    QTest::keyClicks(latitude, "not a number");
    emit latitude->editingFinished();
    EXPECT_EQ(w.model->manualLatDeg(), 12.5);
}

TEST(SaveSheet, BlankNamesAndDuplicates) {
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

    sheet->nameField()->setText("Camp");
    QTest::keyClick(sheet->nameField(), Qt::Key_Return);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(w.sidebar()->locationPicker()->currentText(), "Camp");
    EXPECT_FALSE(w.sidebar()->savedRow()->isHidden());

    // Opening it again starts empty; Escape cancels.
    w.model->setSelectedCityID(manualCityID());
    QTest::mouseClick(w.sidebar()->saveAsButton(), Qt::LeftButton);
    auto* again = qobject_cast<SaveLocationSheet*>(w.lastSheet);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->nameField()->text().isEmpty());
    EXPECT_TRUE(again->errorLabel()->isHidden());
    QTest::keyClick(again, Qt::Key_Escape);
    EXPECT_FALSE(again->isVisible());
}

TEST(DeleteSheet, DeletingSelectsManualAndNamesArePlainText) {
    Window w;
    w.model->setManualLatDeg(10);
    ASSERT_TRUE(std::holds_alternative<QUuid>(w.model->saveLocation("<b>x</b>")));
    w.selectCity("<b>x</b>");
    EXPECT_EQ(w.sidebar()->locationPicker()->currentText(), "<b>x</b>");
    QTest::mouseClick(w.sidebar()->deleteButton(), Qt::LeftButton);
    auto* sheet = qobject_cast<DeleteLocationSheet*>(w.lastSheet);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->question()->text(), "Delete location \"<b>x</b>\"?");
    EXPECT_EQ(sheet->question()->textFormat(), Qt::PlainText);

    ASSERT_TRUE(sheet->deleteButton()->isDefault());
    ASSERT_TRUE(sheet->isVisible());
    QTest::keyClick(sheet, Qt::Key_Return);  // Delete is the default
    EXPECT_EQ(w.model->selectedCityID(), manualCityID());
    EXPECT_EQ(w.sidebar()->locationPicker()->currentText(), "Manual");
    EXPECT_EQ(w.sidebar()->locationPicker()->findText("<b>x</b>"), -1);
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
    EXPECT_EQ(year->text(), "Year 1999");
    year->stepUp();
    year->stepUp();
    EXPECT_EQ(w.model->year(), 2000);
    w.model->setYear(2);
    year->stepDown();
    year->stepDown();
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
    w.sidebar()->monthPicker()->setCurrentIndex(4);
    emit w.sidebar()->monthPicker()->activated(4);
    EXPECT_EQ(w.model->monthIndex(), 4);
}

TEST(Sidebar, ExportButtonsFollowTheTab) {
    Window w;
    // Nothing to export before the first calculation, and the tooltip says so.
    EXPECT_FALSE(w.sidebar()->exportButton()->isEnabled());
    EXPECT_FALSE(w.view->exportPdfAction()->isEnabled());
    EXPECT_TRUE(w.sidebar()->exportPdfButton()->toolTip().contains("calculate first"));
    w.showAndCalculate();
    EXPECT_TRUE(w.view->exportPdfAction()->isEnabled());
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

TEST(Sidebar, CalculateShowsItsBusyStateAndErrors) {
    Window w;
    w.view->show();
    ASSERT_TRUE(waitUntil([&] { return !w.model->isCalculating() && !w.model->dateLabel().isEmpty(); }));
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

TEST(OutputViews, EmptyStatesBeforeTheFirstCalculation) {
    Window w;  // never shown: no calculation
    w.view->selectTab(OutputTab::planets);
    auto* planets = qobject_cast<PlanetsView*>(w.view->detail()->currentView());
    ASSERT_NE(planets, nullptr);
    EXPECT_TRUE(planets->showsEmptyState());

    w.view->selectTab(OutputTab::sunMoon);
    auto* tables = qobject_cast<TablesView*>(w.view->detail()->currentView());
    ASSERT_NE(tables, nullptr);
    EXPECT_TRUE(tables->textView()->showsPlaceholder());
    EXPECT_EQ(tables->textView()->placeholderLabel()->text(), "No table data");
    EXPECT_EQ(tables->nextFullMoonLabel()->text(), "—");
    EXPECT_EQ(tables->nextNewMoonLabel()->text(), "—");

    w.view->selectTab(OutputTab::positions);
    auto* positions = qobject_cast<PositionsView*>(w.view->detail()->currentView());
    ASSERT_NE(positions, nullptr);
    EXPECT_EQ(positions->textView()->placeholderLabel()->text(), "No conjunction data");
    EXPECT_TRUE(positions->textView()->showsPlaceholder());

    w.view->selectTab(OutputTab::starMap);
    auto* chart = qobject_cast<ChartView*>(w.view->detail()->currentView());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->svgView()->page(), svgViewPage(""));
}

TEST(OutputViews, EveryTabShowsTheOutputsAfterACalculation) {
    Window w;
    w.showAndCalculate();
    auto* chart = qobject_cast<ChartView*>(w.view->detail()->currentView());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->svgView()->page(), svgViewPage(w.model->starMapSVG()));
    EXPECT_TRUE(chart->svgView()->page().startsWith("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<style>\n    html, body {\n"));

    w.view->selectTab(OutputTab::horoscope);
    chart = qobject_cast<ChartView*>(w.view->detail()->currentView());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->svgView()->page(), svgViewPage(w.model->horoscopeSVG()));

    w.view->selectTab(OutputTab::planets);
    auto* planets = qobject_cast<PlanetsView*>(w.view->detail()->currentView());
    ASSERT_NE(planets, nullptr);
    ASSERT_FALSE(planets->showsEmptyState());
    EXPECT_EQ(planets->table()->rowCount(), 6);
    EXPECT_EQ(planets->table()->item(0, 0)->text(), "Nolomar");
    EXPECT_EQ(planets->table()->item(2, 0)->text(), "Épeòn");
    EXPECT_EQ(planets->table()->item(4, 5)->text(), "Angberélius");
    EXPECT_EQ(planets->table()->horizontalHeaderItem(4)->text(), "Ec. Longitude");

    w.view->selectTab(OutputTab::sunMoon);
    auto* tables = qobject_cast<TablesView*>(w.view->detail()->currentView());
    ASSERT_NE(tables, nullptr);
    EXPECT_EQ(tables->textView()->textEdit()->toPlainText(), w.model->basicTableHourly());
    EXPECT_EQ(tables->textView()->textEdit()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(tables->nextFullMoonLabel()->text(), w.model->nextFullMoonLabel());
    tables->choice()->secondButton()->click();
    EXPECT_EQ(tables->textView()->textEdit()->toPlainText(), w.model->basicTableMonthly());
    EXPECT_EQ(tables->nextFullMoonLabel()->text(), w.model->nextFullMoonLabel());

    // Chosen again, the tab starts from its initial state: hourly.
    w.view->selectTab(OutputTab::sunMoon);
    tables = qobject_cast<TablesView*>(w.view->detail()->currentView());
    EXPECT_TRUE(tables->choice()->isFirst());
    EXPECT_EQ(tables->textView()->textEdit()->toPlainText(), w.model->basicTableHourly());

    w.view->selectTab(OutputTab::positions);
    auto* positions = qobject_cast<PositionsView*>(w.view->detail()->currentView());
    ASSERT_NE(positions, nullptr);
    EXPECT_EQ(positions->textView()->textEdit()->toPlainText(), w.model->conjunctionDaily());
    positions->choice()->secondButton()->click();
    EXPECT_EQ(positions->textView()->textEdit()->toPlainText(), w.model->conjunctionYearly());

    QWidget* previous = w.view->detail()->currentView();
    w.view->selectTab(OutputTab::location);
    EXPECT_NE(qobject_cast<MapLocationPickerView*>(w.view->detail()->currentView()), nullptr);
    EXPECT_TRUE(previous->isHidden());  // the view of the last tab is gone at once

    // A new result reaches the visible view at once.
    w.view->selectTab(OutputTab::positions);
    w.model->setHour(18.0);
    w.model->calculate();
    ASSERT_TRUE(waitUntil([&] { return !w.model->isCalculating(); }));
    QCoreApplication::processEvents();
    positions = qobject_cast<PositionsView*>(w.view->detail()->currentView());
    EXPECT_TRUE(positions->textView()->textEdit()->toPlainText().contains("\n720-01-01 18:00 OST"));
}

}  // namespace
}  // namespace morvane
