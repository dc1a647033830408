#include "model/event_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QStringList>
#include <algorithm>

#include "model/calculation.h"
#include "model_fixture.h"
#include "support/qt_wait.h"

namespace morvane {
namespace {

using testing::ModelFixture;
using testing::RecordingStore;
using testing::waitUntil;

EventFilter only(std::initializer_list<EventGroup> groups) {
    EventFilter filter;
    for (const EventGroup group : groups) filter.setShown(group, true);
    return filter;
}

TEST(EventFilter, GroupsShareOutEveryKindOnceAndNameThemselves) {
    // A kind in no group could never be listed; one in two would be listed twice.
    for (const EventKind kind : kAllEventKinds) {
        int groups = 0;
        for (const EventGroup group : kAllEventGroups) {
            const auto kinds = groupKinds(group);
            groups += int(std::count(kinds.begin(), kinds.end(), kind));
        }
        EXPECT_EQ(groups, 1) << kindName(kind);
    }
    EXPECT_TRUE(std::ranges::equal(EventFilter::all().kinds(), kAllEventKinds));
    EXPECT_TRUE(EventFilter().kinds().empty());
    const EventFilter some = only({EventGroup::seasons, EventGroup::phases, EventGroup::twilight});
    EXPECT_EQ(
        some.kinds(),
        (std::vector{EventKind::newMoon, EventKind::firstQuarter, EventKind::fullMoon,
                     EventKind::lastQuarter, EventKind::civilDawn, EventKind::civilDusk,
                     EventKind::nauticalDawn, EventKind::nauticalDusk, EventKind::astronomicalDawn,
                     EventKind::astronomicalDusk, EventKind::equinox, EventKind::solstice}));
    EXPECT_EQ(some.text(), "Moon phases, Dawn and dusk, Equinoxes and solstices");
    EXPECT_EQ(EventFilter::all().text(), "all");
    EXPECT_EQ(EventFilter().text(), "none");
}

TEST(EventOptions, StoredSpanAndGroupsComeBackAndDamageFallsBackToTheDefaults) {
    RecordingStore store;
    EXPECT_EQ(EventOptions::load(store), EventOptions());  // a month of everything
    EXPECT_EQ(EventOptions().span, EventSpan::month);

    const EventOptions chosen{EventSpan::year, only({EventGroup::eclipses, EventGroup::twilight})};
    chosen.save(store);
    EXPECT_EQ(store.values["Events/span"], "year");
    EXPECT_EQ(store.values["Events/groups"], "eclipses,twilight");
    EXPECT_EQ(EventOptions::load(store), chosen);
    const EventOptions none{EventSpan::day, EventFilter()};
    none.save(store);
    EXPECT_EQ(EventOptions::load(store), none);  // nothing shown stays nothing shown

    const struct {
        QVariant span, groups;
        EventOptions expected;
    } cases[] = {
        // Unknown words are passed over; a list typed by hand without quotes comes as a list.
        {"fortnight",
         " phases , bogus seasons",
         {EventSpan::month, only({EventGroup::phases, EventGroup::seasons})}},
        {QVariant(),
         QStringList{"oppositions", "noon-and-midnight"},
         {EventSpan::month, only({EventGroup::oppositions, EventGroup::noonAndMidnight})}},
        {7, true, EventOptions()},
    };
    for (const auto& c : cases) {
        RecordingStore damaged;
        damaged.values = {{"Events/span", c.span}, {"Events/groups", c.groups}};
        EXPECT_EQ(EventOptions::load(damaged), c.expected) << c.span.toString().toStdString();
    }
}

bool calculated(AstronomyModel& model) {
    model.calculate();
    return waitUntil([&] { return !model.isCalculating(); });
}

TEST(EventList, FollowsTheCalculatedMomentAndPlaceAndListsWhatTheFinderFinds) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    auto settings = std::make_unique<RecordingStore>();
    RecordingStore* store = settings.get();
    EventList& list = EventList::attach(*model, std::move(settings));
    EXPECT_EQ(&EventList::of(*model), &list);  // one list per model
    EXPECT_FALSE(list.query().t);
    EXPECT_TRUE(list.events().empty());
    QSignalSpy changed(&list, &EventList::changed);

    // Inputs moved while the calculation runs: the list keeps to the moment calculated, as
    // the other outputs do.
    const double t0 = model->currentDayCount();
    model->calculate();
    model->setHour(18.0);
    ASSERT_TRUE(waitUntil([&] { return !model->isCalculating(); }));
    ASSERT_EQ(list.query().t, t0);
    EXPECT_EQ(list.query().latitude, model->latitude());
    EXPECT_EQ(list.query().longitude, model->longitude());
    EXPECT_EQ(list.query().placeLabel, "40.50°N  20.90°W");
    EXPECT_EQ(list.query().spanText(), "1 month (30 days) from 720-01-01 12:00 OST");
    EXPECT_EQ(changed.count(), 1);
    const EventFinder finder(model->latitude(), model->longitude());
    const auto all = finder.between(kAllEventKinds, t0, t0 + 30.0);
    ASSERT_GT(all.size(), 100U);  // daily rises, sets, noons and midnights among them
    ASSERT_EQ(list.events().size(), all.size());
    EXPECT_EQ(list.events().front().t, all.front().t);
    EXPECT_EQ(list.events().back().t, all.back().t);

    ASSERT_TRUE(calculated(*model));
    EXPECT_EQ(list.query().t, model->currentDayCount());
    EXPECT_EQ(changed.count(), 2);
    ASSERT_TRUE(calculated(*model));  // the same moment again changes nothing
    EXPECT_EQ(changed.count(), 2);

    // Span and filter: stored at once and listed from the same moment.
    list.setSpan(EventSpan::year);
    EXPECT_EQ(store->values["Events/span"], "year");
    list.setFilter(only({EventGroup::eclipses}));
    EXPECT_EQ(store->values["Events/groups"], "eclipses");
    EXPECT_EQ(changed.count(), 4);
    const double t1 = *list.query().t;
    const auto eclipses = finder.between(
        std::array{EventKind::solarEclipse, EventKind::lunarEclipse}, t1, t1 + 360.0);
    ASSERT_EQ(list.events().size(), eclipses.size());
    for (std::size_t i = 0; i < eclipses.size(); ++i) {
        EXPECT_EQ(list.events()[i].t, eclipses[i].t);
        EXPECT_EQ(list.events()[i].kind, eclipses[i].kind);
    }

    // A later list of the same settings (the next session) starts where this one stopped.
    const auto next = fixture.makeModel();
    auto kept = std::make_unique<RecordingStore>();
    kept->values = store->values;
    EXPECT_EQ(EventList::attach(*next, std::move(kept)).query().options, list.query().options);
}

TEST(EventList, MadeAfterACalculationItStartsFromThatOne) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    model->setYear(1200);
    ASSERT_TRUE(calculated(*model));
    const EventList& late = EventList::attach(*model, std::make_unique<RecordingStore>());
    EXPECT_EQ(late.query().t, model->currentDayCount());
    EXPECT_FALSE(late.events().empty());
}

}  // namespace
}  // namespace morvane
