#include "engine/positions.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace morvane {
namespace {

// The rows' texts are pinned by the positions golden cases; what they cannot show is that every
// list gets fresh identities.
TEST(PositionsList, EveryCallMakesNewVersionFourIdsForEqualContents) {
    const std::regex uuid("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    const auto first = positionsList(100.0, 0.5, 0.5);
    const auto second = positionsList(100.0, 0.5, 0.5);
    ASSERT_EQ(first.size(), 6u);
    std::set<std::string> ids;
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].azimuth, second[i].azimuth);
        EXPECT_EQ(first[i].sign, second[i].sign);
        for (const auto& row : {first[i], second[i]}) {
            const std::string id = row.id.toString();
            EXPECT_TRUE(std::regex_match(id, uuid)) << id;
            EXPECT_TRUE(ids.insert(id).second) << id;
        }
    }
}

}  // namespace
}  // namespace morvane
