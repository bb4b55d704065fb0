// The Explore window's hot paths: full renders on the worker threads, the
// coarse first pass of a deep view, recolouring without computing, and a
// step of a curve drag in huewright with the window open against one
// without it.
//
// Run with --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
// and quote the medians.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "explore/colour.h"
#include "explore/render.h"
#include "huewright/ui/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using namespace explore;

constexpr int kW = 640, kH = 480;

// A busy spot in the valley between the cardioid and the period-2 disc.
Location deepview() {
    Location l;
    l.re = -0.743643887037151;
    l.im = 0.131825904205330;
    l.width = 1e-10;
    l.iterations = 20000;
    return l;
}

void render(benchmark::State& state, Location l, bool angles, int threads) {
    Renderer r(threads);
    for (auto _ : state) {
        r.start(l, kW, kH, angles);
        r.wait();
    }
}

void BM_render_home(benchmark::State& state) {
    render(state, homelocation(kW), true, int(state.range(0)));
}
// The CPU column of the renders is the whole process's: every worker's time.
BENCHMARK(BM_render_home)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_render_smooth1000(benchmark::State& state) {
    Location l = homelocation(kW);
    l.iterations = 1000;
    render(state, l, false, int(state.range(0)));
}
BENCHMARK(BM_render_smooth1000)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_render_deep(benchmark::State& state) {
    render(state, deepview(), false, 2);
}
BENCHMARK(BM_render_deep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The time until the first pass covers the whole picture, as the renderer
// measured it.
void BM_render_deep_coarse(benchmark::State& state) {
    Renderer r(2);
    for (auto _ : state) {
        r.start(deepview(), kW, kH, false);
        while (r.passtime(0) < 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
        state.SetIterationTime(r.passtime(0) / 1000);
    }
}
BENCHMARK(BM_render_deep_coarse)->Unit(benchmark::kMillisecond)->UseManualTime();

void recolour(benchmark::State& state, Colouring c) {
    Renderer r(2);
    Location l = homelocation(kW);
    r.start(l, kW, kH, true);
    r.wait();
    EscapeMap map;
    r.collect(map);
    shell::Palette p;
    for (int i = 0; i < 256; ++i) p[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3)};
    shell::Surface s(kW, kH);
    Colours colours;
    colours.colouring = c;
    int shift = 0;
    for (auto _ : state) {
        colourrows(map, 0, kH, colours, rotated(p, ++shift), s);
        benchmark::DoNotOptimize(s.data());
    }
}
void BM_recolour_escapetime(benchmark::State& state) {
    recolour(state, Colouring::escapetime);
}
void BM_recolour_smooth(benchmark::State& state) {
    recolour(state, Colouring::smooth);
}
BENCHMARK(BM_recolour_escapetime)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_recolour_smooth)->Unit(benchmark::kMillisecond);

// Red's sine point dragged along its row with the Parameters dialog open,
// as huewright/drag_step in bench_undo; with `explore`, the Explore window
// is open at its start view and recolours at every step.
void dragstep(benchmark::State& state, bool explore) {
    shell::headless::Host host{huewright::programdesc()};
    auto& main = host.as<huewright::MainWindow>();
    if (explore) {
        host.key(ExploreWindow::kKey);
        main.explorewin.finish(host);
    }
    host.key('R');
    host.press(666, 273);
    long n = 0;
    for (auto _ : state) {
        host.move(n++ % 2 == 0 ? 700 : 666, 273);
        benchmark::DoNotOptimize(host.onscreen.data());
    }
    if (explore && main.explorewin.shown().width != kW) state.SkipWithError("no Explore window");
}
void BM_drag_step(benchmark::State& state) {
    dragstep(state, false);
}
void BM_drag_step_explore(benchmark::State& state) {
    dragstep(state, true);
}
BENCHMARK(BM_drag_step)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_drag_step_explore)->Unit(benchmark::kMillisecond);

long residentkb() {
    std::ifstream in("/proc/self/status");
    for (std::string l; std::getline(in, l);)
        if (l.rfind("VmRSS:", 0) == 0) return std::stol(l.substr(6));
    return -1;
}

// A thousand wheel zooms in and out over the open window, each starting a
// picture that the next one drops; the counter is the growth of the
// resident size after the first hundred, in kB.
void BM_zoom_memory(benchmark::State& state) {
    shell::headless::Host host{huewright::programdesc()};
    host.key(ExploreWindow::kKey);
    const auto zooms = [&](int n) {
        for (int i = 0; i < n; ++i)
            host.sidesend(ExploreWindow::kId, shell::Message::wheel(i % 2 ? -1 : 1, 320, 240));
    };
    long growth = 0;
    for (auto _ : state) {
        zooms(100);
        const long before = residentkb();
        zooms(900);
        host.as<huewright::MainWindow>().explorewin.finish(host);
        growth = residentkb() - before;
    }
    state.counters["rss_growth_kB"] = double(growth);
}
BENCHMARK(BM_zoom_memory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
