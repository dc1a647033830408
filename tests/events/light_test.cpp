#include "events/light.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/positions.h"
#include "engine/sun_moon.h"
#include "events/sky_events.h"

namespace morvane {
namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kT0 = 258840.0;
/// The moon is in the shadow closer than this to the point opposite Nolomar: 180° − 178.42°.
constexpr double kShadow = (180.0 - 178.42) / kDegreesPerRadian;

double uniform(std::mt19937_64& random, double lo, double hi) {
    return lo + (hi - lo) * static_cast<double>(random() >> 11) * 0x1p-53;
}

double degrees(double d) { return d / kDegreesPerRadian; }

/// The angle between Yael and the point opposite Nolomar, from the two bodies' directions.
double shadowAngle(double t) {
    const Vec3D moon = Moon(t).ec;
    const double sun = Sun(t).ec.phi;
    const double dot = -std::cos(moon.theta) *
                       (std::cos(moon.phi) * std::cos(sun) + std::sin(moon.phi) * std::sin(sun));
    return std::acos(std::clamp(dot, -1.0, 1.0));
}

TEST(TwilightStage, EachBoundaryBelongsToTheLighterStageAndNotANumberIsNight) {
    using S = TwilightStage;
    EXPECT_NEAR(kCivilTwilightAltitude, degrees(-6.0), 1e-16);
    EXPECT_NEAR(kNauticalTwilightAltitude, degrees(-12.0), 1e-16);
    EXPECT_NEAR(kAstronomicalTwilightAltitude, degrees(-18.0), 1e-16);
    const double below = -std::numeric_limits<double>::infinity();
    const struct {
        double altitude;
        TwilightStage stage;
    } cases[] = {
        {kHalfPi, S::day},
        {0.0, S::day},
        {std::nextafter(0.0, below), S::civil},
        {kCivilTwilightAltitude, S::civil},
        {std::nextafter(kCivilTwilightAltitude, below), S::nautical},
        {kNauticalTwilightAltitude, S::nautical},
        {std::nextafter(kNauticalTwilightAltitude, below), S::astronomical},
        {kAstronomicalTwilightAltitude, S::astronomical},
        {std::nextafter(kAstronomicalTwilightAltitude, below), S::night},
        {-kHalfPi, S::night},
        {std::numeric_limits<double>::quiet_NaN(), S::night},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(twilightStage(c.altitude), c.stage) << c.altitude;
    }
    EXPECT_EQ(stageName(S::astronomical), "astronomical");
    EXPECT_EQ(levelName(LightLevel::dim), "dim");
}

TEST(LightLevel, YaelLightsADarkSkyOnlyHighEnoughLitEnoughAndUnshadowed) {
    using S = TwilightStage;
    using L = LightLevel;
    const MoonlightThresholds standard;
    const MoonlightThresholds custom{degrees(10.0), 0.25};
    const MoonlightThresholds belowHorizon{degrees(-2.0), 0.0};
    const double up = 0.5;
    const struct {
        TwilightStage stage;
        double moonAltitude;
        double illumination;
        bool eclipsed;
        const MoonlightThresholds& thresholds;
        LightLevel level;
    } cases[] = {
        {S::day, -1.0, 0.0, true, standard, L::bright},
        {S::civil, -1.0, 0.0, true, standard, L::dim},
        {S::nautical, -1.0, 1.0, false, standard, L::dark},
        {S::nautical, up, 1.0, false, standard, L::dim},
        {S::astronomical, up, 1.0, true, standard, L::dark},
        {S::night, 0.0, 1.0, false, standard, L::dark},  // at the threshold is not above it
        {S::night, std::nextafter(0.0, 1.0), 0.5, false, standard, L::dim},
        {S::night, up, std::nextafter(0.5, 0.0), false, standard, L::dark},
        {S::night, degrees(10.0), 0.3, false, custom, L::dark},
        {S::night, std::nextafter(degrees(10.0), 1.0), 0.25, false, custom, L::dim},
        {S::night, up, 0.24, false, custom, L::dark},
        {S::night, degrees(-1.0), 0.0, false, belowHorizon, L::dim},
        {S::night, degrees(-3.0), 1.0, false, belowHorizon, L::dark},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lightLevel(c.stage, c.moonAltitude, c.illumination, c.eclipsed, c.thresholds),
                  c.level)
            << stageName(c.stage) << ' ' << c.moonAltitude << ' ' << c.illumination << ' '
            << c.eclipsed;
    }
}

TEST(IlluminatedFraction, EmptyAtNewMoonFullAtFullMoonHalfAtTheQuarters) {
    const EventFinder finder(0.0, 0.0);
    const std::array<std::pair<EventKind, double>, 4> phases = {{{EventKind::newMoon, 0.0},
                                                                 {EventKind::firstQuarter, 0.5},
                                                                 {EventKind::fullMoon, 1.0},
                                                                 {EventKind::lastQuarter, 0.5}}};
    for (const double t : {-9.9e8, -123456.7, kT0, 7.7e8}) {
        for (const auto& [kind, fraction] : phases) {
            const std::optional<SkyEvent> phase = finder.next(kind, t);
            ASSERT_TRUE(phase);
            EXPECT_NEAR(illuminatedFraction(phase->t), fraction, 1e-5)
                << kindName(kind) << " at " << phase->t;
        }
    }
}

// A lunar eclipse seen overhead at midnight: inside the shadow Yael's light counts for nothing,
// so that night is dark where a full moon without eclipse leaves it dim. A full moon that
// grazes the shadow off the eclipse limit is no eclipse.
TEST(MoonEclipsed, OnlyInTheShadowOfALunarEclipseAndThenTheNightIsDark) {
    const EventFinder anywhere(0.0, 0.0);
    const std::optional<SkyEvent> eclipse = anywhere.next(EventKind::lunarEclipse, kT0);
    ASSERT_TRUE(eclipse);
    const double te = eclipse->t;
    const GroundPoint below = subLunarPoint(te);
    const std::vector<SkyEvent> seen =
        EventFinder(below.latitude, below.longitude)
            .between(std::array{EventKind::lunarEclipse}, te - 1.0, te + 1.0);
    ASSERT_EQ(seen.size(), 1U);
    EXPECT_TRUE(seen[0].visible);

    int inShadow = 0;
    for (int k = -400; k <= 400; ++k) {
        const double u = te + k * 0.0025;
        const double angle = shadowAngle(u);
        if (std::fabs(angle - kShadow) < 1e-9) continue;
        EXPECT_EQ(moonEclipsed(u), angle < kShadow) << u - te;
        inShadow += angle < kShadow;
    }
    EXPECT_GT(inShadow, 20);
    EXPECT_FALSE(moonEclipsed(te - 1.0));
    EXPECT_FALSE(moonEclipsed(te + 1.0));

    const LightSample dark = lightAt(te, below.latitude, below.longitude);
    EXPECT_EQ(dark.stage, TwilightStage::night);
    EXPECT_GT(dark.moonAltitude, degrees(89.0));
    EXPECT_GT(dark.illumination, 0.99);
    EXPECT_TRUE(dark.moonEclipsed);
    EXPECT_EQ(dark.level, LightLevel::dark);
    const LightSample field = LightField(te).at(below.latitude, below.longitude);
    EXPECT_TRUE(field.moonEclipsed);
    EXPECT_EQ(field.level, LightLevel::dark);

    // Full moons with no eclipse near them: one far from the shadow, one that passes within
    // its radius while crossing the ecliptic too far from opposition.
    bool far = false;
    bool grazing = false;
    std::optional<SkyEvent> full = anywhere.next(EventKind::fullMoon, kT0);
    for (int i = 0; i < 100 && !(far && grazing);
         ++i, full = anywhere.next(EventKind::fullMoon, full->t)) {
        ASSERT_TRUE(full);
        if (!anywhere.between(std::array{EventKind::lunarEclipse}, full->t - 2.0, full->t + 2.0)
                 .empty())
            continue;
        double closest = full->t;
        for (double u = full->t - 0.5; u <= full->t + 0.5; u += 0.002) {
            if (shadowAngle(u) < shadowAngle(closest)) closest = u;
        }
        const bool inside = shadowAngle(closest) < kShadow - 1e-6;
        if (inside ? grazing : far) continue;
        (inside ? grazing : far) = true;
        const GroundPoint overhead = subLunarPoint(closest);
        const LightSample lit = lightAt(closest, overhead.latitude, overhead.longitude);
        EXPECT_FALSE(moonEclipsed(closest)) << closest;
        EXPECT_FALSE(lit.moonEclipsed) << closest;
        EXPECT_EQ(lit.stage, TwilightStage::night) << closest;
        EXPECT_EQ(lit.level, LightLevel::dim) << closest;
        EXPECT_EQ(LightField(closest).at(overhead.latitude, overhead.longitude).level,
                  LightLevel::dim);
    }
    EXPECT_TRUE(far && grazing);
}

// Over the engine's whole range of moments the sub-points see their body at the zenith, and
// the per-moment field answers as the per-place function does.
TEST(SubPoints, NolomarAndYaelStandAtTheZenithAndTheFieldAgreesWithLightAt) {
    std::mt19937_64 random(4242);
    double worst = 0.0;
    for (int i = 0; i < 1200; ++i) {
        const double t =
            i % 2 == 0 ? uniform(random, -1e9, 1e9) : uniform(random, kT0 - 36000.0, kT0 + 36000.0);
        for (const bool sun : {true, false}) {
            const GroundPoint p = sun ? subSolarPoint(t) : subLunarPoint(t);
            const Vec3D eq = sun ? Sun(t).eq : Moon(t).eq;
            EXPECT_EQ(p.latitude, eq.theta);
            EXPECT_TRUE(p.longitude > -kPi && p.longitude <= kPi) << p.longitude;
            const double off = kHalfPi - horizonCoordinates(eq, t, p.latitude, p.longitude).theta;
            worst = std::max(worst, off);
        }
        const MoonlightThresholds thresholds =
            i % 3 == 0 ? MoonlightThresholds{}
                       : MoonlightThresholds{uniform(random, -0.2, 0.5), uniform(random, 0.0, 1.0)};
        const double latitude = uniform(random, -kHalfPi, kHalfPi);
        const double longitude = uniform(random, -kPi, kPi);
        const LightField field(t, thresholds);
        const LightSample f = field.at(latitude, longitude);
        const LightSample s = lightAt(t, latitude, longitude, thresholds);
        EXPECT_EQ(field.sunAltitudeAt(latitude, longitude), f.sunAltitude);
        EXPECT_EQ(f.t, t);
        EXPECT_NEAR(f.sunAltitude, s.sunAltitude, 1e-9) << t;
        EXPECT_NEAR(f.moonAltitude, s.moonAltitude, 1e-9) << t;
        EXPECT_EQ(f.illumination, s.illumination);
        EXPECT_EQ(f.moonEclipsed, s.moonEclipsed);
        EXPECT_EQ(f.stage, s.stage) << t;
        EXPECT_EQ(f.level, s.level) << t;
    }
    EXPECT_LT(worst, degrees(0.01));
}

/// The stretches of constant `state` over [from, to]: sampled every 20 s, each change narrowed
/// to a hundredth of a second.
struct Stretch {
    double from;
    double to;
    int state;
};
std::vector<Stretch> stretches(const std::function<int(double)>& state, double from, double to) {
    constexpr int kSamples = 4320;
    std::vector<Stretch> out = {{from, from, state(from)}};
    for (int k = 1; k <= kSamples; ++k) {
        const double u = from + (to - from) * k / kSamples;
        const int s = state(u);
        if (s == out.back().state) continue;
        double a = from + (to - from) * (k - 1) / kSamples;
        double b = u;
        while (b - a > 0.01 * kSecond) {
            const double m = 0.5 * (a + b);
            (state(m) == out.back().state ? a : b) = m;
        }
        out.back().to = 0.5 * (a + b);
        out.push_back({out.back().to, out.back().to, s});
    }
    out.back().to = to;
    return out;
}

/// A day's light against what the moment-by-moment functions and the event finder say.
void expectConsistent(double t, double latitude, double longitude,
                      const MoonlightThresholds& thresholds) {
    SCOPED_TRACE(fmt::format("t = {:.6f} at {:.3f}°, {:.3f}°", t, latitude * kDegreesPerRadian,
                             longitude * kDegreesPerRadian));
    const DayLight day = dayLight(t, latitude, longitude, thresholds);
    ASSERT_EQ(day.start, t);
    ASSERT_EQ(day.end, t + 1.0);

    ASSERT_EQ(day.curve.size(), 289U);
    EXPECT_EQ(day.curve.back().t, day.end);
    for (std::size_t k = 0; k < day.curve.size(); ++k) {
        const LightSample& c = day.curve[k];
        EXPECT_NEAR(c.t, t + static_cast<double>(k) * kDayCurveStep, 1e-9);
        const LightSample s = lightAt(c.t, latitude, longitude, thresholds);
        EXPECT_EQ(c.sunAltitude, s.sunAltitude);
        EXPECT_EQ(c.moonAltitude, s.moonAltitude);
        EXPECT_EQ(c.level, s.level) << k;
    }

    using K = EventKind;
    const std::vector<SkyEvent> found =
        EventFinder(latitude, longitude)
            .between(std::array{K::solarEclipse, K::lunarEclipse, K::sunrise, K::sunset,
                                K::moonrise, K::moonset, K::noon, K::midnight, K::civilDawn,
                                K::civilDusk, K::nauticalDawn, K::nauticalDusk, K::astronomicalDawn,
                                K::astronomicalDusk},
                     day.start, day.end);
    ASSERT_EQ(day.events.size(), found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        EXPECT_TRUE(day.events[i].kind == found[i].kind && day.events[i].t == found[i].t) << i;
    }
    const DaySummary& s = day.summary;
    const auto times = [&found](EventKind kind) {
        std::vector<double> out;
        for (const SkyEvent& e : found) {
            if (e.kind == kind) out.push_back(e.t);
        }
        return out;
    };
    const std::pair<const std::vector<double>*, EventKind> lists[] = {
        {&s.astronomicalDawns, K::astronomicalDawn},
        {&s.nauticalDawns, K::nauticalDawn},
        {&s.civilDawns, K::civilDawn},
        {&s.sunrises, K::sunrise},
        {&s.noons, K::noon},
        {&s.sunsets, K::sunset},
        {&s.civilDusks, K::civilDusk},
        {&s.nauticalDusks, K::nauticalDusk},
        {&s.astronomicalDusks, K::astronomicalDusk},
        {&s.moonrises, K::moonrise},
        {&s.moonsets, K::moonset}};
    for (const auto& [list, kind] : lists) EXPECT_EQ(*list, times(kind)) << kindName(kind);
    EXPECT_EQ(s.eclipses.size(), times(K::solarEclipse).size() + times(K::lunarEclipse).size());
    if (!s.noons.empty()) {
        const auto noon = std::ranges::find(found, K::noon, &SkyEvent::kind);
        EXPECT_EQ(s.noonAltitude, noon->sunAltitude);
    }

    const std::vector<Stretch> levels = stretches(
        [&](double u) {
            return static_cast<int>(lightAt(u, latitude, longitude, thresholds).level);
        },
        day.start, day.end);
    ASSERT_EQ(day.levels.size(), levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const LightSpan& span = day.levels[i];
        EXPECT_EQ(static_cast<int>(span.level), levels[i].state) << i;
        EXPECT_NEAR(span.from, levels[i].from, kSecond) << i;
        EXPECT_NEAR(span.to, levels[i].to, kSecond) << i;
        if (i > 0) {
            EXPECT_EQ(span.from, day.levels[i - 1].to);
        }
    }
    EXPECT_EQ(day.levels.front().from, day.start);
    EXPECT_EQ(day.levels.back().to, day.end);

    std::vector<Stretch> up =
        stretches([&](double u) { return moonAltitude(u, latitude, longitude) > 0.0 ? 1 : 0; },
                  day.start, day.end);
    std::erase_if(up, [](const Stretch& x) { return x.state == 0; });
    ASSERT_EQ(day.moonUp.size(), up.size());
    for (std::size_t i = 0; i < up.size(); ++i) {
        EXPECT_NEAR(day.moonUp[i].from, up[i].from, kSecond) << i;
        EXPECT_NEAR(day.moonUp[i].to, up[i].to, kSecond) << i;
        EXPECT_NEAR(day.moonUp[i].illumination, illuminatedFraction(0.5 * (up[i].from + up[i].to)),
                    1e-6);
    }

    // The stage and Yael's being up, coded so a larger number is a darker sky.
    const std::vector<Stretch> skies = stretches(
        [&](double u) {
            const int stage = static_cast<int>(twilightStage(sunAltitude(u, latitude, longitude)));
            return 2 * stage + (moonAltitude(u, latitude, longitude) > 0.0 ? 0 : 1);
        },
        day.start, day.end);
    double dayLength = 0.0;
    int darkest = 0;
    int lightest = 9;
    for (const Stretch& x : skies) {
        if (x.state / 2 == 0) dayLength += x.to - x.from;
        darkest = std::max(darkest, x.state);
        lightest = std::min(lightest, x.state / 2);
    }
    EXPECT_NEAR(s.dayLength, dayLength, 2 * kSecond);
    EXPECT_EQ(static_cast<int>(s.darkestStage), darkest / 2);
    EXPECT_EQ(static_cast<int>(s.lightestStage), lightest);
    EXPECT_EQ(s.course, s.sunrises.empty() && s.sunsets.empty()
                            ? (dayLength > 0.5 ? SunCourse::polarDay : SunCourse::polarNight)
                            : SunCourse::risesAndSets);
    const Stretch* longest = nullptr;
    for (const Stretch& x : skies) {
        if (x.state == darkest && x.state >= 2 &&
            (!longest || x.to - x.from > longest->to - longest->from))
            longest = &x;
    }
    ASSERT_EQ(s.darkest.has_value(), longest != nullptr);
    if (longest) {
        EXPECT_NEAR(s.darkest->from, longest->from, kSecond);
        EXPECT_NEAR(s.darkest->to, longest->to, kSecond);
        EXPECT_EQ(static_cast<int>(s.darkest->stage), darkest / 2);
        EXPECT_EQ(s.darkest->moonUp, darkest % 2 == 0);
    }
    EXPECT_EQ(s.illuminationStart, illuminatedFraction(day.start));
    EXPECT_EQ(s.illuminationEnd, illuminatedFraction(day.end));
}

TEST(DayLight, AgreesWithTheMomentsAndTheEventsItSummarises) {
    std::mt19937_64 random(606);
    for (int i = 0; i < 8; ++i) {
        const double t =
            i % 2 == 0 ? uniform(random, -1e9, 1e9) : uniform(random, kT0 - 36000.0, kT0 + 36000.0);
        const MoonlightThresholds thresholds =
            i % 4 == 1 ? MoonlightThresholds{degrees(20.0), 0.1} : MoonlightThresholds{};
        expectConsistent(t, uniform(random, -degrees(89.9), degrees(89.9)),
                         uniform(random, -kPi, kPi), thresholds);
    }
    // A night with a lunar eclipse overhead, and the high latitudes where twilights merge.
    const std::optional<SkyEvent> eclipse =
        EventFinder(0.0, 0.0).next(EventKind::lunarEclipse, kT0);
    ASSERT_TRUE(eclipse);
    const GroundPoint below = subLunarPoint(eclipse->t);
    expectConsistent(eclipse->t - 0.4, below.latitude, below.longitude, {});
    expectConsistent(kT0 + 80.0, degrees(60.0), degrees(10.0), {degrees(-3.0), 0.0});
    // Days cut near midnight around a new moon: two moonless nights, the longer one first or
    // last.
    const std::optional<SkyEvent> newMoon = EventFinder(0.0, 0.0).next(EventKind::newMoon, kT0);
    ASSERT_TRUE(newMoon);
    const EventFinder south(degrees(-30.0), degrees(40.0));
    const std::optional<SkyEvent> midnight = south.next(EventKind::midnight, newMoon->t);
    ASSERT_TRUE(midnight);
    for (const double shift : {-0.05, 0.05}) {
        expectConsistent(midnight->t + shift, south.latitude(), south.longitude(), {});
    }
    // A month of midsummer nights that never get past astronomical twilight, with Yael in every
    // phase: a moonlit astronomical twilight is darker than a moonless nautical one.
    std::optional<SkyEvent> solstice = EventFinder(0.0, 0.0).next(EventKind::solstice, kT0);
    if (solstice->season != Season::northern)
        solstice = EventFinder(0.0, 0.0).next(EventKind::solstice, solstice->t);
    for (int day = -15; day < 15; day += 2) {
        expectConsistent(solstice->t + day, degrees(55.0), degrees(-20.0), {});
    }
    expectConsistent(kT0 + 260.0, degrees(-66.0), degrees(-100.0), {});
}

// Around the solstices, far beyond the polar circles, Nolomar stays up or down all day.
TEST(DayLight, PolarDayAndPolarNightHaveNoRiseNoSetAndAWholeOrEmptyDay) {
    const EventFinder finder(0.0, 0.0);
    const std::optional<SkyEvent> solstice = finder.next(EventKind::solstice, kT0);
    ASSERT_TRUE(solstice);
    const double north = solstice->season == Season::northern ? 1.0 : -1.0;
    for (const double sign : {1.0, -1.0}) {
        const bool polarDay = sign == north;
        const DayLight day = dayLight(solstice->t - 0.5, sign * degrees(80.0), degrees(30.0), {});
        const DaySummary& s = day.summary;
        EXPECT_EQ(s.course, polarDay ? SunCourse::polarDay : SunCourse::polarNight);
        EXPECT_TRUE(s.sunrises.empty() && s.sunsets.empty());
        EXPECT_NEAR(s.dayLength, polarDay ? 1.0 : 0.0, 1e-9);
        EXPECT_EQ(s.darkest.has_value(), !polarDay);
        EXPECT_EQ(s.lightestStage, polarDay ? TwilightStage::day : TwilightStage::nautical);
        EXPECT_EQ(s.darkestStage, polarDay ? TwilightStage::day : TwilightStage::night);
        if (polarDay) {
            ASSERT_EQ(day.levels.size(), 1U);
            EXPECT_EQ(day.levels[0].level, LightLevel::bright);
            EXPECT_GT(s.noonAltitude, degrees(25.0));
        } else {
            EXPECT_LT(s.noonAltitude, degrees(-10.0));
            EXPECT_EQ(s.civilDawns.size() + s.civilDusks.size(), 0U);
            EXPECT_EQ(s.nauticalDawns.size(), 1U);
        }
    }
}

// The 24 hours from just after a sunrise hold no sunrise when the next one comes a little
// later in the day: a set without a rise is an ordinary day, not a polar one.
TEST(DayLight, ADayWithASetButNoRiseIsNoPolarDay) {
    const double latitude = degrees(50.0);
    const EventFinder finder(latitude, 0.0);
    std::optional<SkyEvent> rise = finder.next(EventKind::sunrise, kT0);
    int found = 0;
    for (int day = 0; day < 360 && found < 3; ++day) {
        ASSERT_TRUE(rise);
        const std::optional<SkyEvent> following = finder.next(EventKind::sunrise, rise->t);
        ASSERT_TRUE(following);
        const double start = rise->t + 10.0 * kSecond;
        if (following->t > start + 1.0 + 10.0 * kSecond) {
            const DaySummary s = dayLight(start, latitude, 0.0, {}).summary;
            EXPECT_TRUE(s.sunrises.empty());
            EXPECT_EQ(s.sunsets.size(), 1U);
            EXPECT_EQ(s.course, SunCourse::risesAndSets);
            ++found;
        }
        rise = following;
    }
    EXPECT_EQ(found, 3);
}

}  // namespace
}  // namespace morvane
