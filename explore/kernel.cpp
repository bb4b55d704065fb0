// The scalar kernel, the bookkeeping both kernels share, and the answers
// they record.
#include "explore/kernel.h"

#include <cmath>
#include <cstring>

#include "explore/extended.h"
#include "explore/kernellanes.h"

namespace explore {

namespace kerneldetail {

struct Feed {
    const PointRun& run;
    const KernelOptions& options;
    Escape* out;
    double* finalz;
    int next;  // the first point not yet handed out
};

namespace {

uint64_t bits(double v) {
    uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

// How many steps of all lanes pass between two looks at the cancel flag:
// about a millisecond of work.
constexpr int kCancelEvery = 4096;

}  // namespace

void startorbit(Orbit& o, int index, double cx, double cy) {
    o.zx = o.zy = 0;
    o.cx = cx;
    o.cy = cy;
    o.sx = o.sy = bits(0.0);
    o.n = o.saved = 0;
    o.nextsave = 1;
    o.index = index;
}

int settle(Orbit& o, bool escapednow, int iterations) {
    if (escapednow) return escaped;
    if (bits(o.zx) == o.sx && bits(o.zy) == o.sy) {
        // A cycle: go round it to where the last step lands.
        for (int r = (iterations - o.n) % (o.n - o.saved); r > 0; --r)
            exactstep(o.zx, o.zy, o.cx, o.cy);
        return inside;
    }
    if (o.n == iterations) return inside;
    if (o.n == o.nextsave) {
        o.sx = bits(o.zx);
        o.sy = bits(o.zy);
        o.saved = o.n;
        o.nextsave += o.nextsave < kSaveEvery ? o.nextsave : kSaveEvery;
    }
    return going;
}

bool load(Feed& f, Orbit& o) {
    const PointRun& r = f.run;
    while (f.next < r.count) {
        const int i = f.next++;
        if (!f.options.angles && insidebulbs(r.cx[i], r.cy)) {
            f.out[i] = Escape{0, 0};
            continue;
        }
        startorbit(o, i, r.cx[i], r.cy);
        return true;
    }
    startorbit(o, -1, 0, 0);
    return false;
}

void answer(Feed& f, const Orbit& o, int outcome) {
    Escape& e = f.out[o.index];
    if (outcome == escaped) {
        e.count = uint32_t(o.n);
        e.value = escapefraction(o.zx, o.zy, o.cx, o.cy);
        return;
    }
    e.count = 0;
    e.value = f.options.angles ? float(angleentry(o.zx, o.zy)) : 0.0f;
    if (f.finalz && f.options.angles) {
        f.finalz[2 * o.index] = o.zx;
        f.finalz[2 * o.index + 1] = o.zy;
    }
}

int limit(const Feed& f) {
    return f.options.iterations;
}

bool cancelled(const Feed& f) {
    return f.options.cancel && f.options.cancel->load(std::memory_order_relaxed);
}

bool runlanes(Feed& f) {
    // Four orbits side by side in extended arithmetic; a lane whose point is
    // decided takes the next point of the run.
    constexpr int kLanes = 4;
    const double esc = escapesum();
    const int iterations = limit(f);
    Orbit lane[kLanes];
    int active = 0;
    for (Orbit& o : lane) active += load(f, o);
    for (int tick = 0; active > 0; ++tick) {
        if (tick % kCancelEvery == 0 && cancelled(f)) return false;
        for (Orbit& o : lane) exactstep(o.zx, o.zy, o.cx, o.cy);
        for (Orbit& o : lane) {
            if (o.index < 0) continue;
            ++o.n;
            const bool out = st(ext(o.zx) * o.zx + ext(o.zy) * o.zy) >= esc;
            const int outcome = settle(o, out, iterations);
            if (outcome == going) continue;
            answer(f, o, outcome);
            active += load(f, o) - 1;
        }
    }
    return true;
}

bool havevector() {
    static const bool have = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return have;
}

}  // namespace kerneldetail

using namespace kerneldetail;

bool insidebulbs(double cx, double cy) {
    // The main cardioid: q (q + x - 1/4) < y^2 / 4 with q = (x - 1/4)^2 + y^2;
    // the disc of radius 1/4 round -1. Rounding in the tests can only
    // misjudge points so close to the border that an orbit from outside
    // would take far more than the largest limit to escape.
    const double x = cx - 0.25, y2 = cy * cy;
    const double q = x * x + y2;
    if (q * (q + x) < 0.25 * y2) return true;
    const double d = cx + 1;
    return d * d + y2 < 0.0625;
}

float escapefraction(double zx, double zy, double cx, double cy) {
    // Far enough out that the fraction no longer depends on how far: the
    // next steps square |z| to within c.
    constexpr double kFar = 1048576.0;  // |z|^2 beyond this, |z| beyond 1024
    constexpr int kMostSteps = 64;      // an orbit from a far point leaves sooner
    int extra = 0;
    double r2 = zx * zx + zy * zy;
    while (r2 <= kFar && extra < kMostSteps) {
        const double x = zx;
        zx = (x + zy) * (x - zy) + cx;
        zy = 2 * x * zy + cy;
        r2 = zx * zx + zy * zy;
        ++extra;
    }
    // The normalised count: with |z| squared each step, log2(log2 |z|)
    // grows by one a step, so this is the step at which the orbit crossed
    // radius 2, counted continuously.
    const double v = extra + 1 - std::log2(0.5 * std::log2(r2));
    return std::isfinite(v) ? float(v) : 0.0f;
}

bool computerun(const PointRun& run, const KernelOptions& options, Escape* out, double* finalz) {
    Feed f{run, options, out, finalz, 0};
    switch (options.kind) {
        case KernelKind::rule: {
            for (int i = 0; i < run.count; ++i) {
                if (i % 64 == 0 && cancelled(f)) return false;
                const RulePoint p = rulepoint(run.cx[i], run.cy, options.iterations);
                Orbit o{};
                startorbit(o, i, run.cx[i], run.cy);
                o.zx = p.zx;
                o.zy = p.zy;
                o.n = p.iterations;
                answer(f, o, p.escaped ? escaped : inside);
            }
            return true;
        }
        case KernelKind::lanes:
            return runlanes(f);
        case KernelKind::best:
            return havevector() ? runvector(f) : runlanes(f);
    }
    return true;
}

}  // namespace explore
