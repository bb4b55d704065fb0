#include "host.h"

#include <algorithm>

#include "../filedialog.h"

namespace shell::headless {

// ---------------------------------------------------------------- Dialog

Dialog::Dialog(const DialogTemplate& t, DialogProc& proc) : t_(t), proc_(proc) {
    for (const auto& c : t_.controls) {
        if (c.id < 0) continue;
        State& s = states_[c.id];
        s.text = c.text;
    }
}

Dialog::State& Dialog::state(int id) {
    return states_[id];
}

const Dialog::State* Dialog::find(int id) const {
    auto it = states_.find(id);
    return it == states_.end() ? nullptr : &it->second;
}

void Dialog::send(const DialogMessage& m) {
    if (!ended_) proc_.handle(*this, m);
}

void Dialog::init() {
    proc_.handle(*this, DialogMessage{DlgMsg::init, 0, 0, 0});
}

std::string Dialog::text(int id) const {
    const State* s = find(id);
    return s ? s->text : std::string();
}

void Dialog::settext(int id, const std::string& s) {
    state(id).text = s;
    const ControlTemplate* c = t_.find(id);
    if (c && c->kind == Control::edit) send(DialogMessage{DlgMsg::command, id, en_change, 0});
}

void Dialog::check(int id, bool on) {
    state(id).checked = on;
}
bool Dialog::checked(int id) const {
    const State* s = find(id);
    return s && s->checked;
}
void Dialog::enable(int id, bool on) {
    state(id).enabled = on;
}
bool Dialog::enabled(int id) const {
    const State* s = find(id);
    return !s || s->enabled;
}
void Dialog::setimage(int id, const Surface* picture) {
    state(id).image = picture;
}
const Surface* Dialog::image(int id) const {
    const State* s = find(id);
    return s ? s->image : nullptr;
}
void Dialog::setrange(int id, int lo, int hi) {
    State& s = state(id);
    s.lo = lo;
    s.hi = hi;
    s.pos = std::clamp(s.pos, lo, std::max(lo, hi));
}
std::pair<int, int> Dialog::range(int id) const {
    const State* s = find(id);
    return s ? std::make_pair(s->lo, s->hi) : std::make_pair(0, 100);
}
void Dialog::setpos(int id, int pos) {
    State& s = state(id);
    s.pos = std::clamp(pos, s.lo, std::max(s.lo, s.hi));
}
int Dialog::pos(int id) const {
    const State* s = find(id);
    return s ? s->pos : 0;
}
void Dialog::end(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
}

void Dialog::type(int id, const std::string& s) {
    if (!enabled(id) || ended_) return;
    settext(id, s);
}

void Dialog::click(int id) {
    const ControlTemplate* c = t_.find(id);
    if (!c || !enabled(id) || ended_) return;
    if (c->kind == Control::checkbox) {
        state(id).checked = !checked(id);
    } else if (c->kind == Control::radio) {
        // Find the run of radios this one belongs to and make it the only one.
        auto& cs = t_.controls;
        size_t i = size_t(c - cs.data());
        size_t first = i;
        while (first > 0 && !cs[first].group && cs[first - 1].kind == Control::radio) --first;
        for (size_t j = first; j < cs.size() && cs[j].kind == Control::radio; ++j) {
            if (j > first && cs[j].group) break;
            state(cs[j].id).checked = false;
        }
        state(id).checked = true;
    }
    send(DialogMessage{DlgMsg::command, id, bn_clicked, 0});
}

void Dialog::enter() {
    if (t_.find(1)) click(1);
}
void Dialog::escape() {
    if (t_.find(2)) click(2);
}
void Dialog::closebox() {
    if (t_.closebox) send(DialogMessage{DlgMsg::close, 0, 0, 0});
}

void Dialog::hscroll(int id, int code) {
    send(DialogMessage{DlgMsg::hscroll, id, code, pos(id)});
}

void Dialog::trackkey(int id, int vk) {
    if (!enabled(id) || ended_) return;
    State& s = state(id);
    int page = std::max(1, (s.hi - s.lo) / 5);
    int code;
    switch (vk) {
        case vk_left:
        case vk_up:
            s.pos = std::max(s.lo, s.pos - 1), code = tb_lineup;
            break;
        case vk_right:
        case vk_down:
            s.pos = std::min(s.hi, s.pos + 1), code = tb_linedown;
            break;
        case vk_prior:
            s.pos = std::max(s.lo, s.pos - page), code = tb_pageup;
            break;
        case vk_next:
            s.pos = std::min(s.hi, s.pos + page), code = tb_pagedown;
            break;
        case vk_home:
            s.pos = s.lo, code = tb_top;
            break;
        case vk_end:
            s.pos = s.hi, code = tb_bottom;
            break;
        default:
            return;
    }
    hscroll(id, code);
    hscroll(id, tb_endtrack);
}

void Dialog::trackdrag(int id, const std::vector<int>& positions) {
    if (!enabled(id) || ended_) return;
    for (int p : positions) {
        setpos(id, p);
        hscroll(id, tb_thumbtrack);
    }
    hscroll(id, tb_thumbposition);
    hscroll(id, tb_endtrack);
}

// ---------------------------------------------------------------- Host

Host::Host(const ProgramDesc& d) : Window(d.width, d.height), desc_(d) {
    title_ = d.title;
    program_ = d.make();
    program_->startfile = d.startfile;
    dispatch(Message::simple(Msg::create));
    pump();
}

Host::~Host() = default;

void Host::dispatch(const Message& m) {
    if (destroyed_) return;
    Message t;
    const Message& real = translateaccelerator(desc_, m, t) ? t : m;
    if (real.msg == Msg::destroy) destroyed_ = true;
    int r = program_->proc(*this, real);
    // The default action of the paint message validates without drawing; that
    // of the others does nothing here.
    (void)r;
}

void Host::send(const Message& m) {
    dispatch(m);
    pump();
}

void Host::pump() {
    while (!queue_.empty() && !ended_) {
        Message m = queue_.front();
        queue_.pop_front();
        dispatch(m);
    }
}

void Host::close() {
    // The default window procedure turns a close into the window's destruction.
    send(Message::simple(Msg::destroy));
}

void Host::quit(int code) {
    ended_ = true;
    exitcode_ = code;
}

void Host::settitle(const std::string& s) {
    title_ = s;
    titlelog.push_back(s);
}

void Host::setbusy(bool on) {
    if (busy_ != on) ++busychanges;
    busy_ = on;
}

void Host::flush() {
    ++flushes;
    if (onflush) onflush();
}

void Host::messagebox(const std::string& text, const std::string& caption, Icon icon, bool owned) {
    boxes.push_back(ShownBox{text, caption, icon, owned});
}

bool Host::filedialog(FileDialogRecord& rec, bool save) {
    (void)save;
    filedialogs.push_back(rec);
    if (fileanswers.empty()) return false;
    std::optional<std::string> a = fileanswers.front();
    fileanswers.pop_front();
    if (!a || a->empty()) return false;
    acceptfile(rec, withdefaultext(*a, rec.defext));
    return true;
}

int Host::dialogbox(const DialogTemplate& t, DialogProc& proc) {
    modalcaptions.push_back(t.caption);
    dialogs_.push_back(std::make_unique<Dialog>(t, proc));
    Dialog& d = *dialogs_.back();
    d.init();
    if (!modalscripts.empty()) {
        auto script = modalscripts.front();
        modalscripts.pop_front();
        if (!d.ended()) script(d);
    }
    if (!d.ended()) d.escape();
    if (!d.ended()) d.end(0);
    return d.result();
}

DialogView* Host::createdialog(const DialogTemplate& t, DialogProc& proc) {
    dialogs_.push_back(std::make_unique<Dialog>(t, proc));
    modeless_ = dialogs_.back().get();
    modeless_->init();
    return modeless_;
}

Dialog* Host::modeless() {
    if (modeless_ && modeless_->ended()) modeless_ = nullptr;
    return modeless_;
}

}  // namespace shell::headless
