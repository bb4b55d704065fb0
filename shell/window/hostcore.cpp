#include "hostcore.h"

#include <algorithm>

namespace shell {

HostCore::HostCore(const ProgramDesc& d)
    : Window(d.width, d.height, d.scale), desc_(d), program_(d.make()), title_(d.title) {
    program_->startfile = d.startfile;
    program_->startoptions = d.startoptions;
}

namespace {

bool pointermessage(Msg m) {
    switch (m) {
        case Msg::mousemove:
        case Msg::lbuttondown:
        case Msg::lbuttonup:
        case Msg::rbuttondown:
        case Msg::rbuttonup:
        case Msg::wheel:
        case Msg::mouseleave:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool HostCore::delivered(const Message& m) {
    if (m.window == 0) return true;
    // What a side window sends after it closed, or the pointer of one that
    // did not ask for it, reaches nobody.
    const SideWindow* s = sidewindow(m.window);
    return s && (s->pointer() || !pointermessage(m.msg));
}

void HostCore::dispatch(const Message& m) {
    if (destroyed_ || !delivered(m)) return;
    Message real;
    if (!routemessage(desc_, m, real)) return;
    if (real.msg == Msg::destroy) destroyed_ = true;
    if (program_->proc(*this, real) != 0) defaultaction(real);
}

void HostCore::defaultaction(const Message& m) {
    switch (m.msg) {
        case Msg::paint:
            // The platform lost that part of the window: the picture has it.
            present(m.rect);
            return;
        case Msg::move:
        case Msg::size:
            invalidate();
            return;
        case Msg::destroy:
            quit(0);
            return;
        case Msg::sideclose:
            closesidewindow(m.wparam);
            return;
        default:
            return;
    }
}

void HostCore::send(const Message& m) {
    trackpointer(m);
    dispatch(m);
    pump();
}

void HostCore::trackpointer(const Message& m) {
    if (m.window != 0 || !pointermessage(m.msg)) return;
    // A position left of or above the client area wraps round to a large
    // one, so one test covers every side.
    if (m.msg != Msg::mouseleave && m.x < xres() && m.y < yres())
        pointer_ = Point{m.x, m.y};
    else
        pointer_.reset();
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

// ---------------------------------------------------------------- timers

namespace {

bool istimer(const Message& m, int id) {
    return m.msg == Msg::timer && m.wparam == id;
}

}  // namespace

void HostCore::settimer(int id, int milliseconds) {
    milliseconds = std::max(milliseconds, 1);
    timers_[id] = milliseconds;
    armtimer(id, milliseconds);
}

void HostCore::killtimer(int id) {
    if (timers_.erase(id) == 0) return;
    disarmtimer(id);
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [id](const Message& m) { return istimer(m, id); }),
                 queue_.end());
}

void HostCore::timerdue(int id) {
    if (timers_.count(id) == 0) return;
    // Timer messages are not stored up: a procedure slower than its timer
    // gets one message when it is ready, not a backlog.
    for (const Message& m : queue_)
        if (istimer(m, id)) return;
    post(Message::timer(id));
}

// ---------------------------------------------------------------- side windows

SideWindow& HostCore::opensidewindow(int id, const std::string& title, const SideSize& size) {
    auto& slot = sides_[id];
    if (!slot) slot = makesidewindow(id, title, size);
    return *slot;
}

void HostCore::resizeside(int id, int width, int height) {
    SideWindow* s = sidewindow(id);
    if (!s || (s->xres() == width && s->yres() == height)) return;
    s->resize(width, height);
    send(Message::sidesize(id));
}

void HostCore::closesidewindow(int id) {
    // The window goes after it left the map, so that whatever its
    // destruction sets off finds it closed.
    auto it = sides_.find(id);
    if (it == sides_.end()) return;
    std::unique_ptr<SideWindow> gone = std::move(it->second);
    sides_.erase(it);
}

SideWindow* HostCore::sidewindow(int id) {
    auto it = sides_.find(id);
    return it == sides_.end() ? nullptr : it->second.get();
}

}  // namespace shell
