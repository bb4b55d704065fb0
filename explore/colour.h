// Colouring a picture of escape values with a palette, without computing any
// point again: a palette edit, colour cycling or a change of the colouring
// costs only this.
#pragma once

#include "explore/location.h"
#include "explore/render.h"
#include "shell/raster/palette.h"
#include "shell/raster/surface.h"

namespace explore {

// The palette rotated by `shift` entries: entry e takes the colour of entry
// (e + shift) mod 256, so at a positive shift the colours move to lower
// entries, towards the outside of the set.
shell::Palette rotated(const shell::Palette& p, int shift);

// The colour of one point.
shell::Rgb colourof(const Escape& e, const Colours& c, const shell::Palette& p);

// Colours rows y0 ... y1 - 1 of `map` into the device pixels of `s`, whose
// device rows and columns match the map's from its top-left.
void colourrows(const EscapeMap& map, int y0, int y1, const Colours& c, const shell::Palette& p,
                shell::Surface& s);

}  // namespace explore
