#include "reports/positions_text.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine/constants.h"

namespace morvane {
namespace {

constexpr const char* kHeader =
    "Body           Azimuth    Altitude   Ec. Long.   Sign\n"
    "----           -------    --------   ---------   ----\n";

TEST(PositionsText, HeaderAloneForNoRows) { EXPECT_EQ(positionsText({}), kHeader); }

TEST(PositionsText, RowsAtTheEpoch) {
    const std::string text = positionsText(positionsList(0.0, 40.0 * kPi / 180.0, 0.0));
    EXPECT_TRUE(text.starts_with(kHeader));
    EXPECT_NE(text.find("\nNolomar           :43     049:49     359:30      Ládo       \n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nÉpeòn          354:44     051:09     003:32      Ùlándus    \n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\nKenôr          170:34    -051:52    -173:47      Hîrin      \n"),
              std::string::npos)
        << text;
}

TEST(PositionsText, NamesAreCutOrPaddedToThirteenCharacters) {
    BodyPosition row;
    row.name = "Averyveryverylongname";
    row.azimuth = row.altitude = row.ecLong = " 001:00";
    row.sign = "Tái        ";
    std::vector<BodyPosition> rows{row};
    row.name = "Épeòn";
    rows.push_back(row);
    std::istringstream lines(positionsText(rows).substr(std::string(kHeader).size()));
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "Averyveryvery  001:00     001:00     001:00      Tái        ");
    std::getline(lines, line);
    EXPECT_EQ(line, "Épeòn          001:00     001:00     001:00      Tái        ");
}

}  // namespace
}  // namespace morvane
