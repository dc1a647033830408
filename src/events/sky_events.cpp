#include "events/sky_events.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <utility>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/planets.h"
#include "engine/positions.h"
#include "engine/signs.h"
#include "engine/sun_moon.h"
#include "engine/vec3d.h"
#include "events/horizon.h"

namespace morvane {

// How every kind is searched. Each event is the moment a continuous quantity q(t) passes a
// target x: g(t) = wrapPi(q(t) − x) changes sign (angles wrap, so the ±π jump is no pass).
// For each quantity we know a bound M on |q'(t)|. On [a, b], g must travel at least
// |g(a)| + |g(b)| to touch zero and come back, so when that sum exceeds M·(b − a) the
// interval holds no pass at all, and otherwise it is halved. Halving stops at a leaf, where a
// sign change is one pass; bisection then narrows it to 2^-15 day (2.6 s) and linear
// interpolation places it. So every pass is found unless another pass of the same quantity and
// target lies in the same leaf, and none is invented, since a reported pass is a sign change
// of the quantity itself. Leaves are 2^-10 day (84 s) where every pass of the quantity is an
// event of one kind, so only passes closer than 2 minutes to their own kind may merge; rises
// and sets alternate on one quantity, so theirs are 2^-15 day, and a graze above or below the
// horizon is found down to a few seconds.
// The first intervals lie on a grid of absolute multiples of a power of two, so a pass gets
// the same bits whichever window the search starts from.

namespace {

constexpr double kFineLeaf = 1.0 / 32768.0;
constexpr double kCoarseLeaf = 1.0 / 1024.0;
/// Room for rounding in g: far from the epoch the angles carry errors near 1e-7 radians.
constexpr double kSlack = 1e-6;
/// Margin over the derived rate bounds.
constexpr double kRateMargin = 1.02;
/// The longest first interval, days.
constexpr double kLongestStep = 32.0;
/// Two opposite passes closer than this are rounding noise around one graze, not two events.
constexpr double kNoiseGap = 2.0 * kFineLeaf;
/// next() and previous() look this far first, then twice as far each time.
constexpr double kFirstWindow = 4.0;
/// between() hands over events a stretch of this many days at a time.
constexpr double kChunkDays = 360.0;

constexpr double kSunSpeed = kTwoPi * kSunRate;
constexpr double kMoonSpeed = kTwoPi * kMoonRate;
constexpr double kMoonLatitudeSpeed = kMoonLatitudeAmplitude * kTwoPi * kMoonLatitudeRate;
constexpr double kSiderealSpeed = kTwoPi * kSiderealRate;

struct Pass {
    double t;
    std::size_t target;
    bool upward;
};

/// The largest power-of-two step (at most kLongestStep) over which q moves at most one radian:
/// well short of π/2, so an interval the test lets through never spans the ±π jump.
double firstStep(double rate) {
    double h = kLongestStep;
    while (h * rate > 1.0) h /= 2.0;
    return h;
}

template <typename Q>
class PassFinder {
  public:
    PassFinder(const Q& q, double rate, std::span<const double> targets, double leaf,
               std::vector<Pass>& out)
        : q_(q), rate_(rate * kRateMargin), targets_(targets), leaf_(leaf), out_(out) {}

    /// Every pass in [from, to).
    void run(double from, double to) {
        from_ = from;
        to_ = to;
        const double h = firstStep(rate_);
        double a = std::floor(from / h) * h;
        double qa = q_(a);
        while (a < to) {
            const double b = a + h;
            const double qb = q_(b);
            for (std::size_t i = 0; i < targets_.size(); ++i) {
                const double x = targets_[i];
                refine(a, b, wrapPi(qa - x), wrapPi(qb - x), i);
            }
            a = b;
            qa = qb;
        }
    }

  private:
    double g(double t, std::size_t target) const { return wrapPi(q_(t) - targets_[target]); }

    void refine(double a, double b, double ga, double gb, std::size_t target) {
        if (std::fabs(ga) + std::fabs(gb) > rate_ * (b - a) + kSlack) return;
        if (b - a > leaf_) {
            const double m = (a + b) * 0.5;
            const double gm = g(m, target);
            refine(a, m, ga, gm, target);
            refine(m, b, gm, gb, target);
            return;
        }
        const bool upward = ga < 0.0;
        if (upward == (gb < 0.0)) return;
        while (b - a > kFineLeaf) {
            const double m = (a + b) * 0.5;
            const double gm = g(m, target);
            if ((gm < 0.0) == upward) {
                a = m;
                ga = gm;
            } else {
                b = m;
                gb = gm;
            }
        }
        const double t = std::clamp(a + (b - a) * (ga / (ga - gb)), a, b);
        if (t >= from_ && t < to_) out_.push_back({t, target, upward});
    }

    const Q& q_;
    double rate_;
    std::span<const double> targets_;
    double leaf_;
    std::vector<Pass>& out_;
    double from_ = 0.0;
    double to_ = 0.0;
};

/// The passes of q over the targets in [from, to), each target's noise pairs dropped, sorted.
template <typename Q>
std::vector<Pass> passes(const Q& q, double rate, std::span<const double> targets, double from,
                         double to, double leaf = kCoarseLeaf) {
    std::vector<Pass> found;
    PassFinder<Q>(q, rate, targets, leaf, found).run(from, to);
    std::stable_sort(found.begin(), found.end(), [](const Pass& l, const Pass& r) {
        return l.target != r.target ? l.target < r.target : l.t < r.t;
    });
    std::vector<Pass> kept;
    kept.reserve(found.size());
    for (const Pass& p : found) {
        if (!kept.empty() && kept.back().target == p.target && kept.back().upward != p.upward &&
            p.t - kept.back().t < kNoiseGap) {
            kept.pop_back();
            continue;
        }
        kept.push_back(p);
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const Pass& l, const Pass& r) { return l.t < r.t; });
    return kept;
}

SkyBody bodyOf(Planet planet) {
    return static_cast<SkyBody>(static_cast<int>(SkyBody::epeon) + static_cast<int>(planet));
}

SkyEvent makeEvent(EventKind kind, double t, SkyBody first) {
    SkyEvent event;
    event.kind = kind;
    event.t = t;
    event.bodies[0] = first;
    event.bodyCount = 1;
    return event;
}

double altitude(const Vec3D& eq, double t, double latitude, double longitude) {
    return horizonCoordinates(eq, t, latitude, longitude).theta;
}

using KindSet = std::bitset<kAllEventKinds.size()>;

/// The searches of one place over one stretch, appending to `out`.
class Search {
  public:
    Search(double latitude, double longitude, double from, double to, std::vector<SkyEvent>& out)
        : latitude_(latitude),
          longitude_(longitude),
          sinLatitude_(std::sin(latitude)),
          cosLatitude_(std::cos(latitude)),
          from_(from),
          to_(to),
          out_(out) {}

    void run(const KindSet& kinds) {
        const auto any = [&kinds](std::initializer_list<EventKind> list) {
            return std::any_of(list.begin(), list.end(), [&kinds](EventKind kind) {
                return kinds.test(static_cast<std::size_t>(kind));
            });
        };
        wanted_ = kinds;
        if (any({EventKind::newMoon, EventKind::firstQuarter, EventKind::fullMoon,
                 EventKind::lastQuarter})) {
            phases();
        }
        if (any({EventKind::solarEclipse, EventKind::lunarEclipse})) eclipses();
        if (any({EventKind::conjunction})) conjunctions();
        if (any({EventKind::opposition})) oppositions();
        if (any({EventKind::sunrise, EventKind::sunset, EventKind::civilDawn, EventKind::civilDusk,
                 EventKind::nauticalDawn, EventKind::nauticalDusk, EventKind::astronomicalDawn,
                 EventKind::astronomicalDusk})) {
            sunAltitudeEvents();
        }
        if (any({EventKind::moonrise, EventKind::moonset})) moonRiseSet();
        if (any({EventKind::noon, EventKind::midnight})) transits();
        if (any({EventKind::ingress})) ingresses();
        if (any({EventKind::equinox, EventKind::solstice})) seasons();
    }

  private:
    bool wants(EventKind kind) const { return wanted_.test(static_cast<std::size_t>(kind)); }

    void phases() {
        static constexpr std::array<double, 4> kTargets = {0.0, kHalfPi, kPi, 3 * kHalfPi};
        static constexpr std::array<EventKind, 4> kKinds = {
            EventKind::newMoon, EventKind::firstQuarter, EventKind::fullMoon,
            EventKind::lastQuarter};
        const auto elongation = [](double t) { return moonLongitude(t) - sunLongitude(t); };
        for (const Pass& p : passes(elongation, kMoonSpeed - kSunSpeed, kTargets, from_, to_)) {
            if (wants(kKinds[p.target]))
                out_.push_back(makeEvent(kKinds[p.target], p.t, SkyBody::yael));
        }
    }

    void eclipses() {
        static constexpr double kEcliptic = 0.0;
        const auto latitude = [](double t) { return moonLatitude(t); };
        for (const Pass& p :
             passes(latitude, kMoonLatitudeSpeed, std::span(&kEcliptic, 1), from_, to_)) {
            const Moon moon(p.t);
            const Sun sun(p.t);
            const double elongation = wrapPi(moon.ec.phi - sun.ec.phi);
            const EclipseMarker marker = eclipseMarker(elongation);
            if (marker == EclipseMarker::none) continue;
            const bool solar =
                marker == EclipseMarker::totalSolar || marker == EclipseMarker::partialSolar;
            const EventKind kind = solar ? EventKind::solarEclipse : EventKind::lunarEclipse;
            if (!wants(kind)) continue;
            SkyEvent event = makeEvent(kind, p.t, solar ? SkyBody::nolomar : SkyBody::yael);
            if (solar) {
                event.bodies[1] = SkyBody::yael;
                event.bodyCount = 2;
            }
            // The classes follow the markers in order, the marker "none" aside.
            event.eclipseClass = static_cast<EclipseClass>(static_cast<int>(marker) - 1);
            event.elongation = elongation;
            event.visible = altitude(solar ? sun.eq : moon.eq, p.t, latitude_, longitude_) > 0.0;
            out_.push_back(event);
        }
    }

    void conjunctions() {
        static constexpr double kTogether = 0.0;
        for (const PlanetPair& pair : kPlanetPairs) {
            const auto separation = [&pair](double t) {
                return eclipticPosition(pair.first, t).phi - eclipticPosition(pair.second, t).phi;
            };
            const double rate = longitudeRateBound(pair.first) + longitudeRateBound(pair.second);
            for (const Pass& p : passes(separation, rate, std::span(&kTogether, 1), from_, to_)) {
                SkyEvent event = makeEvent(EventKind::conjunction, p.t, bodyOf(pair.first));
                event.bodies[1] = bodyOf(pair.second);
                event.bodyCount = 2;
                event.pair = pair.label;
                out_.push_back(event);
            }
        }
    }

    void oppositions() {
        static constexpr double kOpposite = kPi;
        for (Planet planet : kAllPlanets) {
            const auto fromSun = [planet](double t) {
                return eclipticPosition(planet, t).phi - sunLongitude(t);
            };
            const double rate = longitudeRateBound(planet) + kSunSpeed;
            for (const Pass& p : passes(fromSun, rate, std::span(&kOpposite, 1), from_, to_)) {
                out_.push_back(makeEvent(EventKind::opposition, p.t, bodyOf(planet)));
            }
        }
    }

    /// The sine of the altitude of an equatorial unit vector at t: it passes zero where the
    /// altitude does, and moves no faster.
    double sinAltitude(double x, double y, double z, double t) const {
        return morvane::sinAltitude(x, y, z, sinLatitude_, cosLatitude_,
                                    localSiderealAngle(t, longitude_));
    }

    /// The altitude moves by the sky's turn (at most cos φ per unit of hour angle) and by the
    /// body's own motion on the sphere (at most its speed).
    double horizonRate(double ownSpeed) const {
        return std::fabs(cosLatitude_) * kSiderealSpeed + ownSpeed;
    }

    void riseSet(const std::vector<Pass>& found, EventKind rise, EventKind set, SkyBody body) {
        for (const Pass& p : found) {
            const EventKind kind = p.upward ? rise : set;
            if (wants(kind)) out_.push_back(makeEvent(kind, p.t, body));
        }
    }

    /// Sunrise and sunset, and the dawns and dusks of the three twilights: Nolomar's altitude
    /// passing 0°, −6°, −12° and −18°. Only the wanted heights are searched.
    void sunAltitudeEvents() {
        struct Height {
            double altitude;
            EventKind up;
            EventKind down;
        };
        static constexpr std::array<Height, 4> kHeights = {{
            {0.0, EventKind::sunrise, EventKind::sunset},
            {kCivilTwilightAltitude, EventKind::civilDawn, EventKind::civilDusk},
            {kNauticalTwilightAltitude, EventKind::nauticalDawn, EventKind::nauticalDusk},
            {kAstronomicalTwilightAltitude, EventKind::astronomicalDawn,
             EventKind::astronomicalDusk},
        }};
        std::array<double, 4> targets{};
        std::array<const Height*, 4> heights{};
        std::size_t count = 0;
        for (const Height& height : kHeights) {
            if (!wants(height.up) && !wants(height.down)) continue;
            targets[count] = std::sin(height.altitude);
            heights[count] = &height;
            ++count;
        }
        const auto sunAltitude = [this](double t) {
            const double longitude = sunLongitude(t);
            const double s = std::sin(longitude);
            return sinAltitude(std::cos(longitude), s * kCosObliquity, s * kSinObliquity, t);
        };
        // The sine of the altitude moves no faster than the altitude itself.
        for (const Pass& p : passes(sunAltitude, horizonRate(kSunSpeed),
                                    std::span(targets.data(), count), from_, to_, kFineLeaf)) {
            const Height& height = *heights[p.target];
            const EventKind kind = p.upward ? height.up : height.down;
            if (wants(kind)) out_.push_back(makeEvent(kind, p.t, SkyBody::nolomar));
        }
    }

    void moonRiseSet() {
        static constexpr double kHorizon = 0.0;
        const auto moonAltitude = [this](double t) {
            const double longitude = moonLongitude(t);
            const double latitude = moonLatitude(t);
            const double x = std::cos(latitude) * std::cos(longitude);
            const double y = std::cos(latitude) * std::sin(longitude);
            const double z = std::sin(latitude);
            return sinAltitude(x, y * kCosObliquity - z * kSinObliquity,
                               y * kSinObliquity + z * kCosObliquity, t);
        };
        riseSet(passes(moonAltitude, horizonRate(kMoonSpeed + kMoonLatitudeSpeed),
                       std::span(&kHorizon, 1), from_, to_, kFineLeaf),
                EventKind::moonrise, EventKind::moonset, SkyBody::yael);
    }

    void transits() {
        static constexpr std::array<double, 2> kTargets = {0.0, kPi};
        // Nolomar's right ascension, as the frame rotation gives it, written out.
        const auto hourAngle = [this](double t) {
            const double longitude = sunLongitude(t);
            return localSiderealAngle(t, longitude_) -
                   std::atan2(std::sin(longitude) * kCosObliquity, std::cos(longitude));
        };
        // Nolomar's right ascension only ever grows, so the hour angle turns no faster than
        // the sky.
        for (const Pass& p : passes(hourAngle, kSiderealSpeed, kTargets, from_, to_)) {
            const EventKind kind = p.target == 0 ? EventKind::noon : EventKind::midnight;
            if (!wants(kind)) continue;
            SkyEvent event = makeEvent(kind, p.t, SkyBody::nolomar);
            event.sunAltitude = altitude(Sun(p.t).eq, p.t, latitude_, longitude_);
            out_.push_back(event);
        }
    }

    void ingresses() {
        const std::array<double, 12>& bounds = zodiacSignBounds();
        const auto enter = [&](SkyBody body, const auto& longitude, double rate) {
            for (const Pass& p : passes(longitude, rate, bounds, from_, to_)) {
                SkyEvent event = makeEvent(EventKind::ingress, p.t, body);
                // On a bound a longitude belongs to the sign after it; moving backwards it
                // enters the sign that ends there, the one the previous bound begins.
                const double bound = bounds[p.upward ? p.target : (p.target + 11) % 12];
                event.sign = zodiacSignShort(bound);
                out_.push_back(event);
            }
        };
        enter(
            SkyBody::nolomar, [](double t) { return sunLongitude(t); }, kSunSpeed);
        enter(
            SkyBody::yael, [](double t) { return moonLongitude(t); }, kMoonSpeed);
        for (Planet planet : kAllPlanets) {
            enter(
                bodyOf(planet), [planet](double t) { return eclipticPosition(planet, t).phi; },
                longitudeRateBound(planet));
        }
    }

    void seasons() {
        static constexpr std::array<double, 4> kTargets = {0.0, kHalfPi, kPi, 3 * kHalfPi};
        static constexpr std::array<Season, 4> kSeasons = {Season::northward, Season::northern,
                                                           Season::southward, Season::southern};
        const auto longitude = [](double t) { return sunLongitude(t); };
        // Nolomar moves forwards only, so the target alone says which one it is.
        for (const Pass& p : passes(longitude, kSunSpeed, kTargets, from_, to_)) {
            const EventKind kind = p.target % 2 == 0 ? EventKind::equinox : EventKind::solstice;
            if (!wants(kind)) continue;
            SkyEvent event = makeEvent(kind, p.t, SkyBody::nolomar);
            event.season = kSeasons[p.target];
            out_.push_back(event);
        }
    }

    double latitude_;
    double longitude_;
    double sinLatitude_;
    double cosLatitude_;
    double from_;
    double to_;
    std::vector<SkyEvent>& out_;
    KindSet wanted_;
};

void sortEvents(std::vector<SkyEvent>& events) {
    std::stable_sort(events.begin(), events.end(), [](const SkyEvent& l, const SkyEvent& r) {
        if (l.t != r.t) return l.t < r.t;
        return l.kind < r.kind;
    });
}

std::vector<SkyEvent> search(double latitude, double longitude, EventKind kind, double from,
                             double to) {
    std::vector<SkyEvent> events;
    KindSet kinds;
    kinds.set(static_cast<std::size_t>(kind));
    Search(latitude, longitude, from, to, events).run(kinds);
    sortEvents(events);
    return events;
}

}  // namespace

std::string_view kindName(EventKind kind) {
    static constexpr std::array<std::string_view, kAllEventKinds.size()> kNames = {
        "new-moon",      "first-quarter", "full-moon",     "last-quarter",      "solar-eclipse",
        "lunar-eclipse", "conjunction",   "opposition",    "sunrise",           "sunset",
        "moonrise",      "moonset",       "noon",          "midnight",          "civil-dawn",
        "civil-dusk",    "nautical-dawn", "nautical-dusk", "astronomical-dawn", "astronomical-dusk",
        "ingress",       "equinox",       "solstice"};
    return kNames[static_cast<std::size_t>(kind)];
}

std::optional<EventKind> eventKindFromName(std::string_view name) {
    for (EventKind kind : kAllEventKinds) {
        if (kindName(kind) == name) return kind;
    }
    return std::nullopt;
}

std::string_view bodyName(SkyBody body) {
    switch (body) {
        case SkyBody::nolomar:
            return "Nolomar";
        case SkyBody::yael:
            return "Yael";
        default:
            return displayName(
                static_cast<Planet>(static_cast<int>(body) - static_cast<int>(SkyBody::epeon)));
    }
}

std::string_view eclipseClassName(EclipseClass eclipseClass) {
    static constexpr std::array<std::string_view, 5> kNames = {"total", "partial", "deepest",
                                                               "second", "third"};
    return kNames[static_cast<std::size_t>(eclipseClass)];
}

std::string_view seasonName(Season season) {
    static constexpr std::array<std::string_view, 4> kNames = {"northward", "southward", "northern",
                                                               "southern"};
    return kNames[static_cast<std::size_t>(season)];
}

EventFinder::EventFinder(double latitude, double longitude)
    : latitude_(latitude), longitude_(longitude) {}

std::optional<SkyEvent> EventFinder::next(EventKind kind, double t) const {
    double from = t;
    for (double window = kFirstWindow; from - t < kSearchHorizonDays; window *= 2.0) {
        const double to = std::min(from + window, t + kSearchHorizonDays);
        for (const SkyEvent& event : search(latitude_, longitude_, kind, from, to)) {
            if (event.t > t) return event;
        }
        from = to;
    }
    return std::nullopt;
}

std::optional<SkyEvent> EventFinder::previous(EventKind kind, double t) const {
    double to = t;
    for (double window = kFirstWindow; t - to < kSearchHorizonDays; window *= 2.0) {
        const double from = std::max(to - window, t - kSearchHorizonDays);
        const std::vector<SkyEvent> events = search(latitude_, longitude_, kind, from, to);
        for (auto it = events.rbegin(); it != events.rend(); ++it) {
            if (it->t < t) return *it;
        }
        to = from;
    }
    return std::nullopt;
}

std::vector<SkyEvent> EventFinder::between(std::span<const EventKind> kinds, double t0,
                                           double t1) const {
    std::vector<SkyEvent> events;
    between(kinds, t0, t1, [&events](const SkyEvent& event) { events.push_back(event); });
    return events;
}

void EventFinder::between(std::span<const EventKind> kinds, double t0, double t1,
                          const std::function<void(const SkyEvent&)>& sink) const {
    KindSet wanted;
    for (EventKind kind : kinds) wanted.set(static_cast<std::size_t>(kind));
    if (wanted.none()) return;
    std::vector<SkyEvent> events;
    for (double from = t0; from < t1; from += kChunkDays) {
        const double to = std::min(from + kChunkDays, t1);
        events.clear();
        Search(latitude_, longitude_, from, to, events).run(wanted);
        sortEvents(events);
        for (const SkyEvent& event : events) sink(event);
    }
}

}  // namespace morvane
