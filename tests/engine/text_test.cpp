#include "engine/text.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(Text, CountsCharactersNotBytes) {
    EXPECT_EQ(characterCount("Épeòn"), 5u);
    EXPECT_EQ(characterCount("Epeon"), 5u);
    EXPECT_EQ(characterCount(""), 0u);
}

TEST(Text, FitsAccentedTextLikePlainText) {
    EXPECT_EQ(fitToWidth("Épeòn", 8), "Épeòn   ");
    EXPECT_EQ(fitToWidth("Epeon", 8), "Epeon   ");
    EXPECT_EQ(fitToWidth("", 3), "   ");
    // A cut never splits a character.
    EXPECT_EQ(fitToWidth("ÁÁÁÁ", 2), "ÁÁ");
    EXPECT_EQ(fitToWidth("A very long body name", 13), "A very long b");
}

}  // namespace
}  // namespace morvane
