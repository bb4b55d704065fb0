// Colour cycling of the Mandelbrot preview: palette entries 1 ... 255 rotate
// through the picture while it shows. Space starts and stops it, Left and
// Right set the direction, Up and Down the speed. The palette itself never
// changes: each frame draws the preview's stored entries with a rotated copy
// of it, without computing the set again, and stopping draws the still
// picture back.
#pragma once

#include "explore/cycleclock.h"
#include "huewright/preview/preview.h"
#include "shell/window/window.h"

namespace huewright {

// The palette with entries 1 ... 255 rotated by `shift`: entry e takes the
// colour of entry 1 + (e - 1 + shift) mod 255, so at a positive shift each
// colour moves to lower entries. Entry 0, which the preview never uses,
// stays put.
shell::Palette rotatedpalette(const shell::Palette& p, int shift);

// Draws every row of the preview with palette p into the offscreen picture
// (and into `copy`, the window's picture at scale 1 where it keeps one: see
// Screen) and shows the preview's area.
void drawpreview(shell::Window& w, const MsetEntries& entries, const shell::Palette& p,
                 shell::Surface* copy = nullptr);

class Cycling {
  public:
    static constexpr int kTimer = 1;  // the id of its timer

    bool running() const { return clock_.running(); }
    int direction() const { return clock_.direction(); }  // +1 or -1
    int speed() const { return clock_.speed(); }
    // The rotation of the picture on the window.
    int drawnshift() const { return drawn_; }
    // The timer's period at the current speed: about one entry a frame.
    int period() const { return clock_.period(); }

    // A key while the preview shows. Space, Left, Right, Up and Down do
    // their part and return true. Any other key stops the cycling, with the
    // still picture back, and returns false: the key then does what it does
    // without cycling.
    bool key(shell::Window& w, int vk, const MsetEntries& entries, const shell::Palette& p);
    // A frame, on the timer: the rotation the time has come to, drawn if it
    // changed.
    void frame(shell::Window& w, const MsetEntries& entries, const shell::Palette& p);
    // Stops the cycling and draws the still picture back.
    void stop(shell::Window& w, const MsetEntries& entries, const shell::Palette& p);
    // Stops the cycling where the preview is about to be drawn over.
    void halt(shell::Window& w);

    // The copy of the window's picture the frames also go to, if any.
    shell::Surface* copy = nullptr;

  private:
    explore::CycleClock clock_{255};  // entries 1 ... 255 rotate
    int drawn_ = 0;                   // the rotation drawn
};

}  // namespace huewright
