#pragma once

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>

class QSettings;

namespace morvane {

/// The per-user key-value store the model keeps its ten inputs in.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    /// The stored value, or an invalid QVariant when the key is absent.
    [[nodiscard]] virtual QVariant value(const QString& key) const = 0;
    virtual void setText(const QString& key, const QString& text) = 0;
    virtual void setDouble(const QString& key, double value) = 0;
    virtual void setBool(const QString& key, bool value) = 0;
    virtual void setInteger(const QString& key, qint64 value) = 0;
};

/// The store on QSettings: the user's own file for the organisation and application
/// "MorvaneAstro", or any QSettings a test hands in.
class QSettingsStore final : public SettingsStore {
  public:
    QSettingsStore();
    explicit QSettingsStore(std::unique_ptr<QSettings> settings);
    ~QSettingsStore() override;

    [[nodiscard]] QVariant value(const QString& key) const override;
    void setText(const QString& key, const QString& text) override;
    void setDouble(const QString& key, double value) override;
    void setBool(const QString& key, bool value) override;
    void setInteger(const QString& key, qint64 value) override;

  private:
    std::unique_ptr<QSettings> settings_;
};

// Readers of stored values. A settings file is text the user may have edited: a value counts
// only when it can be taken as the field's kind, and a double only when it is finite.
std::optional<QString> storedText(const QVariant& value);
std::optional<double> storedDouble(const QVariant& value);
std::optional<bool> storedBool(const QVariant& value);
std::optional<qint64> storedInteger(const QVariant& value);

}  // namespace morvane
