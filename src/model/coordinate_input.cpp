#include "model/coordinate_input.h"

#include <cmath>

namespace morvane {

namespace {

// Without group separators "40.500" in a German locale would read as forty thousand five
// hundred instead of falling through to the C reading the user most likely meant.
std::optional<double> parseIn(QLocale locale, const QString& text) {
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok) return std::nullopt;
    return value;
}

}  // namespace

std::optional<double> parseCoordinate(const QString& text, double maxMagnitude,
                                      const QLocale& locale) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    const QChar first = trimmed.front();
    if (first == u'-' || first == u'+' || first == QChar(0x2212) ||
        trimmed.startsWith(locale.negativeSign()) || trimmed.startsWith(locale.positiveSign())) {
        return std::nullopt;
    }
    std::optional<double> value = parseIn(locale, trimmed);
    if (!value) value = parseIn(QLocale::c(), trimmed);
    if (!value || !std::isfinite(*value) || *value < 0.0 || *value > maxMagnitude) {
        return std::nullopt;
    }
    return *value;
}

QString latitudeRule() { return QStringLiteral("Latitude: a number from 0 to 90"); }

QString longitudeRule() { return QStringLiteral("Longitude: a number from 0 to 180"); }

}  // namespace morvane
