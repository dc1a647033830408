// Timing of the map's day-and-night shading for one moment, through the code the picker runs:
// at the picker's usual size, at a large window's, and on a 2× display. A new moment each
// iteration, as when stepping through time with the map open.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QSize>

#include "events/light.h"
#include "ui/day_night_layer.h"
#include "ui/map_geometry.h"

namespace {

void shadingOfOneMoment(benchmark::State& state) {
    const QSize points(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const double ratio = static_cast<double>(state.range(2));
    const morvane::MapLayout layout =
        morvane::mapLayout(QSizeF(points), 1.0, 1.0, QPointF(), QPointF());
    double t = 258840.0;
    for (auto _ : state) {
        const morvane::MapLight light(t, morvane::MoonlightThresholds{});
        const QImage image = morvane::dayNightImage(light, layout, points * ratio, ratio);
        benchmark::DoNotOptimize(image.constBits());
        t += 0.01;
    }
}
BENCHMARK(shadingOfOneMoment)
    ->Args({1000, 750, 1})
    ->Args({1366, 1000, 1})
    ->Args({1000, 750, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
