#pragma once

#include <array>
#include <string>
#include <string_view>

namespace morvane {

/// Separation of two ecliptic longitudes (radians) in influence units of 1.8°, in [0, 100].
double influenceSeparation(double a, double b);

/// "Exceptional", "Strong", "Neutral", "Weak", "Feeble" or "Impotent": wider is stronger.
std::string_view influenceStrength(double a, double b);

/// "YAEL (Fate)", "BALANCED" or "NOLOMAR (Will)": whether x is markedly farther from the sun
/// than from the moon (fate) or markedly closer (will).
std::string_view fateOrWill(double x, double sun, double moon);

/// The ascending point of the ecliptic, radians in [0, 2π).
double ascendantLongitude(double t, double latitude, double longitude);

/// The power sentence of Yael's ecliptic latitude.
std::string_view powerSentence(double moonLatitude);

/// "Twisted Keep!" when the Epeon–Kenor and Alaran–Mergus chords cross, else "Straight Keep".
/// Longitudes in planet order.
std::string_view keepVerdict(const std::array<double, 4>& planetLongitudes);

/// The quantities one reading is made of (radians).
struct HoroscopeReading {
    double sun;                     ///< Nolomar's ecliptic longitude, [0, 2π)
    double moon;                    ///< Yael's ecliptic longitude, seen from the centre
    double moonLatitude;            ///< Yael's ecliptic latitude
    std::array<double, 4> planets;  ///< in planet order, (−π, π]
    double ascendant;               ///< [0, 2π)

    static HoroscopeReading at(double t, double latitude, double longitude);
};

/// The reading's text panel: SVG elements to the right of the wheel.
std::string horoscopeLegend(const HoroscopeReading& reading);
std::string horoscopeLegend(double t, double latitude, double longitude);

}  // namespace morvane
