// The Windows host: one fixed-size top-level window whose client area shows
// onscreen, a message queue in front of the program's procedure, and
// dialogs, message boxes and the common file dialogs of the system.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "shell/window/hostcore.h"

namespace shell::win32 {

class DialogWindow;

class Host : public HostCore {
  public:
    explicit Host(const ProgramDesc& d);
    ~Host() override;

    // Makes the window (not shown yet) and sends the creation message; false
    // with the start-up error when the window cannot be made.
    int create();
    void show();
    // Runs the message loop until the program quits; returns its exit code.
    int run();

    // Handles one message now, then what it posted, then shows what changed.
    void send(const Message& m) override;
    // Pushes changed pixels of onscreen to the screen.
    void pushdirty();
    // Gives the keyboard back to the main window.
    void focusclient();
    // Runs one message of the system's queue through the dialogs' keys and
    // to its window; false once the queue says the program must end.
    bool handleone(MSG& msg);

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
    void closesidewindow(int id) override;

    HWND window() const { return hwnd_; }
    // Enables or disables the main window and the side windows, around a
    // modal dialog.
    void enableowners(bool on);

  private:
    static LRESULT CALLBACK wndproc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void paint();
    // Reports a pointer position (device pixels) that differs from the last.
    void pointer(int x, int y);
    Message mouse(Msg m, LPARAM lp) const;
    // A button pressed or released at lp, as one of the button messages.
    void button(Msg m, WPARAM wp, LPARAM lp);
    void afterpump() override;
    void armtimer(int id, int milliseconds) override;
    void disarmtimer(int id) override;
    std::unique_ptr<SideWindow> makesidewindow(int id, const std::string& title,
                                               const SideSize& size) override;

    HWND hwnd_ = nullptr;
    HMENU menu_ = nullptr;
    std::vector<std::shared_ptr<DialogWindow>> dialogs_;
    std::vector<HWND> sides_;  // the open side windows, for modal dialogs
    Rect dirty_{};
    bool shown_ = false;
    bool tracking_ = false;  // asked to hear when the pointer leaves
    int lastx_ = 0, lasty_ = 0;
    bool known_ = false;
    int wheelrest_ = 0;  // wheel turns short of a notch
    friend class Side;
};

}  // namespace shell::win32
