#pragma once

#include <QHashFunctions>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QUuid>

namespace morvane {

/// A saved location: a name for a place, latitude and longitude in radians (north and east
/// positive).
struct CityPreset {
    QUuid id;
    QString name;
    double latitude = 0.0;
    double longitude = 0.0;

    /// The entry that stands for the typed-in location: id manualCityID, "Manual", 0, 0.
    static const CityPreset& manual();
    /// The thirteen built-in places in their declared order, each with an id made once per run.
    static const QList<CityPreset>& defaults();

    friend bool operator==(const CityPreset&, const CityPreset&) = default;
    /// By name, lowercased for the user's locale and compared by code points of the composed
    /// form; the other fields take no part.
    friend bool operator<(const CityPreset& a, const CityPreset& b);
};

size_t qHash(const CityPreset& city, size_t seed = 0) noexcept;

/// The id of the manual entry, "00000000-0000-0000-0000-000000000001".
const QUuid& manualCityID();

/// The UUID in canonical upper-case 36-character form.
QString canonicalUuid(const QUuid& id);

/// Degrees to radians the one way the whole program does it: multiplication first.
double radiansFromDegrees(double degrees);

/// Why a location could not be saved, with the message the save sheet shows.
struct LocationError {
    enum Kind { emptyName, duplicateName };
    Kind kind;
    QString name;  ///< the trimmed name, for duplicateName

    [[nodiscard]] QString message() const;
};

/// Sorts entries 1 and on by the CityPreset ordering, keeping entry 0 first (stable).
void sortSavedLocations(QList<CityPreset>& cities);

}  // namespace morvane

Q_DECLARE_METATYPE(morvane::CityPreset)
