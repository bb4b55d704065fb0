// What the desktop host's windows share: the display, the keyboard focus on
// a bare X server, the frame a window asks the window manager for, and the
// faces dialogs are drawn with.
#pragma once

#include <FL/Enumerations.H>
#include <FL/Fl_Button.H>

#include <string>

class Fl_Window;

namespace shell::fltk {

// The display's bits per pixel (opens the display on first use).
int displaydepth();

// The text of the display's X resource database (the RESOURCE_MANAGER
// property, where a desktop sets Xft.dpi for its scale); empty when there is
// no display or no database.
std::string displayresources();

// Why no display could be opened, for the line after the start-up error:
// the display asked for, or that none was named.
std::string nodisplayreason();

// The widths of the frame a window manager put round a shown top-level
// window, as it announces them (_NET_FRAME_EXTENTS); all 0 on a bare X
// server, where a window has no frame.
struct FrameExtents {
    int left = 0, right = 0, top = 0, bottom = 0;
};
FrameExtents frameextents(Fl_Window* w);

// Moves a shown top-level window so that its frame, title bar included,
// starts on the screen. A window asked for at the screen's corner has its
// client area put there, since FLTK asks for static gravity, and the
// manager's title bar then sits above the screen; a window taller than the
// screen must lose its bottom rather than its title bar and close button.
void keepframeonscreen(Fl_Window* w);

// Gives a shown top-level window the keyboard. A bare X server has no window
// manager to do it, and keys would follow the pointer instead.
void focuswindow(Fl_Window* w);

// The frames a window asks the window manager for.
enum class Frame {
    movable,   // a caption and a border; it can be moved, nothing else
    closable,  // a caption, a border and a close button; it can be moved and closed
    border,    // a thin border and no caption; it cannot be moved
};
// Declares a shown window a dialog of `owner` (stacked above it) with the
// given frame.
void makedialog(Fl_Window* w, Fl_Window* owner, Frame frame);

// Pixel size of the dialog font for a template's point size, at 96 dots per
// inch: 8 points are 11 pixels, 11 points 15.
int fontsize(int pointsize);

// The dialog face. The 8-point layouts were made for a narrow sans serif whose
// average character fits the base units (6, 13); FLTK's default sans serif is
// wider and wraps and cuts labels that fit there. Liberation Sans has the
// metrics of the face those layouts expect. The 11-point help layout was made
// for a serif face with the metrics of Liberation Serif.
Fl_Font dialogfont(int pointsize);

// A push button that Enter presses while it has the focus, as Space does.
// FLTK's buttons leave Enter to the default button (Fl_Return_Button)
// wherever the focus is; the desktop's rule is that Enter goes to the
// default button only when no push button has the focus.
class PushButton : public Fl_Button {
  public:
    PushButton(int x, int y, int w, int h, const char* label = nullptr)
        : Fl_Button(x, y, w, h, label) {}
    int handle(int e) override;
};

// FLTK reads '@' in a label as the start of a symbol; double it to show it.
std::string labeltext(const std::string& s);

}  // namespace shell::fltk
