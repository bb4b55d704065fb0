#include "explore/colour.h"

#include <algorithm>
#include <cstdint>

namespace explore {

namespace {

shell::Rgb entry(const shell::Palette& p, int i) {
    return shell::Rgb{p[i][0], p[i][1], p[i][2]};
}

// What colours one picture: the colour of every escape-time entry and of the
// points of the set, and the smooth colouring's scale.
struct Painter {
    Painter(const Colours& c, const shell::Palette& p) : c(c), p(p) {
        for (int i = 0; i < 256; ++i) lut[i] = entry(p, i);
        black = c.interior == Interior::black;
        fixed = entry(p, c.interiorentry & 255);
    }

    shell::Rgb inside(const Escape& e) const {
        if (c.interior == Interior::angle) return lut[int(e.value) & 255];
        return black ? shell::Rgb{} : fixed;
    }

    shell::Rgb operator()(const Escape& e) const {
        if (e.count == 0) return inside(e);
        if (c.colouring == Colouring::escapetime) return lut[e.count & 255];
        // Between two entries in proportion: pos is positive, since a count
        // is at least 1 and its fraction above -1, so truncation is the floor.
        double pos = (double(e.count) + e.value) * c.density + c.offset;
        if (!(pos > 0)) pos = 0;
        const int64_t k = int64_t(pos);
        const int w = int((pos - double(k)) * 256);
        const shell::Rgb a = lut[k & 255], b = lut[(k + 1) & 255];
        auto mix = [w](uint8_t x, uint8_t y) {
            return uint8_t((x * (256 - w) + y * w + 128) >> 8);
        };
        return shell::Rgb{mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
    }

    const Colours& c;
    const shell::Palette& p;
    shell::Rgb lut[256];
    bool black;
    shell::Rgb fixed;
};

}  // namespace

shell::Palette rotated(const shell::Palette& p, int shift) {
    shell::Palette out;
    shift = ((shift % 256) + 256) % 256;
    for (int e = 0; e < 256; ++e) out[e] = p[(e + shift) & 255];
    return out;
}

shell::Rgb colourof(const Escape& e, const Colours& c, const shell::Palette& p) {
    return Painter(c, p)(e);
}

void colourrows(const EscapeMap& map, int y0, int y1, const Colours& c, const shell::Palette& p,
                shell::Surface& s) {
    const Painter paint(c, p);
    const int w = std::min(map.width, s.devicewidth());
    y1 = std::min({y1, map.height, s.deviceheight()});
    for (int y = std::max(y0, 0); y < y1; ++y) {
        const Escape* from = map.row(y);
        uint8_t* to = s.row(y);
        for (int x = 0; x < w; ++x, to += 3) {
            const shell::Rgb col = paint(from[x]);
            to[0] = col.r;
            to[1] = col.g;
            to[2] = col.b;
        }
    }
}

}  // namespace explore
