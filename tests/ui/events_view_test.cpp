#include "ui/events_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "model/event_list.h"
#include "model/model_fixture.h"
#include "support/qt_wait.h"
#include "ui/detailed_view.h"
#include "ui/readability.h"

namespace morvane {
namespace {

using testing::RecordingStore;
using testing::waitUntil;

TEST(EventsView, SpanAndKindsAreRememberedAndReturnOnARowMovesTheSky) {
    testing::ModelFixture fixture;
    const auto model = fixture.makeModel();
    auto settings = std::make_unique<RecordingStore>();
    settings->values = {{"Events/span", "day"}};  // chosen in an earlier session
    RecordingStore* store = settings.get();
    EventList& list = EventList::attach(*model, std::move(settings));
    DetailedView detail(model.get());
    detail.resize(900, 600);
    detail.show();
    detail.setTab(OutputTab::events);
    auto* view = qobject_cast<EventsView*>(detail.currentView());
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->showsPlaceholder());  // nothing calculated yet
    EXPECT_EQ(view->spanBox()->currentText(), "1 day");
    const auto rows = [view] { return std::size_t(view->table()->model()->rowCount()); };

    model->calculate();
    ASSERT_TRUE(waitUntil([&] { return !view->showsPlaceholder(); }));
    EXPECT_EQ(rows(), list.events().size());
    EXPECT_EQ(view->summaryLabel()->text(),
              QStringLiteral("40.50°N  20.90°W  ·  1 day from 720-01-01 12:00 OST  ·  %1 events")
                  .arg(rows()));

    // The span from the keyboard, stored as it is chosen.
    view->spanBox()->setFocus();
    QTest::keyClick(view->spanBox(), Qt::Key_Down);
    EXPECT_EQ(store->values["Events/span"], "month");
    EXPECT_GT(rows(), 100U);
    EXPECT_EQ(rows(), list.events().size());

    // Nothing shown says so; one group brings its rows back.
    view->hideAllAction()->trigger();
    EXPECT_TRUE(view->showsPlaceholder());
    EXPECT_EQ(view->kindsButton()->text(), "Kinds: None");
    view->groupActions().at(int(EventGroup::phases))->trigger();
    EXPECT_EQ(store->values["Events/groups"], "phases");
    EXPECT_EQ(view->kindsButton()->text(), "Kinds: Moon phases");
    ASSERT_GE(rows(), 4U);
    EXPECT_EQ(rows(), list.events().size());
    testing::expectControlsNamed(*view);

    // Return on the second row moves the sky to that event's minute; the list follows.
    const SkyEvent chosen = list.events().at(1);
    view->table()->setFocus();
    QTest::keyClick(view->table(), Qt::Key_Down);
    QTest::keyClick(view->table(), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return list.query().t != std::optional(258840.0); }));
    EXPECT_NEAR(*list.query().t, chosen.t, 0.5 / 1440.0 + 1e-9);
    EXPECT_EQ(*list.query().t, model->currentDayCount());
    EXPECT_EQ(rows(), list.events().size());
    EXPECT_TRUE(view->table()->hasFocus());
}

}  // namespace
}  // namespace morvane
