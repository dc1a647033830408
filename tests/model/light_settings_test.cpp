#include "model/light_settings.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <cmath>
#include <limits>

#include "engine/constants.h"
#include "model_fixture.h"

namespace morvane {
namespace {

using testing::ModelFixture;
using testing::RecordingStore;

constexpr double kDegree = kPi / 180.0;

TEST(LightSettings, KeepsTheThresholdsAndTheMapToggleAcrossRuns) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    auto owned = std::make_unique<RecordingStore>();
    RecordingStore* store = owned.get();
    LightSettings& settings = LightSettings::attach(*model, std::move(owned));
    EXPECT_EQ(&LightSettings::of(*model), &settings);
    EXPECT_EQ(settings.thresholds(), MoonlightThresholds{});
    EXPECT_FALSE(settings.showsDayNight());

    QSignalSpy thresholds(&settings, &LightSettings::thresholdsChanged);
    QSignalSpy toggled(&settings, &LightSettings::showsDayNightChanged);
    settings.setThresholds({5.0 * kDegree, 0.25});
    settings.setThresholds({5.0 * kDegree, 0.25});  // no change, no signal
    settings.setShowsDayNight(true);
    settings.setShowsDayNight(true);
    EXPECT_EQ(thresholds.count(), 1);
    EXPECT_EQ(toggled.count(), 1);
    EXPECT_DOUBLE_EQ(store->values["Light/moonMinAltitude"].toDouble(), 5.0);
    EXPECT_DOUBLE_EQ(store->values["Light/moonMinIllumination"].toDouble(), 0.25);
    EXPECT_EQ(store->values["Light/mapDayNight"], true);

    // Out of range is clamped; not a number leaves that threshold alone.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    settings.setThresholds({120.0 * kDegree, nan});
    EXPECT_DOUBLE_EQ(settings.thresholds().minAltitude, 90.0 * kDegree);
    EXPECT_DOUBLE_EQ(settings.thresholds().minIllumination, 0.25);
    settings.setThresholds({nan, -1.0});
    EXPECT_DOUBLE_EQ(settings.thresholds().minAltitude, 90.0 * kDegree);
    EXPECT_DOUBLE_EQ(settings.thresholds().minIllumination, 0.0);

    // The next run reads them back.
    ModelFixture again;
    const auto next = again.makeModel();
    auto copy = std::make_unique<RecordingStore>();
    copy->values = store->values;
    const LightSettings& reread = LightSettings::attach(*next, std::move(copy));
    EXPECT_EQ(reread.thresholds(), settings.thresholds());
    EXPECT_TRUE(reread.showsDayNight());
}

TEST(LightSettings, ADamagedStoreFallsBackToTheDefaults) {
    const struct {
        QVariant altitude, illumination, dayNight;
    } cases[] = {
        {"high", "half", "sometimes"},
        {91.0, 1.5, QVariant()},
        {-90.5, -0.1, 3.0},
        {std::numeric_limits<double>::infinity(), std::nan(""), "yes please"},
    };
    for (const auto& c : cases) {
        ModelFixture fixture;
        const auto model = fixture.makeModel();
        auto store = std::make_unique<RecordingStore>();
        store->values = {{"Light/moonMinAltitude", c.altitude},
                         {"Light/moonMinIllumination", c.illumination},
                         {"Light/mapDayNight", c.dayNight}};
        const LightSettings& settings = LightSettings::attach(*model, std::move(store));
        EXPECT_EQ(settings.thresholds(), MoonlightThresholds{})
            << c.altitude.toString().toStdString();
        EXPECT_FALSE(settings.showsDayNight());
    }
    // The edges of the ranges are fine.
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    auto store = std::make_unique<RecordingStore>();
    store->values = {{"Light/moonMinAltitude", -90.0}, {"Light/moonMinIllumination", 1.0}};
    const LightSettings& settings = LightSettings::attach(*model, std::move(store));
    EXPECT_DOUBLE_EQ(settings.thresholds().minAltitude, -90.0 * kDegree);
    EXPECT_DOUBLE_EQ(settings.thresholds().minIllumination, 1.0);
}

}  // namespace
}  // namespace morvane
