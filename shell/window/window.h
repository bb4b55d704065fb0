// The interface a window procedure uses to reach the platform. Two hosts
// implement it: the desktop one (shell/fltk) and an in-memory one for tests
// (shell/headless).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialog.h"
#include "doublebuffer.h"
#include "message.h"
#include "shell/raster/surface.h"
#include "sidewindow.h"

namespace shell {

// One type of file a chooser lists.
struct FileFilter {
    std::string name;     // "Fractint .map files (*.map)", as the chooser shows it
    std::string pattern;  // "*.map"; several are separated by ';'
};

// The record behind one open or save file dialog. After a dialog succeeds
// `file` holds the chosen full path and `filetitle` its last component, and the
// next use of the same record starts from that file.
struct FileDialogRecord {
    std::vector<FileFilter> filters;  // the types offered; "All files" follows them
    int filterindex = 1;              // 1-based: the type shown first, then the one chosen
    std::string title;                // the dialog's caption
    std::string defext;               // appended when the chosen name has no extension ("map")
    std::string initialdir;           // where the first use starts
    bool overwriteprompt = false;
    bool mustexist = false;
    std::string file;
    std::string filetitle;
};

enum class Icon { none, exclamation };

// The main window: its two pictures (offscreen, onscreen, present) come
// from DoubleBuffer.
class Window : public DoubleBuffer {
  public:
    Window(int width, int height, int scale = 1) : DoubleBuffer(width, height, scale) {}
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Asks for a paint message covering r (the whole client area by default).
    virtual void invalidate() = 0;

    // Where the pointer is over the client area, as the last pointer message
    // reported it; nothing before it first came or once it left. A view that
    // follows the pointer (a hover readout) asks this when the model changes
    // under a pointer that stands still.
    virtual std::optional<Point> pointer() const = 0;

    // Queues a message for the window's own procedure; it runs after the
    // current message returns.
    virtual void post(const Message& m) = 0;
    // Ends the message loop with this exit code.
    virtual void quit(int code) = 0;

    virtual void settitle(const std::string& s) = 0;
    virtual std::string title() const = 0;
    // Wait cursor and no input while on.
    virtual void setbusy(bool on) = 0;
    virtual bool busy() const = 0;
    // Shows pending pixels and the title during long work, handling no input.
    virtual void flush() = 0;
    virtual void checkmenu(int id, bool on) = 0;

    // A box with an OK button; returns when it is dismissed. `owned` is false
    // for a box that stands on its own rather than over the main window, as
    // the confirmations of a finished save do.
    virtual void messagebox(const std::string& text, const std::string& caption, Icon icon,
                            bool owned = true) = 0;
    // Runs the open (save = false) or save file dialog; false when cancelled.
    virtual bool filedialog(FileDialogRecord& rec, bool save) = 0;

    // A modal dialog: returns the value passed to DialogView::end.
    virtual int dialogbox(const DialogTemplate& t, DialogProc& proc) = 0;
    // A modeless dialog: returns its view, valid until the dialog ends.
    virtual DialogView* createdialog(const DialogTemplate& t, DialogProc& proc) = 0;

    // Timers. After settimer(id, ms) the procedure gets Msg::timer with
    // wparam id every ms milliseconds (at least 1) until killtimer(id);
    // setting a running timer again restarts it with the new period. At most
    // one timer message of an id waits in the queue, and killtimer removes
    // one still waiting: a slow procedure never falls behind, and nothing of
    // a killed timer arrives afterwards.
    virtual void settimer(int id, int milliseconds) = 0;
    virtual void killtimer(int id) = 0;
    // Milliseconds on a steady clock, for animations that follow the time
    // rather than count timer messages (the headless host's clock moves only
    // when a test advances it).
    virtual long long ticks() const = 0;

    // Side windows (sidewindow.h), one per id. Opening an id that is open
    // returns the window as it is. The reference stays valid until the
    // window is closed, by closesidewindow or by the default action of its
    // close message. The host places a new one beside the main window where
    // the screen has room for it (see roombeside), and where it has not,
    // where it covers the least of the main window.
    virtual SideWindow& opensidewindow(int id, const std::string& title, const SideSize& size) = 0;
    SideWindow& opensidewindow(int id, const std::string& title, int width, int height) {
        return opensidewindow(id, title, SideSize{width, height});
    }
    // The widest a side window's picture may be to fit on the screen beside
    // the main window, frames and the gap between them counted; 0 or less
    // where there is no room.
    virtual int roombeside() const = 0;
    virtual void closesidewindow(int id) = 0;
    // The open side window of this id, or null.
    virtual SideWindow* sidewindow(int id) = 0;
};

// A program's window procedure and its state.
class Program {
  public:
    virtual ~Program() = default;
    // Returns 0 for what it handles; anything else takes the host's default
    // action: a paint shows its rectangle of offscreen, a move or a size
    // repaints the whole window, the destruction quits with 0 and a side
    // window's close button closes it. A procedure that leaves those to the
    // host needs no case for them.
    virtual int proc(Window& w, const Message& m) = 0;

    // The file named on the command line, empty when none, and the values
    // the command line gave the program's options (ProgramDesc::options). The
    // hosts set them before the creation message, where the program reads
    // them.
    std::string startfile;
    std::map<std::string, std::string> startoptions;
};

}  // namespace shell
