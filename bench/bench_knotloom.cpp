// Benchmarks of knotloom's hot path: what one pointer movement of a drag
// costs.
//
// Run with --benchmark_repetitions=10 and quote the medians.
#include <benchmark/benchmark.h>

#include "knotloom/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using knotloom::MainWindow;

// One drag step as the window procedure takes it: the control points are
// solved again and the whole picture is redrawn (banner, grid, labels, the
// two stored curves, the sampled active curve, the strip, the markers) and
// copied to the window. A user point swings up and down so that every step
// sees a different curve.
void BM_drag_step(benchmark::State& state) {
    shell::headless::Host host(knotloom::programdesc());
    MainWindow& p = host.as<MainWindow>();
    knotloom::Model& m = p.model;
    int step = 0;
    for (auto _ : state) {
        m.dp[m.cindex][5][1] = 200 + (step++ % 400);
        knotloom::cpcalc(m);
        p.screen->draw(host, m, p.showcp);
        benchmark::DoNotOptimize(host.onscreen.data());
    }
}
BENCHMARK(BM_drag_step)->Name("drag_step")->Unit(benchmark::kMicrosecond);

// The parts of the step on their own, to see where the time goes.
void BM_curvecalc(benchmark::State& state) {
    shell::headless::Host host(knotloom::programdesc());
    MainWindow& p = host.as<MainWindow>();
    knotloom::CurveSamples samples;
    for (auto _ : state) {
        knotloom::curvecalc(p.model, samples);
        benchmark::DoNotOptimize(samples.count);
    }
}
BENCHMARK(BM_curvecalc)->Unit(benchmark::kMicrosecond);

void BM_cpcalc(benchmark::State& state) {
    shell::headless::Host host(knotloom::programdesc());
    MainWindow& p = host.as<MainWindow>();
    for (auto _ : state) {
        knotloom::cpcalc(p.model);
        benchmark::DoNotOptimize(p.model.cp);
    }
}
BENCHMARK(BM_cpcalc)->Unit(benchmark::kMicrosecond);

// The copy of the whole picture to the window that ends every redraw.
void BM_present(benchmark::State& state) {
    shell::headless::Host host(knotloom::programdesc());
    for (auto _ : state) {
        host.presentall();
        benchmark::DoNotOptimize(host.onscreen.data());
    }
}
BENCHMARK(BM_present)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
