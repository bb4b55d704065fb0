#include "hostcore.h"

namespace shell {

HostCore::HostCore(const ProgramDesc& d)
    : Window(d.width, d.height), desc_(d), program_(d.make()), title_(d.title) {
    program_->startfile = d.startfile;
}

void HostCore::dispatch(const Message& m) {
    if (destroyed_) return;
    Message real;
    if (!routemessage(desc_, m, real)) return;
    if (real.msg == Msg::destroy) destroyed_ = true;
    program_->proc(*this, real);
}

void HostCore::send(const Message& m) {
    dispatch(m);
    pump();
}

void HostCore::pump() {
    while (!queue_.empty() && !ended_) {
        Message m = queue_.front();
        queue_.pop_front();
        dispatch(m);
    }
    afterpump();
}

void HostCore::quit(int code) {
    ended_ = true;
    exitcode_ = code;
}

}  // namespace shell
