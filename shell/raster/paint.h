// Colour helpers for the programs' generated artwork.
#pragma once

#include "surface.h"

namespace shell {

// Hue in degrees, saturation and value 0 ... 1; channels rounded to nearest.
Rgb hsv(double hue, double sat, double val);
// a moved towards b by f (0 ... 1), rounded to nearest.
Rgb mixrgb(Rgb a, Rgb b, double f);
// Blends c over the pixel at (x, y) with opacity a; outside the surface, or
// with a <= 0, nothing changes.
void blend(Surface& s, int x, int y, Rgb c, double a);

}  // namespace shell
