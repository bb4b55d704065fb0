// A modeless window beside the main one, for a view that follows the
// program's state (the palette analysis): its own offscreen picture, shown on
// screen as the main window's is, and a title.
//
// The program opens and closes it through its Window (opensidewindow,
// closesidewindow) and draws into it like into the main window:
//   SideWindow& s = w.opensidewindow(id, "Title", SideSize{width, height});
//   draw into s.offscreen; s.presentall();
// It is not modal: the main window keeps working while it is open. Keys typed
// into it reach the program's procedure marked with its id (Message::window):
// a procedure that looks no further takes them as keys of the main window
// (so a key can toggle it whichever window has the keyboard), and one that
// gives the side window keys of its own routes them there. A side window
// that asks for the pointer (SideSize::pointer) also reports moves, buttons
// and the wheel over it, marked the same way; others report none. Its close button
// (the window manager's) sends Msg::sideclose with its id; a procedure that
// does not handle that message gets the default action, which closes it. An
// expose of it is handled by the host alone, which shows the offscreen picture
// again; the procedure hears nothing of it. Its pictures have the main
// window's scale, and its sizes are logical pixels, as the main window's are. A window the user may
// resize takes its new size first and then sends Msg::sidesize with its id; its pictures keep what
// fits of the old ones until the procedure draws again.
#pragma once

#include <algorithm>
#include <string>

#include "doublebuffer.h"

namespace shell {

// The size a side window opens at, and the smallest the user may make it:
// a minimum of 0, or the size itself, keeps that side fixed; a smaller one
// lets the user resize it from there up.
struct SideSize {
    int width = 0, height = 0;
    int minwidth = 0, minheight = 0;
    bool pointer = false;  // report the pointer over it to the procedure
};

class SideWindow : public DoubleBuffer {
  public:
    // `scale` is the screen's, which the side window's pictures are drawn
    // at, as the main window's are.
    SideWindow(int id, std::string title, int width, int height, int scale, bool pointer)
        : DoubleBuffer(width, height, scale),
          id_(id),
          title_(std::move(title)),
          pointer_(pointer) {}

    int id() const { return id_; }
    // Whether it reports the pointer over it.
    bool pointer() const { return pointer_; }
    const std::string& title() const { return title_; }

    // The host's part of a resize: both pictures take the new size, keeping
    // the part of the old ones that fits; the rest is black.
    void resize(int width, int height) {
        for (Surface* s : {&offscreen, &onscreen}) {
            Surface sized(width, height, Rgb{}, s->scale());
            sized.blit(0, 0, std::min(width, s->width()), std::min(height, s->height()), *s, 0, 0);
            *s = std::move(sized);
        }
    }

  private:
    int id_;
    std::string title_;
    bool pointer_;
};

}  // namespace shell
