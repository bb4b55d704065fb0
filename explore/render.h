// Computing a picture on worker threads, in passes from coarse to fine, while
// the window goes on taking its messages.
//
// The first pass computes one pixel in 16 x 16, each later one the pixels
// that halve the spacing, until every pixel is done. The window collects what
// is finished whenever it likes: every pixel of its picture then holds the
// value of the finest pixel computed for it so far, so the picture sharpens
// pass by pass. A new picture cancels the one under way at once; so does
// destroying the renderer, which the window does when it closes.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "explore/kernel.h"
#include "explore/location.h"

namespace explore {

// What computes the pixels of a picture for the renderer, from several
// threads at once. The kernels of kernel.h work from each pixel's point in
// doubles, which reach down to kDeepestWidth; a kernel for deeper zooms
// (perturbation round a reference orbit) would compute that orbit for the
// picture when it is made, and take each pixel's offset from it.
class PictureKernel {
  public:
    virtual ~PictureKernel() = default;
    // The pixels (x0 + k dx, y) for k < count into out[k]; false when
    // cancelled.
    virtual bool row(int y, int x0, int dx, int count, const KernelOptions& o, Escape* out) = 0;
};
// The kernel for a picture of `l`, w x h pixels.
std::unique_ptr<PictureKernel> picturekernel(const Location& l, int w, int h);

// A w x h picture of escape values, rows top to bottom.
struct EscapeMap {
    int width = 0, height = 0;
    std::vector<Escape> values;

    void resize(int w, int h) {
        width = w;
        height = h;
        values.assign(size_t(w) * h, Escape{});
    }
    const Escape* row(int y) const { return &values[size_t(y) * width]; }
    Escape* row(int y) { return &values[size_t(y) * width]; }
};

// Moves the picture's values by (dx, dy) pixels, as a pan moves the plane;
// pixels that come in from outside are points of the set, entry 0.
void shiftmap(EscapeMap& map, int dx, int dy);

class Renderer {
  public:
    static constexpr int kPasses = 5;  // pixel spacings 16, 8, 4, 2, 1

    // `threads` workers (at least 1) compute; the caller's thread never does.
    explicit Renderer(int threads = 2);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Starts the picture of `l`, w x h pixels, with the angles of the points
    // of the set or without (kernel.h); the picture under way is dropped.
    void start(const Location& l, int w, int h, bool angles, KernelKind kind = KernelKind::best);
    // Drops the picture under way.
    void cancel();

    // Brings `shown` (resized to the picture if it is not) up to date with
    // what the workers have finished; returns the first and one past the
    // last row that changed (equal when none did).
    std::pair<int, int> collect(EscapeMap& shown);
    // Every pixel of the current picture is computed.
    bool done() const;
    // Waits until done (or nothing is under way), for tests and benchmarks.
    void wait();
    // Milliseconds the last complete picture took from its start, or -1.
    double lastrender() const { return lastms_.load(); }
    // Milliseconds from the current picture's start until pass `pass` was
    // complete, or -1 while it is not.
    double passtime(int pass) const;
    // Whether the current picture has the angles of its points of the set.
    bool angles() const;

  private:
    struct Job;
    void work();
    void runjob(Job& job);

    std::vector<std::thread> workers_;
    mutable std::mutex lock_;
    std::condition_variable wake_, finished_;
    std::shared_ptr<Job> job_;  // the current picture; workers hold it while they work on it
    long generation_ = 0;       // counts the pictures started
    bool quit_ = false;
    std::atomic<double> lastms_{-1};
    std::vector<int> shownlevel_;  // for each row of `shown`, the pass it shows, -1 none
};

}  // namespace explore
