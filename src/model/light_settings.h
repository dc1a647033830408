#pragma once

#include <QObject>
#include <memory>

#include "events/light.h"

namespace morvane {

class AstronomyModel;
class SettingsStore;

/// The user's choices about light: when Yael's light makes a dark sky dim, and whether the map
/// shows day and night. Kept in a settings store under "Light/moonMinAltitude" (degrees),
/// "Light/moonMinIllumination" (0 to 1) and "Light/mapDayNight". It lives as a child of the
/// model, so every view and export made at any time reads the same choices.
class LightSettings : public QObject {
    Q_OBJECT
  public:
    /// The model's settings, read from the user's store on first use.
    static LightSettings& of(AstronomyModel& model);
    /// Makes the model's settings with their own store; existing ones stay as they were.
    static LightSettings& attach(AstronomyModel& model, std::unique_ptr<SettingsStore> store);
    /// The model's settings, or null while none were made.
    static const LightSettings* find(const AstronomyModel& model);

    ~LightSettings() override;

    /// The stored thresholds, each falling back to its default when it cannot be read or lies
    /// outside its range (altitude −90° to 90°, illumination 0 to 1).
    [[nodiscard]] const MoonlightThresholds& thresholds() const { return thresholds_; }
    /// Takes the thresholds clamped into their ranges; not a number is ignored.
    void setThresholds(const MoonlightThresholds& thresholds);

    [[nodiscard]] bool showsDayNight() const { return showsDayNight_; }
    void setShowsDayNight(bool shows);

  signals:
    void thresholdsChanged();
    void showsDayNightChanged(bool shows);

  private:
    LightSettings(AstronomyModel& model, std::unique_ptr<SettingsStore> store);

    std::unique_ptr<SettingsStore> store_;
    MoonlightThresholds thresholds_;
    bool showsDayNight_ = false;
};

}  // namespace morvane
