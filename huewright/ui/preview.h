// The Mandelbrot preview: the palette shown on a part of the Mandelbrot set
// in place of the curves (the main window's command 160).
#pragma once

#include "huewright/model/model.h"
#include "shell/window.h"

namespace huewright {

// Where the preview draws: columns 500 ... 757 of rows 145 ... 401, the
// inside of the curve display. An escaped point of column i lands at
// x = 501 + i and a point of the set at x = 500 + i, so the area is one
// column wider than the 257 points.
constexpr shell::Rect previewrect{kMsetLeft, kMsetTop, kMsetLeft + kMsetSize + 1,
                                  kMsetTop + kMsetSize};

// Command 160. While the Parameters dialog is closed: draws the preview into
// the offscreen surface, showing each row on the window as soon as it is
// done, and sets the model's msetflag. Returns 1 when the preview was drawn.
int showpreview(shell::Window& w, Model& model, int parameterflag);

}  // namespace huewright
