// The gradient designer's own pictures, generated in code: the banner across
// the top of the window (which also carries the help-button picture), the
// selection marker and the window icon.
#pragma once

#include "shell/raster/surface.h"

namespace huewright {

constexpr int kBannerWidth = 843, kBannerHeight = 100;
// The help-button picture sits in the banner's columns 800 ... 842, rows
// 0 ... 42, beyond the part the window shows.
constexpr int kHelpSourceX = 800, kHelpSize = 43;
constexpr int kCursorWidth = 46, kCursorHeight = 43;

// The square of the banner that holds the colour wheel opening the preview.
constexpr shell::Rect kWheelSquare{676, 12, 749, 85};

// The banner: the program's name over a colour ramp, and the colour wheel on
// black. Inside the wheel's square every pixel of the wheel has some red and
// every other pixel has none, because a click there reacts only on red. At
// `scale` it is drawn from its geometry at that many device pixels to a
// logical one, for a window of that scale.
shell::Surface makebanner(int scale = 1);
// The selection marker: a lit key with an arrow towards the button's label;
// at `scale` as the banner.
shell::Surface makecursor(int scale = 1);
// The program's icon, size x size: the colour wheel of the banner, drawn at
// that size (at 32 the wheel's radius is 14.5) on black.
shell::Surface makeicon(int size);
// The same wheel blended over what `s` holds, at the size of `s`, so that
// the pixels it leaves and the wheel's soft edge show the backdrop.
void painticon(shell::Surface& s);

}  // namespace huewright
