#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/positions.h"
#include "model/inputs.h"

namespace morvane {

/// UTF-8 text of the pure libraries as a QString: every text they make is UTF-8.
QString fromStd(const std::string& text);

/// What a calculation starts from: the inputs with their place looked up. No defaults of its
/// own; those of the inputs are in Inputs.
struct CalculationInputs {
    double latitude{};   ///< radians, north positive
    double longitude{};  ///< radians, east positive
    std::int64_t year{};
    std::int64_t monthIndex{};
    std::int64_t dayIndex{};
    double hour{};
    bool useLocalTime{};

    static CalculationInputs of(const Inputs& inputs, const QList<CityPreset>& cities);
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
