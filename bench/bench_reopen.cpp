// Benchmarks of opening palettes: the gradient designer opening a MAP file
// whose trailer gives its curves back, and knotloom fitting its curves to a
// palette it did not make.
//
// Run with --benchmark_repetitions=10 and quote the medians.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "huewright/ui/commands.h"
#include "huewright/ui/draw.h"
#include "huewright/ui/mainwindow.h"
#include "knotloom/fit.h"
#include "knotloom/mainwindow.h"
#include "palettes/palettes.h"
#include "shell/headless/host.h"

namespace {

// A file in /tmp for this run, removed when the benchmark ends.
struct TempFile {
    std::string path;
    explicit TempFile(const char* name)
        : path("/tmp/bench_reopen_" + std::to_string(getpid()) + "_" + name) {}
    ~TempFile() { std::remove(path.c_str()); }
};

// A palette no curve of either program makes exactly.
shell::Palette waves() {
    shell::Palette p;
    for (int e = 0; e < 256; ++e)
        for (int c = 0; c < 3; ++c) p[e][c] = uint8_t(128 + 120 * std::sin(e / (15.0 + 9 * c) + c));
    return p;
}

// The open command (O) on a MAP file the gradient designer saved: the file
// read, the curves rebuilt from its trailer and checked against its
// entries, the undo step taken and the window redrawn.
void BM_huewright_open_map_with_curves(benchmark::State& state) {
    using namespace huewright;
    TempFile file("curves.map");
    shell::headless::Host host(programdesc());
    host.fileanswers.push_back(file.path);
    host.key(keypress[btn_savepalette]);
    if (host.boxes.size() != 1) state.SkipWithError("the palette was not saved");
    for (auto _ : state) {
        host.fileanswers.push_back(file.path);
        host.key(keypress[btn_openmap]);
        benchmark::DoNotOptimize(host.onscreen.data());
    }
    if (host.boxes.size() != 1) state.SkipWithError("the file did not open");
}
BENCHMARK(BM_huewright_open_map_with_curves)->Unit(benchmark::kMillisecond);

// knotloom's fit of all three channels, 9 user points each, to a palette.
void BM_knotloom_fit(benchmark::State& state) {
    const shell::Palette target = waves();
    auto m = std::make_unique<knotloom::Model>();
    knotloom::dpinit(*m);
    for (auto _ : state) {
        knotloom::fitpalette(*m, target);
        benchmark::DoNotOptimize(m->palette);
    }
}
BENCHMARK(BM_knotloom_fit)->Unit(benchmark::kMillisecond);

// The open command (O) in knotloom on a GIMP palette: the file read, the
// fit, the undo step and the window redrawn with the fit's error.
void BM_knotloom_open_and_fit(benchmark::State& state) {
    TempFile file("waves.gpl");
    if (!palettes::writepalettefile(file.path, palettes::Format::gpl, waves(), "").ok())
        state.SkipWithError("the palette was not written");
    shell::headless::Host host(knotloom::programdesc());
    for (auto _ : state) {
        host.fileanswers.push_back(file.path);
        host.key('O');
        benchmark::DoNotOptimize(host.onscreen.data());
    }
    if (!host.boxes.empty()) state.SkipWithError("the file did not open");
}
BENCHMARK(BM_knotloom_open_and_fit)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
