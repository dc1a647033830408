#include "events/light.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/positions.h"
#include "engine/sun_moon.h"
#include "engine/vec3d.h"
#include "events/horizon.h"

namespace morvane {

namespace {

/// How far from the point opposite Nolomar Yael is still in shadow.
constexpr double kShadowRadius = kPi - kShallowestLunarEclipse;
/// A lunar eclipse is under way only this close to its node crossing: Yael leaves the shadow
/// within about a quarter of a day of it.
constexpr double kEclipseReach = 0.5;
/// The light levels are sampled each minute and every change narrowed to below a second.
constexpr double kLevelSample = 1.0 / 1440.0;
constexpr double kOneSecond = 1.0 / 86400.0;

/// Yael's angular distance from the point opposite Nolomar, from the world's centre.
double shadowDistance(double t) {
    const Vec3D moon = Moon(t).ec;
    const double antiLongitude = Sun(t).ec.phi + kPi;
    const double c = std::cos(moon.theta) * std::cos(moon.phi - antiLongitude);
    return std::acos(std::clamp(c, -1.0, 1.0));
}

/// The eclipsed test against the lunar eclipses found near a stretch.
bool eclipsedAmong(double t, std::span<const double> eclipses) {
    const bool near = std::any_of(eclipses.begin(), eclipses.end(),
                                  [t](double e) { return std::fabs(t - e) <= kEclipseReach; });
    return near && shadowDistance(t) < kShadowRadius;
}

std::vector<double> lunarEclipsesBetween(double from, double to) {
    static constexpr std::array<EventKind, 1> kLunar = {EventKind::lunarEclipse};
    std::vector<double> times;
    // Lunar eclipses do not depend on the place.
    for (const SkyEvent& event : EventFinder(0.0, 0.0).between(kLunar, from, to)) {
        times.push_back(event.t);
    }
    return times;
}

/// The lunar eclipses that may shadow Yael at t. Out of the shadow's reach there is nothing to
/// look for, which spares the search at almost every moment.
std::vector<double> eclipsesNear(double t) {
    if (shadowDistance(t) >= kShadowRadius) return {};
    return lunarEclipsesBetween(t - kEclipseReach, t + kEclipseReach);
}

double asinClamped(double s) { return std::asin(std::clamp(s, -1.0, 1.0)); }

GroundPoint zenithPoint(const Vec3D& eq, double t) {
    // The hour angle localSiderealAngle(t, λ) − α is 0 where λ = α − localSiderealAngle(t, 0).
    double longitude = wrapPi(eq.phi - localSiderealAngle(t, 0.0));
    if (longitude <= -kPi) longitude += kTwoPi;
    return {eq.theta, longitude};
}

LightSample sampleAt(double t, double latitude, double longitude,
                     const MoonlightThresholds& thresholds, std::span<const double> eclipses) {
    LightSample s;
    s.t = t;
    s.sunAltitude = sunAltitude(t, latitude, longitude);
    s.moonAltitude = moonAltitude(t, latitude, longitude);
    s.stage = twilightStage(s.sunAltitude);
    s.illumination = illuminatedFraction(t);
    s.moonEclipsed = eclipsedAmong(t, eclipses);
    s.level = lightLevel(s.stage, s.moonAltitude, s.illumination, s.moonEclipsed, thresholds);
    return s;
}

/// How dark a stretch is, for finding the darkest: the stage first, then Yael below the horizon.
int darkness(TwilightStage stage, bool moonUp) {
    return static_cast<int>(stage) * 2 + (moonUp ? 0 : 1);
}

void summarise(DayLight& day) {
    DaySummary& s = day.summary;
    const auto times = [&day](EventKind kind) {
        std::vector<double> found;
        for (const SkyEvent& event : day.events) {
            if (event.kind == kind) found.push_back(event.t);
        }
        return found;
    };
    s.astronomicalDawns = times(EventKind::astronomicalDawn);
    s.nauticalDawns = times(EventKind::nauticalDawn);
    s.civilDawns = times(EventKind::civilDawn);
    s.sunrises = times(EventKind::sunrise);
    s.noons = times(EventKind::noon);
    s.sunsets = times(EventKind::sunset);
    s.civilDusks = times(EventKind::civilDusk);
    s.nauticalDusks = times(EventKind::nauticalDusk);
    s.astronomicalDusks = times(EventKind::astronomicalDusk);
    s.moonrises = times(EventKind::moonrise);
    s.moonsets = times(EventKind::moonset);
    for (const SkyEvent& event : day.events) {
        if (event.kind == EventKind::solarEclipse || event.kind == EventKind::lunarEclipse)
            s.eclipses.push_back(event);
    }

    const bool upAtStart = day.curve.front().sunAltitude >= 0.0;
    if (s.sunrises.empty() && s.sunsets.empty()) {
        s.course = upAtStart ? SunCourse::polarDay : SunCourse::polarNight;
    } else {
        s.course = SunCourse::risesAndSets;
    }

    s.noonAltitude = day.curve.front().sunAltitude;
    for (const LightSample& sample : day.curve)
        s.noonAltitude = std::max(s.noonAltitude, sample.sunAltitude);
    for (const SkyEvent& event : day.events) {
        if (event.kind == EventKind::noon) {
            s.noonAltitude = event.sunAltitude;
            break;
        }
    }

    // Between two consecutive changes of Nolomar's height band or of Yael's being up, the
    // stage and the moon stay as they are in the middle.
    std::vector<double> cuts = {day.start};
    for (const SkyEvent& event : day.events) {
        if (event.kind != EventKind::noon && event.kind != EventKind::midnight &&
            event.kind != EventKind::solarEclipse && event.kind != EventKind::lunarEclipse)
            cuts.push_back(event.t);
    }
    cuts.push_back(day.end);
    struct Piece {
        double from;
        double to;
        TwilightStage stage;
        bool moonUp;
    };
    std::vector<Piece> pieces;
    s.dayLength = 0.0;
    s.darkestStage = TwilightStage::day;
    s.lightestStage = TwilightStage::night;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const double from = cuts[i];
        const double to = cuts[i + 1];
        if (to <= from) continue;
        const double middle = (from + to) * 0.5;
        const TwilightStage stage = twilightStage(sunAltitude(middle, day.latitude, day.longitude));
        const bool moonUp = moonAltitude(middle, day.latitude, day.longitude) > 0.0;
        if (stage == TwilightStage::day) s.dayLength += to - from;
        s.darkestStage = std::max(s.darkestStage, stage);
        s.lightestStage = std::min(s.lightestStage, stage);
        if (!pieces.empty() && pieces.back().stage == stage && pieces.back().moonUp == moonUp) {
            pieces.back().to = to;
        } else {
            pieces.push_back({from, to, stage, moonUp});
        }
    }
    int deepest = -1;
    for (const Piece& piece : pieces)
        deepest = std::max(deepest, darkness(piece.stage, piece.moonUp));
    s.darkest.reset();
    for (const Piece& piece : pieces) {
        if (piece.stage == TwilightStage::day || darkness(piece.stage, piece.moonUp) != deepest)
            continue;
        if (!s.darkest || piece.to - piece.from > s.darkest->to - s.darkest->from)
            s.darkest = DarkStretch{piece.from, piece.to, piece.stage, piece.moonUp};
    }

    s.illuminationStart = day.curve.front().illumination;
    s.illuminationEnd = day.curve.back().illumination;
}

}  // namespace

std::string_view stageName(TwilightStage stage) {
    static constexpr std::array<std::string_view, 5> kNames = {"day", "civil", "nautical",
                                                               "astronomical", "night"};
    return kNames[static_cast<std::size_t>(stage)];
}

std::string_view stageWords(TwilightStage stage) {
    switch (stage) {
        case TwilightStage::day:
            return "day";
        case TwilightStage::civil:
            return "civil twilight";
        case TwilightStage::nautical:
            return "nautical twilight";
        case TwilightStage::astronomical:
            return "astronomical twilight";
        case TwilightStage::night:
            break;
    }
    return "night";
}

TwilightStage twilightStage(double sunAltitude) {
    if (sunAltitude >= 0.0) return TwilightStage::day;
    if (sunAltitude >= kCivilTwilightAltitude) return TwilightStage::civil;
    if (sunAltitude >= kNauticalTwilightAltitude) return TwilightStage::nautical;
    if (sunAltitude >= kAstronomicalTwilightAltitude) return TwilightStage::astronomical;
    return TwilightStage::night;
}

std::string_view levelName(LightLevel level) {
    static constexpr std::array<std::string_view, 3> kNames = {"bright", "dim", "dark"};
    return kNames[static_cast<std::size_t>(level)];
}

LightLevel lightLevel(TwilightStage stage, double moonAltitude, double illumination,
                      bool moonEclipsed, const MoonlightThresholds& thresholds) {
    if (stage == TwilightStage::day) return LightLevel::bright;
    if (stage == TwilightStage::civil) return LightLevel::dim;
    const bool moonlit = moonAltitude > thresholds.minAltitude &&
                         illumination >= thresholds.minIllumination && !moonEclipsed;
    return moonlit ? LightLevel::dim : LightLevel::dark;
}

double sunAltitude(double t, double latitude, double longitude) {
    return horizonCoordinates(Sun(t).eq, t, latitude, longitude).theta;
}

double moonAltitude(double t, double latitude, double longitude) {
    return horizonCoordinates(Moon(t).eq, t, latitude, longitude).theta;
}

double illuminatedFraction(double t) {
    return (1.0 - std::cos(moonLongitude(t) - sunLongitude(t))) * 0.5;
}

bool moonEclipsed(double t) { return eclipsedAmong(t, eclipsesNear(t)); }

LightSample lightAt(double t, double latitude, double longitude,
                    const MoonlightThresholds& thresholds) {
    return sampleAt(t, latitude, longitude, thresholds, eclipsesNear(t));
}

LightField::LightField(double t, const MoonlightThresholds& thresholds)
    : t_(t),
      thresholds_(thresholds),
      skyAngle_(localSiderealAngle(t, 0.0)),
      illumination_(illuminatedFraction(t)),
      eclipsed_(moonEclipsed(t)) {
    const Sun sun(t);
    const Moon moon(t);
    sunX_ = std::cos(sun.eq.theta) * std::cos(sun.eq.phi);
    sunY_ = std::cos(sun.eq.theta) * std::sin(sun.eq.phi);
    sunZ_ = std::sin(sun.eq.theta);
    moonX_ = std::cos(moon.eq.theta) * std::cos(moon.eq.phi);
    moonY_ = std::cos(moon.eq.theta) * std::sin(moon.eq.phi);
    moonZ_ = std::sin(moon.eq.theta);
}

double LightField::sunAltitudeAt(double latitude, double longitude) const {
    return asinClamped(sinAltitude(sunX_, sunY_, sunZ_, std::sin(latitude), std::cos(latitude),
                                   skyAngle_ + longitude));
}

LightSample LightField::at(double latitude, double longitude) const {
    const double sinLat = std::sin(latitude);
    const double cosLat = std::cos(latitude);
    const double sky = skyAngle_ + longitude;
    LightSample s;
    s.t = t_;
    s.sunAltitude = asinClamped(sinAltitude(sunX_, sunY_, sunZ_, sinLat, cosLat, sky));
    s.moonAltitude = asinClamped(sinAltitude(moonX_, moonY_, moonZ_, sinLat, cosLat, sky));
    s.stage = twilightStage(s.sunAltitude);
    s.illumination = illumination_;
    s.moonEclipsed = eclipsed_;
    s.level = lightLevel(s.stage, s.moonAltitude, s.illumination, s.moonEclipsed, thresholds_);
    return s;
}

GroundPoint subSolarPoint(double t) { return zenithPoint(Sun(t).eq, t); }

GroundPoint subLunarPoint(double t) { return zenithPoint(Moon(t).eq, t); }

DayLight dayLight(double t, double latitude, double longitude,
                  const MoonlightThresholds& thresholds) {
    DayLight day;
    day.start = t;
    day.end = t + 1.0;
    day.latitude = latitude;
    day.longitude = longitude;
    day.thresholds = thresholds;

    static constexpr std::array<EventKind, 14> kDayKinds = {EventKind::solarEclipse,
                                                            EventKind::lunarEclipse,
                                                            EventKind::sunrise,
                                                            EventKind::sunset,
                                                            EventKind::moonrise,
                                                            EventKind::moonset,
                                                            EventKind::noon,
                                                            EventKind::midnight,
                                                            EventKind::civilDawn,
                                                            EventKind::civilDusk,
                                                            EventKind::nauticalDawn,
                                                            EventKind::nauticalDusk,
                                                            EventKind::astronomicalDawn,
                                                            EventKind::astronomicalDusk};
    day.events = EventFinder(latitude, longitude).between(kDayKinds, day.start, day.end);

    const std::vector<double> eclipses =
        lunarEclipsesBetween(day.start - kEclipseReach, day.end + kEclipseReach);
    const auto sample = [&](double u) {
        return sampleAt(u, latitude, longitude, thresholds, eclipses);
    };

    // Minute samples; every fifth makes the curve. Sample k sits at start + k minutes, not at
    // a sum of steps, so the last one is the day's end exactly.
    constexpr int kMinutes = 1440;
    LightSample previous = sample(day.start);
    day.curve.push_back(previous);
    LightSpan span{day.start, day.start, previous.level};
    for (int k = 1; k <= kMinutes; ++k) {
        const double u = k == kMinutes ? day.end : day.start + k * kLevelSample;
        const LightSample current = sample(u);
        if (k % 5 == 0) day.curve.push_back(current);
        if (current.level != previous.level) {
            double a = previous.t;
            double b = u;
            while (b - a > kOneSecond / 2.0) {
                const double m = (a + b) * 0.5;
                if (sample(m).level == previous.level) {
                    a = m;
                } else {
                    b = m;
                }
            }
            span.to = (a + b) * 0.5;
            day.levels.push_back(span);
            span = LightSpan{span.to, span.to, current.level};
        }
        previous = current;
    }
    span.to = day.end;
    day.levels.push_back(span);

    bool up = day.curve.front().moonAltitude > 0.0;
    double from = day.start;
    const auto close = [&](double to) {
        if (up && to > from)
            day.moonUp.push_back({from, to, illuminatedFraction((from + to) * 0.5)});
    };
    for (const SkyEvent& event : day.events) {
        if (event.kind == EventKind::moonrise && !up) {
            from = event.t;
            up = true;
        } else if (event.kind == EventKind::moonset && up) {
            close(event.t);
            up = false;
        }
    }
    close(day.end);

    summarise(day);
    return day;
}

}  // namespace morvane
