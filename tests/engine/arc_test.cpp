#include "engine/arc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "engine/constants.h"

namespace morvane {
namespace {

double fromDMS(double d, double m, double s) {
    return (d + m / 60.0 + s / 3600.0) / kDegreesPerRadian;
}

struct PrintCase {
    const char* what;
    double radians;
    const char* dm;
    const char* dms;
};

TEST(Arc, PrintsFixedWidthForms) {
    const PrintCase cases[] = {
        {"12°30′", fromDMS(12, 30, 0), " 012:30", " 012:30:00"},
        {"−12°30′", -fromDMS(12, 30, 0), "-012:30", "-012:30:00"},
        {"12°59′40″ carries nothing into the degrees", fromDMS(12, 59, 40), " 012:60",
         " 012:59:40"},
        {"359°59′59.6″", fromDMS(359, 59, 59.6), " 359:60", " 359:59:60"},
        {"0°30′", fromDMS(0, 30, 0), "    :30", "     30:00"},
        {"−0°30′", -fromDMS(0, 30, 0), "   -:30", "    -30:00"},
        {"zero", 0.0, "    :00", "        00"},
        {"negative zero is not negative", -0.0, "    :00", "        00"},
        {"30″", fromDMS(0, 0, 30), "    :00", "        30"},
        {"59.6″ rounds up in both forms", fromDMS(0, 0, 59.6), "    :01", "        60"},
        {"−0°05′29.9″", -fromDMS(0, 5, 29.9), "   -:05", "    -05:30"},
        {"−0°05′30.1″", -fromDMS(0, 5, 30.1), "   -:06", "    -05:30"},
        {"a hair below 30°", (30.0 - 1e-8) / kDegreesPerRadian, " 030:00", " 030:00:00"},
    };
    for (const PrintCase& c : cases) {
        const Arc arc(c.radians);
        EXPECT_EQ(arc.formatDM(), c.dm) << c.what;
        EXPECT_EQ(arc.formatDMS(), c.dms) << c.what;
    }
}

TEST(Arc, SplitsIntoUnits) {
    const Arc negative(-fromDMS(1, 2, 3));
    EXPECT_TRUE(negative.negative);
    EXPECT_EQ(negative.d, 1);
    EXPECT_EQ(negative.m, 2);
    EXPECT_NEAR(negative.s, 3.0, 1e-6);
    EXPECT_EQ(negative.raw, -fromDMS(1, 2, 3));
    EXPECT_FALSE(Arc(-0.0).negative);
    EXPECT_EQ(Arc(0.0).s, 0.0);  // the guards never lift a remainder above zero
}

// formatDM writes its digits by hand for speed; it must say what printf's "%c%03lld:%02lld" says
// (and "   %c:%02lld" below one degree), which is the format the tables were defined with. Below
// 1000° both forms keep their widths.
TEST(Arc, HandWrittenDigitsAgreeWithPrintfAndKeepTheirWidths) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> degrees(-999.0, 999.0);
    char buffer[64];
    for (int i = 0; i < 20000; ++i) {
        const Arc arc(degrees(random) / kDegreesPerRadian);
        const long long minutes = arc.s > 30.0 ? arc.m + 1 : arc.m;
        if (arc.d != 0) {
            std::snprintf(buffer, sizeof buffer, "%c%03lld:%02lld", arc.negative ? '-' : ' ',
                          static_cast<long long>(arc.d), minutes);
        } else {
            std::snprintf(buffer, sizeof buffer, "   %c:%02lld", arc.negative ? '-' : ' ', minutes);
        }
        ASSERT_EQ(arc.formatDM(), buffer) << arc.raw;
        ASSERT_EQ(arc.formatDMS().size(), 10u) << arc.raw;
        ASSERT_LT(arc.m, 60) << arc.raw;
        ASSERT_GE(arc.s, 0.0) << arc.raw;
    }
    EXPECT_EQ(Arc(1234.5 / kDegreesPerRadian).formatDM(), " 1234:30");
}

TEST(ArcDeathTest, AngleBeyondIntegerRangeStopsTheProgram) {
    EXPECT_DEATH(Arc(std::nan("")), "precondition");
    EXPECT_DEATH(Arc(1e300), "precondition");
}

}  // namespace
}  // namespace morvane
