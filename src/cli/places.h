#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <string>

#include "model/city_preset.h"

namespace morvane::cli {

/// The saved locations as the application would list them (the built-in places when there is
/// no usable file), without the manual entry. Reading them changes nothing on disk.
QList<CityPreset> savedPlaces();

/// The place whose name equals `name` ignoring case.
std::optional<CityPreset> findPlace(const QList<CityPreset>& places, const QString& name);

/// The name nearest to `name` by edit distance, when one is near enough to be a typo.
std::optional<QString> closestPlaceName(const QList<CityPreset>& places, const QString& name);

/// Degrees of a stored angle for people to read: up to six decimals, no trailing zeros.
std::string readableDegrees(double radians);

}  // namespace morvane::cli
