// Real rows are pinned by the positions golden cases; no body there has a name longer than the
// column or an empty list.
#include "reports/positions_text.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

constexpr const char* kHeader =
    "Body           Azimuth    Altitude   Ec. Long.   Sign\n"
    "----           -------    --------   ---------   ----\n";

TEST(PositionsText, NamesAreCutOrPaddedToThirteenCharacters) {
    EXPECT_EQ(positionsText({}), kHeader);
    BodyPosition row;
    row.name = "Averyveryverylongname";
    row.azimuth = row.altitude = row.ecLong = " 001:00";
    row.sign = "Tái        ";
    std::vector<BodyPosition> rows{row};
    row.name = "Épeòn";
    rows.push_back(row);
    EXPECT_EQ(positionsText(rows),
              std::string(kHeader) +
                  "Averyveryvery  001:00     001:00     001:00      Tái        \n"
                  "Épeòn          001:00     001:00     001:00      Tái        \n");
}

}  // namespace
}  // namespace morvane
