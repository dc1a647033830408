// Timings of the event search: what the Events output asks for a year at one place, and what a
// century-long listing of the place-free events costs.
#include <benchmark/benchmark.h>

#include <array>

#include "events/sky_events.h"

namespace {

constexpr double kT = 258840.0;
constexpr double kLatitude = 0.7068583470577035;
constexpr double kLongitude = -0.3647738136668149;

void yearOfEveryKind(benchmark::State& state) {
    const morvane::EventFinder finder(kLatitude, kLongitude);
    std::size_t events = 0;
    for (auto _ : state) {
        const auto found = finder.between(morvane::kAllEventKinds, kT, kT + 360.0);
        events = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(yearOfEveryKind)->Unit(benchmark::kMillisecond);

void centuryOfPhasesEclipsesMeetingsAndSeasons(benchmark::State& state) {
    using K = morvane::EventKind;
    constexpr std::array<K, 10> kinds = {
        K::newMoon,      K::firstQuarter, K::fullMoon,   K::lastQuarter, K::solarEclipse,
        K::lunarEclipse, K::conjunction,  K::opposition, K::equinox,     K::solstice};
    const morvane::EventFinder finder(kLatitude, kLongitude);
    std::size_t events = 0;
    for (auto _ : state) {
        const auto found = finder.between(kinds, kT, kT + 36000.0);
        events = found.size();
        benchmark::DoNotOptimize(found.data());
    }
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(centuryOfPhasesEclipsesMeetingsAndSeasons)->Unit(benchmark::kMillisecond);

}  // namespace
