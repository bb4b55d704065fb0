// What both hosts do alike: the program's procedure behind a queue of
// messages, the accelerators and dropped key combinations in front of it,
// the window's title and busy state, and the end of the message loop.
#pragma once

#include <deque>
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
    void quit(int code) override;
    std::string title() const override { return title_; }
    bool busy() const override { return busy_; }

  protected:
    // Runs one message through the accelerators to the procedure; nothing
    // reaches the procedure once it has handled its destruction.
    void dispatch(const Message& m);
    // Called after each pump, with nothing of a dialog on the stack.
    virtual void afterpump() {}

    const ProgramDesc desc_;
    std::unique_ptr<Program> program_;
    std::deque<Message> queue_;
    std::string title_;
    bool busy_ = false;

  private:
    bool ended_ = false;
    bool destroyed_ = false;
    int exitcode_ = 0;
};

}  // namespace shell
