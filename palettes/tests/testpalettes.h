// Palettes the format tests share.
#pragma once

#include <random>

#include "huewright/model/model.h"
#include "shell/raster/palette.h"

namespace testdata {

// The gradient designer's start-up palette.
inline shell::Palette startup() {
    huewright::Model m;
    m.startuppalette();
    return m.palette;
}

// Every byte value is likely to appear, neighbours differ wildly: a palette
// no smooth gradient looks like.
inline shell::Palette randompalette(unsigned seed = 20240611) {
    std::mt19937 rng(seed);
    shell::Palette p;
    for (auto& e : p)
        for (auto& v : e) v = static_cast<uint8_t>(rng());
    return p;
}

// A palette no read would produce by accident, to see what changed.
inline shell::Palette marked() {
    shell::Palette p;
    for (int i = 0; i < 256; ++i) p[i] = {uint8_t(i), uint8_t(255 - i), 77};
    return p;
}

}  // namespace testdata
