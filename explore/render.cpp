#include "explore/render.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace explore {

namespace {

constexpr int kCoarsest = 16;  // the spacing of the first pass

int spacing(int pass) {
    return kCoarsest >> pass;
}

// The passes that compute pixels of row y up to `pass`, as bits: a row takes
// part in every pass whose spacing divides it.
uint32_t passesofrow(int y, int pass) {
    uint32_t m = 0;
    for (int k = 0; k <= pass; ++k)
        if (y % spacing(k) == 0) m |= 1u << k;
    return m;
}

using Clock = std::chrono::steady_clock;

// Every pixel from its point on the lattice.
class DoubleKernel : public PictureKernel {
  public:
    DoubleKernel(const Location& l, int w, int h) : lattice_(l, w, h) {}
    bool row(int y, int x0, int dx, int count, const KernelOptions& o, Escape* out) override {
        std::vector<double> cx(static_cast<size_t>(count));
        for (int k = 0; k < count; ++k) cx[k] = lattice_.cx(x0 + k * dx);
        return computerun(PointRun{cx.data(), lattice_.cy(y), count}, o, out);
    }

  private:
    Lattice lattice_;
};

}  // namespace

std::unique_ptr<PictureKernel> picturekernel(const Location& l, int w, int h) {
    return std::make_unique<DoubleKernel>(l, w, h);
}

// One picture: what to compute, the work items, and the pixels done.
struct Renderer::Job {
    Job(const Location& l, int w, int h) : kernel(picturekernel(l, w, h)), width(w), height(h) {}

    std::unique_ptr<PictureKernel> kernel;
    int width, height;
    KernelOptions options;
    // (pass, row): the pixels of the row that the pass adds, coarse passes first.
    std::vector<std::pair<int, int>> items;
    std::vector<Escape> computed;  // width x height, written by the workers
    // For each row, bit k once pass k has computed its pixels of the row.
    std::unique_ptr<std::atomic<uint32_t>[]> rowdone;
    std::atomic<size_t> next{0};      // the first item not handed out
    std::atomic<size_t> finished{0};  // items complete
    std::atomic<bool> cancel{false};
    Clock::time_point started = Clock::now();
    std::atomic<int> itemsleft[kPasses];  // of each pass
    std::atomic<double> passms[kPasses];  // when each pass was complete, -1 before
};

void shiftmap(EscapeMap& map, int dx, int dy) {
    EscapeMap moved;
    moved.resize(map.width, map.height);
    for (int y = std::max(0, dy); y < std::min(map.height, map.height + dy); ++y)
        for (int x = std::max(0, dx); x < std::min(map.width, map.width + dx); ++x)
            moved.row(y)[x] = map.row(y - dy)[x - dx];
    map = std::move(moved);
}

Renderer::Renderer(int threads) {
    for (int i = 0; i < threads; ++i) {
        try {
            workers_.emplace_back([this] { work(); });
        } catch (const std::system_error&) {
            // Without threads the pictures are computed as they are started.
            break;
        }
    }
}

Renderer::~Renderer() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        quit_ = true;
        if (job_) job_->cancel = true;
    }
    wake_.notify_all();
    for (std::thread& t : workers_) t.join();
}

void Renderer::start(const Location& l, int w, int h, bool angles, KernelKind kind) {
    auto job = std::make_shared<Job>(l, w, h);
    job->options.iterations = l.iterations;
    job->options.angles = angles;
    job->options.kind = kind;
    job->options.cancel = &job->cancel;
    job->computed.resize(size_t(w) * h);
    job->rowdone.reset(new std::atomic<uint32_t>[size_t(h)]);
    for (int y = 0; y < h; ++y) job->rowdone[y].store(0, std::memory_order_relaxed);
    for (int pass = 0; pass < kPasses; ++pass) {
        int items = 0;
        for (int y = 0; y < h; y += spacing(pass))
            if (pass == 0 || y % spacing(pass - 1) != 0 || spacing(pass) < w) {
                job->items.emplace_back(pass, y);
                ++items;
            }
        job->itemsleft[pass] = items;
        job->passms[pass] = items == 0 ? 0.0 : -1.0;
    }
    // The picture shown keeps the old one until the new one's first pass
    // covers it.
    shownlevel_.assign(size_t(h), -1);
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (job_) job_->cancel = true;
        job_ = job;
        ++generation_;
    }
    if (workers_.empty()) {
        runjob(*job);
        return;
    }
    wake_.notify_all();
}

void Renderer::cancel() {
    std::lock_guard<std::mutex> hold(lock_);
    if (job_) job_->cancel = true;
    job_.reset();
    finished_.notify_all();
}

void Renderer::work() {
    long seen = 0;
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock<std::mutex> hold(lock_);
            wake_.wait(hold, [&] { return quit_ || generation_ != seen; });
            if (quit_) return;
            seen = generation_;
            job = job_;
        }
        // The job stays alive while this worker holds it, even when a new
        // picture replaced it.
        if (job) runjob(*job);
    }
}

void Renderer::runjob(Job& job) {
    std::vector<Escape> out;
    const size_t items = job.items.size();
    for (;;) {
        if (job.cancel.load(std::memory_order_relaxed)) return;
        const size_t i = job.next.fetch_add(1);
        if (i >= items) return;
        const auto [pass, y] = job.items[i];
        // A row that took part in the pass before has every other pixel of
        // this spacing already.
        const int s = spacing(pass);
        const bool seen = pass > 0 && y % spacing(pass - 1) == 0;
        const int x0 = seen ? s : 0, dx = seen ? 2 * s : s;
        out.resize(size_t((job.width - x0 + dx - 1) / dx));
        if (!job.kernel->row(y, x0, dx, int(out.size()), job.options, out.data())) return;
        Escape* row = &job.computed[size_t(y) * job.width];
        for (size_t k = 0; k < out.size(); ++k) row[x0 + k * dx] = out[k];
        job.rowdone[y].fetch_or(1u << pass, std::memory_order_release);
        const std::chrono::duration<double, std::milli> took = Clock::now() - job.started;
        if (job.itemsleft[pass].fetch_sub(1) == 1) job.passms[pass] = took.count();
        if (job.finished.fetch_add(1) + 1 == items) {
            lastms_ = took.count();
            std::lock_guard<std::mutex> hold(lock_);
            finished_.notify_all();
        }
    }
}

std::pair<int, int> Renderer::collect(EscapeMap& shown) {
    std::shared_ptr<Job> job;
    {
        std::lock_guard<std::mutex> hold(lock_);
        job = job_;
    }
    if (!job) return {0, 0};
    const int w = job->width, h = job->height;
    if (shown.width != w || shown.height != h) shown.resize(w, h);
    if (int(shownlevel_.size()) != h) shownlevel_.assign(size_t(h), -1);
    int first = h, last = 0;
    for (int y = 0; y < h; ++y) {
        // The finest pass whose pixels for this row are all there: the row
        // then shows the pixels of that spacing, each over its block.
        for (int pass = kPasses - 1; pass > shownlevel_[y]; --pass) {
            const int s = spacing(pass);
            const int r = y & ~(s - 1);
            const uint32_t need = passesofrow(r, pass);
            if ((job->rowdone[r].load(std::memory_order_acquire) & need) != need) continue;
            const Escape* from = &job->computed[size_t(r) * w];
            Escape* to = shown.row(y);
            for (int x = 0; x < w; ++x) to[x] = from[x & ~(s - 1)];
            shownlevel_[y] = pass;
            first = std::min(first, y);
            last = y + 1;
            break;
        }
    }
    return first < last ? std::make_pair(first, last) : std::make_pair(0, 0);
}

bool Renderer::done() const {
    std::lock_guard<std::mutex> hold(lock_);
    return !job_ || job_->finished.load() == job_->items.size();
}

void Renderer::wait() {
    std::unique_lock<std::mutex> hold(lock_);
    finished_.wait(hold, [&] { return !job_ || job_->finished.load() == job_->items.size(); });
}

double Renderer::passtime(int pass) const {
    std::lock_guard<std::mutex> hold(lock_);
    return job_ && pass >= 0 && pass < kPasses ? job_->passms[pass].load() : -1.0;
}

bool Renderer::angles() const {
    std::lock_guard<std::mutex> hold(lock_);
    return job_ && job_->options.angles;
}

}  // namespace explore
