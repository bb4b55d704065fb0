// Benchmarks of huewright's window: one step of a control-point drag through
// the headless host, the whole chain a pointer move sets off: the point and
// ptemp, the synthesis, the dialog's apply step (column, curves, strip,
// dots), and the edit-box writes with the re-applies they cause.
//
// Run with --benchmark_repetitions=10 and quote the medians. The counter
// "applies" is the number of apply steps one drag step runs.
#include <benchmark/benchmark.h>

#include "huewright/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using huewright::MainWindow;
using shell::headless::Host;

// Moves between two pointer positions inside the curve display, so that
// every step changes the curve, and reports the applies per step.
void dragsteps(benchmark::State& state, Host& host, int x0, int y0, int x1, int y1) {
    MainWindow& mw = host.as<MainWindow>();
    long steps = 0;
    const long applies = mw.params.applies;
    for (auto _ : state) {
        if (steps++ % 2 == 0)
            host.move(x1, y1);
        else
            host.move(x0, y0);
        benchmark::DoNotOptimize(host.g_hdc.data());
    }
    state.counters["applies"] = double(mw.params.applies - applies) / double(steps);
}

// Green as a cubic Bezier; the press grabs control 2 at (661, 385).
void BM_drag_step_bezier_c2(benchmark::State& state) {
    Host host{huewright::programdesc()};
    host.key('G');
    host.modeless()->click(huewright::id_bezier);
    host.modeless()->click(huewright::id_cubic);
    host.press(661, 385);
    if (host.as<MainWindow>().okdrag != 1 || host.as<MainWindow>().model.cpindex != 1) {
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
    if (host.as<MainWindow>().okdrag != 1) {
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
