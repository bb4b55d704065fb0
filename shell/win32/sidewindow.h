// Side windows on Windows (see shell/window/sidewindow.h): a window of its
// own, owned by the main one so that it stays above it, showing the side
// window's pictures as the main window shows its own and passing keys, the
// pointer where it asked for it, and the close button on to the program.
#pragma once

#include <windows.h>

#include "shell/window/message.h"
#include "shell/window/sidewindow.h"

namespace shell::win32 {

class Host;

// How wide a side window's client area may be beside `main` on the work
// area: what is left right of main's frame after the gap and the side
// window's own frame.
int sideroom(HWND main);

class Side : public SideWindow {
  public:
    Side(Host& host, int id, const std::string& title, const SideSize& size);
    ~Side() override;

    // Draws what changed at once: a side window is drawn once per change of
    // the program's state, not on every pointer move.
    void onscreenchanged(const Rect& r) override;

  private:
    static LRESULT CALLBACK wndproc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    // Hands a message to the program's procedure, marked as this window's.
    void send(const Message& m);
    Message mouse(Msg m, LPARAM lp) const;

    Host& host_;
    HWND hwnd_ = nullptr;
    SideSize size_;
    DWORD style_ = 0;
    bool tracking_ = false;  // asked to hear when the pointer leaves
    int wheelrest_ = 0;      // wheel turns short of a notch
};

}  // namespace shell::win32
