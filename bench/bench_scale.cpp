// The programs at scale 1 and 2 side by side: a drag step in each program
// through the window procedure, huewright's preview, and a redraw of a whole
// window. The argument is the scale.
//
// Run with --benchmark_repetitions=10 and quote the medians and the ratios
// of scale 2 to scale 1.
#include <benchmark/benchmark.h>

#include "bench/scenarios.h"
#include "curvetoy/mainwindow.h"
#include "huewright/ui/draw.h"
#include "huewright/ui/mainwindow.h"
#include "knotloom/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using bench::atscale;
using shell::headless::Host;

// Moves the pointer to and fro between two places while a drag holds, as a
// user's drag does.
void drag(benchmark::State& state, Host& host, shell::Point a, shell::Point b) {
    long steps = 0;
    for (auto _ : state) {
        const shell::Point p = steps++ % 2 ? a : b;
        host.move(p.x, p.y);
        benchmark::DoNotOptimize(host.onscreen.data());
    }
}

void BM_huewright_drag(benchmark::State& state) {
    bench::HuewrightDrag drag(int(state.range(0)));
    if (!drag.grabbed()) return state.SkipWithError("no grab");
    for (auto _ : state) {
        drag.step();
        benchmark::DoNotOptimize(drag.host.onscreen.data());
    }
}

void BM_knotloom_drag(benchmark::State& state) {
    Host host{atscale(knotloom::programdesc(), int(state.range(0)))};
    host.press(64, 256);  // the left end point
    drag(state, host, {64, 200}, {64, 400});
}

void BM_curvetoy_drag(benchmark::State& state) {
    Host host{atscale(curvetoy::programdesc(), int(state.range(0)))};
    host.press(384, 256);
    drag(state, host, {400, 200}, {400, 300});
}

// cmd_preview: the set computed at the window's resolution and drawn.
void BM_huewright_preview(benchmark::State& state) {
    Host host{atscale(huewright::programdesc(), int(state.range(0)))};
    for (auto _ : state) {
        host.command(huewright::cmd_preview);
        benchmark::DoNotOptimize(host.onscreen.data());
    }
}

// The whole window drawn again: huewright's frame, curves and strip;
// knotloom's picture with the markers; curvetoy's picture.
void BM_huewright_redraw(benchmark::State& state) {
    Host host{atscale(huewright::programdesc(), int(state.range(0)))};
    huewright::MainWindow& mw = host.as<huewright::MainWindow>();
    for (auto _ : state) {
        huewright::drawboxes(host, *mw.screen);
        huewright::draw(host, *mw.screen, mw.model);
        benchmark::DoNotOptimize(host.onscreen.data());
    }
}
void BM_knotloom_redraw(benchmark::State& state) {
    Host host{atscale(knotloom::programdesc(), int(state.range(0)))};
    knotloom::MainWindow& p = host.as<knotloom::MainWindow>();
    for (auto _ : state) {
        p.screen->draw(host, p.model, p.showcp);
        benchmark::DoNotOptimize(host.onscreen.data());
    }
}
void BM_curvetoy_redraw(benchmark::State& state) {
    Host host{atscale(curvetoy::programdesc(), int(state.range(0)))};
    curvetoy::MainWindow& p = host.as<curvetoy::MainWindow>();
    for (auto _ : state) {
        p.demo.draw(host.offscreen);
        host.presentall();
        benchmark::DoNotOptimize(host.onscreen.data());
    }
}

}  // namespace

BENCHMARK(BM_huewright_drag)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_knotloom_drag)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_curvetoy_drag)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_huewright_preview)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_huewright_redraw)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_knotloom_redraw)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_curvetoy_redraw)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
