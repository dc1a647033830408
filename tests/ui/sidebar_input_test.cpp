// What the sidebar does with what the user types, scrolls and tabs through.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>

#include "engine/constants.h"
#include "ui/detailed_view.h"
#include "ui/map_location_picker.h"
#include "ui/ui_window.h"
#include "ui/widgets.h"

namespace morvane {
namespace {

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
    QLineEdit* latitude = w.sidebar()->latitudeField();
    QLineEdit* longitude = w.sidebar()->longitudeField();
    const int sheetsBefore = w.lastSheet == nullptr ? 0 : 1;

    typeInto(latitude, "abc", false);
    EXPECT_FALSE(w.sidebar()->latitudeHint()->isHidden());  // at once, while typing
    EXPECT_EQ(w.sidebar()->latitudeHint()->text(), "Latitude: a number from 0 to 90");
    EXPECT_FALSE(w.sidebar()->inputsAreValid());
    EXPECT_EQ(w.model->manualLatDeg(), 40.5);

    // Calculate, Return and "Save as…" each say why they cannot go on.
    const QString before = w.model->dateLabel();
    w.sidebar()->calculateButton()->click();
    EXPECT_FALSE(w.sidebar()->errorLabel()->isHidden());
    EXPECT_TRUE(w.sidebar()->errorLabel()->text().startsWith("Cannot calculate: Latitude"));
    EXPECT_FALSE(w.model->isCalculating());
    QTest::keyClick(latitude, Qt::Key_Return);
    EXPECT_FALSE(w.model->isCalculating());
    QTest::mouseClick(w.sidebar()->saveAsButton(), Qt::LeftButton);
    EXPECT_EQ(w.lastSheet == nullptr ? 0 : 1, sheetsBefore);  // no sheet opened
    EXPECT_TRUE(w.sidebar()->errorLabel()->text().startsWith("Cannot save this place: Latitude"));
    EXPECT_TRUE(latitude->hasFocus());
    QTest::qWait(testing::kAutoPauseMs * 2);  // nor does the automatic calculation use it
    EXPECT_EQ(w.model->dateLabel(), before);
    EXPECT_EQ(w.model->manualLatDeg(), 40.5);

    typeInto(latitude, "95");  // 9 is a latitude, 95 is not: nothing reaches the model
    EXPECT_FALSE(w.sidebar()->latitudeHint()->isHidden());
    EXPECT_EQ(w.model->manualLatDeg(), 40.5);
    typeInto(longitude, "181");
    EXPECT_FALSE(w.sidebar()->longitudeHint()->isHidden());
    EXPECT_EQ(w.model->manualLongDeg(), 20.9);

    // Fixed, the marks go, the error goes and the values reach the model.
    typeInto(latitude, QLocale().toString(42.5));
    typeInto(longitude, QLocale().toString(180.0));
    EXPECT_TRUE(w.sidebar()->latitudeHint()->isHidden());
    EXPECT_TRUE(w.sidebar()->longitudeHint()->isHidden());
    EXPECT_TRUE(w.sidebar()->errorLabel()->isHidden());
    EXPECT_EQ(w.model->manualLatDeg(), 42.5);
    EXPECT_EQ(w.model->manualLongDeg(), 180.0);

    // A saved place needs no typed values: a bad leftover does not block it.
    typeInto(latitude, "abc");
    w.selectCity("Goris");
    EXPECT_TRUE(w.sidebar()->inputsAreValid());
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

TEST(SidebarInput, ReturnInAFieldCalculatesAndTypedYearsNeedFewKeys) {
    Window w;
    w.activate();
    QSpinBox* year = w.sidebar()->yearSpin();
    year->setFocus(Qt::TabFocusReason);
    QTest::keyClick(year, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(year, "1500");
    EXPECT_EQ(w.model->year(), 720);  // not while typing: 1, 15, 150 are no years anyone wants
    QTest::keyClick(year, Qt::Key_Return);
    EXPECT_EQ(w.model->year(), 1500);
    EXPECT_EQ(year->text(), "Year 1500");
    ASSERT_TRUE(waitUntil([&] { return w.model->dateLabel().startsWith("1500-"); }));
}

TEST(SidebarInput, FocusStaysInTheSidebarWhenTheLocationTabDisablesExport) {
    Window w;
    w.activate();
    w.sidebar()->exportPdfButton()->setFocus();
    ASSERT_TRUE(w.sidebar()->exportPdfButton()->hasFocus());
    QTest::keyClick(w.view.get(), Qt::Key_6, Qt::ControlModifier);
    ASSERT_EQ(w.view->selectedTab(), OutputTab::location);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(w.sidebar()->isAncestorOf(QApplication::focusWidget()))
        << QApplication::focusWidget()->metaObject()->className();
}

TEST(SidebarInput, FocusInTheOutputsStaysThereWhenTheTabChanges) {
    Window w;
    w.activate();
    w.view->showNotice(QStringLiteral("A notice with a close button above the outputs."));
    QTest::keyClick(w.view.get(), Qt::Key_6, Qt::ControlModifier);
    auto* picker = qobject_cast<MapLocationPickerView*>(w.view->detail()->currentView());
    ASSERT_NE(picker, nullptr);
    picker->mapArea()->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(picker->mapArea()->hasFocus());
    QTest::keyClick(picker->mapArea(), Qt::Key_1, Qt::ControlModifier);  // a chart: no control
    ASSERT_EQ(w.view->selectedTab(), OutputTab::starMap);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the map is gone
    QWidget* focus = QApplication::focusWidget();
    QWidget* chart = w.view->detail()->currentView();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus == chart || chart->isAncestorOf(focus)) << focus->metaObject()->className();
}

TEST(SidebarInput, TabFollowsTheLayoutAndEveryControlHasAName) {
    Window w;
    w.activate();
    SidebarView* s = w.sidebar();
    s->locationPicker()->setFocus(Qt::TabFocusReason);
    const auto next = [] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    };
    EXPECT_EQ(next(), s->latitudeField());
    QWidget* hemisphere = next();
    EXPECT_TRUE(s->northSouth()->isAncestorOf(hemisphere));
    EXPECT_EQ(next(), s->longitudeField());
    EXPECT_TRUE(s->westEast()->isAncestorOf(next()));
    EXPECT_EQ(next(), s->saveAsButton());
    EXPECT_EQ(next(), s->pickFromMapButton());
    EXPECT_EQ(next(), s->monthPicker());
    EXPECT_EQ(next(), s->daySpin());
    EXPECT_EQ(next(), s->yearSpin());
    EXPECT_EQ(next(), s->hourSlider());

    for (QWidget* control : s->findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(s)) continue;
        if (qobject_cast<QAbstractItemView*>(control) != nullptr) continue;  // a drop-down's list
        if (qobject_cast<QAbstractSpinBox*>(control->parentWidget()) != nullptr)
            continue;  // its text
        const bool named = !control->accessibleName().isEmpty() ||
                           (qobject_cast<QAbstractButton*>(control) != nullptr &&
                            !static_cast<QAbstractButton*>(control)->text().isEmpty());
        EXPECT_TRUE(named) << control->metaObject()->className() << " in "
                           << control->parentWidget()->metaObject()->className();
    }
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
