// What the sidebar does with what the user types, scrolls and tabs through.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>

#include "engine/constants.h"
#include "ui/detailed_view.h"
#include "ui/map_location_picker.h"
#include "ui/readability.h"
#include "ui/ui_window.h"

namespace morvane {
namespace {

using ::testing::StartsWith;
using testing::waitUntil;
using testing::Window;

// Types into a field and leaves it with Tab, as a user moving on would.
void typeInto(QLineEdit* field, const QString& text, bool leave = true) {
    field->setFocus(Qt::TabFocusReason);
    field->selectAll();
    QTest::keyClicks(field, text);
    if (leave) QTest::keyClick(field, Qt::Key_Tab);
}

// What the map picker writes for a pick at 42.859° N, 3.5° E.
void pickOnMap(AstronomyModel& model) {
    model.setManualLatDeg(42.859);
    model.setManualLongDeg(3.5);
    model.setLatNorth(true);
    model.setLongWest(false);
    model.setSelectedCityID(manualCityID());
}

TEST(SidebarInput, AMapPickIsNeverUndoneByAFieldTheUserDidNotEdit) {
    Window w;
    w.activate();
    QLineEdit* latitude = w.sidebar()->latitudeField();
    latitude->setFocus(Qt::MouseFocusReason);  // clicked into, nothing typed
    ASSERT_TRUE(latitude->hasFocus());
    pickOnMap(*w.model);
    EXPECT_EQ(latitude->text(), QLocale().toString(42.859));  // shown even with the focus in it

    w.sidebar()->calculateButton()->setFocus(Qt::MouseFocusReason);  // the field loses the focus
    w.sidebar()->calculateButton()->click();
    EXPECT_EQ(w.model->manualLatDeg(), 42.859);
    ASSERT_TRUE(waitUntil([&] { return !w.model->isCalculating(); }));
    EXPECT_DOUBLE_EQ(w.model->latitude(), 42.859 * kPi / 180.0);

    // A value the user did type and then a pick: the pick wins, and stays.
    typeInto(latitude, QLocale().toString(12.0));
    EXPECT_EQ(w.model->manualLatDeg(), 12.0);
    pickOnMap(*w.model);
    EXPECT_EQ(latitude->text(), QLocale().toString(42.859));
    emit latitude->editingFinished();
    EXPECT_EQ(w.model->manualLatDeg(), 42.859);
}

TEST(SidebarInput, CoordinatesThatAreNotAcceptedAreMarkedAndNeverUsed) {
    Window w;
    w.activate();
    SidebarView* s = w.sidebar();
    QLineEdit* latitude = s->latitudeField();
    QSignalSpy calculations(w.model.get(), &AstronomyModel::isCalculatingChanged);
    typeInto(latitude, "abc", false);
    EXPECT_FALSE(s->latitudeHint()->isHidden());  // at once, while typing

    // Calculate, Return and "Save as…" each say why they cannot go on.
    s->calculateButton()->click();
    EXPECT_THAT(s->errorLabel()->text().toStdString(), StartsWith("Cannot calculate: Latitude"));
    QTest::keyClick(latitude, Qt::Key_Return);
    QTest::mouseClick(s->saveAsButton(), Qt::LeftButton);
    EXPECT_EQ(w.lastSheet, nullptr);
    EXPECT_THAT(s->errorLabel()->text().toStdString(),
                StartsWith("Cannot save this place: Latitude"));
    EXPECT_TRUE(latitude->hasFocus());
    QTest::qWait(testing::kAutoPauseMs * 2);  // nor does the automatic calculation start
    EXPECT_EQ(calculations.count(), 0);

    // 9 is a latitude, 95 is not: nothing of it reaches the model.
    typeInto(latitude, "95");
    typeInto(s->longitudeField(), "181");
    EXPECT_FALSE(s->longitudeHint()->isHidden());
    EXPECT_EQ(w.model->manualLatDeg(), 40.5);
    EXPECT_EQ(w.model->manualLongDeg(), 20.9);

    // Fixed, the marks go, the error goes and the values reach the model.
    typeInto(latitude, QLocale().toString(42.5));
    typeInto(s->longitudeField(), QLocale().toString(180.0));
    EXPECT_TRUE(s->latitudeHint()->isHidden());
    EXPECT_TRUE(s->errorLabel()->isHidden());
    EXPECT_EQ(w.model->manualLatDeg(), 42.5);
    EXPECT_EQ(w.model->manualLongDeg(), 180.0);

    // A saved place needs no typed values: a bad leftover does not block it.
    typeInto(latitude, "abc");
    w.selectCity("Goris");
    EXPECT_TRUE(s->inputsAreValid());
}

TEST(SidebarInput, TheWheelChangesOnlyTheControlThatHasTheFocus) {
    Window w;
    w.activate();
    w.sidebar()->calculateButton()->setFocus();
    const auto wheel = [](QWidget* target) {
        QWheelEvent event(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    wheel(w.sidebar()->monthPicker());
    wheel(w.sidebar()->hourSlider());
    wheel(w.sidebar()->yearSpin());
    wheel(w.sidebar()->locationPicker());
    EXPECT_EQ(w.model->monthIndex(), 0);
    EXPECT_EQ(w.model->hour(), 12.0);
    EXPECT_EQ(w.model->year(), 720);
    EXPECT_EQ(w.model->selectedCityID(), manualCityID());

    // Once the user has chosen the control, the wheel is theirs to use on it.
    w.sidebar()->monthPicker()->setFocus();
    wheel(w.sidebar()->monthPicker());
    EXPECT_EQ(w.model->monthIndex(), 1);
}

TEST(SidebarInput, FocusStaysInItsPartOfTheWindowWhenTheTabChanges) {
    Window w;
    w.activate();
    w.view->showNotice(QStringLiteral("A notice with a close button above the outputs."));
    // In the sidebar, on a button the location tab disables.
    w.sidebar()->exportPdfButton()->setFocus();
    ASSERT_TRUE(w.sidebar()->exportPdfButton()->hasFocus());
    QTest::keyClick(w.view.get(), Qt::Key_9, Qt::ControlModifier);
    ASSERT_EQ(w.view->selectedTab(), OutputTab::location);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(w.sidebar()->isAncestorOf(focus)) << focus->metaObject()->className();

    // In the outputs, on the map: on to a chart, which has no control of its own.
    auto* picker = qobject_cast<MapLocationPickerView*>(w.view->detail()->currentView());
    ASSERT_NE(picker, nullptr);
    picker->mapArea()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(picker->mapArea()->hasFocus());
    QTest::keyClick(picker->mapArea(), Qt::Key_1, Qt::ControlModifier);
    ASSERT_EQ(w.view->selectedTab(), OutputTab::starMap);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the map is gone
    focus = QApplication::focusWidget();
    QWidget* chart = w.view->detail()->currentView();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus == chart || chart->isAncestorOf(focus)) << focus->metaObject()->className();
}

TEST(SidebarInput, TabFollowsTheLayoutAndEveryControlHasAName) {
    Window w;
    w.activate();
    SidebarView* s = w.sidebar();
    s->locationPicker()->setFocus(Qt::TabFocusReason);
    // A segmented choice is one stop, taken by one of its buttons.
    for (const QWidget* stop : std::initializer_list<QWidget*>{
             s->latitudeField(), s->northSouth(), s->longitudeField(), s->westEast(),
             s->saveAsButton(), s->pickFromMapButton(), s->monthPicker(), s->daySpin(),
             s->yearSpin(), s->hourSlider()}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == stop || stop->isAncestorOf(focus))
            << focus->metaObject()->className() << " instead of "
            << stop->metaObject()->className();
    }
    testing::expectControlsNamed(*s, false);
}

TEST(SidebarInput, LongPlaceNamesAreShortenedInThePickerAndWholeInItsTooltip) {
    Window w;
    const QString name = QString(260, QLatin1Char('m'));
    ASSERT_TRUE(std::holds_alternative<QUuid>(w.model->saveLocation(name)));
    w.selectCity(name);
    QComboBox* picker = w.sidebar()->locationPicker();
    const int row = picker->currentIndex();
    ASSERT_GE(row, 0);
    EXPECT_LE(picker->fontMetrics().horizontalAdvance(picker->itemText(row)), kPlaceNameMaxWidth);
    EXPECT_EQ(picker->itemData(row, Qt::ToolTipRole).toString(), name);
    EXPECT_EQ(picker->toolTip(), name);
    EXPECT_LE(picker->sizeHint().width(), 400);
}

}  // namespace
}  // namespace morvane
