// Sections: drawing kit (coverage masks, arrows, plots); the program's curves
// as columns; the three pictures.
#include "huewright/art/helpart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "huewright/model/curvetypes.h"
#include "huewright/model/model.h"
#include "shell/raster/font.h"

namespace huewright {

using shell::Rgb;
using shell::Surface;

namespace {

// ---------------------------------------------------------------- drawing kit

// The curve colours of the main window, with the blue lifted a little: a
// thin pure blue line almost vanishes on black at this size.
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{40, 90, 255};
constexpr Rgb kGreen{80, 192, 0};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kMagenta{255, 128, 255};
constexpr Rgb kPolygon{140, 140, 140};
constexpr Rgb kFrame{80, 80, 80};
constexpr Rgb kGuide{110, 110, 110};
constexpr Rgb kDim{120, 40, 40};
constexpr Rgb kTitle{0, 192, 255};  // the main window's text colour
constexpr Rgb kLabel{215, 215, 215};

constexpr double kCurveWidth = 2.0;
constexpr double kThin = 1.0;

struct P {
    double x, y;
};

// How much of each pixel one stroke covers, so that a stroke blends once
// even where its pieces overlap (at the joints of a curve, say). Strokes are
// given in the picture's logical pixels and cover its device pixels: at
// scale n every coordinate and width is n times as many device pixels, so
// the picture is drawn at its scale rather than blown up.
class Ink {
  public:
    explicit Ink(const Surface& s)
        : n_(s.scale()),
          w_(s.devicewidth()),
          h_(s.deviceheight()),
          a_(size_t(w_) * size_t(h_), 0.f) {}

    // A line of the given width with round ends, antialiased by distance.
    void segment(P a, P b, double width) { devicesegment(device(a), device(b), width * n_); }

    void path(const std::vector<P>& pts, double width) {
        for (size_t i = 1; i < pts.size(); ++i) segment(pts[i - 1], pts[i], width);
    }

    // Dashes along a straight line, for guides.
    void dashed(P a, P b, double width, double dash = 4, double gap = 3) {
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len <= 0) return;
        const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
        for (double s = 0; s < len; s += dash + gap) {
            const double e = std::min(len, s + dash);
            segment(P{a.x + ux * s, a.y + uy * s}, P{a.x + ux * e, a.y + uy * e}, width);
        }
    }

    // A filled triangle, its coverage taken from 4 x 4 samples a pixel.
    void triangle(P a, P b, P c) { devicetriangle(device(a), device(b), device(c)); }

    // An arrow from a to its tip b: a shaft and a head of the given length.
    void arrow(P a, P b, double head = 6) {
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len <= 0) return;
        const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
        const P base{b.x - ux * head, b.y - uy * head};
        segment(a, P{base.x + ux, base.y + uy}, 1.4);
        const double half = head * 0.5;
        triangle(b, P{base.x - uy * half, base.y + ux * half},
                 P{base.x + uy * half, base.y - ux * half});
    }

    // The solid square marker the curve display uses for a control point,
    // here 7 pixels across, centred on p.
    void marker(P p) {
        const int cx = int(std::floor(p.x)), cy = int(std::floor(p.y));
        for (int y = (cy - 3) * n_; y < (cy + 4) * n_; ++y)
            for (int x = (cx - 3) * n_; x < (cx + 4) * n_; ++x) cover(x, y, 1);
    }

    // Blends the colour over the surface with the coverage, and starts afresh.
    void paint(Surface& s, Rgb c) {
        for (int y = 0; y < h_; ++y) {
            uint8_t* row = s.row(y);
            for (int x = 0; x < w_; ++x) {
                float& a = a_[size_t(y) * size_t(w_) + size_t(x)];
                if (a <= 0) continue;
                const auto mix = [a](uint8_t under, uint8_t over) {
                    return uint8_t(std::lround(under + (over - under) * double(a)));
                };
                uint8_t* p = row + size_t(x) * 3;
                p[0] = mix(p[0], c.r), p[1] = mix(p[1], c.g), p[2] = mix(p[2], c.b);
                a = 0;
            }
        }
    }

  private:
    P device(P p) const { return P{p.x * n_, p.y * n_}; }

    void devicesegment(P a, P b, double width) {
        const double r = width / 2;
        const int x0 = int(std::floor(std::min(a.x, b.x) - r - 1));
        const int x1 = int(std::ceil(std::max(a.x, b.x) + r + 1));
        const int y0 = int(std::floor(std::min(a.y, b.y) - r - 1));
        const int y1 = int(std::ceil(std::max(a.y, b.y) + r + 1));
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        for (int y = std::max(0, y0); y <= std::min(h_ - 1, y1); ++y)
            for (int x = std::max(0, x0); x <= std::min(w_ - 1, x1); ++x) {
                const double px = x + 0.5 - a.x, py = y + 0.5 - a.y;
                const double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0;
                const double d = std::hypot(px - t * dx, py - t * dy);
                cover(x, y, r + 0.5 - d);
            }
    }

    void devicetriangle(P a, P b, P c) {
        const auto edge = [](P p, P q, double x, double y) {
            return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x);
        };
        const double area = edge(a, b, c.x, c.y);
        if (area == 0) return;
        const int x0 = int(std::floor(std::min({a.x, b.x, c.x})));
        const int x1 = int(std::ceil(std::max({a.x, b.x, c.x})));
        const int y0 = int(std::floor(std::min({a.y, b.y, c.y})));
        const int y1 = int(std::ceil(std::max({a.y, b.y, c.y})));
        for (int y = std::max(0, y0); y <= std::min(h_ - 1, y1); ++y)
            for (int x = std::max(0, x0); x <= std::min(w_ - 1, x1); ++x) {
                int inside = 0;
                for (int sy = 0; sy < 4; ++sy)
                    for (int sx = 0; sx < 4; ++sx) {
                        const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
                        const double e0 = edge(a, b, px, py) * area;
                        const double e1 = edge(b, c, px, py) * area;
                        const double e2 = edge(c, a, px, py) * area;
                        if (e0 >= 0 && e1 >= 0 && e2 >= 0) ++inside;
                    }
                cover(x, y, inside / 16.0);
            }
    }

    void cover(int x, int y, double a) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || a <= 0) return;
        float& v = a_[size_t(y) * size_t(w_) + size_t(x)];
        v = std::max(v, float(std::min(1.0, a)));
    }

    int n_, w_, h_;
    std::vector<float> a_;
};

// The area a panel plots palette index 0 ... 255 across and value 0 ... 255
// up, as the curve display does at full size.
struct Plot {
    double left, top, width, height;
    double x(double i) const { return left + i * width / 255; }
    double y(double v) const { return top + height - v * height / 255; }
    P at(double i, double v) const { return P{x(i), y(v)}; }
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

using Column = std::array<uint8_t, 256>;

std::vector<P> curvepoints(const Plot& p, const Column& c) {
    std::vector<P> pts(256);
    for (int i = 0; i < 256; ++i) pts[size_t(i)] = p.at(i, c[size_t(i)]);
    return pts;
}

// A dim frame around a plot, a few pixels outside it, like the outline of
// the curve display.
void frame(Surface& s, const Plot& p) {
    const int l = int(std::floor(p.left)) - 3, t = int(std::floor(p.top)) - 3;
    const int r = int(std::ceil(p.right())) + 3, b = int(std::ceil(p.bottom())) + 3;
    const shell::Point pts[5] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
    s.polyline(pts, 5, kFrame);
}

// The fonts of the pictures: the program's own face, a little smaller than
// in the window for titles and smaller again for labels.
struct Fonts {
    shell::Font title{16};
    shell::Font label{13};
};

void title(Surface& s, const Fonts& f, int x, const char* text) {
    f.title.draw(s, x, 1, text, kTitle);
}
void label(Surface& s, const Fonts& f, double x, double y, const std::string& text, Rgb c) {
    f.label.draw(s, int(std::lround(x)), int(std::lround(y)), text, c);
}
int labelwidth(const Fonts& f, const std::string& text) {
    return f.label.textwidth(text);
}

// ---------------------------------------------------------------- the curves

// The program's own curve functions, run on a model of their own, so the
// pictures show the very columns a channel gets.
class Curves {
  public:
    Curves() {
        m_.calcsine();
        m_.cndx = 0;
    }
    Column sine(int sp, int xsh, int amp, int ysh) {
        Parameters ps = startupparameters[0];
        ps.ct = curvenumber(CurveType::sine);
        ps.sp = sp;
        ps.xsh = xsh;
        ps.amp = amp;
        ps.ysh = ysh;
        m_.sinecolumn(ps);
        return column();
    }
    Column arc(int anchor, int vertex) {
        m_.calcarc(anchor, vertex);
        Column c;
        std::copy(std::begin(m_.arctable), std::end(m_.arctable), c.begin());
        return c;
    }
    Column line(int Ln, int L0, int L255, int Lmx, int Lmy) {
        m_.calcline(Ln, L0, L255, Lmx, Lmy);
        return column();
    }
    static Column bezier(int bd, int b0, int b255, int c1x, int c1y, int c2x, int c2y) {
        Column c;
        beziercolumn(bd, b0, b255, c1x, c1y, c2x, c2y, 0, c.data());
        return c;
    }

  private:
    Column column() const {
        Column c;
        for (int i = 0; i < 256; ++i) c[size_t(i)] = m_.palette[size_t(i)][0];
        return c;
    }
    Model m_;
};

// The line between the anchors of an arc, two pixel rows thick on whole rows
// so that it stays crisp.
void chord(Ink& ink, const Plot& p, int anchor) {
    const double y = std::round(p.y(anchor));
    ink.segment(P{p.left, y}, P{p.right(), y}, 2.0);
}

// Two words under a plot, each in the colour of its curve: a legend.
void legend(Surface& s, const Fonts& f, const Plot& p, const char* left, Rgb lc, const char* right,
            Rgb rc) {
    const double y = p.bottom() + 5;
    label(s, f, p.left, y, left, lc);
    label(s, f, p.right() - labelwidth(f, right), y, right, rc);
}

}  // namespace

// ---------------------------------------------------------------- the pictures

Surface makehelpbitmap1(int scale) {
    Surface s(helpbitmap1width, helpbitmapheight, Rgb{}, scale);
    Ink ink(s);
    Fonts f;
    Curves curves;
    constexpr int panel = helpbitmap1visible / 3;

    // X shift: the same curve twice, the second shifted by 64 along the
    // index axis. The yellow point sits where the curve display puts the
    // shift point, at the shift on the middle line; the arrow under the plot
    // runs along the index axis from the first curve's lowest point to the
    // second's.
    {
        const Plot p{10, 24, 122, 100};
        constexpr int shift = 64;
        frame(s, p);
        title(s, f, 6, "X Shift");
        ink.dashed(p.at(shift, 128), P{p.x(shift), p.bottom() + 8}, kThin);
        ink.paint(s, kGuide);
        ink.path(curvepoints(p, curves.sine(1, 0, 255, 0)), kCurveWidth);
        ink.paint(s, kRed);
        ink.path(curvepoints(p, curves.sine(1, shift, 255, 0)), kCurveWidth);
        ink.paint(s, kBlue);
        ink.marker(p.at(shift, 128));
        ink.paint(s, kYellow);
        const double ay = p.bottom() + 12;
        ink.arrow(P{p.x(0), ay}, P{p.x(shift), ay});
        ink.paint(s, kYellow);
        label(s, f, p.x(shift) + 6, ay - 8, "shift", kLabel);
    }

    // Phase: one period across the palette against two.
    {
        const Plot p{panel + 10, 24, 122, 100};
        frame(s, p);
        title(s, f, panel + 6, "Phase");
        ink.path(curvepoints(p, curves.sine(1, 0, 255, 0)), kCurveWidth);
        ink.paint(s, kRed);
        ink.path(curvepoints(p, curves.sine(2, 0, 255, 0)), kCurveWidth);
        ink.paint(s, kBlue);
        legend(s, f, p, "phase 1", kRed, "phase 2", kBlue);
    }

    // Amplitude and Y shift: a curve of lower amplitude (the dim one) moved
    // up. The Y shift arrow rises from 0 to the floor of the moved curve; the
    // amplitude arrow spans the curve's height at its peak.
    {
        const Plot p{2 * panel + 10, 24, 122, 100};
        constexpr int amp = 150, ysh = 60;
        frame(s, p);
        title(s, f, 2 * panel + 6, "Amplitude, Y Shift");
        ink.dashed(p.at(0, ysh), p.at(255, ysh), kThin);
        ink.paint(s, kGuide);
        ink.path(curvepoints(p, curves.sine(1, 0, amp, 0)), kThin);
        ink.paint(s, kDim);
        const Column moved = curves.sine(1, 0, amp, ysh);
        ink.path(curvepoints(p, moved), kCurveWidth);
        ink.paint(s, kRed);
        const int peak = int(*std::max_element(moved.begin(), moved.end()));
        ink.arrow(p.at(14, 0), p.at(14, ysh), 5);
        ink.arrow(p.at(128, ysh + (peak - ysh) / 2), p.at(128, ysh), 5);
        ink.arrow(p.at(128, ysh + (peak - ysh) / 2), p.at(128, peak), 5);
        ink.paint(s, kYellow);
        label(s, f, p.x(14) + 6, p.y(ysh / 2.0) - 7, "Y shift", kLabel);
        const char* a = "amplitude";
        label(s, f, p.x(128) - labelwidth(f, a) / 2.0, p.top - 1, a, kLabel);
    }
    return s;
}

Surface makehelpbitmap2(int scale) {
    Surface s(helpbitmap2width, helpbitmapheight, Rgb{}, scale);
    Ink ink(s);
    Fonts f;
    Curves curves;
    constexpr int panel = helpbitmap2visible / 2;

    // A circle: the upper arc (red) and the lower arc (blue) share their
    // anchors at 128 and reach 255 and 0, a half circle each. The plot is
    // square so that the circle is round.
    {
        const Plot p{22, 26, 100, 100};
        constexpr int anchor = 128;
        frame(s, p);
        title(s, f, 6, "Arc");
        chord(ink, p, anchor);
        ink.paint(s, kGreen);
        ink.path(curvepoints(p, curves.arc(anchor, 255)), kCurveWidth);
        ink.paint(s, kRed);
        ink.path(curvepoints(p, curves.arc(anchor, 0)), kCurveWidth);
        ink.paint(s, kBlue);
        for (P m : {p.at(0, anchor), p.at(255, anchor), p.at(127.5, 255), p.at(127.5, 0)})
            ink.marker(m);
        ink.paint(s, kYellow);
        const char* anchors = "anchors";
        label(s, f, p.x(127.5) - labelwidth(f, anchors) / 2.0, p.y(anchor) - 17, anchors, kLabel);
        label(s, f, p.x(127.5) + 7, p.top - 17, "vertex", kLabel);
        label(s, f, p.x(127.5) + 7, p.bottom() + 4, "vertex", kLabel);
    }

    // Two arcs from the same anchors: vertex 224 lies more than 128 above
    // them, so that arc is stretched to fit; vertex 96 is a plain arc.
    {
        const Plot p{panel + 32, 26, 100, 100};
        constexpr int anchor = 32;
        constexpr int high = 224, low = 96;
        frame(s, p);
        title(s, f, panel + 6, "Vertex");
        ink.dashed(P{p.left - 4, p.y(high)}, p.at(127.5, high), kThin);
        ink.dashed(P{p.left - 4, p.y(low)}, p.at(127.5, low), kThin);
        ink.paint(s, kGuide);
        chord(ink, p, anchor);
        ink.paint(s, kGreen);
        ink.path(curvepoints(p, curves.arc(anchor, high)), kCurveWidth);
        ink.paint(s, kRed);
        ink.path(curvepoints(p, curves.arc(anchor, low)), kCurveWidth);
        ink.paint(s, kBlue);
        for (P m : {p.at(0, anchor), p.at(255, anchor), p.at(127.5, high), p.at(127.5, low)})
            ink.marker(m);
        ink.paint(s, kYellow);
        const auto number = [&](int v, Rgb c) {
            const std::string t = std::to_string(v);
            label(s, f, p.left - 8 - labelwidth(f, t), p.y(v) - 7, t, c);
        };
        number(high, kRed);
        number(low, kBlue);
    }
    return s;
}

Surface makehelpbitmap3(int scale) {
    Surface s(helpbitmap2width, helpbitmapheight, Rgb{}, scale);
    Ink ink(s);
    Fonts f;
    Curves curves;
    constexpr int panel = helpbitmap2visible / 2;

    // Bezier: a quadratic curve (red, one control point) and a cubic one
    // (blue, two), each with its control polygon from end to end.
    {
        const Plot p{10, 24, 122, 100};
        frame(s, p);
        title(s, f, 6, "Bezier");
        struct Curve {
            int bd, b0, b255, c1x, c1y, c2x, c2y;
        };
        // Chosen so that the two control polygons do not cross.
        const Curve quad{0, 10, 20, 70, 170, 0, 0};
        const Curve cubic{1, 200, 235, 100, 255, 170, 120};
        ink.path({p.at(0, quad.b0), p.at(quad.c1x, quad.c1y), p.at(255, quad.b255)}, kThin);
        ink.path({p.at(0, cubic.b0), p.at(cubic.c1x, cubic.c1y), p.at(cubic.c2x, cubic.c2y),
                  p.at(255, cubic.b255)},
                 kThin);
        ink.paint(s, kPolygon);
        for (const Curve* c : {&quad, &cubic}) {
            ink.path(curvepoints(
                         p, Curves::bezier(c->bd, c->b0, c->b255, c->c1x, c->c1y, c->c2x, c->c2y)),
                     kCurveWidth);
            ink.paint(s, c == &quad ? kRed : kBlue);
        }
        ink.marker(p.at(quad.c1x, quad.c1y));
        ink.marker(p.at(cubic.c1x, cubic.c1y));
        ink.paint(s, kYellow);
        ink.marker(p.at(cubic.c2x, cubic.c2y));
        ink.paint(s, kMagenta);
        legend(s, f, p, "quadratic", kRed, "cubic", kBlue);
    }

    // Line: one segment from end to end (red) and two segments through a
    // middle point (blue).
    {
        const Plot p{panel + 10, 24, 122, 100};
        constexpr int mx = 100, my = 40;
        frame(s, p);
        title(s, f, panel + 6, "Line");
        ink.path(curvepoints(p, curves.line(1, 30, 215, 128, 128)), kCurveWidth);
        ink.paint(s, kRed);
        ink.path(curvepoints(p, curves.line(2, 235, 170, mx, my)), kCurveWidth);
        ink.paint(s, kBlue);
        ink.marker(p.at(mx, my));
        ink.paint(s, kYellow);
        legend(s, f, p, "1 segment", kRed, "2 segments", kBlue);
    }
    return s;
}

Surface makehelpbitmap(int n, int scale) {
    switch (n) {
        case 1:
            return makehelpbitmap1(scale);
        case 2:
            return makehelpbitmap2(scale);
        default:
            return makehelpbitmap3(scale);
    }
}

}  // namespace huewright
