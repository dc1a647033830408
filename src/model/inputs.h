#pragma once

#include <QList>
#include <QString>
#include <QUuid>

#include "model/city_preset.h"

namespace morvane {

class SettingsStore;
struct StoredInputs;

/// Where the inputs put the observer.
struct SelectedPlace {
    enum class Kind {
        typedIn,  ///< the manual entry: the typed-in degrees and their senses
        saved,    ///< a saved location
        unknown,  ///< an id that names no entry: the manual entry's 0, 0
    };
    Kind kind = Kind::typedIn;
    double latitude = 0.0;   ///< radians, north positive
    double longitude = 0.0;  ///< radians, east positive
    QString name;            ///< the saved location's name; "Manual" otherwise
};

/// The ten inputs of a calculation as the user sets them: a place (a saved location, or
/// degrees typed in with their senses) and a moment. Their defaults are written here only:
/// the model starts from them, exports are named from them and the command-line program's
/// options fall back to them.
struct Inputs {
    QUuid selectedCityID = manualCityID();
    double manualLatDeg = 40.5;   ///< magnitude, 0 to 90; the sense is latNorth
    double manualLongDeg = 20.9;  ///< magnitude, 0 to 180; the sense is longWest
    bool latNorth = true;
    bool longWest = true;
    qint64 monthIndex = 0;  ///< 0 to 11
    qint64 dayIndex = 0;    ///< 0 to 29
    qint64 year = 720;
    double hour = 12.0;  ///< on the reference clock, or local solar time with useLocalTime
    bool useLocalTime = false;

    /// The settings are stored in two groups of five, each written whole.
    enum class Group { location, time };

    /// The defaults, each replaced by its stored value when that is readable and within its
    /// control's range; a value that is present but not so keeps the default and is named in
    /// the notice. Writes nothing.
    static StoredInputs load(const SettingsStore& store);
    /// Stores the group's five values under their keys, in their fixed order.
    void save(SettingsStore& store, Group group) const;

    /// The one lookup of the observer's place among `cities` (the manual entry first, then
    /// the saved locations; for equal ids the first entry answers).
    [[nodiscard]] SelectedPlace place(const QList<CityPreset>& cities) const;
    /// The typed-in degrees as a place, whatever is selected.
    [[nodiscard]] SelectedPlace typedInPlace() const;
    /// How file names and report headings name the place: the saved location's name, "Manual"
    /// for an id that names no entry, or the typed-in degrees as "40.50°N", `separator`,
    /// "20.90°W".
    [[nodiscard]] QString placeLabel(const QList<CityPreset>& cities, const char* separator) const;

    friend bool operator==(const Inputs&, const Inputs&) = default;
};

/// The inputs as the settings store gave them back.
struct StoredInputs {
    Inputs inputs;
    QString notice;  ///< one sentence naming the damaged values; empty when none was
};

}  // namespace morvane
