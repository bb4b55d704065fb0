// Benchmarks of huewright's hot paths.
//
// Run with --benchmark_repetitions=10 and quote the medians. Each group sets
// up its own model as the main window has it after start-up; add new groups
// below in the same style, each under its own heading.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "huewright/model/model.h"
#include "huewright/ui/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using huewright::Model;
using huewright::MsetKernel;
using huewright::Parameters;

// A model as the main window has it after start-up.
Model startupmodel() {
    Model m;
    m.startuppalette();
    return m;
}

// ---------------------------------------------------------------------------
// The Mandelbrot preview: all 66,049 points into an 800 x 640 surface, as
// cmd_preview draws it (wall time: the second thread counts).

void MsetPicture(benchmark::State& state, int threads, MsetKernel kernel) {
    Model m = startupmodel();
    shell::Surface s(800, 640);
    for (auto _ : state) {
        huewright::mset(m.palette, s, huewright::kMsetOrigin, {}, threads, kernel);
        benchmark::DoNotOptimize(s.data());
    }
}
void BM_mset(benchmark::State& state) {
    MsetPicture(state, 2, MsetKernel::best);
}
void BM_mset_onethread(benchmark::State& state) {
    MsetPicture(state, 1, MsetKernel::best);
}
// The same with the scalar extended kernel, as on a processor without AVX2.
void BM_mset_lanes(benchmark::State& state) {
    MsetPicture(state, 2, MsetKernel::lanes);
}
// The rule, one point and one iteration after the other, on one thread: the
// peer the others are measured against.
void BM_mset_rule(benchmark::State& state) {
    MsetPicture(state, 1, MsetKernel::rule);
}
BENCHMARK(BM_mset)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_mset_onethread)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_mset_lanes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_mset_rule)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---------------------------------------------------------------------------
// Bezier columns with the red start-up record: 256 root solutions each, as on
// every step of a control-point drag.

void BezierColumn(benchmark::State& state, int bd, bool shortcut) {
    const Parameters& r = huewright::startupparameters[0];
    uint8_t column[256];
    for (auto _ : state) {
        huewright::beziercolumn(bd, r.b0, r.b255, r.bc1x, r.bc1y, r.bc2x, r.bc2y, 0, column,
                                shortcut);
        benchmark::DoNotOptimize(column);
    }
}
// calcBezier itself, writing the palette column.
void BM_calcBezier_cubic(benchmark::State& state) {
    Model m = startupmodel();
    const Parameters& r = huewright::startupparameters[0];
    for (auto _ : state) {
        m.calcBezier(1, r.b0, r.b255, r.bc1x, r.bc1y, r.bc2x, r.bc2y);
        benchmark::DoNotOptimize(m.palette.data());
    }
}
void BM_calcBezier_quadratic(benchmark::State& state) {
    BezierColumn(state, 0, true);
}
// Every index by the rule: the peer of the cubic.
void BM_calcBezier_cubic_rule(benchmark::State& state) {
    BezierColumn(state, 1, false);
}
BENCHMARK(BM_calcBezier_cubic)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_calcBezier_quadratic)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_calcBezier_cubic_rule)->Unit(benchmark::kMicrosecond);

}  // namespace

// ---------------------------------------------------------------------------
// One step of a control-point drag through the headless host: the whole chain
// a pointer move sets off (the point and ptemp, the synthesis, the dialog's
// apply step with column, curves, strip and dots, and the edit-box writes).
// The counter "applies" is the number of apply steps one drag step runs.

namespace {

using huewright::MainWindow;
using shell::headless::Host;

// Moves between two pointer positions inside the curve display, so that
// every step changes the curve, and reports the applies per step.
void dragsteps(benchmark::State& state, Host& host, int x0, int y0, int x1, int y1) {
    MainWindow& mw = host.as<MainWindow>();
    long steps = 0;
    const long applies = mw.editor.applies;
    for (auto _ : state) {
        if (steps++ % 2 == 0)
            host.move(x1, y1);
        else
            host.move(x0, y0);
        benchmark::DoNotOptimize(host.onscreen.data());
    }
    state.counters["applies"] = double(mw.editor.applies - applies) / double(steps);
}

// Green as a cubic Bezier; the press grabs control 2 at (661, 385).
void BM_drag_step_bezier_c2(benchmark::State& state) {
    Host host{huewright::programdesc()};
    host.key('G');
    host.modeless()->click(huewright::id_bezier);
    host.modeless()->click(huewright::id_cubic);
    host.press(661, 385);
    const huewright::ChannelEditor& ed = host.as<MainWindow>().editor;
    if (!ed.okdrag || ed.points.cpindex != 1) {
        state.SkipWithError("control 2 was not grabbed");
        return;
    }
    dragsteps(state, host, 640, 300, 700, 250);
}

// Red's sine point at (666, 273).
void BM_drag_step_sine(benchmark::State& state) {
    Host host{huewright::programdesc()};
    host.key('R');
    host.press(666, 273);
    if (!host.as<MainWindow>().editor.okdrag) {
        state.SkipWithError("the sine point was not grabbed");
        return;
    }
    dragsteps(state, host, 600, 273, 700, 273);
}

const bool registered = [] {
    benchmark::RegisterBenchmark("drag_step/bezier_c2", BM_drag_step_bezier_c2)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("drag_step/sine", BM_drag_step_sine)
        ->Unit(benchmark::kMicrosecond);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
