#include "cli/places.h"

#include <fmt/format.h>

#include <algorithm>
#include <vector>

#include "engine/constants.h"
#include "model/locations_file.h"

namespace morvane::cli {

namespace {

qsizetype editDistance(const QString& a, const QString& b) {
    std::vector<qsizetype> row(static_cast<std::size_t>(b.size()) + 1);
    for (std::size_t j = 0; j < row.size(); ++j) row[j] = static_cast<qsizetype>(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        qsizetype diagonal = row[0];
        row[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype above = row[static_cast<std::size_t>(j)];
            const qsizetype substitution = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[static_cast<std::size_t>(j)] =
                std::min({above + 1, row[static_cast<std::size_t>(j - 1)] + 1, substitution});
            diagonal = above;
        }
    }
    return row.back();
}

}  // namespace

QList<CityPreset> savedPlaces() {
    QList<CityPreset> places = LocationsFile().load().listed();
    places.removeFirst();
    return places;
}

std::optional<CityPreset> findPlace(const QList<CityPreset>& places, const QString& name) {
    const QString wanted = name.toLower();
    for (const CityPreset& place : places) {
        if (place.name.toLower() == wanted) return place;
    }
    return std::nullopt;
}

std::optional<QString> closestPlaceName(const QList<CityPreset>& places, const QString& name) {
    const QString wanted = name.toLower().left(200);  // a pasted novel is no typo
    std::optional<QString> best;
    qsizetype bestDistance = std::max<qsizetype>(2, wanted.size() / 3) + 1;
    for (const CityPreset& place : places) {
        const qsizetype distance = editDistance(wanted, place.name.toLower().left(200));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = place.name;
        }
    }
    return best;
}

std::string readableDegrees(double radians) {
    const std::string text = fmt::format("{:.6f}", radians * kDegreesPerRadian);
    std::size_t end = text.find_last_not_of('0');
    if (text[end] == '.') --end;
    const std::string trimmed = text.substr(0, end + 1);
    return trimmed == "-0" ? std::string("0") : trimmed;
}

}  // namespace morvane::cli
