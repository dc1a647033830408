#include "model/coordinate_input.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(ParseCoordinate, ReadsTheUsersLocaleAndPlainNumbers) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale c = QLocale::c();
    EXPECT_EQ(parseCoordinate("40,5", kMaxLatitudeDeg, german), 40.5);
    EXPECT_EQ(parseCoordinate("40.5", kMaxLatitudeDeg, c), 40.5);
    EXPECT_EQ(parseCoordinate("40.5", kMaxLatitudeDeg, german), 40.5);    // pasted from elsewhere
    EXPECT_EQ(parseCoordinate("40.500", kMaxLatitudeDeg, german), 40.5);  // not forty thousand
    EXPECT_EQ(parseCoordinate(" 12.25\n", kMaxLatitudeDeg, c), 12.25);
    EXPECT_EQ(parseCoordinate("0", kMaxLatitudeDeg, c), 0.0);
    EXPECT_EQ(parseCoordinate("90", kMaxLatitudeDeg, c), 90.0);
    EXPECT_EQ(parseCoordinate("95", kMaxLongitudeDeg, c), 95.0);
    EXPECT_EQ(parseCoordinate("180", kMaxLongitudeDeg, german), 180.0);
}

TEST(ParseCoordinate, RefusesWhatIsNoMagnitudeInRange) {
    const QLocale german(QLocale::German, QLocale::Germany);
    for (const QLocale& locale : {QLocale::c(), german}) {
        for (const char* text : {"abc", "", "  ", "95", "90.001", "-3", "-0", "+3", "1e400", "inf",
                                 "nan", "40,5,1", "40 N"}) {
            EXPECT_FALSE(parseCoordinate(text, kMaxLatitudeDeg, locale))
                << '"' << text << "\" in " << locale.name().toStdString();
        }
        EXPECT_FALSE(parseCoordinate("180.5", kMaxLongitudeDeg, locale));
        EXPECT_FALSE(parseCoordinate(QString::fromUtf8("\u22123"), kMaxLongitudeDeg, locale));
    }
    EXPECT_FALSE(parseCoordinate("40,5", kMaxLatitudeDeg, QLocale::c()));
}

}  // namespace
}  // namespace morvane
