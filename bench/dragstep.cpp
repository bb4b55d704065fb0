// The median time of a drag step in huewright, in microseconds: a plain
// program, because the Windows build has no Google Benchmark, so that the
// same scene is timed the same way on Linux and on Windows (or under wine).
//
//   dragstep [STEPS [SCALE]]
//
// STEPS (2000 by default) steps are timed one by one after a warm-up.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/scenarios.h"

namespace {

// A whole number from lo to hi, or 0.
long number(const char* text, long lo, long hi) {
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && n >= lo && n <= hi ? n : 0;
}

}  // namespace

int main(int argc, char** argv) {
    const long steps = argc > 1 ? number(argv[1], 1, 10000000) : 2000;
    const long scale = argc > 2 ? number(argv[2], 1, 4) : 1;
    if (argc > 3 || steps == 0 || scale == 0) {
        std::fprintf(stderr, "usage: %s [STEPS [SCALE]]\n", argv[0]);
        return 2;
    }
    bench::HuewrightDrag drag{static_cast<int>(scale)};
    if (!drag.grabbed()) {
        std::fprintf(stderr, "%s: the press did not take hold of the point\n", argv[0]);
        return 1;
    }
    for (int i = 0; i < 100; ++i) drag.step();
    using Clock = std::chrono::steady_clock;
    std::vector<double> us(static_cast<size_t>(steps));
    for (double& t : us) {
        const auto t0 = Clock::now();
        drag.step();
        t = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    }
    std::nth_element(us.begin(), us.begin() + long(us.size() / 2), us.end());
    std::printf("huewright drag step at scale %ld: median %.1f us of %ld steps\n", scale,
                us[us.size() / 2], steps);
    return 0;
}
