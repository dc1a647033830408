#pragma once

// How light it is at a place and moment: Nolomar's twilight stage, Yael's light, and a light
// level any game's rules can map onto; the places where Nolomar and Yael stand at the zenith;
// and the course of one day's light. Pure functions on doubles, usable from any thread.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "events/sky_events.h"

namespace morvane {

/// Nolomar's altitude h (its centre) says the stage: day (h ≥ 0), civil twilight (−6° ≤ h < 0),
/// nautical (−12° ≤ h < −6°), astronomical (−18° ≤ h < −12°), night (h < −18°). Ordered from
/// the lightest to the darkest.
enum class TwilightStage : std::uint8_t { day, civil, nautical, astronomical, night };
/// "day", "civil", "nautical", "astronomical", "night".
std::string_view stageName(TwilightStage stage);
/// The stage as a sentence says it: "day", "civil twilight", "nautical twilight",
/// "astronomical twilight", "night".
std::string_view stageWords(TwilightStage stage);
/// The stage at Nolomar's altitude (radians); not a number counts as night.
TwilightStage twilightStage(double sunAltitude);

/// bright (day), dim (civil twilight, or a darker sky lit by Yael), dark (everything else).
enum class LightLevel : std::uint8_t { bright, dim, dark };
/// "bright", "dim", "dark".
std::string_view levelName(LightLevel level);

/// When Yael lights a sky darker than civil twilight: she stands higher than `minAltitude`
/// (radians) and at least `minIllumination` of her disc is lit, and she is not eclipsed.
struct MoonlightThresholds {
    double minAltitude = 0.0;
    double minIllumination = 0.5;

    friend bool operator==(const MoonlightThresholds&, const MoonlightThresholds&) = default;
};

/// The level for a stage and Yael's state.
LightLevel lightLevel(TwilightStage stage, double moonAltitude, double illumination,
                      bool moonEclipsed, const MoonlightThresholds& thresholds);

/// Nolomar's altitude at the place (radians; latitude and longitude radians, north and east
/// positive): `Sun(t).eq` through `horizonCoordinates`.
double sunAltitude(double t, double latitude, double longitude);
/// Yael's altitude at the place, from `Moon(t).eq` as seen from the world's centre: the same
/// position her rises and sets are searched on, so the curve passes 0 at her rise and set.
double moonAltitude(double t, double latitude, double longitude);
/// The lit fraction of Yael's disc, (1 − cos E) / 2 with E the elongation the phase uses:
/// 0 at new moon, 1 at full moon.
double illuminatedFraction(double t);
/// Whether a lunar eclipse is under way at t: the eclipse rule marks a lunar eclipse at Yael's
/// node crossing within half a day of t, and Yael stands within the rule's widest limit
/// (180° − 178.42°) of the point opposite Nolomar.
bool moonEclipsed(double t);

/// Everything about the light at one place and moment.
struct LightSample {
    double t = 0.0;
    double sunAltitude = 0.0;   ///< radians
    double moonAltitude = 0.0;  ///< radians
    TwilightStage stage{};
    double illumination = 0.0;  ///< 0 to 1
    bool moonEclipsed = false;
    LightLevel level{};
};
LightSample lightAt(double t, double latitude, double longitude,
                    const MoonlightThresholds& thresholds = {});

/// What does not depend on the place at one moment, so a whole map of places is cheap: each
/// place then costs two sines of altitude written out.
class LightField {
  public:
    explicit LightField(double t, const MoonlightThresholds& thresholds = {});
    /// The same sample lightAt gives, up to rounding in the last bits of the altitudes.
    [[nodiscard]] LightSample at(double latitude, double longitude) const;
    /// Nolomar's altitude only, for shading.
    [[nodiscard]] double sunAltitudeAt(double latitude, double longitude) const;
    double t() const { return t_; }

  private:
    double t_;
    MoonlightThresholds thresholds_;
    double skyAngle_;  ///< localSiderealAngle at longitude 0
    double sunX_, sunY_, sunZ_;
    double moonX_, moonY_, moonZ_;
    double illumination_;
    bool eclipsed_;
};

/// A place on the globe, radians, north and east positive; longitude in (−π, π].
struct GroundPoint {
    double latitude = 0.0;
    double longitude = 0.0;
};
/// Where Nolomar stands at the zenith at t: latitude its declination, longitude where its hour
/// angle is 0.
GroundPoint subSolarPoint(double t);
/// Where Yael (seen from the world's centre) stands at the zenith at t.
GroundPoint subLunarPoint(double t);

/// A stretch of constant light within a day.
struct LightSpan {
    double from = 0.0;
    double to = 0.0;
    LightLevel level{};
};

/// A stretch while Yael stands above the horizon, with her lit fraction in its middle.
struct MoonUp {
    double from = 0.0;
    double to = 0.0;
    double illumination = 0.0;
};

/// Whether Nolomar rises and sets within the day, or stays up or down throughout.
enum class SunCourse : std::uint8_t { risesAndSets, polarDay, polarNight };

/// The darkest stretch of the day: the longest one at the deepest darkness reached, where a
/// deeper stage is darker and, within a stage, Yael below the horizon is darker than above.
struct DarkStretch {
    double from = 0.0;
    double to = 0.0;
    TwilightStage stage{};
    bool moonUp = false;
};

/// The facts of one day's light at one place.
struct DaySummary {
    SunCourse course{};
    /// The events of the day, one list per kind, in time order; usually one each, none where the
    /// body or the twilight does not reach that height.
    std::vector<double> astronomicalDawns, nauticalDawns, civilDawns, sunrises, noons, sunsets,
        civilDusks, nauticalDusks, astronomicalDusks, moonrises, moonsets;
    /// Nolomar's altitude at its noon (or, with no noon inside the day, its highest sample).
    double noonAltitude = 0.0;
    double dayLength = 0.0;        ///< days with Nolomar's centre above the horizon
    TwilightStage darkestStage{};  ///< the deepest stage the day reaches
    TwilightStage lightestStage{};
    double illuminationStart = 0.0;  ///< Yael's lit fraction at the day's start and end
    double illuminationEnd = 0.0;
    std::optional<DarkStretch> darkest;  ///< none only when the day never leaves daylight
    std::vector<SkyEvent> eclipses;      ///< solar and lunar eclipses within the day
};

/// The light of one day from t at a place: the curves to draw, the exact events, the stretches
/// of each light level, and the summary.
struct DayLight {
    double start = 0.0;
    double end = 0.0;  ///< start + 1
    double latitude = 0.0;
    double longitude = 0.0;
    MoonlightThresholds thresholds;
    /// One sample every kDayCurveStep from start to end, both included.
    std::vector<LightSample> curve;
    /// Sunrise, sunset, noon, midnight, the dawns and dusks, moonrise, moonset and eclipses in
    /// [start, end), sorted.
    std::vector<SkyEvent> events;
    /// Consecutive stretches from start to end; a change of level is placed within 1 s.
    std::vector<LightSpan> levels;
    std::vector<MoonUp> moonUp;
    DaySummary summary;
};

/// 5 minutes.
inline constexpr double kDayCurveStep = 1.0 / 288.0;

DayLight dayLight(double t, double latitude, double longitude,
                  const MoonlightThresholds& thresholds = {});

}  // namespace morvane
