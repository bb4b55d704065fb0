// The desktop host: one fixed-size top-level window whose client area shows
// g_hdc, a message queue in front of the program's procedure, and dialogs,
// message boxes and file choosers realised with FLTK.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "dialogwindow.h"
#include "shell/program.h"
#include "shell/window.h"

class Fl_Window;
class Fl_Menu_Bar;
class Fl_Widget;

namespace shell::fltk {

class Canvas;
struct MenuData;

class Host : public Window {
  public:
    explicit Host(const ProgramDesc& d);
    ~Host() override;

    // Sends the creation message; the window is not shown yet.
    void create();
    void show();
    // Runs the message loop until the program quits; returns its exit code.
    int run();

    // Handles one message now, then what it posted, then shows what changed.
    void send(const Message& m);
    // Drains the posted messages (also called from nested modal loops).
    void pump();
    // Pushes changed pixels of g_hdc to the screen.
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
    bool ended() const { return ended_; }

    // Window
    void hdcchanged(const Rect& r) override { dirty_ = unite(dirty_, r); }
    void invalidate() override;
    void post(const Message& m) override { queue_.push_back(m); }
    void quit(int code) override;
    void settitle(const std::string& s) override;
    std::string title() const override { return title_; }
    void setbusy(bool on) override;
    bool busy() const override { return busy_; }
    void flush() override;
    void checkmenu(int id, bool on) override;
    void messagebox(const std::string& text, const std::string& caption, Icon icon,
                    bool owned) override;
    bool filedialog(FileDialogRecord& rec, bool save) override;
    int dialogbox(const DialogTemplate& t, DialogProc& proc) override;
    DialogView* createdialog(const DialogTemplate& t, DialogProc& proc) override;

    // For the canvas.
    void paint(const Rect& r);
    Fl_Window* window() { return win_; }
    int clienttop() const { return menuheight_; }

  private:
    friend class Canvas;
    void dispatch(const Message& m);
    DialogWindow::Placement placement();
    void reap();

    ProgramDesc desc_;
    std::unique_ptr<Program> program_;
    Fl_Window* win_ = nullptr;
    Fl_Menu_Bar* menu_ = nullptr;
    Canvas* canvas_ = nullptr;
    int menuheight_ = 0;
    std::deque<Message> queue_;
    std::vector<std::shared_ptr<DialogWindow>> dialogs_;
    std::vector<std::unique_ptr<MenuData>> menudata_;  // what each menu item's callback gets
    Rect dirty_{};
    std::string title_;
    bool busy_ = false;
    bool ended_ = false;
    bool destroyed_ = false;
    int exitcode_ = 0;
    int depth_ = 0;
};

}  // namespace shell::fltk
