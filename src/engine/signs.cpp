#include "engine/signs.h"

#include <array>

#include "engine/vec3d.h"

namespace morvane {

namespace {

struct Sign {
    double upperBound;  ///< radians; a longitude exactly on a bound belongs to the next sign
    std::string_view shortName;
    std::string_view longName;
};

// The widths are unequal; Ládo spans 0° and so stands at both ends.
constexpr std::array<Sign, 13> kSigns = {{
    {0.02106, "Ládo       ", "Ládo (Culmination, Returning)"},
    {0.54465, "Ùlándus    ", "Ùlándus (Renewal, Growth)"},
    {1.05089, "Arálius    ", "Arálius (Blossoming)"},
    {1.59169, "Fenéri     ", "Fenéri (Enterprise)"},
    {2.13298, "Áhnù       ", "Áhnù (Cleansing Destruction)"},
    {2.69112, "Angberélius", "Angberélius (Conflict)"},
    {3.19759, "Nadái      ", "Nadái (Unfocused Energy)"},
    {3.70378, "Hîrin      ", "Hîrin (Freedom, Sell-Will)"},
    {4.20993, "Tárael     ", "Tárael (Wealth, Unseen Power)"},
    {4.71598, "Tái        ", "Tái (Knowledge, Mystery)"},
    {5.23987, "Skôrus     ", "Skôrus (Learning, Transformation)"},
    {5.74599, "Masâra     ", "Masâra (Pleasure, Maternity)"},
    {7.0, "Ládo       ", "Ládo (Culmination, Returning)"},  // up to and including 2π
}};

const Sign& signOf(double longitude) {
    const double x = wrapTwoPi(longitude);
    for (const Sign& sign : kSigns) {
        if (sign.upperBound > x) return sign;
    }
    return kSigns.back();  // not a number
}

}  // namespace

const std::array<double, 12>& zodiacSignBounds() {
    static const std::array<double, 12> bounds = [] {
        std::array<double, 12> b{};
        for (std::size_t i = 0; i < b.size(); ++i) b[i] = kSigns[i].upperBound;
        return b;
    }();
    return bounds;
}

std::string_view zodiacSignShort(double longitude) { return signOf(longitude).shortName; }

std::string_view zodiacSignName(double longitude) { return signOf(longitude).longName; }

}  // namespace morvane
