#include "engine/signs.h"

#include <gtest/gtest.h>

#include "engine/constants.h"
#include "engine/text.h"

namespace morvane {
namespace {

TEST(Signs, LookupAtBoundsAndBeyond) {
    EXPECT_EQ(zodiacSignShort(0.0), "Ládo       ");
    EXPECT_EQ(zodiacSignShort(0.02106), "Ùlándus    ");  // on a bound: the next sign
    EXPECT_EQ(zodiacSignShort(0.021059999), "Ládo       ");
    EXPECT_EQ(zodiacSignShort(kTwoPi), "Ládo       ");
    EXPECT_EQ(zodiacSignShort(-0.1), "Ládo       ");
    EXPECT_EQ(zodiacSignShort(5.235987755982989), "Skôrus     ");  // 300°: bound just above
    EXPECT_EQ(zodiacSignShort(7.0), "Arálius    ");
    EXPECT_EQ(zodiacSignShort(2.69112), "Nadái      ");
    EXPECT_EQ(zodiacSignShort(2.6911), "Angberélius");
    EXPECT_EQ(zodiacSignName(5.8), "Ládo (Culmination, Returning)");
    EXPECT_EQ(zodiacSignName(3.5), "Hîrin (Freedom, Sell-Will)");
    EXPECT_EQ(zodiacSignName(-3.0), "Hîrin (Freedom, Sell-Will)");  // 188.1°
}

TEST(Signs, ShortNamesAreElevenCharactersAndMatchTheLongNames) {
    for (double x = 0.0; x < kTwoPi; x += 0.001) {
        const std::string_view shortName = zodiacSignShort(x);
        ASSERT_EQ(characterCount(shortName), 11u) << shortName;
        const std::string_view name = shortName.substr(0, shortName.find(' '));
        ASSERT_TRUE(zodiacSignName(x).starts_with(std::string(name) + " (")) << x;
    }
}

}  // namespace
}  // namespace morvane
