#include "paint.h"

#include <algorithm>
#include <cmath>

namespace shell {

namespace {
uint8_t byte(double v) {
    return uint8_t(std::lround(std::clamp(v, 0.0, 255.0)));
}
}  // namespace

Rgb hsv(double hue, double sat, double val) {
    double h = std::fmod(hue, 360.0) / 60.0;
    if (h < 0) h += 6;
    const int sector = int(h) % 6;
    const double f = h - std::floor(h);
    const double p = val * (1 - sat), q = val * (1 - sat * f), t = val * (1 - sat * (1 - f));
    double r, g, b;
    switch (sector) {
        case 0:
            r = val, g = t, b = p;
            break;
        case 1:
            r = q, g = val, b = p;
            break;
        case 2:
            r = p, g = val, b = t;
            break;
        case 3:
            r = p, g = q, b = val;
            break;
        case 4:
            r = t, g = p, b = val;
            break;
        default:
            r = val, g = p, b = q;
            break;
    }
    return Rgb{byte(r * 255), byte(g * 255), byte(b * 255)};
}

Rgb mixrgb(Rgb a, Rgb b, double f) {
    return Rgb{byte(a.r + (b.r - a.r) * f), byte(a.g + (b.g - a.g) * f),
               byte(a.b + (b.b - a.b) * f)};
}

void blend(Surface& s, int x, int y, Rgb c, double a) {
    if (a <= 0) return;
    uint32_t under = s.getpixel(x, y);
    if (under == kInvalidColor) return;
    s.setpixel(x, y, a >= 1 ? c : mixrgb(unpackrgb(under), c, a));
}

Surface makemarker(Rgb fill, int scale) {
    // Distances from the centre that split the shape: the centres of the
    // pixels of the pattern at scale 1 lie at most 3.61 from it in the disc,
    // 4.00 ... 4.47 in the rim, and 5.00 or more in the corners, and these
    // bounds lie between.
    constexpr double kDisc = 3.8, kRim = 4.75, kCentre = kMarkerSize / 2.0;
    Surface m(kMarkerSize, kMarkerSize, Rgb{}, scale);
    const int n = m.scale();
    for (int y = 0; y < m.deviceheight(); ++y) {
        uint8_t* p = m.row(y);
        for (int x = 0; x < m.devicewidth(); ++x, p += 3) {
            const double d = std::hypot((x + 0.5) / n - kCentre, (y + 0.5) / n - kCentre);
            const Rgb c = d < kDisc ? fill : d < kRim ? Rgb{255, 255, 255} : Rgb{};
            p[0] = c.r, p[1] = c.g, p[2] = c.b;
        }
    }
    return m;
}

}  // namespace shell
