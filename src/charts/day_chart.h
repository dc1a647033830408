#pragma once

#include <string>

#include "events/light.h"

namespace morvane {

/// One day's light at one place as an SVG document of 720 × 360 units, on a light page: the
/// twilight bands behind Nolomar's and Yael's altitude curves over the 24 hours from the day's
/// start (ticks at whole hours of the place's local time), the stretches Yael is up with her lit
/// fraction, a mark for each event of the day, the light level strip and a legend. Polar day and
/// polar night are written out in words.
std::string dayChartDocument(const DayLight& day);

}  // namespace morvane
