// The Mandelbrot preview: the rule for one point, the scalar row kernel, and
// the drawing of the rows in order while a second thread computes ahead.
#include <algorithm>
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

// At scale 1 the divisions are by 1 and change nothing; at scale n row
// j = n k divides 257 n - n k by n exactly, so it is row k's point.
double rowcy(int j, int scale) {
    return st(ext(kRowPoints * scale - j) / scale * 0.798 * kInv257 + (-0.399));
}
double colcx(int i, int scale) {
    return st(ext(i) / scale * 0.798 * kInv257 + (-1.547));
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
    const double cy = rowcy(j, out.scale), esc = escapesum();
    Orbit lane[kLanes];
    int nextcolumn = 0, active = 0;
    auto load = [&](Orbit& o) {
        if (nextcolumn < out.points()) {
            startorbit(o, nextcolumn, colcx(nextcolumn, out.scale), cy);
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

MsetPoint msetpoint(int i, int j, int scale) {
    const double cx = colcx(i, scale), cy = rowcy(j, scale);
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

void msetrow(int j, uint8_t* entries, MsetKernel kernel, double* finalz, int scale) {
    const RowOut out{entries, finalz, scale};
    switch (kernel) {
        case MsetKernel::rule:
            for (int i = 0; i < out.points(); ++i) {
                const MsetPoint p = msetpoint(i, j, scale);
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

// Rows j and 257 - j lie mirrored about the real axis (at scale n, rows j
// and 257 n - j). Where their imaginary parts are exact negatives of each
// other (70 of the 128 pairs at scale 1), every step of the rule is the
// mirror image of the other row's step: the same real parts, imaginary parts
// of opposite sign, the same sums of squares. So the lower row's points
// escape where the upper row's do, and a point of the set ends at the
// conjugate of the upper row's final z. Only a final imaginary part of zero
// is left to the rule, since the sign of a zero decides its angle.
bool mirrored(int j, int scale) {
    const int size = kMsetSize * scale;
    return j > size / 2 && rowcy(j, scale) == -rowcy(size - j, scale);
}

void mirrorrow(int j, int scale, const uint8_t* upper, const double* upperz, uint8_t* entries) {
    for (int i = 0; i < kMsetSize * scale; ++i) {
        const double zx = upperz[2 * i], zy = upperz[2 * i + 1];
        if (upper[i] == 0)
            entries[i] = 0;
        else if (zy != 0)
            entries[i] = uint8_t(angleindex(zx, -zy));
        else
            entries[i] = uint8_t(msetpoint(i, j, scale).index);
    }
}

}  // namespace

void computemset(MsetEntries& out, const std::function<void(int)>& rowready, int threads,
                 MsetKernel kernel) {
    // Rows are handed out one at a time from a shared counter. The calling
    // thread draws and reports them strictly in order, and computes rows
    // itself whenever the next one to draw is not ready yet. A lower row whose
    // mirror image above is already done is taken from it.
    const int size = out.size(), scale = out.scale;
    std::vector<uint8_t>& rows = out.entries;
    rows.assign(size_t(size) * size, 0);
    std::vector<double> finals(size_t(size) * size * 2);
    std::unique_ptr<std::atomic<int>[]> ready(new std::atomic<int>[size]);
    for (int j = 0; j < size; ++j) ready[j].store(0, std::memory_order_relaxed);
    std::atomic<int> nextrow{0};
    std::mutex lock;
    std::condition_variable rowfinished;

    // Computes one row if any is left; false when none is.
    auto computeone = [&] {
        const int j = nextrow.fetch_add(1);
        if (j >= size) return false;
        uint8_t* entries = &rows[size_t(j) * size];
        const int up = size - j;
        if (mirrored(j, scale) && ready[up].load(std::memory_order_acquire))
            mirrorrow(j, scale, &rows[size_t(up) * size], &finals[size_t(up) * size * 2], entries);
        else
            msetrow(j, entries, kernel, &finals[size_t(j) * size * 2], scale);
        ready[j].store(1, std::memory_order_release);
        return true;
    };
    // The helper stops at the next row and is joined however this returns
    // (rowdone may throw); without threads the caller computes every row.
    struct Helper {
        std::thread thread;
        std::atomic<int>& nextrow;
        int size;
        ~Helper() {
            if (!thread.joinable()) return;
            nextrow.store(size);
            thread.join();
        }
    } helper{{}, nextrow, size};
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
    for (int j = 0; j < size; ++j) {
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

namespace {

// Device row y of a surface of scale s from row `entries` of a picture
// computed at scale e (e a multiple of s, or 1): device column c of the
// picture shows point c x e / s, a point of the set at x0 + c in its palette
// colour and an escaped point one logical column (s device pixels) further
// right in grey, in column order, so that a point of the set covers the grey
// of the escaped point to its left. Columns outside the surface are left out.
void putrow(shell::Surface& surface, int x0, int y, const uint8_t* entries, int e,
            const shell::Palette& palette) {
    const int s = surface.scale(), width = surface.devicewidth(), count = kMsetSize * s;
    if (y < 0 || y >= surface.deviceheight()) return;
    uint8_t* row = surface.row(y);
    const auto put = [&](int x, const uint8_t* c) {
        uint8_t* px = row + size_t(x) * 3;
        px[0] = c ? c[0] : kMsetEscaped.r;
        px[1] = c ? c[1] : kMsetEscaped.g;
        px[2] = c ? c[2] : kMsetEscaped.b;
    };
    // A row wholly inside the surface, as the window's always is, is written
    // without a test a pixel: colour cycling redraws every row each frame.
    const bool inside = x0 >= 0 && x0 + count + s <= width;
    for (int c = 0; c < count; ++c) {
        const int k = entries[e == s ? c : c * e / s];
        const int x = k == 0 ? x0 + c + s : x0 + c;
        if (inside || (x >= 0 && x < width)) put(x, k == 0 ? nullptr : palette[k].data());
    }
}

}  // namespace

void drawmsetrow(shell::Surface& surface, shell::Point origin, int j, const uint8_t* entries,
                 const shell::Palette& palette) {
    const int s = surface.scale();
    for (int k = 0; k < s; ++k)
        putrow(surface, origin.x * s, (origin.y + j) * s + k, entries, 1, palette);
}

void drawmsetrows(shell::Surface& surface, shell::Point origin, const MsetEntries& entries,
                  const shell::Palette& palette, int from, int to) {
    const int s = surface.scale(), e = entries.scale;
    to = std::min(to, kMsetSize * s);
    for (int y = std::max(from, 0); y < to; ++y)
        putrow(surface, origin.x * s, origin.y * s + y, entries.row(y * e / s), e, palette);
}

MsetEntries mset(const shell::Palette& palette, shell::Surface& surface, shell::Point origin,
                 const std::function<void(int)>& rowdone, int threads, MsetKernel kernel) {
    MsetEntries pic(surface.scale());
    computemset(
        pic,
        [&](int j) {
            drawmsetrows(surface, origin, pic, palette, j, j + 1);
            if (rowdone) rowdone(j);
        },
        threads, kernel);
    return pic;
}

}  // namespace huewright
