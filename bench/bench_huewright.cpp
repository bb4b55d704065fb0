// Benchmarks of huewright's hot paths.
//
// Run with --benchmark_repetitions=10 and quote the medians. Each group sets
// up a fresh model; add new groups below in the same style.
#include <benchmark/benchmark.h>

#include "huewright/model.h"

namespace {

using huewright::Model;
using huewright::PARAMETERS;

// A model as the main window has it after start-up.
Model startupmodel() {
    Model m;
    m.startuppalette();
    return m;
}

// ---------------------------------------------------------------------------
// The Mandelbrot preview: all 66,049 points into an 800 x 640 surface.

void BM_mset(benchmark::State& state) {
    Model m = startupmodel();
    shell::Surface s(800, 640);
    const int threads = int(state.range(0));
    for (auto _ : state) {
        m.mset(s, {}, threads);
        benchmark::DoNotOptimize(s.data());
    }
}
BENCHMARK(BM_mset)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_mset)->Arg(1)->ArgName("threads")->Unit(benchmark::kMillisecond)->UseRealTime();

// The one-point rule, one iteration after the other, over the whole grid:
// the reference the preview is measured against.
void BM_mset_reference(benchmark::State& state) {
    for (auto _ : state) {
        int sum = 0;
        for (int j = 0; j < huewright::kMsetSize; ++j)
            for (int i = 0; i < huewright::kMsetSize; ++i) sum += huewright::msetpoint(i, j).index;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_mset_reference)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---------------------------------------------------------------------------
// Bezier columns: 256 root solutions each, as on every step of a control drag.

void BezierColumn(benchmark::State& state, int bd) {
    Model m = startupmodel();
    const PARAMETERS& r = huewright::startupparameters[0];
    for (auto _ : state) {
        m.calcBezier(bd, r.b0, r.b255, r.bc1x, r.bc1y, r.bc2x, r.bc2y);
        benchmark::DoNotOptimize(m.palette.data());
    }
}
void BM_calcBezier_cubic_red(benchmark::State& state) {
    BezierColumn(state, 1);
}
void BM_calcBezier_quadratic_red(benchmark::State& state) {
    BezierColumn(state, 0);
}
BENCHMARK(BM_calcBezier_cubic_red)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_calcBezier_quadratic_red)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
