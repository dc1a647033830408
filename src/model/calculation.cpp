#include "model/calculation.h"

#include <cmath>

#include "charts/horoscope_chart.h"
#include "charts/star_map.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/sun_moon.h"
#include "model/city_preset.h"
#include "model/coordinate_input.h"
#include "reports/conjunction_table.h"
#include "reports/sun_moon_table.h"

namespace morvane {

namespace {

// A generous bound that still keeps every engine loop short: the angle normalisations step by
// whole turns, so an hour angle of millions of radians would take seconds.
constexpr double kMaxHour = 1e6;  // hours

// The same conversion as the typed-in degrees take, so that 90 typed in passes exactly.
bool withinDegrees(double radians, double maxDegrees) {
    return std::isfinite(radians) && std::fabs(radians) <= radiansFromDegrees(maxDegrees);
}

bool fits(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    return !__builtin_add_overflow(a, b, &sum);
}

}  // namespace

QString fromStd(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

CalculationInputs CalculationInputs::of(const Inputs& in, const QList<CityPreset>& cities) {
    const SelectedPlace where = in.place(cities);
    return {where.latitude, where.longitude, in.year,        in.monthIndex,
            in.dayIndex,    in.hour,         in.useLocalTime};
}

DayCountResult checkedDayCount(const CalculationInputs& in) {
    if (!withinDegrees(in.latitude, kMaxLatitudeDeg)) {
        return {std::nullopt, QStringLiteral("Latitude must be a number from 0 to 90 degrees.")};
    }
    if (!withinDegrees(in.longitude, kMaxLongitudeDeg)) {
        return {std::nullopt, QStringLiteral("Longitude must be a number from 0 to 180 degrees.")};
    }
    if (!std::isfinite(in.hour) || std::fabs(in.hour) > kMaxHour) {
        return {std::nullopt, QStringLiteral("The hour cannot be calculated. Please choose a time "
                                             "of day.")};
    }
    if (!fits(in.monthIndex, 1) || !fits(in.dayIndex, 1) || !fits(in.year, -1) ||
        std::llabs(in.monthIndex) > 1'000'000'000 || std::llabs(in.dayIndex) > 1'000'000'000 ||
        std::llabs(in.year) > 1'000'000'000) {
        return {std::nullopt, QStringLiteral("The date cannot be calculated. Please choose a year "
                                             "from 1 to 2000.")};
    }
    double t = dayCount(in.year, in.monthIndex, in.dayIndex, in.hour);
    if (!(std::fabs(t) <= kMaxDayCount)) {
        return {std::nullopt, QStringLiteral("The date is too far from the start of the "
                                             "calendar to be calculated. Please choose a year "
                                             "from 1 to 2000.")};
    }
    if (in.useLocalTime) t = localDayCount(t, in.hour, in.longitude);
    return {t, {}};
}

CalculationResults calculateOutputs(double t, double latitude, double longitude) {
    CalculationResults results;
    results.starMapSVG = fromStd(starMapDocument(t, latitude, longitude));
    results.horoscopeSVG = fromStd(horoscopeDocument(t, latitude, longitude));
    results.basicTableHourly = fromStd(sunMoonTable(24, t, 1.0 / 24.0, latitude));
    results.basicTableMonthly = fromStd(sunMoonTable(30, t, 1.0, latitude));
    results.conjunctionDaily = fromStd(conjunctionTable(144, t, 1.0 / 144.0));
    results.conjunctionYearly = fromStd(conjunctionTable(360, t, 1.0));
    results.positions = positionsList(t, latitude, longitude);
    results.dateLabel = fromStd(dateLabel(t));
    results.nextFullMoonLabel = fromStd(dateLabelWithLocalTime(nextMoonPhase(t, kPi), longitude));
    results.nextNewMoonLabel = fromStd(dateLabelWithLocalTime(nextMoonPhase(t, 0.0), longitude));
    return results;
}

}  // namespace morvane
