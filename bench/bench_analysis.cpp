// Benchmarks of the palette analysis window's update: what following one
// palette change costs (every drag step of a main window makes one).
//
// Run with --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
// and quote the medians.
#include <benchmark/benchmark.h>

#include "analysis/picture.h"
#include "huewright/model/model.h"

namespace {

// The start-up palette with one entry changed per step, so that every step
// analyses a palette it has not seen.
struct Changing {
    shell::Palette p;
    int step = 0;
    Changing() {
        huewright::Model m;
        m.startuppalette();
        p = m.palette;
    }
    const shell::Palette& next() {
        p[step & 255][step % 3] ^= 0x40;
        ++step;
        return p;
    }
};

// The whole update: analyse, then redraw the data over the static picture.
void BM_update(benchmark::State& state) {
    analysis::Picture pic;
    shell::Surface s(analysis::Picture::kWidth, analysis::Picture::kHeight);
    Changing c;
    pic.drawall(s, c.p);
    for (auto _ : state) {
        benchmark::DoNotOptimize(pic.update(s, c.next()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_update)->Name("analysis_update")->Unit(benchmark::kMicrosecond);

// The parts on their own, to see where the time goes.
void BM_analyse(benchmark::State& state) {
    analysis::Analysis a;
    Changing c;
    for (auto _ : state) {
        analysis::analyse(c.next(), a);
        benchmark::DoNotOptimize(a.seam);
    }
}
BENCHMARK(BM_analyse)->Name("analysis_numbers")->Unit(benchmark::kMicrosecond);

void BM_redraw(benchmark::State& state) {
    analysis::Picture pic;
    shell::Surface s(analysis::Picture::kWidth, analysis::Picture::kHeight);
    Changing c;
    pic.drawall(s, c.p);
    const analysis::Analysis a = analysis::analyse(c.p);
    for (auto _ : state) {
        benchmark::DoNotOptimize(pic.drawdata(s, c.p, a));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_redraw)->Name("analysis_redraw")->Unit(benchmark::kMicrosecond);

// The first frame: background copy and data, as a window's first paint.
void BM_drawall(benchmark::State& state) {
    analysis::Picture pic;
    shell::Surface s(analysis::Picture::kWidth, analysis::Picture::kHeight);
    Changing c;
    for (auto _ : state) {
        pic.drawall(s, c.next());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_drawall)->Name("analysis_drawall")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
