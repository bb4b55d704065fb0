// One drag step of curvetoy: re-solve the control points and redraw the
// whole picture into the offscreen surface, as every pointer move does.
#include <benchmark/benchmark.h>

#include "curvetoy/mainwindow.h"
#include "shell/headless/host.h"

static void drag_step(benchmark::State& state) {
    curvetoy::Demo demo;
    shell::Surface vhdc(1024, 768);
    int y = 200;
    for (auto _ : state) {
        demo.dp[3].y = y;
        curvetoy::setclickrect(&demo.dp[3], demo.dp[3].x, y);
        demo.cpcalc();
        demo.draw(vhdc);
        benchmark::DoNotOptimize(vhdc.data());
        y = y == 200 ? 300 : 200;
    }
}
BENCHMARK(drag_step)->Unit(benchmark::kMillisecond);

// The whole drag step through the window procedure, including the copy of
// the picture to the window surface.
static void drag_step_window(benchmark::State& state) {
    shell::headless::Host host(curvetoy::programdesc());
    host.press(384, 256);
    int y = 200;
    for (auto _ : state) {
        host.move(384, y);
        y = y == 200 ? 300 : 200;
    }
}
BENCHMARK(drag_step_window)->Unit(benchmark::kMillisecond);

// Creation up to the first picture, without the display.
static void startup_headless(benchmark::State& state) {
    for (auto _ : state) {
        shell::headless::Host host(curvetoy::programdesc());
        benchmark::DoNotOptimize(host.onscreen.data());
    }
}
BENCHMARK(startup_headless)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
