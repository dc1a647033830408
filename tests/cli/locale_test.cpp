// A desktop session with a German locale must not turn "12.50" into "12,50": every text output
// is the same byte for byte under de_DE.UTF-8 as under the C locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>

#include "cli_test_support.h"

namespace morvane::cli {
namespace {

using testing::runCli;

const std::vector<std::vector<std::string>> kCommands = {
    {"positions", "--date", "720-5-17", "--time", "06:45", "--lat", "12.25S", "--lon", "33.5E"},
    {"positions", "--json"},
    {"labels", "--local-time", "--lon", "-120.75"},
    {"catalogue"},
    {"catalogue", "--json"},
    {"sunmoon", "--lat", "89.5S"},
    {"sunmoon", "--monthly", "--date", "1200-2-3"},
    {"conjunctions", "--yearly"},
    {"starmap", "--date", "720-3-10", "--time", "22:00"},
    {"horoscope", "--lat", "33.3S", "--lon", "100E"},
    {"events", "--csv", "--days", "3"},
    {"next", "noon", "--count", "3", "--json"},
    {"calendar", "--json", "--lat", "66.5N"},
    {"calendar", "--year", "--format", "svg"},
    {"almanac", "--from", "720-1-1", "--to", "720-3-30", "--csv"},
};

// The command run with the whole process in the given locale, C library and C++ streams alike.
testing::Result runIn(const char* locale, const std::vector<std::string>& args) {
    std::setlocale(LC_ALL, locale);
    std::locale::global(std::locale(locale));
    return runCli(args);
}

TEST(GermanLocale, EveryTextOutputIsByteIdentical) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing: scripts/install-deps.sh generates it";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.2f", 12.5);
    ASSERT_STREQ(buffer, "12,50") << "the locale did not take effect";
    for (const auto& args : kCommands) {
        const auto german = runIn("de_DE.UTF-8", args);
        EXPECT_EQ(german.status, 0) << args[0];
        EXPECT_EQ(german.out, runIn("C", args).out) << args[0];  // leaves the process in C
    }
}

}  // namespace
}  // namespace morvane::cli
