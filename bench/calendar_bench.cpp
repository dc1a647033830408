// Timings of the Calendar output and the almanac: a month view (its facts, then its picture),
// a year view, and a century's almanac written as CSV with ids, with and without each day's
// sunrise and sunset. The window's own drawing of the picture is timed in the UI tests.
#include <benchmark/benchmark.h>

#include <sstream>
#include <vector>

#include "charts/calendar_chart.h"
#include "events/almanac.h"
#include "events/calendar_month.h"

namespace {

constexpr double kLatitude = 0.7068583470577035;
constexpr double kLongitude = -0.3647738136668149;

void monthFacts(benchmark::State& state) {
    for (auto _ : state) {
        const auto month = morvane::calendarMonth(720, 2, 12.0, morvane::CalendarClock::reference,
                                                  kLatitude, kLongitude);
        benchmark::DoNotOptimize(month.days.data());
    }
}
BENCHMARK(monthFacts)->Unit(benchmark::kMillisecond);

void monthPicture(benchmark::State& state) {
    const auto month = morvane::calendarMonth(720, 2, 12.0, morvane::CalendarClock::reference,
                                              kLatitude, kLongitude);
    for (auto _ : state) {
        const std::string svg = morvane::calendarMonthSvg(month, "Venarive", 13);
        benchmark::DoNotOptimize(svg.data());
    }
}
BENCHMARK(monthPicture)->Unit(benchmark::kMillisecond);

void yearFacts(benchmark::State& state) {
    for (auto _ : state) {
        const auto year = morvane::calendarYear(720, 12.0, morvane::CalendarClock::reference,
                                                kLatitude, kLongitude);
        benchmark::DoNotOptimize(year.months.data());
    }
}
BENCHMARK(yearFacts)->Unit(benchmark::kMillisecond);

void yearPicture(benchmark::State& state) {
    const auto year =
        morvane::calendarYear(720, 12.0, morvane::CalendarClock::reference, kLatitude, kLongitude);
    for (auto _ : state) {
        const std::string svg = morvane::calendarYearSvg(year, "Venarive", 2, 13);
        benchmark::DoNotOptimize(svg.data());
    }
}
BENCHMARK(yearPicture)->Unit(benchmark::kMillisecond);

// Argument 0: the almanac's default kinds; 1 adds each day's sunrise and sunset (72,000 more
// rows); 2 is phases, eclipses, conjunctions and seasons alone, without the ingresses.
void centuryAlmanacAsCsv(benchmark::State& state) {
    using K = morvane::EventKind;
    std::vector<K> kinds = morvane::defaultAlmanacKinds();
    if (state.range(0) == 2) {
        kinds = {K::newMoon,      K::firstQuarter, K::fullMoon, K::lastQuarter, K::solarEclipse,
                 K::lunarEclipse, K::conjunction,  K::equinox,  K::solstice};
    }
    if (state.range(0) == 1) {
        kinds.push_back(morvane::EventKind::sunrise);
        kinds.push_back(morvane::EventKind::sunset);
    }
    const morvane::AlmanacSpan span = morvane::almanacSpan({720, 1, 1}, {819, 12, 30});
    const morvane::EventFinder finder(kLatitude, kLongitude);
    std::int64_t rows = 0;
    for (auto _ : state) {
        std::ostringstream out;
        morvane::AlmanacWriter writer(out, morvane::AlmanacFormat::csv, kLongitude);
        finder.between(kinds, span.from, span.to,
                       [&writer](const morvane::SkyEvent& event) { writer.add(event); });
        writer.finish();
        rows = writer.count();
        benchmark::DoNotOptimize(out.str().data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(centuryAlmanacAsCsv)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
