#include "ui/day_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "engine/constants.h"
#include "events/light_text.h"
#include "model/event_list.h"
#include "model/light_settings.h"
#include "model/model_fixture.h"
#include "support/qt_wait.h"
#include "ui/detailed_view.h"
#include "ui/output_views.h"
#include "ui/ui_window.h"

namespace morvane {
namespace {

using testing::RecordingStore;
using testing::waitUntil;

constexpr double kDegree = kPi / 180.0;

TEST(DayView, FollowsTheCalculationAndTheThresholdsAndWorksOutOnlyWhatChanged) {
    testing::ModelFixture fixture;
    const auto model = fixture.makeModel();
    EventList& list = EventList::attach(*model, std::make_unique<RecordingStore>());
    LightSettings& settings = LightSettings::attach(*model, std::make_unique<RecordingStore>());
    DetailedView detail(model.get());
    detail.resize(1200, 800);
    detail.show();
    detail.setTab(OutputTab::day);
    auto* view = qobject_cast<DayView*>(detail.currentView());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->showsPlaceholder());
    EXPECT_FALSE(view->day());

    model->calculate();
    ASSERT_TRUE(waitUntil([&] { return !view->showsPlaceholder(); }));
    ASSERT_TRUE(view->day());
    EXPECT_EQ(view->day()->start, *list.query().t);
    EXPECT_EQ(view->headingLabel()->text(),
              "40.50°N  20.90°W  ·  24 hours from 720-01-01 12:00 OST  (local 10:38)");
    EXPECT_TRUE(view->chart()->svgView()->page().contains("Day from 720-01-01 12:00 OST"));
    const std::vector<SummaryFact> facts = daySummaryFacts(*view->day());
    ASSERT_EQ(view->summaryForm()->rowCount(), int(facts.size()));
    const auto row = [view](int index, QFormLayout::ItemRole role) {
        return qobject_cast<QLabel*>(view->summaryForm()->itemAt(index, role)->widget())->text();
    };
    EXPECT_EQ(row(3, QFormLayout::LabelRole).toStdString(), facts[3].label);
    EXPECT_EQ(row(3, QFormLayout::FieldRole).toStdString(), facts[3].value);
    EXPECT_EQ(view->computations(), 1);
    list.setSpan(EventSpan::year);  // the Events list changes, the day does not
    EXPECT_EQ(view->computations(), 1);

    // The boxes write the settings, each only its own threshold; the settings, changed
    // elsewhere, show in the boxes. Every change works the day out once.
    view->altitudeBox()->setValue(10);
    EXPECT_DOUBLE_EQ(settings.thresholds().minAltitude, 10.0 * kDegree);
    EXPECT_EQ(settings.thresholds().minIllumination, 0.5);
    EXPECT_DOUBLE_EQ(view->day()->thresholds.minAltitude, 10.0 * kDegree);
    EXPECT_EQ(view->computations(), 2);
    settings.setThresholds({2.4 * kDegree, 0.25});
    EXPECT_EQ(view->altitudeBox()->value(), 2);
    EXPECT_EQ(view->illuminationBox()->value(), 25);
    EXPECT_EQ(view->computations(), 3);
    view->illuminationBox()->setValue(60);
    EXPECT_DOUBLE_EQ(settings.thresholds().minAltitude, 2.4 * kDegree);
    EXPECT_DOUBLE_EQ(settings.thresholds().minIllumination, 0.6);
    EXPECT_EQ(view->computations(), 4);
    view->altitudeBox()->setFocus();
    QTest::keyClick(view->altitudeBox(), Qt::Key_Up);
    EXPECT_DOUBLE_EQ(settings.thresholds().minAltitude, 3.0 * kDegree);

    // Wide, the summary sits beside the chart, whose page keeps the chart's proportions; narrow,
    // it goes below.
    ASSERT_TRUE(waitUntil([&] { return view->summaryBeside(); }));
    ChartView* chart = view->chart();
    const QMargins margins = chart->layout()->contentsMargins();
    EXPECT_NEAR(chart->height() - margins.top() - margins.bottom(),
                (chart->width() - margins.left() - margins.right()) / 2, 1);
    detail.resize(700, 800);
    EXPECT_TRUE(waitUntil([&] { return !view->summaryBeside() && chart->width() >= 650; }));
}

TEST(DayView, ControlSevenShowsTheDayWithItsThreeExports) {
    testing::Window w;
    w.activate();
    SidebarView* s = w.sidebar();
    EXPECT_TRUE(s->exportTextButton()->isHidden());
    EXPECT_FALSE(w.view->exportTextAction()->isVisible());
    QTest::keyClick(w.view.get(), Qt::Key_7, Qt::ControlModifier);
    ASSERT_EQ(w.view->selectedTab(), OutputTab::day);
    EXPECT_EQ(s->exportButton()->text(), "Export SVG");
    EXPECT_FALSE(s->exportTextButton()->isHidden());
    EXPECT_TRUE(w.view->exportTextAction()->isVisible());
    EXPECT_TRUE(w.view->exportTextAction()->isEnabled());

    QTemporaryDir folder;
    w.chooser->answer = folder.filePath("day.txt");
    w.view->exportTextAction()->trigger();
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(folder.filePath("day.txt")); }));
    QFile text(folder.filePath("day.txt"));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(text.readAll().startsWith("Day\nPlace: 40.50°N  20.90°W\nFrom: 720-01-01 12:00"));
    w.chooser->answer = folder.filePath("day.svg");
    s->exportButton()->click();
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(folder.filePath("day.svg")); }));

    // The text button goes with the Day tab and takes the focus with it.
    s->exportTextButton()->setFocus();
    QTest::keyClick(w.view.get(), Qt::Key_9, Qt::ControlModifier);
    ASSERT_EQ(w.view->selectedTab(), OutputTab::location);
    EXPECT_TRUE(s->exportTextButton()->isHidden());
    EXPECT_FALSE(w.view->exportTextAction()->isVisible());
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_TRUE(s->isAncestorOf(QApplication::focusWidget()));
}

}  // namespace
}  // namespace morvane
