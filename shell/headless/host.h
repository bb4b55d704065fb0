// An in-memory host: runs a program's real window procedure without a
// display. Tests drive it with keys, clicks and commands, script the answers
// of file dialogs and modal dialogs, and read back surfaces and a log of the
// message boxes shown.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/window/hostcore.h"

namespace shell::headless {

class Dialog : public DialogView {
  public:
    Dialog(const DialogTemplate& t, DialogProc& proc);

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
    void focus(int id) override { movefocus(id, true); }
    void end(int result) override;

    // What a user does. Each returns once the procedure has handled it.
    void type(int id, const std::string& s);  // replaces the box's text
    void click(int id);                       // ignored when disabled; moves the focus
    void tab(bool backwards = false);         // Tab, or Shift+Tab
    void clickbox(int id);                    // a click in a box: focus, caret at the end
    void keys(const std::string& s);          // typed into the focused box
    void enter();                             // presses the focused push button, or control 1
    void escape();                            // presses control 2
    void arrow(int vk);                       // an arrow key on the focused radio button
    void closebox();                          // the frame's close button
    void trackkey(int id, int vk);            // arrow, page, Home or End on a trackbar
    void trackdrag(int id, const std::vector<int>& positions);
    // A key held with Ctrl or Alt that the focused control does not take,
    // such as Ctrl+Z: it goes to the procedure as a key message.
    void key(int vk, int mods);

    void init();
    const DialogTemplate& templ() const { return t_; }
    const Surface* image(int id) const;
    std::pair<int, int> range(int id) const;
    int focused() const { return focused_; }
    // The focused box's whole text is selected, so typing replaces it.
    bool selected() const { return selected_; }
    bool ended() const { return ended_; }
    int result() const { return result_; }

  private:
    struct State {
        std::string text;
        bool checked = false;
        bool enabled = true;
        int lo = 0, hi = 100, pos = 0;
        const Surface* image = nullptr;
    };
    State& state(int id);
    const State* find(int id) const;
    void send(const DialogMessage& m);
    void hscroll(int id, int code);
    bool isedit(int id) const;
    void movefocus(int id, bool selectall);

    DialogTemplate t_;
    DialogProc& proc_;
    std::map<int, State> states_;
    int focused_ = 0;
    bool selected_ = false;
    bool ended_ = false;
    int result_ = 0;
};

struct ShownBox {
    std::string text, caption;
    Icon icon;
    bool owned;
};

class Host : public HostCore {
  public:
    // Creates the program and sends it the creation message.
    explicit Host(const ProgramDesc& d);
    ~Host() override;

    template <class P>
    P& as() {
        return static_cast<P&>(*program_);
    }

    void key(int vk, int mods = mod_none) { send(Message::key(vk, mods)); }
    void command(int id) { send(Message::command(id)); }
    void move(int x, int y) { send(Message::mouse(Msg::mousemove, x, y)); }
    void press(int x, int y) { send(Message::mouse(Msg::lbuttondown, x, y)); }
    void release(int x, int y) { send(Message::mouse(Msg::lbuttonup, x, y)); }
    void click(int x, int y) {
        press(x, y);
        release(x, y);
    }
    void leave() { send(Message::simple(Msg::mouseleave)); }
    void rpress(int x, int y) { send(Message::mouse(Msg::rbuttondown, x, y)); }
    void rrelease(int x, int y) { send(Message::mouse(Msg::rbuttonup, x, y)); }
    void wheel(int notches, int x, int y) { send(Message::wheel(notches, x, y)); }
    // What side window id sends: a key typed into it, or any pointer message.
    void sidekey(int id, int vk, int mods = mod_none) { send(Message::key(vk, mods).from(id)); }
    void sidesend(int id, const Message& m) { send(m.from(id)); }
    // The window manager's close: the default action destroys the window.
    void close();
    // An expose of r.
    void expose(const Rect& r) { send(Message::paint(r)); }
    // The close button of side window id.
    void closeside(int id) { send(Message::sideclose(id)); }

    // The clock: advance moves it on by ms milliseconds, and every timer due
    // on the way fires when its time comes, earliest first (timers due at
    // the same moment by id), each message handled before the clock moves
    // on. A timer set at time t with period p is due at t + p, t + 2p, ...
    void advance(long long ms);

    // Scripted answers, taken in order. A file answer is what the user types
    // into the chooser's name field and confirms; the chooser treats it as
    // the desktop's does (a folder is opened, a missing file to open gets
    // the "File not found" box, an existing file to save over asks first),
    // and takes the next answer while it stays open. nullopt cancels, and so
    // does an empty queue. `filetypes` gives the 1-based type chosen in the
    // chooser's list for each dialog (the record's own when empty), and
    // `overwriteanswers` the answers to the overwrite question (yes when
    // empty). A modal script is called once the dialog has initialised; if
    // it leaves the dialog open, the dialog is cancelled.
    std::deque<std::optional<std::string>> fileanswers;
    std::deque<int> filetypes;
    std::deque<bool> overwriteanswers;
    std::deque<std::function<void(Dialog&)>> modalscripts;
    // A hook called at every flush, e.g. to look at the title mid-save.
    std::function<void()> onflush;

    // What was shown.
    std::vector<ShownBox> boxes;
    std::vector<std::string> titlelog;
    std::vector<FileDialogRecord> filedialogs;  // the records as each dialog opened
    std::vector<std::string> chooserboxes;      // questions and refusals of the choosers
    std::vector<std::string> modalcaptions;
    std::map<int, bool> menuchecks;
    Rect shown{};  // union of everything pushed to the window
    int flushes = 0;
    int busychanges = 0;

    Dialog* modeless();  // the open modeless dialog, or null
    // Side windows ever opened and closed, in order, as "open ID" and "close ID".
    std::vector<std::string> sidelog;
    // The size each side window id asked for when it last opened.
    std::map<int, SideSize> sidesizes;
    // How wide a side window may be beside the main window, as a screen
    // would have room for (roombeside); plenty unless a test says otherwise.
    int room = 1 << 14;

    // Window
    void onscreenchanged(const Rect& r) override { shown = unite(shown, r); }
    void invalidate() override { queue_.push_back(Message::paint(offscreen.bounds())); }
    void settitle(const std::string& s) override;
    void setbusy(bool on) override;
    void flush() override;
    void checkmenu(int id, bool on) override { menuchecks[id] = on; }
    void messagebox(const std::string& text, const std::string& caption, Icon icon,
                    bool owned) override;
    bool filedialog(FileDialogRecord& rec, bool save) override;
    int dialogbox(const DialogTemplate& t, DialogProc& proc) override;
    DialogView* createdialog(const DialogTemplate& t, DialogProc& proc) override;
    long long ticks() const override { return now_; }
    int roombeside() const override { return room; }

  protected:
    void armtimer(int id, int milliseconds) override;
    void disarmtimer(int id) override { due_.erase(id); }
    std::unique_ptr<SideWindow> makesidewindow(int id, const std::string& title,
                                               const SideSize& size) override;

  private:
    long long now_ = 0;
    std::map<int, long long> due_;                  // when each timer fires next
    std::vector<std::unique_ptr<Dialog>> dialogs_;  // kept until the host goes
    Dialog* modeless_ = nullptr;
};

}  // namespace shell::headless
