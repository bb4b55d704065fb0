// The Mandelbrot preview in the curve display: the main window's
// cmd_preview.
#pragma once

#include "huewright/preview/preview.h"
#include "huewright/ui/geometry.h"
#include "shell/window/window.h"

namespace huewright {

// Where the preview draws: columns 500 ... 757 of rows 145 ... 401, the
// inside of the curve display. An escaped point of column i lands at
// x = 501 + i and a point of the set at x = 500 + i, so the area is one
// column wider than the 257 points.
constexpr shell::Rect previewrect{kMsetOrigin.x, kMsetOrigin.y, kMsetOrigin.x + kMsetSize + 1,
                                  kMsetOrigin.y + kMsetSize};

// cmd_preview: computes the preview into `entries` at the window's scale and
// draws it with the palette into the offscreen picture, showing each row on
// the window as soon as it is done; then into `copy`, the window's picture
// at scale 1 where it keeps one (see Screen).
void showpreview(shell::Window& w, const shell::Palette& palette, MsetEntries& entries,
                 shell::Surface* copy = nullptr);

}  // namespace huewright
