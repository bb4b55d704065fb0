// The two pictures of a window: the offscreen one a procedure draws into,
// and what the window shows. The main window and the side windows share it.
#pragma once

#include "shell/raster/surface.h"

namespace shell {

class DoubleBuffer {
  public:
    // Pictures of width x height logical pixels at `scale` (see Surface).
    DoubleBuffer(int width, int height, int scale = 1);
    virtual ~DoubleBuffer() = default;

    // The offscreen picture and what the window shows.
    Surface offscreen;
    Surface onscreen;
    int xres() const { return offscreen.width(); }
    int yres() const { return offscreen.height(); }
    // Device pixels to a logical pixel: the window's client area is this
    // many times its logical size on the screen.
    int scale() const { return offscreen.scale(); }

    // Copies r from offscreen to onscreen and has it shown.
    void present(const Rect& r);
    void presentall() { present(offscreen.bounds()); }
    // Code that draws on onscreen directly says so here, so the host shows it.
    virtual void onscreenchanged(const Rect& r) = 0;
};

}  // namespace shell
