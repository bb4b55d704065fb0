// The Mandelbrot preview: the rule for one point, the scalar row kernel, and
// the drawing of the rows in order while a second thread computes ahead.
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "huewright/model/arith.h"
#include "huewright/preview/msetlanes.h"
#include "huewright/preview/preview.h"

namespace huewright {

namespace msetdetail {

double rowcy(int j) {
    return st(ext(257 - j) * 0.798 * kInv257 + (-0.399));
}
double colcx(int i) {
    return st(ext(i) * 0.798 * kInv257 + (-1.547));
}

void exactstep(double& zx, double& zy, double cx, double cy) {
    const double x = zx, y = zy;
    zx = st((ext(x) + y) * (ext(x) - y) + cx);
    zy = st(2 * ext(x) * y + cy);
}

double escapesum() {
    // The stored root is a monotone function of the sum, so one threshold
    // replaces the square root.
    static const double s = [] {
        double v = 4.0;
        while (!(st(xsqrt(v)) > 2)) v = std::nextafter(v, 8.0);
        return v;
    }();
    return s;
}

bool exactescaped(double zx, double zy) {
    return st(ext(zx) * zx + ext(zy) * zy) >= escapesum();
}

static_assert(kRowPoints == kMsetSize && kIterations == kMsetMaxIter);

namespace {

// The palette entry of a point of the set from the angle of its final z.
int angleindex(double zx, double zy) {
    double angle = st(xatan2(zy, zx));
    if (angle < 0) angle = st(ext(angle) + kTwoPi);
    // An angle just below 2 pi gives 255 here, which the modulo folds onto
    // entry 1 like the angle 0; entry 0 is never used.
    return int(ext(angle) * 256 * kInvTwoPi) % 255 + 1;
}

uint64_t bits(double v) {
    uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

}  // namespace

void startorbit(Orbit& o, int column, double cx, double cy) {
    o.zx = o.zy = 0;
    o.cx = cx;
    o.cy = cy;
    o.sx = o.sy = bits(0.0);
    o.n = o.saved = 0;
    o.nextsave = 1;
    o.column = column;
}

int settle(Orbit& o, bool escaped) {
    if (escaped) return 0;
    if (bits(o.zx) == o.sx && bits(o.zy) == o.sy) {
        // A cycle: go round it to where step 512 lands.
        for (int r = (kMsetMaxIter - o.n) % (o.n - o.saved); r > 0; --r)
            exactstep(o.zx, o.zy, o.cx, o.cy);
        return angleindex(o.zx, o.zy);
    }
    if (o.n == kMsetMaxIter) return angleindex(o.zx, o.zy);
    if (o.n == o.nextsave) {
        o.sx = bits(o.zx);
        o.sy = bits(o.zy);
        o.saved = o.n;
        o.nextsave += o.nextsave < kSaveEvery ? o.nextsave : kSaveEvery;
    }
    return -1;
}

void record(const RowOut& out, const Orbit& o, int index) {
    out.entries[o.column] = uint8_t(index);
    if (out.finalz && index > 0) {
        out.finalz[2 * o.column] = o.zx;
        out.finalz[2 * o.column + 1] = o.zy;
    }
}

void rowlanes(int j, const RowOut& out) {
    // Four orbits side by side in extended arithmetic; a lane whose point is
    // decided takes the next column of the row.
    constexpr int kLanes = 4;
    const double cy = rowcy(j), esc = escapesum();
    Orbit lane[kLanes];
    int nextcolumn = 0, active = 0;
    auto load = [&](Orbit& o) {
        if (nextcolumn < kMsetSize) {
            startorbit(o, nextcolumn, colcx(nextcolumn), cy);
            ++nextcolumn;
            ++active;
        } else {
            startorbit(o, -1, 0, 0);  // idle: z stays 0, and nothing is read
        }
    };
    for (Orbit& o : lane) load(o);
    while (active > 0) {
        for (Orbit& o : lane) exactstep(o.zx, o.zy, o.cx, o.cy);
        for (Orbit& o : lane) {
            if (o.column < 0) continue;
            ++o.n;
            const bool escaped = st(ext(o.zx) * o.zx + ext(o.zy) * o.zy) >= esc;
            const int index = settle(o, escaped);
            if (index < 0) continue;
            record(out, o, index);
            --active;
            load(o);
        }
    }
}

bool havevector() {
    static const bool have = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    return have;
}

}  // namespace msetdetail

using namespace msetdetail;

MsetPoint msetpoint(int i, int j) {
    const double cx = colcx(i), cy = rowcy(j);
    double zx = 0, zy = 0, size = 0;
    int n = 0;
    while (!(size > 2) && n < kMsetMaxIter) {
        const double x = zx, y = zy;
        zx = st((ext(x) + y) * (ext(x) - y) + cx);
        zy = st(2 * ext(x) * y + cy);
        const double sum = st(ext(zx) * zx + ext(zy) * zy);
        size = st(xsqrt(sum));
        ++n;
    }
    if (size > 2) return MsetPoint{true, n, 0, zx, zy};
    return MsetPoint{false, n, angleindex(zx, zy), zx, zy};
}

void msetrow(int j, uint8_t* entries, MsetKernel kernel, double* finalz) {
    const RowOut out{entries, finalz};
    switch (kernel) {
        case MsetKernel::rule:
            for (int i = 0; i < kMsetSize; ++i) {
                const MsetPoint p = msetpoint(i, j);
                Orbit o{};
                o.zx = p.zx;
                o.zy = p.zy;
                o.column = i;
                record(out, o, p.index);
            }
            break;
        case MsetKernel::lanes:
            rowlanes(j, out);
            break;
        case MsetKernel::best:
            if (havevector())
                rowvector(j, out);
            else
                rowlanes(j, out);
            break;
    }
}

namespace {

// Rows j and 257 - j lie mirrored about the real axis. Where their imaginary
// parts are exact negatives of each other (70 of the 128 pairs), every step of
// the rule is the mirror image of the other row's step: the same real parts,
// imaginary parts of opposite sign, the same sums of squares. So the lower
// row's points escape where the upper row's do, and a point of the set ends
// at the conjugate of the upper row's final z. Only a final imaginary part of
// zero is left to the rule, since the sign of a zero decides its angle.
bool mirrored(int j) {
    return j > kMsetSize / 2 && rowcy(j) == -rowcy(kMsetSize - j);
}

void mirrorrow(int j, const uint8_t* upper, const double* upperz, uint8_t* entries) {
    for (int i = 0; i < kMsetSize; ++i) {
        const double zx = upperz[2 * i], zy = upperz[2 * i + 1];
        if (upper[i] == 0)
            entries[i] = 0;
        else if (zy != 0)
            entries[i] = uint8_t(angleindex(zx, -zy));
        else
            entries[i] = uint8_t(msetpoint(i, j).index);
    }
}

}  // namespace

void computemset(MsetEntries& out, const std::function<void(int)>& rowready, int threads,
                 MsetKernel kernel) {
    // Rows are handed out one at a time from a shared counter. The calling
    // thread draws and reports them strictly in order, and computes rows
    // itself whenever the next one to draw is not ready yet. A lower row whose
    // mirror image above is already done is taken from it.
    std::vector<uint8_t>& rows = out.entries;
    std::vector<double> finals(size_t(kMsetSize) * kMsetSize * 2);
    std::unique_ptr<std::atomic<int>[]> ready(new std::atomic<int>[kMsetSize]);
    for (int j = 0; j < kMsetSize; ++j) ready[j].store(0, std::memory_order_relaxed);
    std::atomic<int> nextrow{0};
    std::mutex lock;
    std::condition_variable rowfinished;

    // Computes one row if any is left; false when none is.
    auto computeone = [&] {
        const int j = nextrow.fetch_add(1);
        if (j >= kMsetSize) return false;
        uint8_t* entries = &rows[size_t(j) * kMsetSize];
        const int up = kMsetSize - j;
        if (mirrored(j) && ready[up].load(std::memory_order_acquire))
            mirrorrow(j, &rows[size_t(up) * kMsetSize], &finals[size_t(up) * kMsetSize * 2],
                      entries);
        else
            msetrow(j, entries, kernel, &finals[size_t(j) * kMsetSize * 2]);
        ready[j].store(1, std::memory_order_release);
        return true;
    };
    // The helper stops at the next row and is joined however this returns
    // (rowdone may throw); without threads the caller computes every row.
    struct Helper {
        std::thread thread;
        std::atomic<int>& nextrow;
        ~Helper() {
            if (!thread.joinable()) return;
            nextrow.store(kMsetSize);
            thread.join();
        }
    } helper{{}, nextrow};
    if (threads > 1) {
        try {
            helper.thread = std::thread([&] {
                while (computeone()) {
                    std::lock_guard<std::mutex> hold(lock);
                    rowfinished.notify_one();
                }
            });
        } catch (const std::system_error&) {
        }
    }
    for (int j = 0; j < kMsetSize; ++j) {
        while (!ready[j].load(std::memory_order_acquire)) {
            if (!computeone()) {
                std::unique_lock<std::mutex> hold(lock);
                rowfinished.wait(hold,
                                 [&] { return ready[j].load(std::memory_order_acquire) != 0; });
            }
        }
        if (rowready) rowready(j);
    }
}

void drawmsetrow(shell::Surface& surface, shell::Point origin, int j, const uint8_t* entries,
                 const shell::Palette& palette) {
    const int y = origin.y + j;
    // A row that lies wholly inside a surface of scale 1, as the window's
    // always does, is written straight into its pixels: colour cycling
    // redraws every row for each frame.
    if (surface.scale() == 1 && origin.x >= 0 && origin.x + kMsetSize + 1 <= surface.width() &&
        y >= 0 && y < surface.height()) {
        uint8_t* row = surface.row(y) + size_t(origin.x) * 3;
        for (int i = 0; i < kMsetSize; ++i) {
            const int k = entries[i];
            uint8_t* px = row + 3 * (k == 0 ? i + 1 : i);
            const uint8_t* c = k == 0 ? nullptr : palette[k].data();
            px[0] = c ? c[0] : kMsetEscaped.r;
            px[1] = c ? c[1] : kMsetEscaped.g;
            px[2] = c ? c[2] : kMsetEscaped.b;
        }
        return;
    }
    for (int i = 0; i < kMsetSize; ++i) {
        const int k = entries[i];
        if (k == 0)
            surface.setpixel(origin.x + 1 + i, y, kMsetEscaped);
        else
            surface.setpixel(origin.x + i, y,
                             shell::Rgb{palette[k][0], palette[k][1], palette[k][2]});
    }
}

MsetEntries mset(const shell::Palette& palette, shell::Surface& surface, shell::Point origin,
                 const std::function<void(int)>& rowdone, int threads, MsetKernel kernel) {
    MsetEntries pic;
    computemset(
        pic,
        [&](int j) {
            drawmsetrow(surface, origin, j, pic.row(j), palette);
            if (rowdone) rowdone(j);
        },
        threads, kernel);
    return pic;
}

}  // namespace huewright
