#include "model/locations_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace morvane {

namespace {

const QString kFileName = QStringLiteral("locations.json");

std::optional<CityPreset> decodeEntry(const QJsonValue& value) {
    if (!value.isObject()) return std::nullopt;
    const QJsonObject object = value.toObject();
    const QJsonValue id = object.value(QLatin1String("id"));
    const QJsonValue latitude = object.value(QLatin1String("latitude"));
    const QJsonValue longitude = object.value(QLatin1String("longitude"));
    const QJsonValue name = object.value(QLatin1String("name"));
    if (!id.isString() || !latitude.isDouble() || !longitude.isDouble() || !name.isString()) {
        return std::nullopt;
    }
    const QUuid uuid = QUuid::fromString(id.toString());
    if (uuid.isNull() && id.toString() != QLatin1String("00000000-0000-0000-0000-000000000000")) {
        return std::nullopt;
    }
    return CityPreset{uuid, name.toString(), latitude.toDouble(), longitude.toDouble()};
}

// A name beside the file that no earlier copy holds: an older damaged file is kept as well.
QString backupPath(const QString& file) {
    const QString plain = file + QStringLiteral(".corrupt");
    if (!QFileInfo::exists(plain)) return plain;
    const QString stamped =
        plain + QLatin1Char('-') +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    QString candidate = stamped;
    for (int n = 2; QFileInfo::exists(candidate); ++n) {
        candidate = stamped + QLatin1Char('-') + QString::number(n);
    }
    return candidate;
}

}  // namespace

LocationsFile::LocationsFile() = default;

LocationsFile::LocationsFile(QString folder) : folder_(std::move(folder)) {}

std::optional<QString> LocationsFile::path(bool createFolder) const {
    QString folder;
    if (folder_) {
        folder = *folder_;
    } else {
        const QString dataFolder =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (dataFolder.isEmpty()) return std::nullopt;
        folder = dataFolder + QStringLiteral("/MorvaneAstro");
    }
    // A failure to create shows when the file is written.
    if (createFolder && !QFileInfo::exists(folder)) QDir().mkpath(folder);
    return folder + QLatin1Char('/') + kFileName;
}

LocationsFile::Loaded LocationsFile::load() const {
    const auto file = path(false);
    if (!file || !QFileInfo::exists(*file)) return {Status::missing, {}};
    QFile input(*file);
    std::optional<QList<CityPreset>> cities;
    if (input.open(QIODevice::ReadOnly)) cities = decode(input.readAll());
    if (!cities) {
        damagedFileToKeep_ = true;
        return {Status::unreadable, {}};
    }
    return {Status::loaded, *cities};
}

QList<CityPreset> LocationsFile::Loaded::listed() const {
    QList<CityPreset> list{CityPreset::manual()};
    list.append(status == Status::loaded ? cities : CityPreset::defaults());
    sortSavedLocations(list);
    return list;
}

bool LocationsFile::save(const QList<CityPreset>& saved) {
    const auto file = path();
    if (!file) return false;
    if (damagedFileToKeep_) {
        // Never overwrite the damaged file while its copy could not be made.
        if (QFileInfo::exists(*file) && !QFile::copy(*file, backupPath(*file))) return false;
        damagedFileToKeep_ = false;
    }
    QSaveFile output(*file);
    if (!output.open(QIODevice::WriteOnly)) return false;
    output.write(encode(saved));
    return output.commit();
}

std::optional<QString> LocationsFile::setAsideDamagedFile() {
    const auto file = path(false);
    if (!damagedFileToKeep_ || !file || !QFileInfo::exists(*file)) return std::nullopt;
    const QString backup = backupPath(*file);
    if (!QFile::rename(*file, backup)) return std::nullopt;
    damagedFileToKeep_ = false;
    return backup;
}

std::optional<QList<CityPreset>> LocationsFile::decode(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray()) return std::nullopt;
    QList<CityPreset> cities;
    const QJsonArray array = document.array();
    cities.reserve(array.size());
    for (const QJsonValue& value : array) {
        const auto city = decodeEntry(value);
        if (!city) return std::nullopt;
        cities.append(*city);
    }
    return cities;
}

QByteArray LocationsFile::encode(const QList<CityPreset>& saved) {
    QJsonArray array;
    for (const CityPreset& city : saved) {
        // QJsonObject keeps its keys sorted: id, latitude, longitude, name.
        array.append(QJsonObject{{QStringLiteral("id"), canonicalUuid(city.id)},
                                 {QStringLiteral("latitude"), city.latitude},
                                 {QStringLiteral("longitude"), city.longitude},
                                 {QStringLiteral("name"), city.name}});
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

}  // namespace morvane
