// What the Windows host's windows share: showing a Surface, the keys the
// programs see, the faces dialogs are drawn with, and where windows stand
// on the screen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "shell/raster/surface.h"

namespace shell::win32 {

// Draws the device rectangle r of s at r's place in the client area of dc's
// window, through SetDIBitsToDevice.
void drawsurface(HDC dc, const Surface& s, Rect r);

// The part of a surface a logical rectangle covers, in device pixels; and
// the logical rectangle that covers a device one.
Rect devicerect(const Surface& s, const Rect& logical);
Rect logicalrect(const Surface& s, const Rect& device);

// The virtual-key code of a key as the programs see it: Windows's own,
// for the keys they use; 0 for a key they never see (the modifier keys
// themselves, say).
int virtualkey(WPARAM key);

// The modifier keys held now, as Modifier flags.
int modifiers();

// A pointer position in a message's lParam (device pixels of the client
// area) as a logical point at the surface's scale. A position left of or
// above the window (a drag that left it) stays negative.
Point logicalpoint(LPARAM lp, int scale);

// Whole notches of a WM_MOUSEWHEEL, positive away from the user as the
// programs count them. A wheel that turns in finer steps than a notch adds
// them up in `rest` until they make one.
int wheelnotches(WPARAM wp, int& rest);

// The wheel goes to the window with the keyboard; the programs expect it
// where the pointer is, as on the other hosts. When the pointer of a
// WM_MOUSEWHEEL stands over another of `ours`, the message is sent there
// and true returned; the caller then does nothing more with it.
bool wheelelsewhere(HWND self, WPARAM wp, LPARAM lp, const std::vector<HWND>& ours);

// Pixel size of the dialog font for a template's point size, at 96 dots per
// inch: 8 points are 11 pixels, 11 points 15.
int fontsize(int pointsize);

// The dialog face: the system's dialog sans serif at 8 points, and at 11 the
// serif the help layout was made for. Made once, never freed.
HFONT dialogfont(int pointsize);

// The screen's bits per pixel.
int displaydepth();

// Where windows may stand: the screen less the task bar.
RECT workarea();

// The outer rectangle of a window whose client area is `client` (screen
// coordinates) with these styles.
RECT outerrect(RECT client, DWORD style, DWORD exstyle, bool menu = false);

}  // namespace shell::win32
