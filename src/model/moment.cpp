#include "model/moment.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/sun_moon.h"
#include "model/calculation.h"

namespace morvane {

namespace {

constexpr qint64 kMinutesPerDay = 1440;
constexpr qint64 kMinutesPerYear = 360 * kMinutesPerDay;

// Minutes since 00:00 OST on the first day of year 1.
std::optional<qint64> minuteIndex(const ClockInputs& in) {
    const auto [hours, minutes] = clockOfHour(in.hour);
    qint64 days = 0;
    qint64 index = 0;
    if (__builtin_mul_overflow(in.year - 1, qint64{360}, &days) ||
        __builtin_add_overflow(days, in.monthIndex * 30 + in.dayIndex, &days) ||
        __builtin_mul_overflow(days, kMinutesPerDay, &index) ||
        __builtin_add_overflow(index, qint64{hours} * 60 + minutes, &index)) {
        return std::nullopt;
    }
    return index;
}

std::optional<ClockInputs> fromMinuteIndex(qint64 index) {
    if (index < 0 || index / kMinutesPerYear + 1 > kLastYear) return std::nullopt;
    const qint64 dayOfYear = index % kMinutesPerYear / kMinutesPerDay;
    const qint64 minuteOfDay = index % kMinutesPerDay;
    return ClockInputs{index / kMinutesPerYear + 1, dayOfYear / 30, dayOfYear % 30,
                       hourOfClock(int(minuteOfDay / 60), int(minuteOfDay % 60))};
}

// The minute nearest a day count read as a clock (t = 0 is noon of the first day).
std::optional<qint64> nearestMinute(double t) {
    if (!std::isfinite(t) || std::fabs(t) > kMaxDayCount) return std::nullopt;
    return std::llround((t + 0.5) * double(kMinutesPerDay));
}

}  // namespace

double hourOfClock(int hours, int minutes) {
    double hour = hours + minutes / 60.0;
    // A few steps of one unit in the last place at most: the sum is off by rounding only.
    while (clockOfHour(hour).second < minutes) {
        hour = std::nextafter(hour, std::numeric_limits<double>::infinity());
    }
    return hour;
}

std::optional<ClockInputs> steppedInputs(const ClockInputs& from, qint64 minutes) {
    std::optional<qint64> index = minuteIndex(from);
    if (!index || __builtin_add_overflow(*index, minutes, &*index)) return std::nullopt;
    return fromMinuteIndex(*index);
}

std::optional<ClockInputs> ostInputsOf(double t) {
    // The minute the date label shows: it rounds to the second, then drops the seconds, so a
    // jump from a list lands on the minute the list printed.
    if (!std::isfinite(t) || std::fabs(t) > kMaxDayCount) return std::nullopt;
    const qint64 seconds = std::llround((t + 0.5) * 86400.0);
    const std::optional<qint64> minute = seconds >= 0 ? seconds / 60 : -((-seconds + 59) / 60);
    return minute ? fromMinuteIndex(*minute) : std::nullopt;
}

std::optional<ClockInputs> localInputsOf(double t, double longitude) {
    if (!std::isfinite(t) || std::fabs(t) > kMaxDayCount) return std::nullopt;
    // The local clock runs ahead of OST by the place's offset (longitude and the equation of
    // time), less than half a day either way once whole days are taken out.
    const double hourAngle = localSiderealAngle(t, longitude) - sunRightAscension(t);
    double ahead = (hourAngle / kTwoPi + 0.5) - (t + 0.5);
    ahead -= std::round(ahead);
    const std::optional<qint64> minute = nearestMinute(t + ahead);
    if (!minute) return std::nullopt;
    // Near half a day ahead or behind, localDayCount may settle on the neighbouring day's
    // solution from either of two dates, and the drift of the local clock can leave this day's
    // solution to neither. A later second within the same minute moves the aim past that gap
    // (the day drifts by less than a minute), so the dates and a few seconds are tried, the
    // plain minute first; the candidate that lands next to t wins.
    std::optional<ClockInputs> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const double seconds : {0.0, 20.0, 40.0, 59.0}) {
        for (const qint64 days : {0, -1, 1}) {
            std::optional<ClockInputs> in = fromMinuteIndex(*minute + days * kMinutesPerDay);
            if (!in) continue;
            in->hour += seconds / 3600.0;
            const double distance = std::fabs(dayCountOf(*in, true, longitude) - t);
            if (distance < bestDistance) {
                best = in;
                bestDistance = distance;
            }
        }
        if (bestDistance < 31.0 / 86400.0) break;
    }
    return bestDistance < 0.5 ? best : std::nullopt;
}

std::optional<double> tableMomentAt(const QString& line, qsizetype column) {
    static const QRegularExpression label(
        QStringLiteral(R"((\d{3,})-(\d\d)-(\d\d) (\d\d):(\d\d) OST)"));
    static const QRegularExpression event(QStringLiteral(R"([A-Z]{2}@(\d\d):(\d\d))"));
    const auto number = [](const QRegularExpressionMatch& m, int group) {
        return m.capturedView(group).toLongLong();
    };
    const QRegularExpressionMatch row = label.match(line);
    if (!row.hasMatch() || row.capturedStart() != 0) return std::nullopt;
    const double rowT = dayCount(number(row, 1), number(row, 2) - 1, number(row, 3) - 1,
                                 number(row, 4), number(row, 5));
    const auto covers = [column](const QRegularExpressionMatch& m) {
        return column >= m.capturedStart() && column < m.capturedEnd();
    };
    for (auto it = label.globalMatch(line, row.capturedEnd()); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (covers(m)) {
            return dayCount(number(m, 1), number(m, 2) - 1, number(m, 3) - 1, number(m, 4),
                            number(m, 5));
        }
    }
    for (auto it = event.globalMatch(line, row.capturedEnd()); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (covers(m)) {
            const qint64 clock = number(m, 1) * 60 + number(m, 2);
            const qint64 rowClock = number(row, 4) * 60 + number(row, 5);
            const qint64 ahead =
                ((clock - rowClock) % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay;
            return rowT + double(ahead) / double(kMinutesPerDay);
        }
    }
    return rowT;
}

double dayCountOf(const ClockInputs& in, bool localTime, double longitude) {
    const double t = dayCount(in.year, in.monthIndex, in.dayIndex, in.hour);
    return localTime ? localDayCount(t, in.hour, longitude) : t;
}

}  // namespace morvane
