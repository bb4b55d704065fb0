// Undo and redo in each program, redraw included, against the same
// program's drag step in the same run: an undo must cost no more than one
// step of a drag.
//
// Run with --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
// and quote the medians. Each undo benchmark alternates Ctrl+Z and Ctrl+Y
// over one recorded step, so every iteration restores a state and redraws.
#include <benchmark/benchmark.h>

#include "curvetoy/mainwindow.h"
#include "huewright/ui/mainwindow.h"
#include "knotloom/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using shell::headless::Host;

// Ctrl+Z and Ctrl+Y in turn; each iteration is one of them.
void undoredo(benchmark::State& state, Host& host) {
    long n = 0;
    for (auto _ : state) {
        if (n++ % 2 == 0)
            host.key('Z', shell::mod_ctrl);
        else
            host.key('Y', shell::mod_ctrl);
        benchmark::DoNotOptimize(host.onscreen.data());
    }
}

// Pointer moves between two positions with the button held.
void dragsteps(benchmark::State& state, Host& host, shell::Point a, shell::Point b) {
    long n = 0;
    for (auto _ : state) {
        const shell::Point p = n++ % 2 == 0 ? b : a;
        host.move(p.x, p.y);
        benchmark::DoNotOptimize(host.onscreen.data());
    }
}

// ---------------------------------------------------------------- huewright

// Red's sine point dragged along its row, the dialog open beside it,
// between the two places the undo below goes back and forth between.
void BM_huewright_drag_step(benchmark::State& state) {
    Host host{huewright::programdesc()};
    host.key('R');
    host.press(666, 273);
    dragsteps(state, host, {666, 273}, {700, 273});
}
// Inside the dialog: one drag of the sine point, undone and redone (the
// record, the column, the curves, the dots and every box of the dialog).
void BM_huewright_undo_dialog(benchmark::State& state) {
    Host host{huewright::programdesc()};
    host.key('R');
    host.press(666, 273);
    host.move(700, 273);
    host.release(700, 273);
    undoredo(state, host);
}
// In the window: a Parameters edit of red closed with OK, undone and redone
// (the records, the palette, red's readout, the marker, the curves; with
// `hover`, the hover readout that was up before the edit too).
void undowindow(benchmark::State& state, bool hover) {
    Host host{huewright::programdesc()};
    if (hover) host.move(600, 470);
    host.key('G');
    host.modeless()->escape();
    host.key('R');
    host.press(666, 273);
    host.move(700, 273);
    host.release(700, 273);
    host.modeless()->enter();
    undoredo(state, host);
}
void BM_huewright_undo_window(benchmark::State& state) {
    undowindow(state, false);
}
void BM_huewright_undo_window_hover(benchmark::State& state) {
    undowindow(state, true);
}
BENCHMARK(BM_huewright_drag_step)->Name("huewright/drag_step")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_huewright_undo_dialog)->Name("huewright/undo_dialog")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_huewright_undo_window)->Name("huewright/undo_window")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_huewright_undo_window_hover)
    ->Name("huewright/undo_window_hover")
    ->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- knotloom

// Red's fourth data point dragged up and down inside the curve area, between
// the two places of the undo below: each step solves, redraws everything
// and draws the readout.
void BM_knotloom_drag_step(benchmark::State& state) {
    Host host{knotloom::programdesc()};
    const knotloom::Model& m = host.as<knotloom::MainWindow>().model;
    const int x = int(m.dp[0][3][0]), y = int(m.dp[0][3][1]);
    host.press(x, y);
    dragsteps(state, host, {x, y}, {x, 300});
}
// The same drag, undone and redone: the point, the solve, the full redraw
// and the readout where it was.
void BM_knotloom_undo(benchmark::State& state) {
    Host host{knotloom::programdesc()};
    const knotloom::Model& m = host.as<knotloom::MainWindow>().model;
    const int x = int(m.dp[0][3][0]), y = int(m.dp[0][3][1]);
    host.move(x, y);
    host.press(x, y);
    host.move(x, 300);
    host.release(x, 300);
    undoredo(state, host);
}
BENCHMARK(BM_knotloom_drag_step)->Name("knotloom/drag_step")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_knotloom_undo)->Name("knotloom/undo")->Unit(benchmark::kMicrosecond);

// ---------------------------------------------------------------- curvetoy

void BM_curvetoy_drag_step(benchmark::State& state) {
    Host host{curvetoy::programdesc()};
    host.press(384, 256);
    dragsteps(state, host, {384, 256}, {384, 200});
}
void BM_curvetoy_undo(benchmark::State& state) {
    Host host{curvetoy::programdesc()};
    host.press(384, 256);
    host.move(384, 200);
    host.release(384, 200);
    undoredo(state, host);
}
BENCHMARK(BM_curvetoy_drag_step)->Name("curvetoy/drag_step")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_curvetoy_undo)->Name("curvetoy/undo")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
