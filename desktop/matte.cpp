#include "matte.h"

#include <algorithm>
#include <cmath>

namespace desktop {

RgbaPicture matte(const shell::Surface& onblack, const shell::Surface& onwhite) {
    RgbaPicture out;
    if (onblack.width() != onwhite.width() || onblack.height() != onwhite.height()) return out;
    out.width = onblack.width();
    out.height = onblack.height();
    out.rgba.reserve(size_t(out.width) * size_t(out.height) * 4);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            // Over black a pixel is a·c, over white a·c + (1 - a)·255: the
            // difference is the backdrop's share. It is taken over the three
            // channels, which round each on their own.
            const shell::Rgb b = onblack.at(x, y), w = onwhite.at(x, y);
            const double share = ((w.r - b.r) + (w.g - b.g) + (w.b - b.b)) / (3.0 * 255);
            const double a = std::clamp(1 - share, 0.0, 1.0);
            const uint8_t alpha = uint8_t(std::lround(a * 255));
            auto colour = [&](uint8_t v) {
                return alpha ? uint8_t(std::lround(std::min(255.0, v / a))) : uint8_t(0);
            };
            out.rgba.insert(out.rgba.end(), {colour(b.r), colour(b.g), colour(b.b), alpha});
        }
    return out;
}

RgbaPicture paintedicon(void (*paint)(shell::Surface&), int size) {
    shell::Surface onblack(size, size), onwhite(size, size);
    onwhite.fill(shell::Rgb{255, 255, 255});
    paint(onblack);
    paint(onwhite);
    return matte(onblack, onwhite);
}

}  // namespace desktop
