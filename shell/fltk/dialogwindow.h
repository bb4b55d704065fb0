// Dialog templates realised as FLTK windows.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shell/window/dialog.h"
#include "shell/window/window.h"

class Fl_Window;
class Fl_Widget;
class Fl_RGB_Image;

namespace shell::fltk {

class DialogWindow : public DialogView, public std::enable_shared_from_this<DialogWindow> {
  public:
    // Where a dialog sits: its template's position is relative to the
    // owner's client area, whose top-left is at (x, y) on the screen. On a
    // screen of scale N its dialog units and font are N times as large.
    struct Placement {
        Fl_Window* owner = nullptr;
        int x = 0, y = 0;
        int scale = 1;
    };
    // `afterevent` runs after each notification the procedure handled (the
    // host shows what the procedure drew and handles what it posted).
    DialogWindow(const DialogTemplate& t, DialogProc& proc, Placement place,
                 std::function<void()> afterevent, bool modal);
    ~DialogWindow() override;

    // Sends the init message, then shows the window.
    void start();
    bool finished() const { return ended_; }
    // True once the window is gone and the dialog may be deleted.
    bool closed() const { return closed_; }
    int result() const { return result_; }
    void close();
    void setbusy(bool on);

    // DialogView, on the widgets: any control, ...
    void enable(int id, bool on) override;
    bool enabled(int id) const override;
    void focus(int id) override;
    // ... labels and edit boxes, ...
    std::string text(int id) const override;
    void settext(int id, const std::string& s) override;
    // ... trackbars and pictures, ...
    void setrange(int id, int lo, int hi) override;
    void setpos(int id, int pos) override;
    int pos(int id) const override;
    void setimage(int id, const Surface* picture) override;
    // ... buttons, check boxes and radio buttons, and the dialog itself.
    void check(int id, bool on) override;
    bool checked(int id) const override;
    void end(int result) override;

    // From the widgets. Each keeps the dialog alive while its procedure runs,
    // whatever the procedure or the host does to the dialog meanwhile.
    void notify(int id, int code);
    void trackmoved(int id, int code);
    void windowclosed();
    void tabkey(bool backwards);
    void enterkey();
    void escapekey();
    // An arrow key (as a virtual-key code) on the focused control; true when
    // it was a radio button, which takes the key.
    bool arrowkey(int vk);
    // A key with Ctrl or Alt that no control took; true when the procedure
    // used it.
    bool key(int vk, int mods);

    // What a button's callback reports.
    struct Callback {
        int id;
        int code;
    };

  private:
    struct Item {
        const ControlTemplate* t;
        Fl_Widget* w;
    };
    Fl_Widget* widget(int id) const;
    int focused() const;  // the id of the control with the focus, 0 for none
    const ControlTemplate* control(int id) const;
    void selectradio(int id);

    DialogTemplate t_;
    DialogProc& proc_;
    Placement place_;
    std::function<void()> afterevent_;
    bool modal_;
    Fl_Window* win_ = nullptr;
    std::vector<Item> items_;
    std::map<int, std::unique_ptr<Fl_RGB_Image>> images_;
    std::vector<std::unique_ptr<Callback>> callbacks_;
    bool ended_ = false;
    bool closed_ = false;
    int result_ = 0;
};

}  // namespace shell::fltk
