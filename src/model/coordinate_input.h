#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace morvane {

/// The largest typed-in magnitudes: the sign travels in the N/S and W/E choices.
inline constexpr double kMaxLatitudeDeg = 90.0;
inline constexpr double kMaxLongitudeDeg = 180.0;

/// The degrees of a typed-in coordinate, or nothing when the text is not a number from 0 to
/// `maxMagnitude`. The number may be written in `locale` or as a plain C-locale number, without
/// group separators; a sign is refused, since the N/S and W/E choices carry it.
std::optional<double> parseCoordinate(const QString& text, double maxMagnitude,
                                      const QLocale& locale);

/// One line naming what a coordinate field accepts.
QString latitudeRule();
QString longitudeRule();

}  // namespace morvane
