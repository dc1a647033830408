#include "events/sky_events.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <random>

#include "events/reference_search.h"

namespace morvane {
namespace {

using reference::Expected;
using reference::kMinute;
using reference::kSecond;

struct Place {
    double latitude;  // degrees
    double longitude;
};

// Both poles, the equator on either side of the date line, a breath from the poles, inside
// the polar circles, and ordinary towns.
constexpr std::array<Place, 12> kPlaces = {{{90, 0},
                                            {-90, 45},
                                            {0, 0},
                                            {0, 180},
                                            {0, -180},
                                            {89.9, -60},
                                            {-89.9, 120},
                                            {80, 15},
                                            {-72, -100},
                                            {40.5, -20.9},
                                            {-33.9, 151.2},
                                            {64.1, -179.9}}};

EventFinder finderAt(const Place& p) {
    return EventFinder(degreesToRadians(p.latitude), degreesToRadians(p.longitude));
}

// Drawn from the raw bits, so every standard library gives the same spans.
double uniform(std::mt19937_64& random, double lo, double hi) {
    return lo + (hi - lo) * static_cast<double>(random() >> 11) * 0x1p-53;
}

// Somewhere in the whole accepted range, near the default moment, or in between.
double randomStart(std::mt19937_64& random, int i, double length) {
    switch (i % 3) {
        case 0:
            return uniform(random, -1e9, 1e9 - length);
        case 1:
            return uniform(random, 258840.0 - 36000.0, 258840.0 + 36000.0);
        default:
            return uniform(random, -1e6, 1e6);
    }
}

std::string describe(EventKind kind, double t, const std::string& who) {
    return fmt::format("{} {} at t = {:.9f}", kindName(kind), who, t);
}

bool sameEvent(const SkyEvent& e, EventKind kind, double t, const std::string& who,
               double tolerance = kSecond) {
    return e.kind == kind && std::fabs(e.t - t) <= tolerance && reference::who(e) == who;
}

/// Holds between(), next() and previous() against the reference search over [t0, t1).
void expectAsReference(const EventFinder& finder, const std::vector<EventKind>& kinds, double t0,
                       double t1) {
    const std::vector<SkyEvent> got = finder.between(kinds, t0, t1);
    const std::vector<Expected> want =
        reference::expectedEvents(kinds, finder.latitude(), finder.longitude(), t0, t1);
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < got.size(); ++i) {
        const SkyEvent& e = got[i];
        if (!(e.t >= t0 && e.t < t1) || std::ranges::count(kinds, e.kind) == 0) {
            faults.push_back("out of the request: " + describe(e.kind, e.t, reference::who(e)));
        }
        if (i > 0 && std::pair(got[i - 1].t, got[i - 1].kind) > std::pair(e.t, e.kind)) {
            faults.push_back("out of order: " + describe(e.kind, e.t, reference::who(e)));
        }
    }
    std::vector<bool> used(got.size(), false);
    for (const Expected& x : want) {
        auto j = static_cast<std::size_t>(
            std::ranges::lower_bound(got, x.t - kSecond, {}, &SkyEvent::t) - got.begin());
        while (j < got.size() && (used[j] || !sameEvent(got[j], x.kind, x.t, x.who))) {
            if (got[j].t > x.t + kSecond)
                j = got.size();
            else
                ++j;
        }
        if (j >= got.size()) {
            if (!x.optional) faults.push_back("missed " + describe(x.kind, x.t, x.who));
            continue;
        }
        used[j] = true;
        const SkyEvent& e = got[j];
        const std::string c = reference::carried(e.eclipseClass, e.visible);
        if (!x.carried.empty() && std::ranges::count(x.carried, c) == 0) {
            faults.push_back(c + " instead of " + x.carried.front() + ": " +
                             describe(x.kind, x.t, x.who));
        }
        const bool eclipse = x.kind == EventKind::solarEclipse || x.kind == EventKind::lunarEclipse;
        const bool noon = x.kind == EventKind::noon || x.kind == EventKind::midnight;
        const double value = eclipse ? e.elongation : noon ? e.sunAltitude : x.value;
        if (std::fabs(value - x.value) > 1e-5) {
            faults.push_back(fmt::format("{} instead of {}: ", value, x.value) +
                             describe(x.kind, x.t, x.who));
        }
    }
    for (std::size_t j = 0; j < got.size(); ++j) {
        if (!used[j]) {
            faults.push_back("invented " + describe(got[j].kind, got[j].t, reference::who(got[j])));
        }
    }

    // The first and the last of each kind, when the span holds them clear of its ends, are
    // what next() from its start and previous() from its end must give.
    for (EventKind kind : kinds) {
        const auto ofKind = [kind](const Expected& x) { return x.kind == kind; };
        const auto first = std::ranges::find_if(
            want, [&](const Expected& x) { return ofKind(x) && x.t > t0 - kSecond; });
        if (first != want.end() && !first->optional) {
            const std::optional<SkyEvent> e = finder.next(kind, t0);
            if (!e || !sameEvent(*e, kind, first->t, first->who)) {
                faults.push_back("next() missed " + describe(kind, first->t, first->who));
            }
        }
        const auto last = std::ranges::find_if(want.rbegin(), want.rend(), [&](const Expected& x) {
            return ofKind(x) && x.t < t1 + kSecond;
        });
        if (last != want.rend() && !last->optional) {
            const std::optional<SkyEvent> e = finder.previous(kind, t1);
            if (!e || !sameEvent(*e, kind, last->t, last->who)) {
                faults.push_back("previous() missed " + describe(kind, last->t, last->who));
            }
        }
    }

    std::string text;
    for (std::size_t i = 0; i < std::min<std::size_t>(faults.size(), 12); ++i) {
        text += "\n  " + faults[i];
    }
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults at latitude "
                                << finder.latitude() * kDegreesPerRadian << "°, longitude "
                                << finder.longitude() * kDegreesPerRadian << "° over ["
                                << fmt::format("{:.9f}, {:.9f})", t0, t1) << text;
}

const std::vector<EventKind> kDailyKinds = {EventKind::sunrise,  EventKind::sunset,
                                            EventKind::moonrise, EventKind::moonset,
                                            EventKind::noon,     EventKind::midnight};
const std::vector<EventKind> kSlowKinds = {
    EventKind::newMoon,     EventKind::firstQuarter, EventKind::fullMoon,
    EventKind::lastQuarter, EventKind::solarEclipse, EventKind::lunarEclipse,
    EventKind::conjunction, EventKind::opposition,   EventKind::ingress,
    EventKind::equinox,     EventKind::solstice};

TEST(EventFinder, RisesSetsNoonsAndMidnightsAsTheReferenceFindsThem) {
    std::mt19937_64 random(20240611);
    int i = 0;
    for (const Place& place : kPlaces) {
        for (int k = 0; k < 8; ++k, ++i) {
            const double t0 = randomStart(random, i, 45.0);
            expectAsReference(finderAt(place), kDailyKinds, t0, t0 + uniform(random, 5.0, 45.0));
        }
    }
}

// Over whole seasons at high latitudes a twilight shrinks to nothing, its dawn and dusk merge
// and months pass without one. Asked for all four heights, for the twilights alone, or for
// some dawns and a dusk, the search must give exactly the crossings asked for.
TEST(EventFinder, DawnsAndDusksAsTheReferenceFindsThem) {
    using K = EventKind;
    const std::array<std::vector<EventKind>, 3> kindSets = {
        std::vector{K::sunrise, K::sunset, K::civilDawn, K::civilDusk, K::nauticalDawn,
                    K::nauticalDusk, K::astronomicalDawn, K::astronomicalDusk},
        std::vector{K::civilDawn, K::civilDusk, K::nauticalDawn, K::nauticalDusk,
                    K::astronomicalDawn, K::astronomicalDusk},
        std::vector{K::sunset, K::civilDawn, K::nauticalDusk, K::astronomicalDawn}};
    std::mt19937_64 random(1789);
    for (int i = 0; i < 30; ++i) {
        const double latitude = i < static_cast<int>(kPlaces.size())
                                    ? kPlaces[i].latitude
                                    : (i % 2 == 0 ? 1.0 : -1.0) * uniform(random, 60.0, 89.9);
        const EventFinder finder(degreesToRadians(latitude),
                                 degreesToRadians(uniform(random, -180.0, 180.0)));
        const double t0 = randomStart(random, i, 200.0);
        expectAsReference(finder, kindSets[i % 3], t0, t0 + uniform(random, 20.0, 200.0));
    }
}

TEST(EventFinder, PhasesEclipsesMeetingsIngressesAndSeasonsAsTheReferenceFindsThem) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 24; ++i) {
        const double t0 = randomStart(random, i, 1500.0);
        expectAsReference(finderAt(kPlaces[i % kPlaces.size()]), kSlowKinds, t0,
                          t0 + uniform(random, 300, 1500));
    }
    // The very ends of the accepted range, with every kind.
    std::vector<EventKind> all(kAllEventKinds.begin(), kAllEventKinds.end());
    expectAsReference(finderAt(kPlaces[9]), all, -1e9, -1e9 + 60.0);
    expectAsReference(finderAt(kPlaces[11]), all, 1e9 - 60.0, 1e9);
}

// Two stretches where a search that steps from one sign change to the next goes wrong: a
// retrograde loop that meets the other planet three times, and the days near the polar
// night's edge when Nolomar's centre clears the horizon (or dips below −12°) for minutes.
TEST(EventFinder, TripleConjunctionsAndGrazingRisesAreAllFound) {
    const double t0 = 258840.0;
    const std::vector<Expected> meetings =
        reference::expectedEvents({EventKind::conjunction}, 0.0, 0.0, t0, t0 + 7200.0);
    double tightest = 1e9;
    std::size_t at = 0;
    for (std::size_t i = 0; i < meetings.size(); ++i) {
        std::vector<double> same;
        for (std::size_t j = i; j < meetings.size() && same.size() < 3; ++j) {
            if (meetings[j].who == meetings[i].who) same.push_back(meetings[j].t);
        }
        if (same.size() == 3 && same[2] - same[0] < tightest) {
            tightest = same[2] - same[0];
            at = i;
        }
    }
    ASSERT_LT(tightest, 90.0) << "no triple conjunction to test";
    const EventFinder finder(0.3, 1.2);
    expectAsReference(finder, {EventKind::conjunction}, meetings[at].t - 1.0,
                      meetings[at].t + tightest + 1.0);
    // next() walks through all three as well.
    int found = 0;
    std::optional<SkyEvent> e = finder.next(EventKind::conjunction, meetings[at].t - 1.0);
    for (; e && e->t < meetings[at].t + tightest + 1.0; e = finder.next(e->kind, e->t)) {
        found += reference::who(*e) == meetings[at].who;
    }
    EXPECT_EQ(found, 3) << meetings[at].who;

    for (const auto& [latitude, kinds, years] :
         {std::tuple(82.0, std::vector{EventKind::sunrise, EventKind::sunset}, 10),
          std::tuple(80.0, std::vector{EventKind::moonrise, EventKind::moonset}, 2),
          std::tuple(-56.99, std::vector{EventKind::nauticalDawn, EventKind::nauticalDusk}, 2)}) {
        const std::vector<Expected> crossings = reference::expectedEvents(
            kinds, degreesToRadians(latitude), 0.3, t0, t0 + 360.0 * years);
        double gap = 1e9;
        double middle = 0.0;
        for (std::size_t i = 1; i < crossings.size(); ++i) {
            if (crossings[i].t - crossings[i - 1].t < gap) {
                gap = crossings[i].t - crossings[i - 1].t;
                middle = crossings[i].t - 0.5 * gap;
            }
        }
        ASSERT_LT(gap, 20.0 * kMinute) << latitude;
        expectAsReference(EventFinder(degreesToRadians(latitude), 0.3), kinds, middle - 0.5,
                          middle + 0.5);
    }
}

// An eclipse with the eclipsed body a minute of arc above the horizon is seen, one a minute
// below is not.
TEST(EventFinder, EclipseVisibilityIsDecidedAtTheHorizon) {
    for (const EventKind kind : {EventKind::solarEclipse, EventKind::lunarEclipse}) {
        const std::vector<Expected> eclipses =
            reference::expectedEvents({kind}, 0.0, 0.0, 258840.0, 258840.0 + 1500.0);
        ASSERT_FALSE(eclipses.empty()) << kindName(kind);
        const double t = eclipses.front().t;
        const Vec3D eq = kind == EventKind::solarEclipse ? Sun(t).eq : Moon(t).eq;
        for (const double target : {3e-4, -3e-4}) {
            // On the equator the altitude falls from 90° to −90° as the place moves east from
            // under the body.
            double west = eq.phi - localSiderealAngle(t, 0.0);
            double east = west + kPi;
            for (int i = 0; i < 60; ++i) {
                const double middle = 0.5 * (west + east);
                (horizonCoordinates(eq, t, 0.0, middle).theta > target ? west : east) = middle;
            }
            const EventFinder finder(0.0, wrapPi(west));
            expectAsReference(finder, {kind}, t - 1.0, t + 1.0);
            const std::vector<SkyEvent> found = finder.between(std::array{kind}, t - 1.0, t + 1.0);
            ASSERT_EQ(found.size(), 1u) << kindName(kind);
            EXPECT_EQ(found[0].visible, target > 0.0) << kindName(kind);
        }
    }
}

// Months of polar night: next() must look past them to the first sunrise, and previous()
// back across them to the last.
TEST(EventFinder, PolarNightIsCrossedToTheNextSunrise) {
    for (const double latitude : {85.0, -80.0, 90.0, -89.9}) {
        const EventFinder finder(degreesToRadians(latitude), -2.0);
        const std::vector<Expected> rises = reference::expectedEvents(
            {EventKind::sunrise}, finder.latitude(), finder.longitude(), 258840.0, 259560.0);
        std::size_t after = 1;
        for (std::size_t i = 1; i < rises.size(); ++i) {
            if (rises[i].t - rises[i - 1].t > rises[after].t - rises[after - 1].t) after = i;
        }
        ASSERT_LT(after, rises.size()) << latitude;
        const Expected& before = rises[after - 1];
        ASSERT_GT(rises[after].t - before.t, 60.0) << latitude;
        const std::optional<SkyEvent> next = finder.next(EventKind::sunrise, before.t + 0.5);
        ASSERT_TRUE(next) << latitude;
        EXPECT_NEAR(next->t, rises[after].t, kSecond) << latitude;
        const std::optional<SkyEvent> previous = finder.previous(EventKind::sunrise, next->t);
        ASSERT_TRUE(previous) << latitude;
        EXPECT_NEAR(previous->t, before.t, kSecond) << latitude;
    }
}

// An event exactly at the moment is neither the next nor the previous one; from any moment,
// previous() and next() bracket it and point back at each other.
TEST(EventFinder, NextAndPreviousStepOverAnEventAtTheMoment) {
    const EventFinder finder(degreesToRadians(-33.9), degreesToRadians(151.2));
    std::mt19937_64 random(3);
    for (EventKind kind : kAllEventKinds) {
        const double t = uniform(random, 250000.0, 260000.0);
        const std::optional<SkyEvent> first = finder.next(kind, t);
        ASSERT_TRUE(first) << kindName(kind);
        const std::optional<SkyEvent> before = finder.previous(kind, t);
        ASSERT_TRUE(before) << kindName(kind);
        EXPECT_GT(first->t, t);
        EXPECT_LT(before->t, t);
        const std::optional<SkyEvent> second = finder.next(kind, first->t);
        ASSERT_TRUE(second) << kindName(kind);
        EXPECT_FALSE(sameEvent(*second, kind, first->t, reference::who(*first), 2 * kSecond))
            << kindName(kind) << " found again at " << second->t;
        EXPECT_GT(second->t, first->t) << kindName(kind);
        for (const auto& [from, want] :
             {std::pair(second->t, *first), std::pair(first->t, *before)}) {
            const std::optional<SkyEvent> e = finder.previous(kind, from);
            ASSERT_TRUE(e) << kindName(kind);
            EXPECT_TRUE(sameEvent(*e, kind, want.t, reference::who(want), 2 * kSecond))
                << kindName(kind) << ": " << e->t << " instead of " << want.t;
        }
        const std::optional<SkyEvent> again = finder.next(kind, before->t);
        ASSERT_TRUE(again) << kindName(kind);
        EXPECT_TRUE(sameEvent(*again, kind, first->t, reference::who(*first), 2 * kSecond))
            << kindName(kind) << ": " << again->t << " instead of " << first->t;
    }
}

// A year asked for in pieces, some cut exactly at an event, is the year asked for at once,
// to the bit; so is the same year handed over a stretch at a time.
TEST(EventFinder, ASpanInPiecesGivesTheSameEventsToTheBit) {
    const EventFinder finder(degreesToRadians(64.1), degreesToRadians(-179.9));
    const double t0 = 258840.25;
    const double t1 = t0 + 360.0;
    const std::vector<SkyEvent> whole = finder.between(kAllEventKinds, t0, t1);
    ASSERT_GT(whole.size(), 2000u);
    std::vector<double> cuts = {
        t0, t0 + 0.1, t0 + 29.7, whole[777].t, whole[1500].t, whole[1501].t, t0 + 301.0, t1};
    std::vector<SkyEvent> pieces;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const std::vector<SkyEvent> piece = finder.between(kAllEventKinds, cuts[i], cuts[i + 1]);
        pieces.insert(pieces.end(), piece.begin(), piece.end());
    }
    std::vector<SkyEvent> streamed;
    finder.between(kAllEventKinds, t0, t1, [&](const SkyEvent& e) { streamed.push_back(e); });
    for (const std::vector<SkyEvent>* other : {&pieces, &streamed}) {
        ASSERT_EQ(other->size(), whole.size());
        for (std::size_t i = 0; i < whole.size(); ++i) {
            const SkyEvent& a = whole[i];
            const SkyEvent& b = (*other)[i];
            ASSERT_TRUE(a.kind == b.kind && a.t == b.t && reference::who(a) == reference::who(b) &&
                        a.eclipseClass == b.eclipseClass && a.visible == b.visible &&
                        a.elongation == b.elongation && a.sunAltitude == b.sunAltitude)
                << i << ": " << describe(a.kind, a.t, reference::who(a)) << " against "
                << describe(b.kind, b.t, reference::who(b));
        }
    }
    EXPECT_TRUE(finder.between(kAllEventKinds, t0, t0).empty());
}

TEST(EventKinds, NamesAreTheOnesScriptsType) {
    constexpr std::array<std::string_view, 23> kNames = {
        "new-moon",      "first-quarter", "full-moon",     "last-quarter",      "solar-eclipse",
        "lunar-eclipse", "conjunction",   "opposition",    "sunrise",           "sunset",
        "moonrise",      "moonset",       "noon",          "midnight",          "civil-dawn",
        "civil-dusk",    "nautical-dawn", "nautical-dusk", "astronomical-dawn", "astronomical-dusk",
        "ingress",       "equinox",       "solstice"};
    static_assert(kNames.size() == kAllEventKinds.size());
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        EXPECT_EQ(kindName(kAllEventKinds[i]), kNames[i]);
        EXPECT_EQ(eventKindFromName(kNames[i]), kAllEventKinds[i]);
    }
    EXPECT_EQ(eventKindFromName("Full-Moon"), std::nullopt);
    EXPECT_EQ(eventKindFromName("full-moon "), std::nullopt);
}

}  // namespace
}  // namespace morvane
