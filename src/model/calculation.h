#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/positions.h"

namespace morvane {

/// The ten inputs a calculation starts from, as the model holds them.
struct CalculationInputs {
    double latitude = 0.0;   ///< radians, north positive
    double longitude = 0.0;  ///< radians, east positive
    std::int64_t year = 720;
    std::int64_t monthIndex = 0;
    std::int64_t dayIndex = 0;
    double hour = 12.0;
    bool useLocalTime = false;
};

/// Beyond this many days from the epoch the searches' bisections can no longer halve an
/// interval below their tolerance and would never end.
inline constexpr double kMaxDayCount = 1e9;

/// The day count of the inputs, or a sentence naming the input at fault when the inputs could
/// not be calculated (not finite, out of the engine's ranges, or too far from the epoch).
struct DayCountResult {
    std::optional<double> t;
    QString error;
};
DayCountResult checkedDayCount(const CalculationInputs& inputs);

/// Everything one calculation produces, in the order the model assigns it.
struct CalculationResults {
    QString starMapSVG;
    QString horoscopeSVG;
    QString basicTableHourly;
    QString basicTableMonthly;
    QString conjunctionDaily;
    QString conjunctionYearly;
    std::vector<BodyPosition> positions;
    QString dateLabel;
    QString nextFullMoonLabel;
    QString nextNewMoonLabel;
};

/// The background work of one calculation: every generator, in the pipeline's order.
CalculationResults calculateOutputs(double t, double latitude, double longitude);

}  // namespace morvane
