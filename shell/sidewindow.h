// A modeless window beside the main one, for a view that follows the
// program's state (the palette analysis): its own offscreen picture, shown on
// screen as the main window's is, a title and a fixed size.
//
// The program opens and closes it through its Window (opensidewindow,
// closesidewindow) and draws into it like into the main window:
//   SideWindow& s = w.opensidewindow(id, "Title", width, height);
//   draw into s.offscreen; s.presentall();
// It is not modal: the main window keeps working while it is open. Keys typed
// into it reach the program's procedure as keys of the main window do (so a
// key can toggle it whichever window has the keyboard), and its close button
// (the window manager's) sends Msg::sideclose with its id; a procedure that
// does not handle that message gets the default action, which closes it. An
// expose of it is handled by the host alone, which shows the offscreen picture
// again; the procedure hears nothing of it.
#pragma once

#include <string>

#include "doublebuffer.h"

namespace shell {

class SideWindow : public DoubleBuffer {
  public:
    SideWindow(int id, std::string title, int width, int height)
        : DoubleBuffer(width, height), id_(id), title_(std::move(title)) {}

    int id() const { return id_; }
    const std::string& title() const { return title_; }

  private:
    int id_;
    std::string title_;
};

}  // namespace shell
