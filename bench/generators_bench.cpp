// The generators with the parameters one calculation uses, at the default moment and place.
#include <benchmark/benchmark.h>

#include "catalogue/fixed_star.h"
#include "charts/horoscope_chart.h"
#include "charts/star_map.h"
#include "reports/conjunction_table.h"
#include "reports/sun_moon_table.h"

namespace {

constexpr double kT = 258840.0;
constexpr double kLatitude = 0.7068583470577035;
constexpr double kLongitude = -0.3647738136668149;

// The catalogue is built once per run; keep that out of the first timed iteration.
const bool kWarm = !morvane::FixedStar::catalogue().empty();

void starMap(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(morvane::starMapDocument(kT, kLatitude, kLongitude));
}
BENCHMARK(starMap)->Unit(benchmark::kMicrosecond);

void horoscope(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(morvane::horoscopeDocument(kT, kLatitude, kLongitude));
}
BENCHMARK(horoscope)->Unit(benchmark::kMicrosecond);

void sunMoonHourly(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(morvane::sunMoonTable(24, kT, 1.0 / 24.0, kLatitude));
}
BENCHMARK(sunMoonHourly)->Unit(benchmark::kMicrosecond);

void sunMoonMonthly(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(morvane::sunMoonTable(30, kT, 1.0, kLatitude));
}
BENCHMARK(sunMoonMonthly)->Unit(benchmark::kMicrosecond);

void conjunctionsDaily(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(morvane::conjunctionTable(144, kT, 1.0 / 144.0));
}
BENCHMARK(conjunctionsDaily)->Unit(benchmark::kMicrosecond);

void conjunctionsYearly(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(morvane::conjunctionTable(360, kT, 1.0));
}
BENCHMARK(conjunctionsYearly)->Unit(benchmark::kMicrosecond);

}  // namespace
