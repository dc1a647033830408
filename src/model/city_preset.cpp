#include "model/city_preset.h"

#include <QLocale>
#include <algorithm>
#include <vector>

#include "engine/constants.h"

namespace morvane {

namespace {

struct BuiltIn {
    const char* name;
    double latitudeDeg;
    double longitudeDeg;
};

constexpr BuiltIn kBuiltIns[] = {
    {"Cherafir", 40.5, -20.9}, {"Berema", 37.7, -16.4},   {"Lysara", 27.4, 3.3},
    {"Meokolis", 34.5, 11.1},  {"Manquided", 11.5, 25.3}, {"Hacherdad", 21.9, 33.9},
    {"Inri", 13.4, 8.8},       {"Tengela", 32.1, -4.7},   {"Chelemby", 44.4, -12.2},
    {"Tarkain", 31.0, -16.3},  {"Isynen", 24.4, -19.7},   {"Livelis", 23.3, 26.7},
    {"Goris", 21.0, 5.1},
};

QList<uint> sortKey(const QString& name) {
    return QLocale().toLower(name).normalized(QString::NormalizationForm_C).toUcs4();
}

}  // namespace

const QUuid& manualCityID() {
    static const QUuid id(QStringLiteral("00000000-0000-0000-0000-000000000001"));
    return id;
}

QString canonicalUuid(const QUuid& id) { return id.toString(QUuid::WithoutBraces).toUpper(); }

double radiansFromDegrees(double degrees) { return degreesToRadians(degrees); }

const CityPreset& CityPreset::manual() {
    static const CityPreset entry{manualCityID(), QStringLiteral("Manual"), 0.0, 0.0};
    return entry;
}

const QList<CityPreset>& CityPreset::defaults() {
    static const QList<CityPreset> places = [] {
        QList<CityPreset> list;
        for (const BuiltIn& place : kBuiltIns) {
            list.append({QUuid::createUuid(), QString::fromUtf8(place.name),
                         radiansFromDegrees(place.latitudeDeg),
                         radiansFromDegrees(place.longitudeDeg)});
        }
        return list;
    }();
    return places;
}

bool operator<(const CityPreset& a, const CityPreset& b) {
    return sortKey(a.name) < sortKey(b.name);
}

size_t qHash(const CityPreset& city, size_t seed) noexcept {
    // + 0.0 makes negative zero hash like positive zero, as they compare equal.
    return qHashMulti(seed, city.id, city.name, city.latitude + 0.0, city.longitude + 0.0);
}

QString LocationError::message() const {
    if (kind == emptyName) return QStringLiteral("Please enter a name.");
    return QStringLiteral("\"%1\" already exists.").arg(name);
}

void sortSavedLocations(QList<CityPreset>& cities) {
    if (cities.size() < 3) return;
    // Keys once per entry: a hand-made file may hold many thousands of places.
    struct Keyed {
        QList<uint> key;
        CityPreset city;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<std::size_t>(cities.size() - 1));
    for (qsizetype i = 1; i < cities.size(); ++i)
        keyed.push_back({sortKey(cities[i].name), cities[i]});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        cities[static_cast<qsizetype>(i) + 1] = std::move(keyed[i].city);
    }
}

}  // namespace morvane
