#include "huewright/art/artwork.h"

#include <algorithm>
#include <cmath>

#include "shell/raster/font.h"
#include "shell/raster/paint.h"

namespace huewright {

using shell::Rgb;
using shell::Surface;

namespace {

using shell::blend;
using shell::hsv;
using shell::mixrgb;

constexpr double kPi = 3.14159265358979323846;
constexpr Rgb kInk{0, 192, 255};
constexpr Rgb kSubtle{150, 172, 196};

// The ramp of the banner: the hues from red through green to blue, the three
// channels the program shapes.
Rgb ramp(double t) {
    return hsv(240 * std::clamp(t, 0.0, 1.0), 0.85, 1.0);
}

// Fraction of the pixel (x, y) inside the circle, from 4 x 4 samples.
double disccoverage(int x, int y, double cx, double cy, double radius) {
    // Pixels wholly inside or outside need no samples: their corners are at
    // most half a diagonal from their centre. This keeps the pictures cheap
    // to make at start-up.
    const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
    if (d + 0.7072 <= radius) return 1;
    if (d - 0.7072 > radius) return 0;
    constexpr int kSub = 4;
    int inside = 0;
    for (int sy = 0; sy < kSub; ++sy)
        for (int sx = 0; sx < kSub; ++sx) {
            const double px = x + (sx + 0.5) / kSub, py = y + (sy + 0.5) / kSub;
            if (std::hypot(px - cx, py - cy) <= radius) ++inside;
        }
    return double(inside) / (kSub * kSub);
}

// Text whose glyphs are filled with a colour that changes from left to right,
// at the surface's scale: the glyphs' coverage at that scale blends the fill
// over each device pixel.
template <class Fill>
void gradienttext(Surface& s, const shell::Font& f, int x, int y, const char* text, Fill fill) {
    const int n = s.scale();
    const int w = (f.textwidth(text) + 8) * n, h = f.cellheight() * n;
    Surface mask(f.textwidth(text) + 8, f.cellheight(), Rgb{}, n);
    f.draw(mask, 2, 0, text, Rgb{255, 255, 255});
    ondevice(s, [&](Surface& d) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const double a = mask.row(j)[3 * i] / 255.0;
                blend(d, (x - 2) * n + i, y * n + j, fill(double(i) / w, double(j) / h), a);
            }
    });
}

// The wheel: every hue around the rim, paler towards a lit centre, shaded a
// little towards the bottom right like a round button. No wheel pixel is
// without red: the saturation stays below 1 and the edge keeps at least one
// unit of red where it is blended into the black. The edge is blended into
// whatever lies under it, black in the banner.
void drawwheel(Surface& s, double cx, double cy, double radius) {
    for (int y = int(cy - radius) - 1; y <= int(cy + radius) + 1; ++y)
        for (int x = int(cx - radius) - 1; x <= int(cx + radius) + 1; ++x) {
            const double cover = disccoverage(x, y, cx, cy, radius);
            if (cover <= 0) continue;
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double d = std::hypot(dx, dy) / radius;
            const double hue = std::atan2(-dy, dx) * 180 / kPi;
            // Shade: brighter towards the top left, darker at the far rim.
            const double light = std::clamp(1.0 - 0.18 * (dx + dy) / (2 * radius), 0.78, 1.0);
            Rgb c = hsv(hue, 0.9 * std::min(1.0, d * 1.15), light);
            // A soft highlight above the centre.
            const double hx = dx + radius * 0.3, hy = dy + radius * 0.35;
            const double glint = std::max(0.0, 1 - std::hypot(hx, hy) / (radius * 0.45));
            c = mixrgb(c, Rgb{255, 255, 255}, 0.55 * glint * glint);
            // A thin dark rim gives the disc an edge against the black.
            if (d > 0.93) c = mixrgb(c, Rgb{40, 40, 40}, (d - 0.93) / 0.07 * 0.6);
            const uint32_t under = s.getpixel(x, y);
            if (under == shell::kInvalidColor) continue;
            Rgb out = mixrgb(shell::unpackrgb(under), c, cover);
            if (out.r == 0) out.r = 1;
            s.setpixel(x, y, out);
        }
}

// The help picture: a blue round button with a white question mark, inside a
// one-pixel margin because the Help box's outline is drawn over its top row.
// The button is shaded at the surface's scale, device pixel by device pixel.
void drawhelp(Surface& s, int ox, int oy) {
    const int n = s.scale();
    const double cx = ox + kHelpSize / 2.0, cy = oy + kHelpSize / 2.0 + 0.5;
    const double radius = 18.5;
    ondevice(s, [&](Surface& d) {
        for (int y = oy * n; y < (oy + kHelpSize) * n; ++y)
            for (int x = ox * n; x < (ox + kHelpSize) * n; ++x) {
                const double cover = disccoverage(x, y, cx * n, cy * n, radius * n);
                if (cover <= 0) continue;
                const double t = (y + 0.5 - (cy - radius) * n) / (2 * radius * n);
                blend(d, x, y, mixrgb(Rgb{70, 170, 255}, Rgb{0, 60, 170}, t), cover);
            }
    });
    shell::Font f(34);
    const char* q = "?";
    f.draw(s, int(cx) - f.textwidth(q) / 2 - 1, int(cy) - f.cellheight() / 2, q,
           Rgb{255, 255, 255});
}

}  // namespace

Surface makebanner(int scale) {
    Surface s(kBannerWidth, kBannerHeight, Rgb{}, scale);
    // What is shaded pixel by pixel is drawn from its geometry at the scale,
    // in device pixels: coordinates and sizes n times as large.
    const int n = s.scale();

    // The name in large letters, coloured along the ramp.
    shell::Font title(60), sub(19), small(15);
    const int tx = 34, ty = 2;
    gradienttext(s, title, tx, ty, "Xo Gradient", [](double u, double v) {
        return mixrgb(ramp(u), Rgb{255, 255, 255}, 0.25 * (1 - v));
    });

    // A ramp bar under the name: a palette strip of its own.
    const int bx0 = tx * n, bx1 = 620 * n, by0 = 68 * n, by1 = 72 * n;
    ondevice(s, [&](Surface& d) {
        for (int x = bx0; x < bx1; ++x) {
            const double u = double(x - bx0) / (bx1 - bx0);
            // The ends fade into the black.
            const double fade = std::min({1.0, u * 12, (1 - u) * 12});
            for (int y = by0; y < by1; ++y) blend(d, x, y, ramp(u), fade);
        }
    });
    sub.draw(s, tx + 4, 76, "Palettes shaped by sine, arc, Bezier and line curves", kSubtle);

    // The preview button: the wheel on black, with a word underneath that
    // says what it does.
    const shell::Rect& w = kWheelSquare;
    ondevice(s, [&](Surface& d) {
        drawwheel(d, (w.left + w.right) / 2.0 * n, (w.top + w.bottom) / 2.0 * n,
                  (w.width() / 2.0 - 1.5) * n);
    });
    const char* word = "Preview";
    small.draw(s, (w.left + w.right) / 2 - small.textwidth(word) / 2, w.bottom + 1, word, kInk);

    drawhelp(s, kHelpSourceX, 0);
    return s;
}

Surface makecursor(int scale) {
    Surface s(kCursorWidth, kCursorHeight, Rgb{}, scale);
    // Shaded at the scale, device pixel by device pixel: every size in
    // device pixels is n times its logical size.
    const int n = s.scale();
    ondevice(s, [n](Surface& dev) {
        const int width = kCursorWidth * n, height = kCursorHeight * n;
        // A lit key: a rounded tile from light cyan at the top to deep blue,
        // framed by a pale edge. The corners stay black like an empty button.
        const double radius = 8.0 * n, inset = 2.0 * n;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                const double qx = std::clamp(px, inset + radius, width - inset - radius);
                const double qy = std::clamp(py, inset + radius, height - inset - radius);
                const double d = std::hypot(px - qx, py - qy);
                const double cover = std::clamp(radius + 0.5 - d, 0.0, 1.0);
                if (cover <= 0) continue;
                Rgb fill = mixrgb(Rgb{120, 230, 255}, Rgb{0, 60, 150}, py / height);
                if (d > radius - 1.5 * n) fill = Rgb{215, 245, 255};
                blend(dev, x, y, fill, cover);
            }
        // An arrow pointing right, at the button's label: a shaft and a head,
        // smoothed by sampling each pixel 4 x 4 times. Its shape is in
        // logical pixels.
        const double ay = kCursorHeight / 2.0;
        auto inarrow = [ay](double px, double py) {
            const bool shaft = px >= 11 && px <= 25 && std::fabs(py - ay) <= 3.5;
            // The head: a triangle from x 23 to its tip at x 36.
            const bool head = px >= 23 && px <= 36 && std::fabs(py - ay) <= (36 - px) * 11.0 / 13.0;
            return shaft || head;
        };
        constexpr int kSub = 4;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                int inside = 0;
                for (int sy = 0; sy < kSub; ++sy)
                    for (int sx = 0; sx < kSub; ++sx)
                        inside += inarrow((x + (sx + 0.5) / kSub) / n, (y + (sy + 0.5) / kSub) / n);
                blend(dev, x, y, Rgb{255, 255, 255}, double(inside) / (kSub * kSub));
            }
    });
    return s;
}

void painticon(Surface& s) {
    const int size = s.width();
    drawwheel(s, size / 2.0, size / 2.0, size * (14.5 / 32));
}

Surface makeicon(int size) {
    Surface s(size, size);
    painticon(s);
    return s;
}

}  // namespace huewright
