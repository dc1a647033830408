#pragma once

#include <string>

#include "cli/events_command.h"
#include "events/light.h"

namespace morvane::cli {

/// The shortest and longest step between the light table's rows: a minute keeps a day to 1,440
/// rows, and a day is the whole span.
inline constexpr double kMinLightStep = 1.0 / 1440.0;
inline constexpr double kMaxLightStep = 1.0;
/// Ten minutes, as the conjunction table steps: 144 rows a day.
inline constexpr double kDefaultLightStep = 1.0 / 144.0;

/// The day's light: the table of samples every `step` days and then the summary as text; a JSON
/// object with the members `rows` (one object per sample) and `summary` (its facts as data);
/// or CSV, a header row and one row per sample. Angles in degrees.
std::string lightOutput(const DayLight& day, double step, EventFormat format);

/// Where Nolomar and Yael stand at the zenith at t, in degrees, north and east positive: a
/// small table, or `{"nolomar": {"latitude": …, "longitude": …}, "yael": {…}}`.
std::string subpointsOutput(double t, bool json);

}  // namespace morvane::cli
