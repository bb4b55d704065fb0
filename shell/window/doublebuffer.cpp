#include "doublebuffer.h"

namespace shell {

DoubleBuffer::DoubleBuffer(int width, int height, int scale)
    : offscreen(width, height, Rgb{}, scale), onscreen(width, height, Rgb{}, scale) {}

void DoubleBuffer::present(const Rect& r0) {
    Rect r = intersect(r0, offscreen.bounds());
    if (r.empty()) return;
    onscreen.blit(r.left, r.top, r.width(), r.height(), offscreen, r.left, r.top);
    onscreenchanged(r);
}

}  // namespace shell
