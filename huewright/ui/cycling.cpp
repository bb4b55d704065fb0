#include "huewright/ui/cycling.h"

#include <algorithm>
#include <iterator>

#include "huewright/ui/previewcommand.h"

namespace huewright {

namespace {

// The entries that take part in the rotation: 1 ... 255.
constexpr int kCycled = 255;
// The shortest timer period, whatever the speed; at 120 entries a second a
// frame every 9 ms moves one entry a frame.
constexpr int kShortestPeriod = 8;

static_assert(Cycling::kSpeeds[7] == Cycling::kDefaultSpeed, "the default speed's index");

int wrap(int shift) {
    shift %= kCycled;
    return shift < 0 ? shift + kCycled : shift;
}

}  // namespace

shell::Palette rotatedpalette(const shell::Palette& p, int shift) {
    shell::Palette out;
    out[0] = p[0];
    shift = wrap(shift);
    for (int e = 1; e <= kCycled; ++e) out[e] = p[1 + (e - 1 + shift) % kCycled];
    return out;
}

void drawpreview(shell::Window& w, const MsetEntries& entries, const shell::Palette& p,
                 shell::Surface* copy) {
    drawmsetrows(w.offscreen, kMsetOrigin, entries, p, 0, entries.size());
    if (copy) drawmsetrows(*copy, kMsetOrigin, entries, p, 0, kMsetSize);
    w.present(previewrect);
}

int Cycling::period() const {
    // Rounded up, so that each frame finds the next entry due.
    return std::max(kShortestPeriod, (1000 + speed() - 1) / speed());
}

int Cycling::shiftat(long long now) const {
    const long long moved = speed() * (now - since_) / 1000;
    return wrap(base_ + direction_ * int(moved % kCycled));
}

void Cycling::rebase(shell::Window& w) {
    if (!running_) return;
    const long long now = w.ticks();
    base_ = shiftat(now);
    since_ = now;
}

void Cycling::start(shell::Window& w) {
    running_ = true;
    base_ = drawn_ = 0;
    since_ = w.ticks();
    w.settimer(kTimer, period());
}

bool Cycling::key(shell::Window& w, int vk, const MsetEntries& entries, const shell::Palette& p) {
    const int last = int(std::size(kSpeeds)) - 1;
    switch (vk) {
        case ' ':
            if (running_)
                stop(w, entries, p);
            else
                start(w);
            return true;
        case shell::vk_left:
        case shell::vk_right:
            rebase(w);
            direction_ = vk == shell::vk_right ? 1 : -1;
            return true;
        case shell::vk_up:
        case shell::vk_down:
            rebase(w);
            speedindex_ = std::clamp(speedindex_ + (vk == shell::vk_up ? 1 : -1), 0, last);
            if (running_) w.settimer(kTimer, period());
            return true;
        default:
            stop(w, entries, p);
            return false;
    }
}

void Cycling::frame(shell::Window& w, const MsetEntries& entries, const shell::Palette& p) {
    if (!running_) return;
    const int shift = shiftat(w.ticks());
    if (shift == drawn_) return;
    drawpreview(w, entries, rotatedpalette(p, shift), copy);
    drawn_ = shift;
}

void Cycling::stop(shell::Window& w, const MsetEntries& entries, const shell::Palette& p) {
    const bool rotated = drawn_ != 0;
    halt(w);
    if (rotated) drawpreview(w, entries, p, copy);
}

void Cycling::halt(shell::Window& w) {
    if (running_) w.killtimer(kTimer);
    running_ = false;
    drawn_ = 0;
}

}  // namespace huewright
