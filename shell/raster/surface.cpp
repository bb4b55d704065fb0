#include "surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace shell {

Rect intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.empty()) return Rect{};
    return r;
}

Rect unite(const Rect& a, const Rect& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

Rect tological(const Rect& d, int scale) {
    if (d.empty()) return Rect{};
    return Rect{tological(d.left, scale), tological(d.top, scale),
                tological(d.right - 1, scale) + 1, tological(d.bottom - 1, scale) + 1};
}

Surface::Surface(int width, int height, Rgb fill, int scale)
    : w_(std::max(width, 0)),
      h_(std::max(height, 0)),
      s_(std::clamp(scale, 1, kMaxScale)),
      dw_(w_ * s_),
      dh_(h_ * s_),
      px_(size_t(dw_) * dh_ * 3) {
    if (fill != Rgb{}) this->fill(fill);
}

Surface Surface::fromdevice(Surface pixels, int scale) {
    Surface out;
    out.s_ = std::clamp(scale, 1, kMaxScale);
    out.w_ = pixels.dw_ / out.s_;
    out.h_ = pixels.dh_ / out.s_;
    out.dw_ = out.w_ * out.s_;
    out.dh_ = out.h_ * out.s_;
    const size_t n = size_t(out.dw_) * 3;
    if (out.dw_ == pixels.dw_) {
        // Whole rows: the pixels stay where they are, the rows past the last
        // whole logical row go.
        out.px_ = std::move(pixels.px_);
        out.px_.resize(n * out.dh_);
    } else {
        out.px_.resize(n * out.dh_);
        for (int y = 0; y < out.dh_; ++y) std::memcpy(out.row(y), pixels.row(y), n);
    }
    return out;
}

uint32_t Surface::getpixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return kInvalidColor;
    return packrgb(at(x, y));
}

void Surface::setpixel(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    if (s_ != 1) {
        paint(todevice(Rect{x, y, x + 1, y + 1}), c);
        return;
    }
    uint8_t* p = &px_[(size_t(y) * dw_ + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void Surface::paint(const Rect& d, Rgb c) {
    for (int y = d.top; y < d.bottom; ++y) {
        uint8_t* p = &px_[(size_t(y) * dw_ + d.left) * 3];
        for (int x = d.left; x < d.right; ++x, p += 3) {
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
}

void Surface::filldevice(const Rect& d, Rgb c) {
    if (d.width() <= kNarrow) {
        // Narrow: writing the pixels beats a copy call per row.
        paint(d, c);
        return;
    }
    // Wide: paint the first row, then copy it to the others.
    const uint8_t* first = row(d.top) + size_t(d.left) * 3;
    paint(Rect{d.left, d.top, d.right, d.top + 1}, c);
    const size_t n = size_t(d.width()) * 3;
    for (int y = d.top + 1; y < d.bottom; ++y) std::memcpy(row(y) + size_t(d.left) * 3, first, n);
}

void Surface::fillrect(const Rect& r0, Rgb c) {
    const Rect r = intersect(r0, bounds());
    if (r.empty()) return;
    filldevice(todevice(r), c);
}

void Surface::stroke(Point a, Point b, Rgb c, int width, bool cap) {
    // Bresenham's algorithm with its textbook decision variable: the minor
    // coordinate steps only when the true line has passed the midpoint, so a
    // tie stays on the row (or column) nearer the start. After as many steps
    // as the longer side the path arrives at b exactly. It stops short of b,
    // so a 1-pixel polyline does not paint its joints twice, unless the cap is
    // asked for: then b is painted too, with the pen's square.
    const int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    const int w = std::max(width, 1), half = w / 2;
    const bool xmajor = dx >= dy;
    const int major = xmajor ? dx : dy, minor = xmajor ? dy : dx;
    const int n = major + (cap ? 1 : 0);  // pixels to paint
    // The pixels between two steps of the minor coordinate form a run along
    // one row (or column), and the squares painted at a run's pixels make up
    // one rectangle: the pen paints run by run. A steep or flat curve drawn
    // as short segments is a few runs each.
    auto run = [&](Point from, Point to) {
        const Rect r{std::min(from.x, to.x) - half, std::min(from.y, to.y) - half,
                     std::max(from.x, to.x) - half + w, std::max(from.y, to.y) - half + w};
        // Short runs inside the surface, the common case, skip clipping.
        if (r.width() * s_ <= kNarrow && r.left >= 0 && r.top >= 0 && r.right <= w_ &&
            r.bottom <= h_)
            paint(todevice(r), c);
        else
            fillrect(r, c);
    };
    const Point along = xmajor ? Point{sx, 0} : Point{0, sy};
    const Point across = xmajor ? Point{0, sy} : Point{sx, 0};
    // A straight line is one run, from a to its last painted pixel.
    if (minor == 0) {
        if (n > 0) run(a, Point{a.x + (n - 1) * along.x, a.y + (n - 1) * along.y});
        return;
    }
    Point p = a, start = a;
    int d = 2 * minor - major;
    for (int i = 1; i <= n; ++i) {
        Point next{p.x + along.x, p.y + along.y};
        const bool turn = d > 0;
        if (turn) {
            next.x += across.x;
            next.y += across.y;
            d -= 2 * major;
        }
        d += 2 * minor;
        if (turn || i == n) {
            run(start, p);
            start = next;
        }
        p = next;
    }
}

void Surface::polyline(const Point* pts, int count, Rgb c, int width) {
    // With a wide pen every segment is capped, but each cap before the last
    // is the square that the next segment paints first at the same point
    // (after segments without length, the next segment that has one, or the
    // last segment's cap): only the last cap adds pixels.
    for (int i = 1; i < count; ++i)
        stroke(pts[i - 1], pts[i], c, width, width > 1 && i == count - 1);
    if (count > 0) pos_ = pts[count - 1];
}

void Surface::blit(int dx, int dy, int w, int h, const Surface& src, int sx, int sy) {
    // Clip the source block to the source, then the destination block to the
    // destination, moving the other side by the same amount.
    if (w <= 0 || h <= 0) return;
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    w = std::min({w, src.w_ - sx, w_ - dx});
    h = std::min({h, src.h_ - sy, h_ - dy});
    if (w <= 0 || h <= 0) return;
    const size_t n = size_t(w) * s_ * 3;  // bytes of a device row
    if (src.s_ == s_) {
        // The same scale: device rows to device rows. The source may be this
        // surface itself: a block moved down then copies its rows from the
        // bottom up, so that none is read after it was overwritten.
        const int rows = h * s_;
        const bool up = &src == this && dy > sy;
        const int first = up ? rows - 1 : 0;
        const ptrdiff_t dstep = up ? -stride() : stride(),
                        sstep = up ? -src.stride() : src.stride();
        uint8_t* d = row(dy * s_ + first) + size_t(dx) * s_ * 3;
        const uint8_t* p = src.row(sy * s_ + first) + size_t(sx) * s_ * 3;
        for (int y = 0; y < rows; ++y, d += dstep, p += sstep) std::memmove(d, p, n);
        return;
    }
    // Another scale: each logical pixel of the source fills its block. The
    // first device row of a block row is written pixel by pixel, the others
    // copy it.
    for (int y = 0; y < h; ++y) {
        uint8_t* first = row((dy + y) * s_) + size_t(dx) * s_ * 3;
        uint8_t* p = first;
        for (int x = 0; x < w; ++x) {
            const Rgb c = src.at(sx + x, sy + y);
            for (int k = 0; k < s_; ++k, p += 3) p[0] = c.r, p[1] = c.g, p[2] = c.b;
        }
        for (int k = 1; k < s_; ++k)
            std::memcpy(row((dy + y) * s_ + k) + size_t(dx) * s_ * 3, first, n);
    }
}

}  // namespace shell
