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

// The round marker of a draggable point, 9 x 9 logical pixels, opaque: a
// disc of `fill` inside a white rim, on black corners. At scale 1 it is the
// pattern of whole pixels that knotloom and curvetoy draw their points with;
// at `scale` the same disc and rim at the device's resolution, each device
// pixel taking the part of the shape its centre lies in.
Surface makemarker(Rgb fill, int scale = 1);
constexpr int kMarkerSize = 9;

}  // namespace shell
