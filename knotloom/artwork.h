// knotloom's own pictures, generated in code: the banner across the top of the
// window, the selection marker that sits in the active box, and the icon.
#pragma once

#include "shell/raster/surface.h"

namespace knotloom {

constexpr int kBannerWidth = 1024, kBannerHeight = 124;
constexpr int kCursorWidth = 42, kCursorHeight = 39;

// The six labelled boxes sit at the places the window makes clickable; the
// logo and the colour wheel are drawn on a background without red, so that a
// click beside them can be told from a click on them by the pixel's red.
// Both at `scale` are drawn from their geometry at that many device pixels
// to a logical one, for a window of that scale.
shell::Surface makebanner(int scale = 1);
shell::Surface makecursor(int scale = 1);
// The program's icon, size x size: the banner's logo on a disc of its
// background, drawn at that size on black.
shell::Surface makeicon(int size);
// The same logo blended over what `s` holds, at the size of `s`: outside the
// disc and at its soft edge the backdrop shows.
void painticon(shell::Surface& s);

}  // namespace knotloom
