#pragma once

#include <array>
#include <string_view>

namespace morvane {

/// The short sign name of an ecliptic longitude (radians, any value), padded with spaces to
/// 11 characters (code points), e.g. "Ládo       ".
std::string_view zodiacSignShort(double longitude);

/// The long sign name with its meanings, e.g. "Ládo (Culmination, Returning)".
std::string_view zodiacSignName(double longitude);

/// The twelve longitudes (radians, ascending, in [0, 2π)) where one sign ends and the next
/// begins; a longitude exactly on one belongs to the sign after it.
const std::array<double, 12>& zodiacSignBounds();

}  // namespace morvane
