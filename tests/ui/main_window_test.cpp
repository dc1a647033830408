#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "ui/location_sheets.h"
#include "ui/ui_window.h"
#include "ui/widgets.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;
using testing::waitUntil;
using testing::Window;

TEST(MainWindow, LayoutFirstCalculationAndExportsThatFollowTheTab) {
    Window w;
    SidebarView* s = w.sidebar();
    // Nothing is calculated before the window shows: nothing to export, and the tooltip says so.
    EXPECT_TRUE(w.model->dateLabel().isEmpty());
    EXPECT_FALSE(s->exportButton()->isEnabled());
    EXPECT_FALSE(w.view->exportPdfAction()->isEnabled());
    EXPECT_THAT(s->exportPdfButton()->toolTip().toStdString(), HasSubstr("calculate first"));
    w.showAndCalculate();
    EXPECT_TRUE(w.view->exportPdfAction()->isEnabled());
    EXPECT_FALSE(w.view->splitter()->childrenCollapsible());
    EXPECT_GE(s->width(), 240);
    EXPECT_LE(s->width(), 300);
    for (OutputTab tab : kAllOutputTabs) {
        // "&" is doubled so that "Sun & Moon" shows its ampersand rather than a mnemonic.
        EXPECT_EQ(w.view->tabButton(tab)->text(), QString(tabExport(tab).title).replace("&", "&&"));
    }

    // The saved file is named, with a way to its folder.
    w.view->selectTab(OutputTab::positions);
    EXPECT_EQ(s->exportButton()->text(), tabExport(OutputTab::positions).firstButtonLabel);
    QTemporaryDir folder;
    w.chooser->answer = folder.filePath("conjunctions.txt");
    s->exportButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !w.view->exportStatus()->text().isEmpty(); }));
    EXPECT_THAT(w.view->exportStatus()->text().toStdString(),
                HasSubstr(folder.filePath("conjunctions.txt").toStdString()));
    EXPECT_FALSE(w.view->openFolderButton()->isHidden());
    EXPECT_TRUE(QFile::exists(folder.filePath("conjunctions.txt")));
    QTest::mouseClick(s->pickFromMapButton(), Qt::LeftButton);
    EXPECT_EQ(w.view->selectedTab(), OutputTab::location);
    EXPECT_FALSE(s->exportButton()->isEnabled());
    EXPECT_FALSE(s->exportPdfButton()->isEnabled());
}

TEST(Sidebar, ManualOrSavedPlacesAndTheSheetsThatSaveAndDeleteThem) {
    Window w;
    SidebarView* s = w.sidebar();
    EXPECT_TRUE(s->savedRow()->isHidden());
    QTest::mouseClick(s->westEast()->secondButton(), Qt::LeftButton);
    EXPECT_FALSE(w.model->longWest());
    w.selectCity("Goris");
    EXPECT_TRUE(s->manualRows()->isHidden());
    EXPECT_FALSE(s->savedRow()->isHidden());
    EXPECT_EQ(s->coordinatesLabel()->text(), "21.00° N   5.10° E");
    EXPECT_EQ(coordinatesText(-0.5, -0.3647738136668149), "28.65° S   20.90° W");
    // Choosing "Manual" in the picker shows the editable fields again.
    s->locationPicker()->setCurrentIndex(0);
    emit s->locationPicker()->activated(0);
    EXPECT_EQ(w.model->selectedCityID(), manualCityID());
    EXPECT_FALSE(s->manualRows()->isHidden());

    // The save sheet refuses blank and taken names, and stays open with the name as typed.
    QTest::mouseClick(s->saveAsButton(), Qt::LeftButton);
    auto* sheet = qobject_cast<SaveLocationSheet*>(w.lastSheet);
    ASSERT_NE(sheet, nullptr);
    QTest::keyClicks(sheet->nameField(), "   ");
    EXPECT_FALSE(sheet->saveButton()->isEnabled());
    QTest::keyClick(sheet->nameField(), Qt::Key_Return);  // Return still asks the model
    EXPECT_EQ(sheet->errorLabel()->text(), "Please enter a name.");
    sheet->nameField()->setText(" goris ");
    QTest::mouseClick(sheet->saveButton(), Qt::LeftButton);
    EXPECT_EQ(sheet->errorLabel()->text(), "\"goris\" already exists.");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->nameField()->text(), " goris ");

    // Names are plain text: markup in them is shown as typed.
    sheet->nameField()->setText("<b>x</b>");
    QTest::keyClick(sheet->nameField(), Qt::Key_Return);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(s->locationPicker()->currentText(), "<b>x</b>");
    QTest::mouseClick(s->deleteButton(), Qt::LeftButton);
    auto* remove = qobject_cast<DeleteLocationSheet*>(w.lastSheet);
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(remove->question()->textFormat(), Qt::PlainText);
    QTest::keyClick(remove, Qt::Key_Return);  // Delete is the default
    EXPECT_EQ(w.model->selectedCityID(), manualCityID());
    EXPECT_EQ(s->locationPicker()->currentText(), "Manual");

    // Opened again, the save sheet starts empty; Escape cancels.
    QTest::mouseClick(s->saveAsButton(), Qt::LeftButton);
    auto* again = qobject_cast<SaveLocationSheet*>(w.lastSheet);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->nameField()->text().isEmpty());
    EXPECT_TRUE(again->errorLabel()->isHidden());
    QTest::keyClick(again, Qt::Key_Escape);
    EXPECT_FALSE(again->isVisible());
}

TEST(Sidebar, TheHourStopsAtTheDaysEndsAndTheSliderCountsQuarters) {
    Window w;
    SidebarView* s = w.sidebar();
    w.model->setHour(23.5);
    s->hourStepper()->upButton()->click();
    s->hourStepper()->upButton()->click();
    EXPECT_EQ(w.model->hour(), 23.75);
    EXPECT_EQ(s->hourLabel()->text(), "23:45");
    EXPECT_EQ(s->hourSlider()->value(), s->hourSlider()->maximum());
    s->hourSlider()->setValue(0);
    s->hourStepper()->downButton()->click();
    EXPECT_EQ(w.model->hour(), 0.0);
    s->hourSlider()->setValue(49);
    EXPECT_EQ(w.model->hour(), 12.25);

    s->localTimeSwitch()->click();
    EXPECT_TRUE(w.model->useLocalTime());
}

TEST(Sidebar, CalculateShowsItsBusyStateAndErrors) {
    Window w;
    w.showAndCalculate();
    QPushButton* calculate = w.sidebar()->calculateButton();
    bool sawBusy = false;
    QObject::connect(w.model.get(), &AstronomyModel::isCalculatingChanged, calculate, [&] {
        if (w.model->isCalculating()) {
            sawBusy = !calculate->isEnabled() && !w.sidebar()->busyLabel()->isHidden();
        }
    });
    calculate->click();
    ASSERT_TRUE(waitUntil([&] { return !w.model->isCalculating(); }));
    EXPECT_TRUE(sawBusy);
    EXPECT_TRUE(calculate->isEnabled());
    EXPECT_TRUE(w.sidebar()->busyLabel()->isHidden());

    w.model->setHour(1e300);  // a value no sidebar control makes
    calculate->click();
    EXPECT_FALSE(w.sidebar()->errorLabel()->isHidden());
    EXPECT_THAT(w.sidebar()->errorLabel()->text().toStdString(), HasSubstr("hour"));
}

}  // namespace
}  // namespace morvane
