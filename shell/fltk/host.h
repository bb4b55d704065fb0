// The desktop host: one fixed-size top-level window whose client area shows
// onscreen, a message queue in front of the program's procedure, and dialogs,
// message boxes and file choosers realised with FLTK.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "dialogwindow.h"
#include "shell/window/hostcore.h"
#include "timers.h"

class Fl_Window;
class Fl_Menu_Bar;
class Fl_Widget;

namespace shell::fltk {

class Canvas;
struct MenuData;

class Host : public HostCore {
  public:
    explicit Host(const ProgramDesc& d);
    ~Host() override;

    // Sends the creation message; the window is not shown yet.
    void create();
    void show();
    // Runs the message loop until the program quits; returns its exit code.
    int run();

    // Handles one message now, then what it posted, then shows what changed.
    void send(const Message& m) override;
    // Pushes changed pixels of onscreen to the screen.
    void pushdirty();
    // What a nested loop (a modal dialog, a box, the chooser) runs after each
    // event: the posted messages, then the changed pixels.
    void afterevent() {
        pump();
        pushdirty();
    }
    // Gives the keyboard to the client area (a bare X server has no focus
    // policy of its own).
    void focusclient();

    // Window
    void onscreenchanged(const Rect& r) override { dirty_ = unite(dirty_, r); }
    void invalidate() override;
    void settitle(const std::string& s) override;
    void setbusy(bool on) override;
    void flush() override;
    void checkmenu(int id, bool on) override;
    void messagebox(const std::string& text, const std::string& caption, Icon icon,
                    bool owned) override;
    bool filedialog(FileDialogRecord& rec, bool save) override;
    int dialogbox(const DialogTemplate& t, DialogProc& proc) override;
    DialogView* createdialog(const DialogTemplate& t, DialogProc& proc) override;
    long long ticks() const override;
    int roombeside() const override;
    // The main window takes the keyboard back from a side window that closes.
    void closesidewindow(int id) override;

    // For the canvas.
    void paint(const Rect& r);
    Fl_Window* window() { return win_; }
    int clienttop() const { return menuheight_; }

  private:
    friend class Canvas;
    // The menu bar's height at scale 1.
    static constexpr int kMenuHeight = 25;
    DialogWindow::Placement placement();
    // Ended dialogs are removed here, never while their own procedure may
    // still be on the stack.
    void afterpump() override;
    void armtimer(int id, int milliseconds) override { timers_.arm(id, milliseconds); }
    void disarmtimer(int id) override { timers_.disarm(id); }
    std::unique_ptr<SideWindow> makesidewindow(int id, const std::string& title,
                                               const SideSize& size) override;

    Fl_Window* win_ = nullptr;
    Fl_Menu_Bar* menu_ = nullptr;
    Canvas* canvas_ = nullptr;
    int menuheight_ = 0;
    std::vector<std::shared_ptr<DialogWindow>> dialogs_;
    std::vector<std::unique_ptr<MenuData>> menudata_;  // what each menu item's callback gets
    Rect dirty_{};
    int depth_ = 0;
    Timers timers_{[this](int id) { timerdue(id); }};
};

}  // namespace shell::fltk
