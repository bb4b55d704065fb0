// What the host's widgets that show a Surface share: drawing its pixels on
// an expose or a push, and the keys they pass on to the procedure.
#pragma once

#include "shell/raster/surface.h"

class Fl_Widget;

namespace shell::fltk {

// The part of widget w that is being drawn, in w's own coordinates; empty
// when nothing is.
Rect drawnpart(const Fl_Widget* w);

// Draws r of s at r's place in widget w; r is in s's device pixels, which
// are the widget's.
void drawsurface(const Fl_Widget* w, const Surface& s, Rect r);

// FLTK key numbers to the virtual-key codes the procedures expect; 0 for a
// key the programs never see.
int virtualkey(int key);

// The modifier keys held with the current event, as Modifier flags.
int modifiers();

// The virtual key of keyboard or shortcut event e reaching widget w, or 0
// when w leaves the event alone: a key the programs never see, or a
// shortcut that w already had as a keystroke (without a focused widget the
// same key comes as a shortcut a second time).
int eventkey(int e, const Fl_Widget* w);

}  // namespace shell::fltk
