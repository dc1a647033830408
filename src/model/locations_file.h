#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "model/city_preset.h"

namespace morvane {

/// "locations.json" in the folder "MorvaneAstro" of the user's data folder: the saved
/// locations as a JSON array of {"id", "latitude", "longitude", "name"} objects.
class LocationsFile {
  public:
    /// The user's own file (QStandardPaths::GenericDataLocation + "MorvaneAstro").
    LocationsFile();
    /// A file in another folder, for tests and tools; the folder is created when missing.
    explicit LocationsFile(QString folder);

    /// The file's path, creating its folder when missing (unless `createFolder` is false);
    /// nothing when no folder is known.
    [[nodiscard]] std::optional<QString> path(bool createFolder = true) const;

    enum class Status { loaded, missing, unreadable };
    struct Loaded {
        Status status;
        QList<CityPreset> cities;  ///< as stored, unsorted; empty unless loaded

        /// The list the application offers: the manual entry, then the stored entries (the
        /// built-in places unless the file loaded) sorted by name.
        [[nodiscard]] QList<CityPreset> listed() const;
    };
    /// Reads and decodes the file; creates nothing. A file with any object lacking a member, a
    /// member of the wrong kind or an id that is not a UUID is unreadable as a whole.
    [[nodiscard]] Loaded load() const;

    /// Writes the entries atomically, pretty-printed with sorted keys. A file found unreadable
    /// earlier and not yet set aside is first copied beside it (see setAsideDamagedFile), so
    /// the first save never destroys what the user had. False on failure.
    bool save(const QList<CityPreset>& saved);

    /// Moves a file that load() found unusable to "locations.json.corrupt" beside it (with a
    /// time stamp when that name is taken); the path of the copy, or nothing when there was
    /// nothing to set aside or the move failed.
    std::optional<QString> setAsideDamagedFile();

    /// Set by load() when the file existed but could not be used.
    [[nodiscard]] bool keepsDamagedFile() const { return damagedFileToKeep_; }

    /// Decoding and encoding of the file format, exposed for tests and fuzzing.
    static std::optional<QList<CityPreset>> decode(const QByteArray& json);
    static QByteArray encode(const QList<CityPreset>& saved);

  private:
    std::optional<QString> folder_;  ///< empty: the user's data folder
    mutable bool damagedFileToKeep_ = false;
};

}  // namespace morvane
