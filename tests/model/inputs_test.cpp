#include "model/inputs.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <utility>

#include "model_fixture.h"

namespace morvane {
namespace {

using testing::RecordingStore;

// The settings file of a user who changed every input.
const char* const kSettingsFile =
    "[General]\nAstronomyModel.dayIndex=29\nAstronomyModel.hour=23.75\n"
    "AstronomyModel.latNorth=false\nAstronomyModel.longWest=false\n"
    "AstronomyModel.manualLatDeg=0.5\nAstronomyModel.manualLongDeg=180\n"
    "AstronomyModel.monthIndex=11\n"
    "AstronomyModel.selectedCityID=0A0B0C0D-0000-4000-8000-000000000001\n"
    "AstronomyModel.useLocalTime=true\nAstronomyModel.year=2000\n";
const QUuid kZeta("0A0B0C0D-0000-4000-8000-000000000001");
const Inputs kEveryInputChanged{kZeta, 0.5, 180.0, false, false, 11, 29, 2000, 23.75, true};

StoredInputs loaded(const std::map<QString, QVariant>& values) {
    RecordingStore store;
    for (const auto& [key, value] : values) store.values["AstronomyModel." + key] = value;
    return Inputs::load(store);
}

TEST(InputsStore, WritesTheFileAUserHasAndReadsItBack) {
    QTemporaryDir folder;
    const auto store = [&](const char* name) {
        return QSettingsStore(
            std::make_unique<QSettings>(folder.path() + name, QSettings::IniFormat));
    };
    {
        QSettingsStore written = store("/settings.ini");
        kEveryInputChanged.save(written, Inputs::Group::location);
        kEveryInputChanged.save(written, Inputs::Group::time);
    }
    EXPECT_EQ(testing::readFile(folder.path() + "/settings.ini").toStdString(), kSettingsFile);
    EXPECT_EQ(Inputs::load(store("/settings.ini")).inputs, kEveryInputChanged);
    EXPECT_EQ(Inputs::load(store("/none.ini")).notice, "");  // a missing value is no damage

    RecordingStore order;
    kEveryInputChanged.save(order, Inputs::Group::time);
    kEveryInputChanged.save(order, Inputs::Group::location);
    QStringList keys;
    for (const auto& [key, value] : order.writes) keys.append(key.mid(15));
    EXPECT_EQ(keys.join(' '),
              "year monthIndex dayIndex hour useLocalTime "
              "selectedCityID manualLatDeg manualLongDeg latNorth longWest");
}

TEST(InputsStore, EachControlsRangeHoldsToBothEndsAndNoFurther) {
    const struct {
        const char* key;
        QVariant low, high, belowLow, aboveHigh;  // a file gives numbers back as text
    } ranges[] = {
        {"manualLatDeg", 0.0, "90", -0.001, 90.5},
        {"manualLongDeg", "0", 180, "-3", "180.5"},
        {"monthIndex", 0, " 11", -1, 12},
        {"dayIndex", "0", 29, -1, 30},
        {"year", 1, "2000", "0", 2001},
        {"hour", 0.0, 23.99, -0.25, 24.0},  // a jump may land on 23:59
    };
    std::map<QString, QVariant> lows, highs, belowLows, aboveHighs;
    for (const auto& range : ranges) {
        lows[range.key] = range.low;
        highs[range.key] = range.high;
        belowLows[range.key] = range.belowLow;
        aboveHighs[range.key] = range.aboveHigh;
    }
    highs.insert({{"latNorth", "false"}, {"longWest", 0}, {"useLocalTime", "1"}});
    highs["selectedCityID"] = "0a0b0c0d-0000-4000-8000-000000000001";
    EXPECT_EQ(loaded(lows).notice, "");
    EXPECT_EQ(loaded(lows).inputs, (Inputs{manualCityID(), 0, 0, true, true, 0, 0, 1, 0, false}));
    EXPECT_EQ(loaded(highs).inputs,
              (Inputs{kZeta, 90, 180, false, false, 11, 29, 2000, 23.99, true}));
    for (const auto& beyond : {belowLows, aboveHighs}) {
        EXPECT_EQ(loaded(beyond).inputs, Inputs());
        EXPECT_EQ(loaded(beyond).notice,
                  "The stored settings for the latitude, longitude, month, day, year and hour were "
                  "out of range or unreadable, so the default values are used instead.");
    }
}

TEST(InputsStore, DamagedValuesKeepTheirDefaultsAndAreNamedInOneSentence) {
    const StoredInputs unreadable = loaded({
        {"selectedCityID", "not a uuid"},
        {"manualLatDeg", "nan"},
        {"manualLongDeg", std::numeric_limits<double>::infinity()},
        {"latNorth", "maybe"},
        {"longWest", 2.5},
        {"monthIndex", "99999999999999999999999"},
        {"dayIndex", "3.5"},
        {"year", "seven hundred"},
        {"hour", "noon"},
        {"useLocalTime", ""},
    });
    EXPECT_EQ(unreadable.inputs, Inputs());
    EXPECT_EQ(unreadable.notice,
              "The stored settings for the selected place, latitude, longitude, north or south, "
              "west or east, month, day, year, hour and local time choice were out of range or "
              "unreadable, so the default values are used instead.");
    EXPECT_EQ(loaded({{"latNorth", "yes"}}).notice,
              "The stored settings for the north or south were out of range or unreadable, so "
              "the default is used instead.");
}

TEST(InputsPlace, TypedInSavedOrNamingNoEntry) {
    const CityPreset goris{QUuid::createUuid(), "Goris", 0.25, -0.5};
    const QList<CityPreset> cities{CityPreset::manual(), goris, {goris.id, "Twin", 1.0, 1.0}};
    Inputs in;
    const auto at = [](const SelectedPlace& place) {
        return std::pair(place.latitude, place.longitude);
    };
    // West is negative.
    EXPECT_EQ(at(in.place(cities)), std::pair(0.7068583470577035, -0.3647738136668149));

    in.manualLatDeg = 0.0;
    in.latNorth = false;
    in.longWest = false;
    const SelectedPlace place = in.place({});        // the typed-in place needs no list
    EXPECT_TRUE(std::signbit(place.latitude));       // south of the equator: negative zero
    EXPECT_EQ(place.longitude, 0.3647738136668149);  // east is positive

    in.selectedCityID = goris.id;  // of two entries with the id, the first answers
    EXPECT_EQ(at(in.place(cities)), std::pair(0.25, -0.5));

    in.selectedCityID = QUuid::createUuid();  // a stale id: the manual entry's 0, 0
    EXPECT_EQ(in.place(cities).kind, SelectedPlace::Kind::unknown);
    EXPECT_EQ(at(in.place(cities)), std::pair(0.0, 0.0));
}

}  // namespace
}  // namespace morvane
