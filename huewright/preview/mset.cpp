// The Mandelbrot preview: its lattice of points computed by the explorer's
// kernels, and the drawing of the rows in order while a second thread
// computes ahead.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "explore/kernel.h"
#include "explore/rule.h"
#include "huewright/preview/preview.h"

namespace huewright {

namespace {

double rowcy(int j, int scale) {
    return explore::latticecy(j, scale);
}

// The real parts of a row's points at a scale, the same for every row.
const double* rowcx(int scale) {
    // Each thread keeps the last scale's; a program has one scale.
    thread_local std::vector<double> cx;
    if (cx.size() != size_t(kMsetSize) * scale) {
        cx.resize(size_t(kMsetSize) * scale);
        for (size_t i = 0; i < cx.size(); ++i) cx[i] = explore::latticecx(int(i), scale);
    }
    return cx.data();
}

}  // namespace

MsetPoint msetpoint(int i, int j, int scale) {
    const explore::RulePoint p = explore::rulepoint(explore::latticecx(i, scale),
                                                    explore::latticecy(j, scale), kMsetMaxIter);
    if (p.escaped) return MsetPoint{true, p.iterations, 0, p.zx, p.zy};
    return MsetPoint{false, p.iterations, explore::angleentry(p.zx, p.zy), p.zx, p.zy};
}

void msetrow(int j, uint8_t* entries, MsetKernel kernel, double* finalz, int scale) {
    explore::KernelOptions o;
    o.iterations = kMsetMaxIter;
    o.kind = kernel == MsetKernel::rule    ? explore::KernelKind::rule
             : kernel == MsetKernel::lanes ? explore::KernelKind::lanes
                                           : explore::KernelKind::best;
    const int points = kMsetSize * scale;
    std::vector<explore::Escape> out(static_cast<size_t>(points));
    explore::computerun(explore::PointRun{rowcx(scale), rowcy(j, scale), points}, o, out.data(),
                        finalz);
    for (int i = 0; i < points; ++i) entries[i] = out[i].count ? 0 : uint8_t(out[i].value);
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
            entries[i] = uint8_t(explore::angleentry(zx, -zy));
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
