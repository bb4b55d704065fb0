// Benchmarks of huewright's screen save, Help dialog and preview commands,
// each as the main window runs it, in memory (the headless host stands in
// for the display, so these are the program's own share of each command).
//
// Run with --benchmark_repetitions=10 and quote the medians.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "huewright/art/helpart.h"
#include "huewright/ui/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using shell::headless::Host;

// ---------------------------------------------------------------------------
// cmd_savescreen: the scripted file dialog, the repaint, the LZW save of the
// 800 x 640 window into a file and the result box.

void BM_savescreen_command(benchmark::State& state) {
    char dir[] = "/tmp/bench_save.XXXXXX";
    if (!mkdtemp(dir)) {
        state.SkipWithError("no scratch folder");
        return;
    }
    const std::string file = std::string(dir) + "/screen.tif";
    Host h(huewright::programdesc());
    for (auto _ : state) {
        h.fileanswers.push_back(file);
        h.command(huewright::cmd_savescreen);
    }
    if (h.boxes.empty() || h.boxes.back().caption != "Xo Gradient")
        state.SkipWithError("the save failed");
    unlink(file.c_str());
    rmdir(dir);
}
BENCHMARK(BM_savescreen_command)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---------------------------------------------------------------------------
// cmd_help: the dialog opens and closes at once; the cost is making the
// three pictures.

void BM_help_command(benchmark::State& state) {
    Host h(huewright::programdesc());
    for (auto _ : state) {
        h.modalscripts.push_back([](shell::headless::Dialog& d) { d.enter(); });
        h.command(huewright::cmd_help);
    }
}
BENCHMARK(BM_help_command)->Unit(benchmark::kMillisecond);

void BM_helpbitmaps(benchmark::State& state) {
    for (auto _ : state) {
        for (int n = 1; n <= 3; ++n) {
            shell::Surface s = huewright::makehelpbitmap(n);
            benchmark::DoNotOptimize(s.data());
        }
    }
}
BENCHMARK(BM_helpbitmaps)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------
// cmd_preview: the preview with a row shown and flushed after each of its
// 257 rows (wall time: the model's second thread counts).

void BM_preview_command(benchmark::State& state) {
    Host h(huewright::programdesc());
    for (auto _ : state) h.command(huewright::cmd_preview);
}
BENCHMARK(BM_preview_command)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
