// The whole background work of one calculation: all ten outputs at the default inputs.
#include <benchmark/benchmark.h>

#include "catalogue/fixed_star.h"
#include "model/calculation.h"

namespace {

const bool kWarm = !morvane::FixedStar::catalogue().empty();

void wholeCalculation(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            morvane::calculateOutputs(258840.0, 0.7068583470577035, -0.3647738136668149));
    }
}
BENCHMARK(wholeCalculation)->Unit(benchmark::kMillisecond);

}  // namespace
