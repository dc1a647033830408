#include "cli/places.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "cli_test_support.h"

namespace morvane::cli {
namespace {

using testing::runCli;

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

TEST_F(SavedPlaces, BuiltInPlacesOnAFirstStartWithoutWritingAnything) {
    const auto result = runCli({"places"});
    ASSERT_EQ(result.status, kExitOk) << result.err;
    EXPECT_TRUE(result.out.starts_with("Berema\t37.7\t-16.4\nChelemby\t44.4\t-12.2\n"));
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 13);
    EXPECT_FALSE(QDir(folder()).exists());
}

TEST_F(SavedPlaces, SavedFileIsListedAndSelectable) {
    writeLocations(R"([{"id": "0A0B0C0D-0000-4000-8000-000000000001", "latitude": -0.5,
                        "longitude": 1.0, "name": "Home \"keep\""},
                       {"id": "0A0B0C0D-0000-4000-8000-000000000002", "latitude": 0.25,
                        "longitude": -0.125, "name": "abbey"}])");
    const auto text = runCli({"places"});
    EXPECT_EQ(text.out, "abbey\t14.323945\t-7.161972\nHome \"keep\"\t-28.64789\t57.29578\n");
    const auto json = runCli({"places", "--json"});
    EXPECT_NE(
        json.out.find("{\"name\": \"Home \\\"keep\\\"\", \"id\": "
                      "\"0A0B0C0D-0000-4000-8000-000000000001\", \"latitudeDeg\": -28.64789,"),
        std::string::npos)
        << json.out;

    // --place is matched ignoring case and gives the stored radians.
    EXPECT_EQ(
        runCli({"positions", "--place", "ABBEY"}).out,
        runCli({"positions", "--lat", "14.32394487827058", "--lon", "-7.16197243913529"}).out);
}

TEST_F(SavedPlaces, UnknownPlacesAreInputErrorsWithASuggestion) {
    auto result = runCli({"labels", "--place", "Cherafr"});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_TRUE(result.out.empty());
    EXPECT_NE(result.err.find("did you mean \"Cherafir\"?"), std::string::npos) << result.err;

    result = runCli({"labels", "--place", "Atlantis"});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_EQ(result.err.find("did you mean"), std::string::npos) << result.err;

    result = runCli({"labels", "--place", "Goris", "--lon", "3E"});
    EXPECT_EQ(result.status, kExitUsage);
    EXPECT_NE(result.err.find("--place"), std::string::npos);

    EXPECT_EQ(runCli({"catalogue", "--place", "Goris"}).status, kExitUsage);
    EXPECT_EQ(runCli({"places", "--place", "Goris"}).status, kExitUsage);
}

TEST_F(SavedPlaces, ADamagedFileIsLeftAsItIs) {
    writeLocations("[{\"name\": 1}");
    const auto result = runCli({"places"});
    EXPECT_EQ(result.status, kExitOk);
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 13);  // built-in places
    QFile file(folder() + "/locations.json");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "[{\"name\": 1}");
    EXPECT_FALSE(QFile::exists(folder() + "/locations.json.corrupt"));
}

TEST(ReadableDegrees, TrimsTrailingZeros) {
    EXPECT_EQ(readableDegrees(40.5 * 3.141592653589793 / 180.0), "40.5");
    EXPECT_EQ(readableDegrees(0.0), "0");
    EXPECT_EQ(readableDegrees(-0.0), "0");
    EXPECT_EQ(readableDegrees(-1e-9), "0");
    EXPECT_EQ(readableDegrees(1.0), "57.29578");
}

}  // namespace
}  // namespace morvane::cli
