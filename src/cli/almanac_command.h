#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "events/almanac.h"

namespace morvane::cli {

/// What the almanac command lists: the days from `first` to `last` (both included) at the
/// place, the kinds asked for, in one of the almanac's formats.
struct AlmanacRequest {
    AlmanacDate first;
    AlmanacDate last;
    std::vector<EventKind> kinds;
    AlmanacFormat format = AlmanacFormat::text;
    double latitude = 0.0;   ///< radians, north positive
    double longitude = 0.0;  ///< radians, east positive
    std::string place;       ///< how the heading names the place
};

/// Writes the almanac as its events are found. Throws std::ios_base::failure when `out` stops
/// taking text.
void writeAlmanac(const AlmanacRequest& request, std::ostream& out);

}  // namespace morvane::cli
