// Pictures with transparency for the desktop artwork. The programs draw their
// icons over whatever a surface holds, blending soft edges into it; drawn once
// over black and once over white, a pixel's two colours tell how much of it
// the artwork covers and in what colour.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/raster/surface.h"

namespace desktop {

// Straight (not premultiplied) 8-bit red, green, blue and alpha, row by row.
struct RgbaPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba;
};

// The artwork alone from its two renderings of the same size: alpha 0 where
// both show the backdrop, 255 where both agree, and in between the coverage
// with the colour the artwork has there. Empty when the sizes differ.
RgbaPicture matte(const shell::Surface& onblack, const shell::Surface& onwhite);

// An icon size x size pixels with its transparency: `paint` draws it once
// over black and once over white, and the two tell the artwork from the
// backdrop.
RgbaPicture paintedicon(void (*paint)(shell::Surface&), int size);

}  // namespace desktop
