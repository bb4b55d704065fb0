// A 24-bit RGB raster and the drawing operations the three programs use.
//
// Every operation clips against the surface first, returns early when nothing
// is left to draw, and then runs a plain inner loop. Coordinates are pixels,
// x to the right and y downwards; rectangles are half-open.
//
// A surface has a scale: a whole number N of device pixels to a logical pixel
// in each direction. The programs draw in logical pixels, and every drawing
// operation turns them into device pixels sharply: a logical pixel is an
// N x N block, so a surface at scale N holds the picture drawn at scale 1
// blown up N times, except for text, which is rendered at N times its size.
// At scale 1 the two kinds of pixel are the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace shell {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
    friend bool operator!=(Rgb a, Rgb b) { return !(a == b); }
};

// Packed colour: red in the low byte, green in the next, blue in the third.
constexpr uint32_t packrgb(Rgb c) {
    return c.r | (uint32_t(c.g) << 8) | (uint32_t(c.b) << 16);
}
constexpr Rgb unpackrgb(uint32_t v) {
    return Rgb{uint8_t(v & 0xff), uint8_t((v >> 8) & 0xff), uint8_t((v >> 16) & 0xff)};
}
// What getpixel returns for a point outside the surface.
constexpr uint32_t kInvalidColor = 0xFFFFFFFFu;

struct Point {
    int x = 0, y = 0;
};

// left <= x < right, top <= y < bottom.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    // The left and top edges belong to the rectangle, the right and bottom
    // ones do not.
    bool contains(int x, int y) const { return left <= x && x < right && top <= y && y < bottom; }
    bool contains(Point p) const { return contains(p.x, p.y); }
    friend bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

Rect intersect(const Rect& a, const Rect& b);
// The smallest rectangle holding both; an empty side is ignored.
Rect unite(const Rect& a, const Rect& b);

// The logical coordinate of device coordinate v at `scale`: the logical
// pixel the device pixel lies in. It rounds down, also left of and above
// the origin, so that every device pixel of a logical pixel maps to it.
constexpr int tological(int v, int scale) {
    return v >= 0 ? v / scale : -((-v + scale - 1) / scale);
}
// The logical pixels that a device rectangle touches.
Rect tological(const Rect& device, int scale);

// Pixel storage starts on a 64-byte boundary in every surface. A full-width
// copy between two surfaces then never has its destination 1 to 31 bytes
// (modulo 4096) past its source, a distance at which the string-move
// instruction that memmove uses for long rows runs about fifteen times slower
// on some processors (measured: a 1024 x 768 copy took 1 ms instead of 75 us).
template <class T>
struct CacheLineAllocator {
    using value_type = T;
    static constexpr std::align_val_t kAlign{64};
    CacheLineAllocator() = default;
    template <class U>
    CacheLineAllocator(const CacheLineAllocator<U>&) {}
    T* allocate(size_t n) { return static_cast<T*>(::operator new(n * sizeof(T), kAlign)); }
    void deallocate(T* p, size_t) { ::operator delete(p, kAlign); }
    friend bool operator==(const CacheLineAllocator&, const CacheLineAllocator&) { return true; }
    friend bool operator!=(const CacheLineAllocator&, const CacheLineAllocator&) { return false; }
};

class Surface {
  public:
    // The largest scale a surface takes; larger ones are cut down to it.
    static constexpr int kMaxScale = 8;

    Surface() = default;
    // width x height logical pixels at `scale` (at least 1).
    Surface(int width, int height, Rgb fill = Rgb{}, int scale = 1);
    // A surface at `scale` whose device pixels are those of `pixels`: a
    // picture made pixel by pixel at `scale` times its logical size, as
    // artwork generated for a high-density screen is. Its logical size is
    // pixels' device size divided by the scale; device columns and rows past
    // a whole logical pixel are dropped.
    static Surface fromdevice(Surface pixels, int scale);

    // ---- Logical pixels: what the programs draw with.
    int width() const { return w_; }
    int height() const { return h_; }
    Rect bounds() const { return Rect{0, 0, w_, h_}; }
    int scale() const { return s_; }

    // Unchecked read of a pixel known to be inside: the top-left device
    // pixel of its block.
    Rgb at(int x, int y) const {
        const uint8_t* p = &px_[(size_t(y) * dw_ + x) * s_ * 3];
        return Rgb{p[0], p[1], p[2]};
    }
    // Packed colour of the block's top-left device pixel, or kInvalidColor
    // outside the surface.
    uint32_t getpixel(int x, int y) const;
    // Paints the pixel's whole block; writing outside the surface is ignored.
    void setpixel(int x, int y, Rgb c);

    void fill(Rgb c) { fillrect(bounds(), c); }
    void fillrect(const Rect& r, Rgb c);

    // A line visits Bresenham's pixels from a up to, but not including, b; a
    // 1-pixel pen paints just those, so a line from a point to itself paints
    // nothing. A wider pen (w > 1) acts as a geometric pen with round end
    // caps: it paints, at every visited pixel, the w x w square whose
    // top-left is (x - w/2, y - w/2) (integer division: w 2 covers x - 1 ...
    // x, w 3 covers x - 1 ... x + 1), and caps the end with the same square at
    // b. So a wide line covers both of its ends, and a wide line from a point
    // to itself is one square. Pixels and pen widths are logical: at scale N
    // a 1-pixel pen is N device pixels wide.
    void line(Point a, Point b, Rgb c, int width = 1) { stroke(a, b, c, width, width > 1); }
    // The segments in order, each drawn as line() draws it: with a 1-pixel pen
    // the last point is not drawn (a closed outline paints its start once);
    // with a wider pen every join and the last point are covered.
    void polyline(const Point* pts, int count, Rgb c, int width = 1);
    // A pen position for code that draws step by step, like a plotter.
    void moveto(int x, int y) { pos_ = Point{x, y}; }
    void lineto(int x, int y, Rgb c, int width = 1) {
        line(pos_, Point{x, y}, c, width);
        pos_ = Point{x, y};
    }
    Point position() const { return pos_; }

    // Copies the w x h block at (sx, sy) of src to (dx, dy), clipped to both.
    // From a source of the same scale the device pixels are copied, so a
    // picture made at the scale (see fromdevice) stays sharp; from a source
    // of another scale each logical pixel fills its block.
    void blit(int dx, int dy, int w, int h, const Surface& src, int sx, int sy);

    // ---- Device pixels: for the hosts and for code that writes pixels
    // itself. 3 bytes a pixel (r, g, b), rows top to bottom, no padding.
    int devicewidth() const { return dw_; }
    int deviceheight() const { return dh_; }
    const uint8_t* data() const { return px_.data(); }
    uint8_t* data() { return px_.data(); }
    int stride() const { return dw_ * 3; }
    // The first pixel of device row y.
    const uint8_t* row(int y) const { return px_.data() + size_t(y) * dw_ * 3; }
    uint8_t* row(int y) { return px_.data() + size_t(y) * dw_ * 3; }
    // The device pixels of a logical rectangle.
    Rect todevice(const Rect& r) const {
        return Rect{r.left * s_, r.top * s_, r.right * s_, r.bottom * s_};
    }

  private:
    // Device rectangles at most this wide are filled pixel by pixel.
    static constexpr int kNarrow = 16;
    // Writes every pixel of the device rectangle d, which must lie inside.
    void paint(const Rect& d, Rgb c);
    // Fills the device rectangle d, which must lie inside and not be empty.
    void filldevice(const Rect& d, Rgb c);
    // The line from a to b; a wide pen's cap at b only when `cap` is set.
    void stroke(Point a, Point b, Rgb c, int width, bool cap);

    int w_ = 0, h_ = 0, s_ = 1, dw_ = 0, dh_ = 0;
    std::vector<uint8_t, CacheLineAllocator<uint8_t>> px_;
    Point pos_{};
};

// Runs draw(d) on the device pixels of s as a surface d of scale 1 and of
// s's device size, then gives them back to s; nothing is copied. Artwork
// made from its geometry uses it to draw pixel by pixel at the device's
// resolution, coordinates multiplied by the scale.
template <class Draw>
void ondevice(Surface& s, Draw draw) {
    const int scale = s.scale();
    Surface d = Surface::fromdevice(std::move(s), 1);
    draw(d);
    s = Surface::fromdevice(std::move(d), scale);
}

}  // namespace shell
