// The Mandelbrot preview: its lattice of points computed by the explorer's
// kernels, and the drawing of the rows in order while a second thread
// computes ahead.
#include <array>
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

double rowcy(int j) {
    return explore::latticecy(j);
}

// The real parts of a row's points.
const double* rowcx() {
    static const auto cx = [] {
        std::array<double, kMsetSize> v;
        for (int i = 0; i < kMsetSize; ++i) v[i] = explore::latticecx(i);
        return v;
    }();
    return cx.data();
}

}  // namespace

MsetPoint msetpoint(int i, int j) {
    const explore::RulePoint p = explore::rulepoint(explore::latticecx(i), rowcy(j), kMsetMaxIter);
    if (p.escaped) return MsetPoint{true, p.iterations, 0, p.zx, p.zy};
    return MsetPoint{false, p.iterations, explore::angleentry(p.zx, p.zy), p.zx, p.zy};
}

void msetrow(int j, uint8_t* entries, MsetKernel kernel, double* finalz) {
    explore::KernelOptions o;
    o.iterations = kMsetMaxIter;
    o.kind = kernel == MsetKernel::rule    ? explore::KernelKind::rule
             : kernel == MsetKernel::lanes ? explore::KernelKind::lanes
                                           : explore::KernelKind::best;
    explore::Escape out[kMsetSize];
    explore::computerun(explore::PointRun{rowcx(), rowcy(j), kMsetSize}, o, out, finalz);
    for (int i = 0; i < kMsetSize; ++i) entries[i] = out[i].count ? 0 : uint8_t(out[i].value);
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
            entries[i] = uint8_t(explore::angleentry(zx, -zy));
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
