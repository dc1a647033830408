#pragma once

// A slow, independent search for the sky's events, to hold the event finder against: every
// defining quantity is sampled at steps its rate bound makes safe, any stretch where a zero
// cannot be ruled out is halved down to a tenth of a second, and each sign change is bisected
// to the last bit.

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/planets.h"
#include "engine/positions.h"
#include "engine/signs.h"
#include "engine/sun_moon.h"
#include "engine/vec3d.h"
#include "events/sky_events.h"

namespace morvane::reference {

inline constexpr double kSecond = 1.0 / 86400.0;
inline constexpr double kMinute = 60.0 * kSecond;

/// A continuous quantity whose zeros are events. An angle quantity is reduced by wrapPi, and
/// its jumps between +π and −π are no zeros. `rate` bounds |dq/dt|, radians per day.
struct Quantity {
    std::function<double(double)> q;
    double rate;
};

struct Zero {
    double t;
    bool upward;  ///< q goes from negative to non-negative
};

namespace detail {

constexpr double kFinest = 1e-6;  // days: zeros closer than this may hide each other
constexpr double kSlack = 1e-5;   // radians of rounding in the quantities at |t| near 1e9

inline double bisect(const Quantity& q, double lo, double hi, bool upward) {
    while (hi - lo > 1e-12) {
        const double mid = 0.5 * (lo + hi);
        if (mid <= lo || mid >= hi) break;
        ((q.q(mid) >= 0.0) == upward ? hi : lo) = mid;
    }
    return 0.5 * (lo + hi);
}

// A zero in [a, b] lies within |q(a)| / rate of a and |q(b)| / rate of b, so when those
// distances add up to more than b − a there is none; neither is there across a jump, since
// the steps are short enough that q cannot reach ±π from a zero inside one.
inline void scan(const Quantity& q, double a, double qa, double b, double qb,
                 std::vector<Zero>& out) {
    if (std::fabs(qa) + std::fabs(qb) > q.rate * (b - a) + kSlack) return;
    if (b - a <= kFinest) {
        if ((qa < 0.0) != (qb < 0.0)) out.push_back({bisect(q, a, b, qa < 0.0), qa < 0.0});
        return;
    }
    const double m = 0.5 * (a + b);
    const double qm = q.q(m);
    scan(q, a, qa, m, qm, out);
    scan(q, m, qm, b, qb, out);
}

}  // namespace detail

/// Every zero of q in [a, b], in order.
inline std::vector<Zero> zeros(const Quantity& q, double a, double b) {
    const double step = std::min(1.0, 1.0 / q.rate);  // rate × step stays well below π
    std::vector<Zero> out;
    double x = a;
    double qx = q.q(x);
    for (long i = 1; x < b; ++i) {
        const double y = std::min(b, a + static_cast<double>(i) * step);
        const double qy = q.q(y);
        detail::scan(q, x, qx, y, qy, out);
        x = y;
        qx = qy;
    }
    return out;
}

/// What an event should be. `who` names its bodies (an eclipse's: the eclipsed one, and Yael
/// in front of Nolomar) and what else tells apart the events of one kind (the pair, the sign
/// entered, the season); `carried` lists the acceptable eclipse classes with visibility (two
/// when the moment's second of freedom could tip either); `value` is the elongation of an
/// eclipse or the sun's altitude at noon and midnight.
struct Expected {
    EventKind kind;
    double t;
    std::string who{};
    std::vector<std::string> carried{};
    double value = 0.0;
    bool optional = false;  ///< at a threshold or the span's edge: either way is right
};

/// The same description of an event the finder reports: the bodies it is about, then what else
/// tells it apart.
inline std::string who(const SkyEvent& e) {
    std::string s;
    for (SkyBody body : e.bodyList()) s += std::string(bodyName(body)) + ' ';
    switch (e.kind) {
        case EventKind::conjunction:
            return std::string(e.pair) + ' ' + s;
        case EventKind::ingress:
            return s + std::string(e.sign);
        case EventKind::equinox:
        case EventKind::solstice:
            return s + std::string(seasonName(e.season));
        default:
            return s;
    }
}

inline std::string carried(EclipseClass c, bool visible) {
    return std::string(eclipseClassName(c)) + (visible ? " visible" : " hidden");
}

struct SignBound {
    double at;  ///< the first longitude of the sign above
    std::string_view below;
    std::string_view above;
};

/// The bounds of the unequal signs, found from the sign names alone.
inline const std::vector<SignBound>& signBounds() {
    static const std::vector<SignBound> bounds = [] {
        std::vector<SignBound> out;
        constexpr int kSteps = 7200;  // 0.05°: far narrower than any sign
        for (int i = 0; i < kSteps; ++i) {
            double lo = kTwoPi * i / kSteps;
            double hi = kTwoPi * (i + 1) / kSteps;
            const std::string_view below = zodiacSignShort(lo);
            const std::string_view above = zodiacSignShort(hi);
            if (below == above) continue;
            for (int k = 0; k < 80; ++k) {
                const double mid = 0.5 * (lo + hi);
                (zodiacSignShort(mid) == below ? lo : hi) = mid;
            }
            out.push_back({hi, below, above});
        }
        return out;
    }();
    return bounds;
}

/// The events of the kinds at the place in [t0, t1], marked optional within a second of the
/// ends, at the eclipse thresholds, and where one quantity gives two events of a kind under
/// two minutes apart.
inline std::vector<Expected> expectedEvents(const std::vector<EventKind>& kinds, double latitude,
                                            double longitude, double t0, double t1) {
    const auto wanted = [&](EventKind k) { return std::ranges::count(kinds, k) > 0; };
    const double a = t0 - 10.0 * kSecond;
    const double b = t1 + 10.0 * kSecond;
    std::vector<Expected> out;
    // Adds the zeros of one quantity, each described by `make` (nothing: not an event).
    const auto add = [&](const Quantity& q, const auto& make) {
        const std::size_t first = out.size();
        for (const Zero& z : zeros(q, a, b)) {
            if (std::optional<Expected> e = make(z)) out.push_back(*e);
        }
        for (std::size_t i = first; i < out.size(); ++i) {
            bool crowded = false;  // the quantity's events are in order of time
            for (std::size_t j = i + 1; j < out.size() && out[j].t - out[i].t < 2 * kMinute; ++j) {
                crowded = crowded || out[j].kind == out[i].kind;
            }
            for (std::size_t j = i; j > first && out[i].t - out[j - 1].t < 2 * kMinute; --j) {
                crowded = crowded || out[j - 1].kind == out[i].kind;
            }
            Expected& e = out[i];
            e.optional = e.optional || crowded || e.t < t0 + kSecond || e.t >= t1 - kSecond;
        }
    };
    const auto simple = [](EventKind kind, std::string who = {}) {
        return [kind, who](const Zero& z) { return std::optional<Expected>({kind, z.t, who}); };
    };
    const auto wrapped = [](auto f, double target) {
        return [f, target](double t) { return wrapPi(f(t) - target); };
    };

    const double sunRate = kTwoPi * kSunRate;
    const double moonRate = kTwoPi * kMoonRate;
    const double moonLatitudeRate = kMoonLatitudeAmplitude * kTwoPi * kMoonLatitudeRate;
    // A planet's geocentric longitude turns fastest for Épeòn passing between Nolomar and the
    // world: (0.67 × 2π/198 + 2π/360) / (1 − 0.67) ≈ 0.12 radians a day.
    const double planetRate = 0.2;
    const auto sunLongitude = [](double t) { return Sun(t).ec.phi; };
    const auto moonLongitude = [](double t) { return Moon(t).ec.phi; };
    const auto elongation = [](double t) { return Moon(t).ec.phi - Sun(t).ec.phi; };
    const auto planetLongitude = [](Planet p) {
        return [p](double t) { return eclipticPosition(p, t).phi; };
    };
    const auto bodyOf = [](Planet p) { return static_cast<SkyBody>(static_cast<int>(p) + 2); };

    const std::array<EventKind, 4> phases = {EventKind::newMoon, EventKind::firstQuarter,
                                             EventKind::fullMoon, EventKind::lastQuarter};
    for (int i = 0; i < 4; ++i) {
        if (!wanted(phases[i])) continue;
        add({wrapped(elongation, i * kHalfPi), 1.01 * (moonRate - sunRate)},
            simple(phases[i], "Yael "));
    }

    if (wanted(EventKind::solarEclipse) || wanted(EventKind::lunarEclipse)) {
        const auto node = [&](const Zero& z) -> std::optional<Expected> {
            const double d = wrapPi(elongation(z.t));
            const double x = std::fabs(d) * kDegreesPerRadian;
            const bool solar = x < 10.0;
            const EventKind kind = solar ? EventKind::solarEclipse : EventKind::lunarEclipse;
            const double edge = solar ? 2.54 : 178.42;
            constexpr double kFreedom = 1e-3;  // degrees: the elongation moves 1.4e-4° a second
            if (!wanted(kind) || (solar ? x >= edge + kFreedom : x <= edge - kFreedom)) return {};
            const Vec3D eq = solar ? Sun(z.t).eq : Moon(z.t).eq;
            const double altitude = horizonCoordinates(eq, z.t, latitude, longitude).theta;
            std::vector<bool> visible = {altitude > 0.0};
            if (std::fabs(altitude) < 1e-4) visible = {false, true};
            const auto classes = [&](double y) {
                return solar ? (y < 1.7 ? EclipseClass::total : EclipseClass::partial)
                             : (y > 179.65   ? EclipseClass::deepest
                                : y > 179.11 ? EclipseClass::second
                                             : EclipseClass::third);
            };
            Expected e{kind, z.t, solar ? "Nolomar Yael " : "Yael ",
                       {},   d,   std::fabs(x - edge) < kFreedom};
            for (double y : {x - kFreedom, x + kFreedom}) {
                for (bool v : visible) {
                    const std::string c = carried(classes(y), v);
                    if (std::ranges::count(e.carried, c) == 0) e.carried.push_back(c);
                }
            }
            return e;
        };
        add({[](double t) { return Moon(t).ec.theta; }, 1.01 * moonLatitudeRate}, node);
    }

    if (wanted(EventKind::conjunction)) {
        for (std::size_t i = 0; i < 4; ++i) {
            for (std::size_t j = i + 1; j < 4; ++j) {
                const Planet p = kAllPlanets[i];
                const Planet r = kAllPlanets[j];
                static constexpr std::array<const char*, 4> kShort = {"EP", "AL", "KE", "ME"};
                const std::string label = std::string(kShort[i]) + '-' + kShort[j] + ' ' +
                                          std::string(displayName(p)) + ' ' +
                                          std::string(displayName(r)) + ' ';
                const auto apart = [p, r](double t) {
                    return eclipticPosition(p, t).phi - eclipticPosition(r, t).phi;
                };
                add({wrapped(apart, 0.0), 2.0 * planetRate}, simple(EventKind::conjunction, label));
            }
        }
    }

    if (wanted(EventKind::opposition)) {
        for (Planet p : kAllPlanets) {
            const auto fromSun = [p](double t) {
                return eclipticPosition(p, t).phi - Sun(t).ec.phi;
            };
            add({wrapped(fromSun, kPi), planetRate + sunRate},
                simple(EventKind::opposition, std::string(displayName(p)) + ' '));
        }
    }

    // |d altitude/dt| ≤ cos φ × (the sky's turn + the body's own motion) + the body's own
    // motion: the hour angle term carries cos φ cos δ sin H / cos h, at most cos φ in size.
    // Nolomar's centre is followed through the horizon and the three twilight heights, Yael's
    // through the horizon.
    const double sky = kTwoPi * kSiderealRate;
    const double coslat = std::cos(latitude);
    struct Height {
        bool sun;
        double degrees;
        EventKind up;
        EventKind down;
    };
    for (const Height& h :
         {Height{true, 0.0, EventKind::sunrise, EventKind::sunset},
          Height{true, -6.0, EventKind::civilDawn, EventKind::civilDusk},
          Height{true, -12.0, EventKind::nauticalDawn, EventKind::nauticalDusk},
          Height{true, -18.0, EventKind::astronomicalDawn, EventKind::astronomicalDusk},
          Height{false, 0.0, EventKind::moonrise, EventKind::moonset}}) {
        if (!wanted(h.up) && !wanted(h.down)) continue;
        const bool sun = h.sun;
        const double own = sun ? sunRate : moonRate + moonLatitudeRate;
        const double target = h.degrees / kDegreesPerRadian;
        const auto altitude = [=](double t) {
            const Vec3D eq = sun ? Sun(t).eq : Moon(t).eq;
            return horizonCoordinates(eq, t, latitude, longitude).theta - target;
        };
        add({altitude, 1.05 * (coslat * (sky + own) + own)},
            [&](const Zero& z) -> std::optional<Expected> {
                const EventKind kind = z.upward ? h.up : h.down;
                if (!wanted(kind)) return {};
                return Expected{kind, z.t, sun ? "Nolomar " : "Yael "};
            });
    }

    for (const bool noon : {true, false}) {
        const EventKind kind = noon ? EventKind::noon : EventKind::midnight;
        if (!wanted(kind)) continue;
        const auto hourAngle = [longitude](double t) {
            return localSiderealAngle(t, longitude) - Sun(t).eq.phi;
        };
        // Nolomar's right ascension runs at most 1 / cos ε times as fast as its longitude.
        add({wrapped(hourAngle, noon ? 0.0 : kPi), 1.01 * (sky + sunRate / kCosObliquity)},
            [&](const Zero& z) -> std::optional<Expected> {
                const Vec3D h = horizonCoordinates(Sun(z.t).eq, z.t, latitude, longitude);
                return Expected{kind, z.t, "Nolomar ", {}, h.theta};
            });
    }

    if (wanted(EventKind::ingress)) {
        struct Body {
            SkyBody body;
            std::function<double(double)> longitude;
            double rate;
        };
        std::vector<Body> bodies = {{SkyBody::nolomar, sunLongitude, sunRate},
                                    {SkyBody::yael, moonLongitude, moonRate}};
        for (Planet p : kAllPlanets) bodies.push_back({bodyOf(p), planetLongitude(p), planetRate});
        for (const Body& body : bodies) {
            for (const SignBound& bound : signBounds()) {
                const std::string name = std::string(bodyName(body.body)) + ' ';
                add({wrapped(body.longitude, bound.at), 1.01 * body.rate},
                    [&](const Zero& z) -> std::optional<Expected> {
                        return Expected{EventKind::ingress, z.t,
                                        name + std::string(z.upward ? bound.above : bound.below)};
                    });
            }
        }
    }

    const std::array<std::pair<EventKind, std::array<Season, 2>>, 2> seasons = {
        {{EventKind::equinox, {Season::northward, Season::southward}},
         {EventKind::solstice, {Season::northern, Season::southern}}}};
    for (const auto& [kind, which] : seasons) {
        if (!wanted(kind)) continue;
        const double first = kind == EventKind::equinox ? 0.0 : kHalfPi;
        for (int i = 0; i < 2; ++i) {
            add({wrapped(sunLongitude, first + i * kPi), 1.01 * sunRate},
                simple(kind, "Nolomar " + std::string(seasonName(which[i]))));
        }
    }

    std::ranges::sort(out, {}, &Expected::t);
    return out;
}

}  // namespace morvane::reference
