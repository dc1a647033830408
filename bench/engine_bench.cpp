// Timings of the engine operations every calculation repeats.
#include <benchmark/benchmark.h>

#include "catalogue/fixed_star.h"
#include "engine/calendar.h"
#include "engine/constants.h"
#include "engine/positions.h"
#include "engine/sun_moon.h"

namespace {

constexpr double kT = 258840.0;
constexpr double kLatitude = 0.7068583470577035;
constexpr double kLongitude = -0.3647738136668149;

void positions(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(morvane::positionsList(kT, kLatitude, kLongitude));
}
BENCHMARK(positions);

void nextFullAndNewMoon(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(morvane::nextMoonPhase(kT, morvane::kPi));
        benchmark::DoNotOptimize(morvane::nextMoonPhase(kT, 0.0));
    }
}
BENCHMARK(nextFullAndNewMoon);

void starHorizonCoordinates(benchmark::State& state) {
    const auto& stars = morvane::FixedStar::catalogue();
    for (auto _ : state) {
        for (const auto& star : stars) {
            benchmark::DoNotOptimize(
                morvane::horizonCoordinates(star.eq, kT, kLatitude, kLongitude));
        }
    }
}
BENCHMARK(starHorizonCoordinates);

void dateLabels(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(morvane::dateLabelWithLocalTime(kT, kLongitude));
}
BENCHMARK(dateLabels);

}  // namespace
