// Timings of the event search: what the Events output asks for a year at one place, and what a
// century-long listing of the place-free events costs; and one Day view's light computations.
// The map's shading is timed in map_bench.
#include <benchmark/benchmark.h>

#include <array>

#include "events/light.h"
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

// Arguments: latitude in degrees. 80° has polar days and nights and twilights that merge.
void dayLightOfOneDay(benchmark::State& state) {
    const double latitude = static_cast<double>(state.range(0)) * 0.017453292519943295;
    std::size_t spans = 0;
    for (auto _ : state) {
        const morvane::DayLight day = morvane::dayLight(kT + 0.3, latitude, kLongitude);
        spans = day.levels.size();
        benchmark::DoNotOptimize(day.curve.data());
    }
    state.counters["levelSpans"] = static_cast<double>(spans);
}
BENCHMARK(dayLightOfOneDay)->Arg(40)->Arg(80)->Unit(benchmark::kMillisecond);

// The place picker's shading at about its on-screen size: each pixel's centre through the
// map's inverse projection, then Nolomar's altitude there from one moment's field.

}  // namespace
