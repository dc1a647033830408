#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "model/astronomy_model.h"
#include "model/settings_store.h"

namespace morvane::testing {

/// A settings store in memory that records every write in order.
class RecordingStore final : public SettingsStore {
  public:
    std::map<QString, QVariant> values;
    std::vector<std::pair<QString, QVariant>> writes;

    QVariant value(const QString& key) const override {
        const auto it = values.find(key);
        return it == values.end() ? QVariant() : it->second;
    }
    void setText(const QString& key, const QString& text) override { record(key, text); }
    void setDouble(const QString& key, double value) override { record(key, value); }
    void setBool(const QString& key, bool value) override { record(key, value); }
    void setInteger(const QString& key, qint64 value) override { record(key, value); }

  private:
    void record(const QString& key, const QVariant& value) {
        values[key] = value;
        writes.emplace_back(key, value);
    }
};

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

/// A model on a recording store and a fresh locations folder of its own.
struct ModelFixture {
    QTemporaryDir folder;
    RecordingStore* store = nullptr;  // owned by the model

    std::unique_ptr<AstronomyModel> makeModel(std::map<QString, QVariant> stored = {}) {
        auto recording = std::make_unique<RecordingStore>();
        recording->values = std::move(stored);
        store = recording.get();
        return std::make_unique<AstronomyModel>(
            AstronomyModel::Storage{std::move(recording), folder.path()});
    }
    QString locationsPath() const { return folder.path() + QStringLiteral("/locations.json"); }
};

}  // namespace morvane::testing
