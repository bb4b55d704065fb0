// Side windows on the desktop (see shell/sidewindow.h): an Fl_Window of its
// own beside the main window, showing the side window's pictures as the main
// window's canvas shows its own, passing keys and the close button on to the
// program.
#pragma once

#include "shell/window/sidewindow.h"

class Fl_Window;

namespace shell::fltk {

class Host;
class SideCanvas;

// How wide a side window's client area may be beside `main` on the screen,
// in logical pixels at `scale`: what is left right of main's frame after the
// gap and the side window's own frame, taken to be as wide as main's.
int sideroom(Fl_Window* main, int scale);

class Side : public SideWindow {
  public:
    Side(Host& host, int id, const std::string& title, const SideSize& size);
    ~Side() override;

    void onscreenchanged(const Rect& r) override;
    Fl_Window* window() { return win_; }

  private:
    Fl_Window* win_ = nullptr;
    SideCanvas* canvas_ = nullptr;
};

}  // namespace shell::fltk
