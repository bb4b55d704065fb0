// Kalles Fraktaler palettes (.kfp): "Key: value" lines ending in CR LF. The
// colours are blue, green, red triplets, each value followed by a comma.
#include "palettes/codec.h"

namespace palettes {

std::string writekfp(const shell::Palette& palette) {
    std::string s;
    s.reserve(256 * 12 + 96);
    s += "Colors: ";
    for (const auto& e : palette)
        for (int c = 2; c >= 0; --c) {
            appendint(s, e[c]);
            s += ',';
        }
    // The colours blend smoothly, one palette entry per iteration, from the
    // first entry on, in one colour cycle.
    s += "\r\nSmooth: 1\r\nIterDiv: 1.000000\r\nColorOffset: 0\r\nMultiColor: 0\r\n";
    return s;
}

}  // namespace palettes
