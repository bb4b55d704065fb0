#include "artwork.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "layout.h"
#include "shell/raster/font.h"
#include "shell/raster/paint.h"

namespace knotloom {

using shell::Rgb;
using shell::Surface;

namespace {

using shell::blend;
using shell::hsv;
using shell::mixrgb;

// Text colour of the interface font, used for the banner's lettering too.
constexpr Rgb kInk{0, 192, 255};
// Box frames and labels take their channel's colour; the command boxes share
// the interface colour.
constexpr Rgb kBoxInk[6] = {{255, 64, 48}, {64, 208, 104}, {40, 144, 255},
                            {0, 192, 255}, {0, 192, 255},  {0, 192, 255}};

// Every background colour of the banner has no red at all, so a click on the
// logo or the wheel can be told from one beside them.
Rgb backgroundat(double f) {
    return Rgb{0, uint8_t(22 - 16 * f), uint8_t(44 - 32 * f)};
}
Rgb background(int y) {
    return backgroundat(double(y) / (kBannerHeight - 1));
}

// Coverage of a pixel by a stroke whose centre line is `dist` away.
double strokecoverage(double dist, double width) {
    return std::clamp(width / 2 + 0.5 - dist, 0.0, 1.0);
}

// The offset from (px, py) to the nearest point of the segment from a to b,
// and how far along the segment that point lies (0 ... 1).
void segmentoffset(double px, double py, double ax, double ay, double bx, double by, double& dx,
                   double& dy, double& along) {
    double vx = bx - ax, vy = by - ay;
    double len2 = vx * vx + vy * vy;
    double u = len2 > 0 ? std::clamp(((px - ax) * vx + (py - ay) * vy) / len2, 0.0, 1.0) : 0.0;
    along = u;
    dx = px - (ax + u * vx);
    dy = py - (ay + u * vy);
}

struct P {
    double x, y;
};

// An anti-aliased stroke along a polyline, each pixel blended once with the
// colour of the nearest point of the line (t runs 0 … 1 along it).
template <class ColourAt>
void stroke(Surface& s, const std::vector<P>& pts, double width, ColourAt colourat) {
    double l = 1e9, t = 1e9, r = -1e9, b = -1e9;
    for (const P& p : pts) {
        l = std::min(l, p.x), t = std::min(t, p.y), r = std::max(r, p.x), b = std::max(b, p.y);
    }
    int pad = int(width) + 2;
    for (int y = int(t) - pad; y <= int(b) + pad; ++y)
        for (int x = int(l) - pad; x <= int(r) + pad; ++x) {
            // The nearest segment is found by squared distance, and only its
            // distance is taken: every pixel of an icon or the banner's logo
            // box visits every segment, and this keeps start-up cheap.
            double best2 = 1e18, bestdx = 0, bestdy = 0, bestt = 0;
            for (size_t i = 1; i < pts.size(); ++i) {
                double dx, dy, u;
                segmentoffset(x + 0.5, y + 0.5, pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y, dx,
                              dy, u);
                const double d2 = dx * dx + dy * dy;
                if (d2 < best2) {
                    best2 = d2, bestdx = dx, bestdy = dy;
                    bestt = (double(i - 1) + u) / double(pts.size() - 1);
                }
            }
            blend(s, x, y, colourat(bestt), strokecoverage(std::hypot(bestdx, bestdy), width));
        }
}

// The logo: a ring with a smooth curve running through four knots, the
// program's idea in one picture. The knots are laid out for the banner's ring
// of radius 34 and scaled by `unit`; rings and curves are `pen` wide. All of
// these are in the pixels of `s`, of which `scale` make a logical pixel.
void drawlogo(Surface& s, double cx, double cy, double radius, double unit, double pen,
              int scale = 1) {
    std::vector<P> ring;
    for (int i = 0; i <= 96; ++i) {
        double a = 2 * M_PI * i / 96;
        ring.push_back(P{cx + radius * std::cos(a), cy + radius * std::sin(a)});
    }
    stroke(s, ring, pen, [](double) { return Rgb{255, 128, 0}; });

    // A curve through four points, sampled from a smooth interpolant.
    const P knots[4] = {{cx - 24 * unit, cy + 10 * unit},
                        {cx - 8 * unit, cy - 16 * unit},
                        {cx + 8 * unit, cy + 14 * unit},
                        {cx + 24 * unit, cy - 10 * unit}};
    std::vector<P> curve;
    for (int i = 0; i <= 60; ++i) {
        double u = 3.0 * i / 60;
        int seg = std::min(int(u), 2);
        double f = u - seg;
        // Cubic Hermite segments with Catmull-Rom tangents.
        auto knot = [&](int k) { return knots[std::clamp(k, 0, 3)]; };
        P p0 = knot(seg), p1 = knot(seg + 1);
        P m0{(knot(seg + 1).x - knot(seg - 1).x) / 2, (knot(seg + 1).y - knot(seg - 1).y) / 2};
        P m1{(knot(seg + 2).x - knot(seg).x) / 2, (knot(seg + 2).y - knot(seg).y) / 2};
        double h00 = 2 * f * f * f - 3 * f * f + 1, h10 = f * f * f - 2 * f * f + f;
        double h01 = -2 * f * f * f + 3 * f * f, h11 = f * f * f - f * f;
        curve.push_back(P{h00 * p0.x + h10 * m0.x + h01 * p1.x + h11 * m1.x,
                          h00 * p0.y + h10 * m0.y + h01 * p1.y + h11 * m1.y});
    }
    stroke(s, curve, pen, [](double t) { return mixrgb(Rgb{255, 40, 40}, Rgb{255, 220, 40}, t); });
    // White dots on the knots, half a logical pixel wider than the pen.
    const double dot = pen + 0.5 * scale;
    const int reach = int(std::ceil(dot + 1.5));
    for (const P& k : knots) {
        for (int y = int(k.y) - reach; y <= int(k.y) + reach; ++y)
            for (int x = int(k.x) - reach; x <= int(k.x) + reach; ++x) {
                double d = std::hypot(x + 0.5 - k.x, y + 0.5 - k.y);
                blend(s, x, y, Rgb{255, 255, 255}, std::clamp(dot - d, 0.0, 1.0));
            }
    }
}

// The colour wheel: hue around, white in the middle. Its blue-green side has
// no red at its rim, and the corners of its rectangle show the background.
// It is drawn in the pixels of `s`, of which `scale` make a logical pixel.
void drawwheel(Surface& s, int scale) {
    const int n = scale;
    const shell::Rect r = shell::Rect{click[box_wheel].left * n, click[box_wheel].top * n,
                                      click[box_wheel].right * n, click[box_wheel].bottom * n};
    const double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
    const double radius = std::min(r.width(), r.height()) / 2.0 - n;
    constexpr int kSub = 4;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx) {
                    double px = x + (sx + 0.5) / kSub, py = y + (sy + 0.5) / kSub;
                    if (std::hypot(px - cx, py - cy) <= radius) ++inside;
                }
            if (inside == 0) continue;
            double px = x + 0.5 - cx, py = y + 0.5 - cy;
            double hue = std::atan2(-py, px) * 180 / M_PI;
            double sat = std::min(1.0, std::hypot(px, py) / (radius - n));
            blend(s, x, y, hsv(hue, sat, 1.0), double(inside) / (kSub * kSub));
        }
}

void centredtext(Surface& s, const shell::Font& f, int cx, int y, const char* text, Rgb c) {
    f.draw(s, cx - f.textwidth(text) / 2, y, text, c);
}

}  // namespace

Surface makebanner(int scale) {
    Surface s(kBannerWidth, kBannerHeight, Rgb{}, scale);
    // What is shaded pixel by pixel is drawn from its geometry at the scale,
    // in device pixels: coordinates and sizes n times as large.
    const int n = s.scale();
    ondevice(s, [n](Surface& d) {
        for (int y = 0; y < kBannerHeight * n; ++y)
            d.fillrect(shell::Rect{0, y, kBannerWidth * n, y + 1},
                       backgroundat(double(y) / (kBannerHeight * n - 1)));
    });
    // A thin rule closes the banner off from the curve area below.
    s.fillrect(shell::Rect{0, kBannerHeight - 2, kBannerWidth, kBannerHeight - 1}, Rgb{0, 70, 96});

    shell::Font title(46), label(20), small(15);
    title.draw(s, 112, 22, "Xo B-Spline", kInk);
    label.draw(s, 116, 74, "Palette curves through", Rgb{160, 200, 220});
    label.draw(s, 116, 94, "points you place", Rgb{160, 200, 220});

    // Each box: a frame around a black 42 x 39 well that the selection marker
    // fills, with its label to the right. The well is black because the
    // window blanks it when the marker leaves.
    for (int i = 0; i < 6; ++i) {
        shell::Rect well{click[i].left, click[i].top, click[i].left + kCursorWidth,
                         click[i].top + kCursorHeight};
        shell::Rect outer{well.left - 4, well.top - 4, well.right + 4, well.bottom + 4};
        s.fillrect(outer, mixrgb(background(outer.top), kBoxInk[i], 0.8));
        s.fillrect(shell::Rect{outer.left + 2, outer.top + 2, outer.right - 2, outer.bottom - 2},
                   Rgb{});
        label.draw(s, well.right + 12, well.top + (kCursorHeight - label.cellheight()) / 2,
                   boxlabel[i], kBoxInk[i]);
    }

    const shell::Rect& logo = click[box_logo];
    ondevice(s, [&](Surface& d) {
        drawlogo(d, (logo.left + logo.right) / 2.0 * n, (logo.top + logo.bottom) / 2.0 * n,
                 (std::min(logo.width(), logo.height()) / 2.0 - 2.5) * n, 1.0 * n, 3.0 * n, n);
        drawwheel(d, n);
    });
    const shell::Rect& w = click[box_wheel];
    centredtext(s, small, (w.left + w.right) / 2, w.bottom + 3, "Invert", Rgb{140, 170, 190});
    const shell::Rect& l = click[box_logo];
    centredtext(s, small, (l.left + l.right) / 2, l.bottom + 1, "Polygon", Rgb{140, 170, 190});
    return s;
}

Surface makecursor(int scale) {
    Surface s(kCursorWidth, kCursorHeight, Rgb{}, scale);
    // Shaded at the scale, device pixel by device pixel: every size in
    // device pixels is n times its logical size.
    const int n = s.scale();
    ondevice(s, [n](Surface& dev) {
        const int width = kCursorWidth * n, height = kCursorHeight * n;
        // A lit key: a rounded tile, light at the top and deep at the bottom,
        // with a white tick. The corners outside the rounding stay black like
        // the well.
        const double radius = 7.0 * n;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                double px = x + 0.5, py = y + 0.5;
                double qx = std::clamp(px, n + radius, width - n - radius);
                double qy = std::clamp(py, n + radius, height - n - radius);
                double d = std::hypot(px - qx, py - qy);
                double cover = std::clamp(radius + 0.5 - d, 0.0, 1.0);
                if (cover <= 0) continue;
                Rgb fill = mixrgb(Rgb{110, 225, 255}, Rgb{0, 70, 160}, py / height);
                if (d > radius - 1.5 * n) fill = Rgb{210, 245, 255};
                blend(dev, x, y, fill, cover);
            }
        stroke(dev,
               std::vector<P>{{11.0 * n, 20.0 * n}, {18.0 * n, 28.0 * n}, {31.0 * n, 11.0 * n}},
               4.0 * n, [](double) {
                   return Rgb{255, 255, 255};
               });
    });
    return s;
}

void painticon(Surface& s) {
    const int size = s.width();
    // The banner's pen is 3 pixels on a ring of radius 34; small icons keep
    // their strokes at least 1.5 pixels wide so that they stay visible.
    const double pen = std::max(1.5, 3.0 * size / 64);
    // A clear pixel all round: the stroke's soft edge ends at the second row.
    const double radius = size / 2.0 - pen / 2 - 1;
    const double centre = size / 2.0;
    // The banner's background fills the ring and nothing outside it, so the
    // icon is round wherever it is shown.
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double d = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            blend(s, x, y, backgroundat(double(y) / std::max(1, size - 1)),
                  std::clamp(radius + 0.5 - d, 0.0, 1.0));
        }
    drawlogo(s, centre, centre, radius, radius / 34, pen);
}

Surface makeicon(int size) {
    Surface s(size, size);
    painticon(s);
    return s;
}

}  // namespace knotloom
