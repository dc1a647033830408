#include "model/settings_store.h"

#include <QSettings>
#include <cmath>

namespace morvane {

QSettingsStore::QSettingsStore()
    : settings_(std::make_unique<QSettings>(QStringLiteral("MorvaneAstro"),
                                            QStringLiteral("MorvaneAstro"))) {}

QSettingsStore::QSettingsStore(std::unique_ptr<QSettings> settings)
    : settings_(std::move(settings)) {}

QSettingsStore::~QSettingsStore() = default;

QVariant QSettingsStore::value(const QString& key) const { return settings_->value(key); }

void QSettingsStore::setText(const QString& key, const QString& text) {
    settings_->setValue(key, text);
}

void QSettingsStore::setDouble(const QString& key, double value) {
    settings_->setValue(key, value);
}

void QSettingsStore::setBool(const QString& key, bool value) { settings_->setValue(key, value); }

void QSettingsStore::setInteger(const QString& key, qint64 value) {
    settings_->setValue(key, value);
}

std::optional<QString> storedText(const QVariant& value) {
    if (value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString();
}

std::optional<double> storedDouble(const QVariant& value) {
    bool ok = false;
    double number = 0.0;
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
            number = value.toDouble(&ok);
            break;
        case QMetaType::QString:  // INI files give every value back as text
            number = value.toString().trimmed().toDouble(&ok);  // C locale, whole text
            break;
        default:
            break;
    }
    if (!ok || !std::isfinite(number)) return std::nullopt;
    return number;
}

std::optional<bool> storedBool(const QVariant& value) {
    if (value.typeId() == QMetaType::Bool) return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed().toLower();
        if (text == QLatin1String("true") || text == QLatin1String("1")) return true;
        if (text == QLatin1String("false") || text == QLatin1String("0")) return false;
    }
    if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
        const qint64 number = value.toLongLong();
        if (number == 0 || number == 1) return number == 1;
    }
    return std::nullopt;
}

std::optional<qint64> storedInteger(const QVariant& value) {
    bool ok = false;
    qint64 number = 0;
    switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
            number = value.toLongLong(&ok);
            break;
        case QMetaType::QString:
            number = value.toString().trimmed().toLongLong(&ok);  // fails on overflow
            break;
        default:
            break;
    }
    if (!ok) return std::nullopt;
    return number;
}

}  // namespace morvane
