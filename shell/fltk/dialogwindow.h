// Dialog templates realised as FLTK windows, message boxes and the file
// chooser.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "shell/dialog.h"
#include "shell/window.h"

class Fl_Window;
class Fl_Widget;
class Fl_RGB_Image;

namespace shell::fltk {

class Host;

class DialogWindow : public DialogView {
  public:
    DialogWindow(const DialogTemplate& t, DialogProc& proc, Host& host, bool modal);
    ~DialogWindow() override;

    // Sends the init message, then shows the window.
    void start();
    bool finished() const { return ended_; }
    // True once the window is gone and the dialog may be deleted.
    bool closed() const { return closed_; }
    int result() const { return result_; }
    void close();
    void setbusy(bool on);

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

    // From the widgets.
    void notify(int id, int code);
    void trackmoved(int id, int code);
    void windowclosed();

  private:
    struct Item {
        const ControlTemplate* t;
        Fl_Widget* w;
    };
    Fl_Widget* widget(int id) const;
    const ControlTemplate* control(int id) const;
    void selectradio(int id);

    DialogTemplate t_;
    DialogProc& proc_;
    Host& host_;
    bool modal_;
    Fl_Window* win_ = nullptr;
    std::vector<Item> items_;
    std::map<int, std::unique_ptr<Fl_RGB_Image>> images_;
    bool ended_ = false;
    bool closed_ = false;
    int result_ = 0;
    int notifying_ = 0;
};

// A box with an OK button and an optional exclamation mark, modal.
void showmessagebox(const std::string& text, const std::string& caption, Icon icon,
                    Fl_Window* owner, Host& host);

// The platform's open or save dialog for a record; false when cancelled.
bool choosefile(FileDialogRecord& rec, bool save, Host& host);

}  // namespace shell::fltk
