// Where the gradient designer's window shows its palette: the plot mapping of
// the curve display, and where the Mandelbrot preview is drawn inside it.
#pragma once

#include "shell/raster/surface.h"

namespace huewright {

constexpr int xres = 800, yres = 640;

// The plot mapping of the curve display: index i at x = 501 + i, value v at
// y = 401 - v.
constexpr int kCurveLeft = 501;
constexpr int kCurveBase = 401;

// The rows of the palette strip's lines: from the first, up to but not
// including the end row. Entry i stands in column kCurveLeft + i.
constexpr int kStripTop = 451, kStripEnd = 499;

// The preview's 257 x 257 points: row j on screen row 145 + j, a point of
// the set in column i at x = 500 + i, an escaped one at 501 + i.
constexpr shell::Point kMsetOrigin{500, 145};

// The hit test of this window's presses: a point hits only strictly inside
// the rectangle, so points on its outline never do.
inline bool strictlyinside(shell::Point mp, const shell::Rect& r) {
    return r.left < mp.x && mp.x < r.right && r.top < mp.y && mp.y < r.bottom;
}

}  // namespace huewright
