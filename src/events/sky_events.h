#pragma once

// When things happen in the sky of Morvane: moon phases, eclipses, conjunctions, oppositions,
// rises and sets, noon and midnight, dawns and dusks, sign ingresses, equinoxes and solstices,
// for one place.
// Pure functions on doubles: no state is shared, so any thread may search at once.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace morvane {

/// The kinds of event, in the order lists and menus show them.
enum class EventKind : std::uint8_t {
    newMoon,
    firstQuarter,
    fullMoon,
    lastQuarter,
    solarEclipse,
    lunarEclipse,
    conjunction,
    opposition,
    sunrise,
    sunset,
    moonrise,
    moonset,
    noon,
    midnight,
    civilDawn,     ///< Nolomar's centre climbs through −6°
    civilDusk,     ///< … sinks through −6°
    nauticalDawn,  ///< −12°
    nauticalDusk,
    astronomicalDawn,  ///< −18°
    astronomicalDusk,
    ingress,
    equinox,
    solstice,
};

inline constexpr std::array<EventKind, 23> kAllEventKinds = {EventKind::newMoon,
                                                             EventKind::firstQuarter,
                                                             EventKind::fullMoon,
                                                             EventKind::lastQuarter,
                                                             EventKind::solarEclipse,
                                                             EventKind::lunarEclipse,
                                                             EventKind::conjunction,
                                                             EventKind::opposition,
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
                                                             EventKind::astronomicalDusk,
                                                             EventKind::ingress,
                                                             EventKind::equinox,
                                                             EventKind::solstice};

/// Nolomar's altitude (radians) at which the dawns and dusks of civil, nautical and
/// astronomical twilight fall: −6°, −12°, −18°.
inline constexpr double kCivilTwilightAltitude = -0.10471975511965977;
inline constexpr double kNauticalTwilightAltitude = -0.20943951023931953;
inline constexpr double kAstronomicalTwilightAltitude = -0.3141592653589793;

/// "new-moon", "first-quarter", …, "civil-dawn", …, "equinox", "solstice": the names scripts
/// type.
std::string_view kindName(EventKind kind);
/// The kind of a name as kindName writes it (exact, lower case), or nothing.
std::optional<EventKind> eventKindFromName(std::string_view name);

/// Nolomar, Yael and the four planets.
enum class SkyBody : std::uint8_t { nolomar, yael, epeon, alaran, kenor, mergus };
/// "Nolomar", "Yael", "Épeòn", "Álaran", "Kenôr", "Mêrgus", as the positions list writes them.
std::string_view bodyName(SkyBody body);

/// The eclipse classes of the sun and moon table: TS, PS (Nolomar); FUL, FPL, PPL (Yael).
enum class EclipseClass : std::uint8_t { total, partial, deepest, second, third };
/// "total", "partial", "deepest", "second", "third".
std::string_view eclipseClassName(EclipseClass eclipseClass);

/// Which equinox or solstice: Nolomar's longitude passing 0°, 180°, 90°, 270°.
enum class Season : std::uint8_t { northward, southward, northern, southern };
/// "northward", "southward", "northern", "southern".
std::string_view seasonName(Season season);

/// One event. Only the members its kind carries are meaningful; the others keep their defaults.
struct SkyEvent {
    EventKind kind{};
    double t = 0.0;  ///< day count of the crossing, within 1 s of the true one
    std::array<SkyBody, 2> bodies{};
    std::uint8_t bodyCount = 0;
    EclipseClass eclipseClass{};  ///< eclipses
    bool visible = false;         ///< eclipses: the eclipsed body stands above the horizon here
    double elongation = 0.0;      ///< eclipses: Yael's signed elongation, radians
    double sunAltitude = 0.0;     ///< noon, midnight: Nolomar's altitude here, radians
    std::string_view sign;        ///< ingress: the short name of the sign entered, untrimmed
    std::string_view pair;        ///< conjunction: "EP-AL", …
    Season season{};              ///< equinox, solstice

    [[nodiscard]] std::span<const SkyBody> bodyList() const { return {bodies.data(), bodyCount}; }
};

/// The longest stretch next() and previous() look through before they give up: the slowest
/// conjunction (Kenôr and Mêrgus) comes round about every 4,100 days.
inline constexpr double kSearchHorizonDays = 9000.0;

/// Searches the events seen from one place (radians, north and east positive).
class EventFinder {
  public:
    EventFinder(double latitude, double longitude);

    /// The first event of the kind strictly after t, or nothing within kSearchHorizonDays.
    [[nodiscard]] std::optional<SkyEvent> next(EventKind kind, double t) const;
    /// The last event of the kind strictly before t, or nothing within kSearchHorizonDays.
    [[nodiscard]] std::optional<SkyEvent> previous(EventKind kind, double t) const;

    /// Every event of those kinds in [t0, t1), sorted by moment (ties: in kind order).
    [[nodiscard]] std::vector<SkyEvent> between(std::span<const EventKind> kinds, double t0,
                                                double t1) const;
    /// The same, handed over in order a stretch at a time, so a long span needs little memory.
    void between(std::span<const EventKind> kinds, double t0, double t1,
                 const std::function<void(const SkyEvent&)>& sink) const;

    double latitude() const { return latitude_; }
    double longitude() const { return longitude_; }

  private:
    double latitude_;
    double longitude_;
};

}  // namespace morvane
