#include "cli/places.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "cli_test_support.h"

namespace morvane::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using testing::runCli;
using ::testing::StartsWith;

// Points the user's data folder at a temporary one for the life of the fixture.
class SavedPlaces : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home_.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", previous_); }

    QString folder() const { return home_.path() + "/MorvaneAstro"; }
    void writeLocations(const QByteArray& json) {
        QDir().mkpath(folder());
        QFile file(folder() + "/locations.json");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
    }

  private:
    QTemporaryDir home_;
    QByteArray previous_;
};

TEST_F(SavedPlaces, BuiltInPlacesWithoutTouchingAnyFile) {
    const auto result = runCli({"places"});
    EXPECT_THAT(result.out, StartsWith("Berema\t37.7\t-16.4\nChelemby\t44.4\t-12.2\n"));
    EXPECT_FALSE(QDir(folder()).exists());  // the whole list is pinned by the golden "places"

    // A damaged file is left as it is, and the built-in places listed.
    writeLocations("[{\"name\": 1}");
    EXPECT_EQ(runCli({"places"}).out, result.out);
    QFile file(folder() + "/locations.json");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[{\"name\": 1}");
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{"locations.json"});
}

TEST_F(SavedPlaces, SavedFileIsListedAndSelectable) {
    writeLocations(R"([{"id": "0A0B0C0D-0000-4000-8000-000000000001", "latitude": -0.5,
                        "longitude": 1.0, "name": "Home \"keep\""},
                       {"id": "0A0B0C0D-0000-4000-8000-000000000002", "latitude": 0.25,
                        "longitude": -0.125, "name": "abbey"}])");
    EXPECT_EQ(runCli({"places"}).out,
              "abbey\t14.323945\t-7.161972\nHome \"keep\"\t-28.64789\t57.29578\n");
    EXPECT_THAT(runCli({"places", "--json"}).out,
                HasSubstr("{\"name\": \"Home \\\"keep\\\"\", \"id\": "
                          "\"0A0B0C0D-0000-4000-8000-000000000001\", \"latitudeDeg\": "
                          "-28.64789,"));

    // --place is matched ignoring case and gives the stored radians.
    EXPECT_EQ(
        runCli({"positions", "--place", "ABBEY"}).out,
        runCli({"positions", "--lat", "14.32394487827058", "--lon", "-7.16197243913529"}).out);
}

TEST_F(SavedPlaces, UnknownPlacesAreInputErrorsWithASuggestion) {
    auto result = runCli({"labels", "--place", "Cherafr"});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_THAT(result.err, HasSubstr("did you mean \"Cherafir\"?"));

    result = runCli({"labels", "--place", "Atlantis"});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_THAT(result.err, Not(HasSubstr("did you mean")));

    result = runCli({"labels", "--place", "Goris", "--lon", "3E"});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_THAT(result.err, HasSubstr("--place: names a saved location"));
}

TEST_F(SavedPlaces, ExportedFilesAreNamedAfterThePlaceAndTheCalendarMoment) {
    const QTemporaryDir out;
    runCli({"export", "--out", out.path().toStdString(), "--lat=0S", "--lon=179.999E", "--t=0.3"});
    EXPECT_EQ(QDir(out.path()).entryList({"Star Map*"}),
              QStringList{"Star Map - 0.00°S 180.00°E - 001-01-01 19-12.svg"});
}

TEST(ReadableDegrees, TrimsTrailingZeros) {
    EXPECT_EQ(readableDegrees(40.5 * 3.141592653589793 / 180.0), "40.5");
    EXPECT_EQ(readableDegrees(0.0), "0");
    EXPECT_EQ(readableDegrees(-1e-9), "0");
    EXPECT_EQ(readableDegrees(1.0), "57.29578");
}

}  // namespace
}  // namespace morvane::cli
