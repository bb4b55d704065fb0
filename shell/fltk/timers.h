// FLTK timeouts behind the desktop host's timers.
#pragma once

#include <functional>
#include <map>
#include <memory>

namespace shell::fltk {

class Timers {
  public:
    // `due` is called with a timer's id each time it fires.
    explicit Timers(std::function<void(int)> due) : due_(std::move(due)) {}
    ~Timers();
    Timers(const Timers&) = delete;
    Timers& operator=(const Timers&) = delete;

    // Starts timer id anew with the given period.
    void arm(int id, int milliseconds);
    void disarm(int id);

  private:
    struct Slot {
        Timers* owner;
        int id;
        double seconds;
    };
    static void fire(void* data);

    std::function<void(int)> due_;
    std::map<int, std::unique_ptr<Slot>> slots_;
};

}  // namespace shell::fltk
