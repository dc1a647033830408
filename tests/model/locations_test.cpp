#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <optional>

#include "model_fixture.h"

namespace morvane {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using testing::ModelFixture;
using testing::readFile;
using ::testing::StartsWith;
using testing::writeFile;

const QStringList kBuiltInOrder = {"Berema",   "Chelemby", "Cherafir", "Goris",  "Hacherdad",
                                   "Inri",     "Isynen",   "Livelis",  "Lysara", "Manquided",
                                   "Meokolis", "Tarkain",  "Tengela"};

QStringList namesOf(const QList<CityPreset>& cities) {
    QStringList names;
    for (const CityPreset& city : cities) names.append(city.name);
    return names;
}

// The list as the locations file holds it, if the file reads.
std::optional<QList<CityPreset>> onDisk(const ModelFixture& fixture) {
    return LocationsFile::decode(readFile(fixture.locationsPath()));
}

TEST(Locations, FirstStartWritesTheBuiltInPlaces) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    EXPECT_EQ(namesOf(model->cities()), QStringList{"Manual"} + kBuiltInOrder);
    EXPECT_EQ(model->cities().constFirst(), CityPreset::manual());

    EXPECT_EQ(onDisk(fixture), model->cities().mid(1));  // reads back equal, without "Manual"
    EXPECT_THAT(readFile(fixture.locationsPath()).toStdString(),
                AllOf(StartsWith("[\n    {\n        \"id\": \""),
                      HasSubstr("\"latitude\": 0.7068583470577035,\n        \"longitude\": "
                                "-0.3647738136668149,\n        \"name\": \"Cherafir\"\n")));
}

TEST(Locations, SavingChecksTheNameAndSortsTheNewEntry) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();

    const auto refusal = [&](const QString& name) {
        return std::get<LocationError>(model->saveLocation(name)).message();
    };
    EXPECT_EQ(refusal("  Goris \n"), "\"Goris\" already exists.");
    EXPECT_EQ(refusal("manual"), "\"manual\" already exists.");
    EXPECT_EQ(refusal(" \t\n "), "Please enter a name.");
    EXPECT_EQ(model->cities().size(), 14);

    model->setManualLatDeg(12.5);
    model->setLatNorth(false);
    QSignalSpy changed(model.get(), &AstronomyModel::citiesChanged);
    const auto abbey = model->saveLocation("abbey");
    ASSERT_TRUE(std::holds_alternative<QUuid>(abbey));
    EXPECT_EQ(model->cities()[1].name, "abbey");
    EXPECT_EQ(model->cities()[1].id, std::get<QUuid>(abbey));
    EXPECT_EQ(model->cities()[1].latitude, -(12.5 * 3.141592653589793 / 180.0));
    EXPECT_EQ(model->selectedCityID(), manualCityID());  // the caller decides what to select
    ASSERT_TRUE(std::holds_alternative<QUuid>(model->saveLocation("Zed")));
    EXPECT_EQ(model->cities().constLast().name, "Zed");
    EXPECT_EQ(changed.count(), 2);

    EXPECT_EQ(onDisk(fixture), model->cities().mid(1));  // the file follows every change
}

TEST(Locations, DeletingTheSelectedEntrySelectsManual) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    // The id may be handed in as a reference into the list itself, as a view holding the
    // selected entry does.
    model->setSelectedCityID(model->cities()[3].id);
    const QString name = model->cities()[3].name, nextName = model->cities()[4].name;
    model->deleteLocation(model->cities()[3].id);
    EXPECT_EQ(model->selectedCityID(), manualCityID());
    EXPECT_FALSE(namesOf(model->cities()).contains(name));
    EXPECT_TRUE(namesOf(model->cities()).contains(nextName));
    EXPECT_EQ(onDisk(fixture), model->cities().mid(1));

    model->deleteLocation(manualCityID());  // not a place of its own: stays
    EXPECT_EQ(model->cities().size(), 13);
    EXPECT_EQ(model->cities().constFirst(), CityPreset::manual());
}

TEST(Locations, ADamagedFileIsSetAsideAtOnceAndTheUserToldWhere) {
    ModelFixture fixture;
    const QByteArray damaged =
        R"([{"id": "0A0B0C0D-0000-4000-8000-000000000001", "latitude": 0.1, "name": "No longitude"}])";
    ASSERT_TRUE(writeFile(fixture.locationsPath(), damaged));
    const auto model = fixture.makeModel(
        {{"AstronomyModel.selectedCityID", "0A0B0C0D-0000-4000-8000-000000000001"}});
    EXPECT_EQ(namesOf(model->cities()), QStringList{"Manual"} + kBuiltInOrder);
    // The place it named is gone with the file: Manual, not a blank picker at 0, 0.
    EXPECT_EQ(model->selectedCityID(), manualCityID());
    EXPECT_EQ(model->latitude(), 0.7068583470577035);
    EXPECT_TRUE(fixture.store->writes.empty());

    const QString copy = fixture.locationsPath() + ".corrupt";
    EXPECT_EQ(readFile(copy), damaged);
    EXPECT_EQ(onDisk(fixture), model->cities().mid(1));
    ASSERT_EQ(model->loadNotices().size(), 1);
    EXPECT_THAT(model->loadNotices().first().toStdString(),
                AllOf(HasSubstr(("\"" + fixture.locationsPath() + "\"").toStdString()),
                      HasSubstr(("\"" + copy + "\"").toStdString())));

    // The next real write stores the fallback.
    model->setLatNorth(true);
    EXPECT_EQ(fixture.store->values["AstronomyModel.selectedCityID"].toString(),
              canonicalUuid(manualCityID()));

    // The next start finds a sound file and has nothing to say.
    EXPECT_TRUE(fixture.makeModel()->loadNotices().isEmpty());

    // Damaged again: the older copy is kept, the new one takes a name of its own.
    ASSERT_TRUE(writeFile(fixture.locationsPath(), "[{"));
    const auto again = fixture.makeModel();
    EXPECT_EQ(readFile(copy), damaged);
    const QStringList copies = QDir(fixture.folder.path()).entryList({"locations.json.corrupt-*"});
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(readFile(fixture.folder.path() + "/" + copies.first()), "[{");
    ASSERT_EQ(again->loadNotices().size(), 1);
    EXPECT_THAT(again->loadNotices().first().toStdString(),
                HasSubstr(copies.first().toStdString()));
    // Saving later copies nothing more.
    ASSERT_TRUE(std::holds_alternative<QUuid>(again->saveLocation("Home")));
    EXPECT_EQ(QDir(fixture.folder.path()).entryList({"locations.json.corrupt*"}).size(), 2);
}

TEST(Locations, DecodingRejectsTheWholeFileForOneBadEntry) {
    const QByteArray bad[] = {
        "",
        "{}",
        "[1]",
        "{\"cities\": []}",
        QByteArray(1000, '\0'),
        R"([{"id": "not-a-uuid", "latitude": 0, "longitude": 0, "name": "x"}])",
        R"([{"id": "0A0B0C0D-0000-4000-8000-000000000001", "latitude": "0", "longitude": 0, "name": "x"}])",
        R"([{"id": "0A0B0C0D-0000-4000-8000-000000000001", "latitude": 0, "longitude": 0, "name": 5}])",
        "[{\"id\": \"0A0B0C0D-0000-4000-8000-000000000001\", \"latitude\": 0, \"longitude\": 0, "
        "\"name\": \"\xff\xfe not UTF-8\"}]",
        R"([{"id": "0A0B0C0D-0000-4000-8000-000000000001", "latitude": 0, "longitude": 0, "name": "x"},)",
    };
    for (const QByteArray& json : bad)
        EXPECT_FALSE(LocationsFile::decode(json)) << json.left(40).toStdString();
    EXPECT_TRUE(LocationsFile::decode("[]"));
}

TEST(Locations, AnUnwritableFolderLeavesTheListWorking) {
    ModelFixture fixture;
    const QString blocked = fixture.folder.path() + "/file-not-folder";
    ASSERT_TRUE(writeFile(blocked, "x"));
    auto model = std::make_unique<AstronomyModel>(
        AstronomyModel::Storage{std::make_unique<testing::RecordingStore>(), blocked + "/sub"});
    EXPECT_EQ(model->cities().size(), 14);
    ASSERT_TRUE(std::holds_alternative<QUuid>(model->saveLocation("Home")));
    EXPECT_EQ(model->cities().size(), 15);
    model->deleteLocation(model->cities()[1].id);
    EXPECT_EQ(model->cities().size(), 14);
}

TEST(CityPresetOrder, ByLowercasedNameOnly) {
    const CityPreset a{QUuid::createUuid(), "abbey", 1, 1};
    const CityPreset b{QUuid::createUuid(), "Berema", 0, 0};
    const CityPreset upper{QUuid::createUuid(), "ABBEY", 5, 5};
    EXPECT_TRUE(a < b);
    EXPECT_FALSE(a < upper);
    EXPECT_FALSE(upper < a);
    EXPECT_NE(a, upper);
    const CityPreset zero{a.id, a.name, 0.0, 0.0};
    const CityPreset negativeZero{a.id, a.name, -0.0, -0.0};
    EXPECT_EQ(zero, negativeZero);
    EXPECT_EQ(qHash(zero), qHash(negativeZero));
    // Composed and decomposed forms of one name sort alike.
    const CityPreset composed{QUuid::createUuid(), QString::fromUtf8("\xC3\x89pe"), 0, 0};
    const CityPreset decomposed{QUuid::createUuid(), QString::fromUtf8("E\xCC\x81pe"), 0, 0};
    EXPECT_FALSE(composed < decomposed);
    EXPECT_FALSE(decomposed < composed);
}

}  // namespace
}  // namespace morvane
