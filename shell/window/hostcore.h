// What both hosts do alike: the program's procedure behind a queue of
// messages, the accelerators and dropped key combinations in front of it,
// the window's title and busy state, the end of the message loop, the
// bookkeeping of timers and the side windows.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>

#include "program.h"
#include "window.h"

namespace shell {

class HostCore : public Window {
  public:
    explicit HostCore(const ProgramDesc& d);

    Program& program() { return *program_; }
    bool ended() const { return ended_; }
    int exitcode() const { return exitcode_; }

    // Handles one message now, then every message it posted.
    virtual void send(const Message& m);
    // Drains the posted messages (also from nested modal loops).
    void pump();

    // Window
    void post(const Message& m) override { queue_.push_back(m); }
    std::optional<Point> pointer() const override { return pointer_; }
    void quit(int code) override;
    std::string title() const override { return title_; }
    bool busy() const override { return busy_; }
    void settimer(int id, int milliseconds) override;
    void killtimer(int id) override;
    using Window::opensidewindow;
    SideWindow& opensidewindow(int id, const std::string& title, const SideSize& size) override;
    void closesidewindow(int id) override;
    SideWindow* sidewindow(int id) override;
    // Closes every side window; a host does it while it can still take part.
    void closesidewindows() { sides_.clear(); }

    // A host calls this when timer id is due: its message is queued unless
    // one already waits.
    void timerdue(int id);
    // A host calls this when the user resized side window id: its pictures
    // take the new size and the procedure hears of it.
    void resizeside(int id, int width, int height);
    // The timers set and their periods in milliseconds.
    const std::map<int, int>& timers() const { return timers_; }

  protected:
    // Runs one message through the accelerators to the procedure, and
    // takes the default action where the procedure leaves the message to
    // the host (returns nonzero); nothing reaches the procedure once it has
    // handled its destruction.
    void dispatch(const Message& m);
    // Called after each pump, with nothing of a dialog on the stack.
    virtual void afterpump() {}
    // What a host does to start (or restart) and stop a timer's clock.
    virtual void armtimer(int id, int milliseconds) = 0;
    virtual void disarmtimer(int id) = 0;
    // Makes the platform's side window, shown.
    virtual std::unique_ptr<SideWindow> makesidewindow(int id, const std::string& title,
                                                       const SideSize& size) = 0;

    const ProgramDesc desc_;
    std::unique_ptr<Program> program_;
    std::deque<Message> queue_;
    std::string title_;
    bool busy_ = false;

  private:
    // What the host does with a message the procedure left to it: a paint
    // shows its rectangle of the offscreen picture, a move or a size asks
    // for the whole window to be painted, the destruction ends the message
    // loop with 0, and a side window's close button closes that window.
    void defaultaction(const Message& m);
    // Follows the main window's pointer through the host's own pointer
    // messages; those a procedure posts for itself say nothing of where it is.
    void trackpointer(const Message& m);
    // Whether a message reaches the procedure: one from a side window only
    // while that window is open, and a pointer message only from a side
    // window that asked for the pointer.
    bool delivered(const Message& m);

    std::optional<Point> pointer_;
    std::map<int, int> timers_;
    std::map<int, std::unique_ptr<SideWindow>> sides_;
    bool ended_ = false;
    bool destroyed_ = false;
    int exitcode_ = 0;
};

}  // namespace shell
