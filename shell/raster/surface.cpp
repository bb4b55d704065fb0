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

Surface::Surface(int width, int height, Rgb fill)
    : w_(std::max(width, 0)), h_(std::max(height, 0)), px_(size_t(w_) * h_ * 3) {
    if (fill != Rgb{}) this->fill(fill);
}

uint32_t Surface::getpixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return kInvalidColor;
    return packrgb(at(x, y));
}

void Surface::setpixel(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    uint8_t* p = &px_[(size_t(y) * w_ + x) * 3];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void Surface::paint(const Rect& r, Rgb c) {
    for (int y = r.top; y < r.bottom; ++y) {
        uint8_t* p = &px_[(size_t(y) * w_ + r.left) * 3];
        for (int x = r.left; x < r.right; ++x, p += 3) {
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
}

void Surface::fillrect(const Rect& r0, Rgb c) {
    Rect r = intersect(r0, bounds());
    if (r.empty()) return;
    if (r.width() <= kNarrow) {
        // Narrow: writing the pixels beats a copy call per row.
        paint(r, c);
        return;
    }
    // Wide: paint the first row, then copy it to the others.
    uint8_t* first = &px_[(size_t(r.top) * w_ + r.left) * 3];
    paint(Rect{r.left, r.top, r.right, r.top + 1}, c);
    const size_t n = size_t(r.width()) * 3;
    for (int y = r.top + 1; y < r.bottom; ++y)
        std::memcpy(&px_[(size_t(y) * w_ + r.left) * 3], first, n);
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
        if (r.width() <= kNarrow && r.left >= 0 && r.top >= 0 && r.right <= w_ && r.bottom <= h_)
            paint(r, c);
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
    const size_t n = size_t(w) * 3;
    for (int row = 0; row < h; ++row) {
        const uint8_t* s = &src.px_[(size_t(sy + row) * src.w_ + sx) * 3];
        uint8_t* d = &px_[(size_t(dy + row) * w_ + dx) * 3];
        std::memmove(d, s, n);
    }
}

}  // namespace shell
