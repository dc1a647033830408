#include "model/light_settings.h"

#include <algorithm>
#include <cmath>

#include "engine/constants.h"
#include "model/astronomy_model.h"
#include "model/settings_store.h"

namespace morvane {

namespace {

const QString kAltitudeKey = QStringLiteral("Light/moonMinAltitude");
const QString kIlluminationKey = QStringLiteral("Light/moonMinIllumination");
const QString kDayNightKey = QStringLiteral("Light/mapDayNight");

constexpr double kDegree = kPi / 180.0;

}  // namespace

LightSettings& LightSettings::of(AstronomyModel& model) {
    if (auto* settings = model.findChild<LightSettings*>(QString(), Qt::FindDirectChildrenOnly))
        return *settings;
    return attach(model, std::make_unique<QSettingsStore>());
}

LightSettings& LightSettings::attach(AstronomyModel& model, std::unique_ptr<SettingsStore> store) {
    if (auto* settings = model.findChild<LightSettings*>(QString(), Qt::FindDirectChildrenOnly))
        return *settings;
    return *new LightSettings(model, std::move(store));
}

const LightSettings* LightSettings::find(const AstronomyModel& model) {
    return model.findChild<LightSettings*>(QString(), Qt::FindDirectChildrenOnly);
}

LightSettings::LightSettings(AstronomyModel& model, std::unique_ptr<SettingsStore> store)
    : QObject(&model), store_(std::move(store)) {
    if (const auto degrees = storedDouble(store_->value(kAltitudeKey));
        degrees && *degrees >= -90.0 && *degrees <= 90.0) {
        thresholds_.minAltitude = *degrees * kDegree;
    }
    if (const auto fraction = storedDouble(store_->value(kIlluminationKey));
        fraction && *fraction >= 0.0 && *fraction <= 1.0) {
        thresholds_.minIllumination = *fraction;
    }
    if (const auto shows = storedBool(store_->value(kDayNightKey))) showsDayNight_ = *shows;
}

LightSettings::~LightSettings() = default;

void LightSettings::setThresholds(const MoonlightThresholds& thresholds) {
    MoonlightThresholds next = thresholds_;
    if (!std::isnan(thresholds.minAltitude))
        next.minAltitude = std::clamp(thresholds.minAltitude, -90.0 * kDegree, 90.0 * kDegree);
    if (!std::isnan(thresholds.minIllumination))
        next.minIllumination = std::clamp(thresholds.minIllumination, 0.0, 1.0);
    if (next == thresholds_) return;
    thresholds_ = next;
    store_->setDouble(kAltitudeKey, thresholds_.minAltitude / kDegree);
    store_->setDouble(kIlluminationKey, thresholds_.minIllumination);
    emit thresholdsChanged();
}

void LightSettings::setShowsDayNight(bool shows) {
    if (shows == showsDayNight_) return;
    showsDayNight_ = shows;
    store_->setBool(kDayNightKey, shows);
    emit showsDayNightChanged(shows);
}

}  // namespace morvane
