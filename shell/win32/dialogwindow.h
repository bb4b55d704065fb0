// Dialog templates realised as Windows dialogs: a popup window of its own
// with the system's controls, placed in pixels from the template's dialog
// units, and the keyboard of the shared dialog logic (Tab, Enter, Esc, the
// arrows in radio groups and on trackbars).
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shell/window/dialog.h"

namespace shell::win32 {

class Host;

class DialogWindow : public DialogView, public std::enable_shared_from_this<DialogWindow> {
  public:
    DialogWindow(Host& host, const DialogTemplate& t, DialogProc& proc, bool modal);
    ~DialogWindow() override;

    // Sends the init message, then shows the window.
    void start();
    bool finished() const { return ended_; }
    // True once the window is gone and the dialog may be deleted.
    bool closed() const { return closed_; }
    int result() const { return result_; }
    void close();
    void setbusy(bool on);

    // Takes a key meant for a dialog or one of its controls, as the dialog
    // manager would before the control sees it; false for a message that is
    // no such key.
    static bool presskey(const MSG& msg);

    // DialogView
    std::string text(int id) const override;
    void settext(int id, const std::string& s) override;
    void check(int id, bool on) override;
    bool checked(int id) const override;
    void enable(int id, bool on) override;
    bool enabled(int id) const override;
    void setimage(int id, const Surface* picture) override;
    void setrange(int id, int lo, int hi) override;
    void setpos(int id, int pos) override;
    int pos(int id) const override;
    void focus(int id) override;
    void end(int result) override;

  private:
    static LRESULT CALLBACK wndproc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    bool key(const MSG& msg);
    HWND control(int id) const;
    const ControlTemplate* templ(int id) const { return t_.find(id); }
    int focused() const;
    void selectradio(int id);
    // The procedure hears of a control, then the host shows what it drew
    // and handles what it posted. Each keeps the dialog alive meanwhile.
    void notify(int id, int code);
    void trackmoved(int id, int code);
    bool procedurekey(int vk, int mods);
    void after();

    Host& host_;
    DialogTemplate t_;
    DialogProc& proc_;
    bool modal_;
    HWND hwnd_ = nullptr;
    std::map<int, HWND> controls_;
    std::map<int, Surface> images_;  // what each picture control shows
    bool ended_ = false;
    bool closed_ = false;
    bool busy_ = false;
    int result_ = 0;
};

}  // namespace shell::win32
