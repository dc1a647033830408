#include "model/inputs.h"

#include <fmt/format.h>

#include <QStringList>
#include <optional>

#include "model/coordinate_input.h"
#include "model/settings_store.h"

namespace morvane {

namespace {

namespace key {
const QString selectedCityID = QStringLiteral("AstronomyModel.selectedCityID");
const QString manualLatDeg = QStringLiteral("AstronomyModel.manualLatDeg");
const QString manualLongDeg = QStringLiteral("AstronomyModel.manualLongDeg");
const QString latNorth = QStringLiteral("AstronomyModel.latNorth");
const QString longWest = QStringLiteral("AstronomyModel.longWest");
const QString monthIndex = QStringLiteral("AstronomyModel.monthIndex");
const QString dayIndex = QStringLiteral("AstronomyModel.dayIndex");
const QString year = QStringLiteral("AstronomyModel.year");
const QString hour = QStringLiteral("AstronomyModel.hour");
const QString useLocalTime = QStringLiteral("AstronomyModel.useLocalTime");
}  // namespace key

// The ranges of the sidebar's controls: a value outside them could not be shown, and a
// calculation from it would print a label such as "-03--4--18".
bool anyBool(bool) { return true; }
bool latitudeInRange(double deg) { return deg >= 0.0 && deg <= kMaxLatitudeDeg; }
bool longitudeInRange(double deg) { return deg >= 0.0 && deg <= kMaxLongitudeDeg; }
bool monthInRange(qint64 index) { return index >= 0 && index <= 11; }
bool dayInRange(qint64 index) { return index >= 0 && index <= 29; }
bool yearInRange(qint64 year) { return year >= 1 && year <= 2000; }
bool hourInRange(double hour) { return hour >= 0.0 && hour < 24.0; }

// "a", "a and b", "a, b and c".
QString listInWords(const QStringList& items) {
    if (items.size() < 2) return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           items.constLast();
}

// Reads one stored value into `field`. A missing value keeps the default silently; one present
// but unreadable or out of range keeps it too, and the user hears of it under `name`.
class Reader {
  public:
    explicit Reader(const SettingsStore& store) : store_(store) {}

    template <typename T>
    void read(const QString& key, T& field, std::optional<T> (*stored)(const QVariant&),
              bool (*usable)(T), const char* name) {
        const QVariant raw = store_.value(key);
        if (!raw.isValid()) return;
        const std::optional<T> value = stored(raw);
        if (value && usable(*value)) {
            field = *value;
        } else {
            damaged.append(QLatin1String(name));
        }
    }

    QStringList damaged;

  private:
    const SettingsStore& store_;
};

std::optional<QUuid> storedUuid(const QVariant& raw) {
    const std::optional<QString> text = storedText(raw);
    const QUuid id = text ? QUuid::fromString(*text) : QUuid();
    if (id.isNull()) return std::nullopt;
    return id;
}

bool anyUuid(QUuid) { return true; }

}  // namespace

StoredInputs Inputs::load(const SettingsStore& store) {
    Inputs in;
    Reader r(store);
    r.read(key::selectedCityID, in.selectedCityID, storedUuid, anyUuid, "selected place");
    r.read(key::manualLatDeg, in.manualLatDeg, storedDouble, latitudeInRange, "latitude");
    r.read(key::manualLongDeg, in.manualLongDeg, storedDouble, longitudeInRange, "longitude");
    r.read(key::latNorth, in.latNorth, storedBool, anyBool, "north or south");
    r.read(key::longWest, in.longWest, storedBool, anyBool, "west or east");
    r.read(key::monthIndex, in.monthIndex, storedInteger, monthInRange, "month");
    r.read(key::dayIndex, in.dayIndex, storedInteger, dayInRange, "day");
    r.read(key::year, in.year, storedInteger, yearInRange, "year");
    r.read(key::hour, in.hour, storedDouble, hourInRange, "hour");
    r.read(key::useLocalTime, in.useLocalTime, storedBool, anyBool, "local time choice");
    if (r.damaged.isEmpty()) return {in, {}};
    return {in,
            QStringLiteral("The stored settings for the %1 were out of range or unreadable, "
                           "so the default %2 used instead.")
                .arg(listInWords(r.damaged),
                     r.damaged.size() == 1 ? QStringLiteral("is") : QStringLiteral("values are"))};
}

void Inputs::save(SettingsStore& store, Group group) const {
    if (group == Group::location) {
        store.setText(key::selectedCityID, canonicalUuid(selectedCityID));
        store.setDouble(key::manualLatDeg, manualLatDeg);
        store.setDouble(key::manualLongDeg, manualLongDeg);
        store.setBool(key::latNorth, latNorth);
        store.setBool(key::longWest, longWest);
    } else {
        store.setInteger(key::year, year);
        store.setInteger(key::monthIndex, monthIndex);
        store.setInteger(key::dayIndex, dayIndex);
        store.setDouble(key::hour, hour);
        store.setBool(key::useLocalTime, useLocalTime);
    }
}

SelectedPlace Inputs::typedInPlace() const {
    const double lat = radiansFromDegrees(manualLatDeg);
    const double lon = radiansFromDegrees(manualLongDeg);
    return {SelectedPlace::Kind::typedIn, latNorth ? lat : -lat, longWest ? -lon : lon,
            CityPreset::manual().name};
}

SelectedPlace Inputs::place(const QList<CityPreset>& cities) const {
    const CityPreset& manual = CityPreset::manual();
    if (selectedCityID == manual.id) return typedInPlace();
    for (const CityPreset& city : cities) {
        if (city.id == selectedCityID) {
            return {SelectedPlace::Kind::saved, city.latitude, city.longitude, city.name};
        }
    }
    return {SelectedPlace::Kind::unknown, manual.latitude, manual.longitude, manual.name};
}

QString Inputs::placeLabel(const QList<CityPreset>& cities, const char* separator) const {
    const SelectedPlace where = place(cities);
    if (where.kind != SelectedPlace::Kind::typedIn) return where.name;
    const std::string text = fmt::format("{:.2f}°{}{}{:.2f}°{}", manualLatDeg, latNorth ? "N" : "S",
                                         separator, manualLongDeg, longWest ? "W" : "E");
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace morvane
