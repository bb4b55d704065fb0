#include "huewright/ui/cycling.h"

#include "huewright/ui/previewcommand.h"

namespace huewright {

namespace {

// The entries that take part in the rotation: 1 ... 255.
constexpr int kCycled = 255;

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

bool Cycling::key(shell::Window& w, int vk, const MsetEntries& entries, const shell::Palette& p) {
    switch (vk) {
        case ' ':
            if (running()) {
                stop(w, entries, p);
            } else {
                clock_.start(w.ticks());
                drawn_ = 0;
                w.settimer(kTimer, period());
            }
            return true;
        case shell::vk_left:
        case shell::vk_right:
            clock_.setdirection(vk == shell::vk_right ? 1 : -1, w.ticks());
            return true;
        case shell::vk_up:
        case shell::vk_down:
            clock_.changespeed(vk == shell::vk_up ? 1 : -1, w.ticks());
            if (running()) w.settimer(kTimer, period());
            return true;
        default:
            stop(w, entries, p);
            return false;
    }
}

void Cycling::frame(shell::Window& w, const MsetEntries& entries, const shell::Palette& p) {
    if (!running()) return;
    const int shift = clock_.shiftat(w.ticks());
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
    if (running()) w.killtimer(kTimer);
    clock_.stop();
    drawn_ = 0;
}

}  // namespace huewright
