// Benchmarks of the views that follow the palette: a frame of the preview's
// colour cycling (remap the stored entries, present), and the analysis
// window following a palette change through the window layer.
//
// Run with --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
// and quote the medians.
#include <benchmark/benchmark.h>

#include "analysis/analysiswindow.h"
#include "huewright/ui/mainwindow.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"

namespace {

// One timer period of cycling at the default speed: every period moves the
// picture by at least one entry, so every iteration draws a frame.
void BM_cyclingframe(benchmark::State& state) {
    shell::headless::Host host(huewright::programdesc());
    auto& mw = host.as<huewright::MainWindow>();
    host.command(huewright::cmd_preview);
    host.key(' ');
    const int period = mw.cycling.period();
    int frames = 0, last = mw.cycling.drawnshift();
    for (auto _ : state) {
        host.advance(period);
        frames += mw.cycling.drawnshift() != last;
        last = mw.cycling.drawnshift();
    }
    if (frames != int(state.iterations())) state.SkipWithError("an iteration drew no frame");
}
BENCHMARK(BM_cyclingframe)->Name("cycling_frame")->Unit(benchmark::kMicrosecond);

// The analysis window following a palette that changes at every step, as a
// drag changes it: analyse, redraw the data, present in the side window.
void BM_analysisfollow(benchmark::State& state) {
    shell::headless::Host host(shell::testing::idledesc());
    huewright::Model m;
    m.startuppalette();
    shell::Palette p = m.palette;
    analysis::AnalysisWindow win;
    win.toggle(host, p);
    int step = 0;
    for (auto _ : state) {
        p[step & 255][step % 3] ^= 0x40;
        ++step;
        win.follow(host, p);
    }
}
BENCHMARK(BM_analysisfollow)->Name("analysis_follow")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
