// The three pictures of the Help dialog, drawn in code with the program's own
// curve functions, so that they show the very curves the program makes.
#pragma once

#include "shell/raster/surface.h"

namespace huewright {

constexpr int helpbitmap1width = 470;  // the Sine picture
constexpr int helpbitmap2width = 310;  // the Arc picture and the Bezier and Line picture
constexpr int helpbitmapheight = 150;

// The columns of each picture that hold its drawing; the rest is black. The
// dialog shows the pictures whole (at 154 and 234 of its 394 dialog units,
// with base units (9, 17) they end at 816 and 836 of its 887 pixels), and the
// drawing keeps clear of the right edge, which the layout was made to allow
// a dialog font with narrower units to cut.
constexpr int helpbitmap1visible = 420;
constexpr int helpbitmap2visible = 280;

// HELPBITMAP1, 470 x 150: the Sine parameters in three panels: the X shift
// (two curves, the yellow shift point and an arrow along the index axis),
// the phase (one period against two) and the amplitude and Y shift (a
// lowered curve moved up, with arrows for both).
shell::Surface makehelpbitmap1(int scale = 1);
// HELPBITMAP2, 310 x 150: the Arc: a circle from a red upper and a blue lower
// arc through yellow anchor and vertex points, the anchors joined by a green
// line; and two arcs from the same anchors with vertices 224 and 96.
shell::Surface makehelpbitmap2(int scale = 1);
// HELPBITMAP3, 310 x 150: a quadratic (red) and a cubic (blue) Bezier curve
// with their grey control polygons and yellow and magenta control points;
// and a red one-segment and a blue two-segment line.
shell::Surface makehelpbitmap3(int scale = 1);
// Picture n, 1 to 3 (the order of the dialog's picture controls). Each is
// drawn at `scale` device pixels to a logical pixel, for a dialog of that
// scale: its strokes and text at the device's resolution.
shell::Surface makehelpbitmap(int n, int scale = 1);

}  // namespace huewright
