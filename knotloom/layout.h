// Fixed places on knotloom's 1024 x 768 window, shared by the artwork, the
// drawing and the window procedure.
#pragma once

#include "shell/raster/surface.h"

namespace knotloom {

constexpr int xres = 1024, yres = 768;

// Clickable regions of the banner, tested in this order.
enum Box { box_red, box_green, box_blue, box_points, box_save, box_exit, box_wheel, box_logo };
constexpr shell::Rect click[8] = {
    {419, 15, 461, 54},  {590, 15, 632, 54},  {760, 15, 802, 64}, {419, 71, 461, 110},
    {590, 71, 632, 110}, {760, 71, 802, 110}, {923, 26, 995, 98}, {16, 28, 89, 106},
};
constexpr const char* boxlabel[6] = {"Red", "Green", "Blue", "Points", "Save", "Exit"};

// The curve area and the palette strip: the pointer over either updates the
// readout.
constexpr shell::Rect display[2] = {{128, 128, 896, 640}, {128, 666, 896, 715}};
// The readout's background, and the band copied to the window after it.
constexpr shell::Rect erase{125, 715, 899, 750};
constexpr shell::Rect readoutband{125, 715, 125 + 771, 715 + 44};

// The margins that hold the end points.
constexpr shell::Rect lbound{2, 128, 127, 640};
constexpr shell::Rect rbound{897, 128, 1023, 640};

}  // namespace knotloom
