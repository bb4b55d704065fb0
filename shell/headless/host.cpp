#include "host.h"

#include <algorithm>

#include "shell/window/dialoglogic.h"
#include "shell/window/filedialog.h"

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
    // Unless the procedure placed it, the focus goes to the first control
    // that takes it.
    if (focused_ == 0 && !ended_)
        movefocus(nexttabstop(
                      t_, 0, false, [this](int id) { return enabled(id); },
                      [this](int id) { return checked(id); }),
                  true);
}

bool Dialog::isedit(int id) const {
    const ControlTemplate* c = t_.find(id);
    return c && c->kind == Control::edit;
}

void Dialog::movefocus(int id, bool selectall) {
    if (id == focused_ || ended_) return;
    const int old = focused_;
    focused_ = id;
    selected_ = selectall && isedit(id);
    if (old != 0 && isedit(old)) send(DialogMessage{DlgMsg::command, old, en_killfocus, 0});
    if (id != 0 && isedit(id)) send(DialogMessage{DlgMsg::command, id, en_setfocus, 0});
}

void Dialog::tab(bool backwards) {
    movefocus(nexttabstop(
                  t_, focused_, backwards, [this](int id) { return enabled(id); },
                  [this](int id) { return checked(id); }),
              true);
}

void Dialog::clickbox(int id) {
    if (!enabled(id) || ended_ || !isedit(id)) return;
    movefocus(id, false);
    selected_ = false;
}

void Dialog::keys(const std::string& s) {
    if (ended_ || !isedit(focused_) || !enabled(focused_)) return;
    std::string text = selected_ ? s : this->text(focused_) + s;
    selected_ = false;
    settext(focused_, text);
}

std::string Dialog::text(int id) const {
    const State* s = find(id);
    return s ? s->text : std::string();
}

void Dialog::settext(int id, const std::string& s) {
    const ControlTemplate* c = t_.find(id);
    const bool edit = c && c->kind == Control::edit;
    state(id).text = edit ? limittext(s, c->limit) : s;
    if (edit) send(DialogMessage{DlgMsg::command, id, en_change, 0});
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
    // A click on a button gives it the focus first, so a box being edited
    // hears that it lost it.
    if (c->tabstop) movefocus(id, false);
    if (ended_) return;
    if (c->kind == Control::checkbox) {
        state(id).checked = !checked(id);
    } else if (c->kind == Control::radio) {
        for (int other : radiorun(t_, id)) state(other).checked = other == id;
    }
    send(DialogMessage{DlgMsg::command, id, bn_clicked, 0});
}

// Enter and Esc press their buttons without moving the focus.
void Dialog::enter() {
    if (int id = enterbutton(t_, focused_, [this](int c) { return enabled(c); }))
        send(DialogMessage{DlgMsg::command, id, bn_clicked, 0});
}
void Dialog::escape() {
    if (int id = escapebutton([this](int c) { return enabled(c); }))
        send(DialogMessage{DlgMsg::command, id, bn_clicked, 0});
}
void Dialog::arrow(int vk) {
    if (ended_) return;
    const int to = radioarrow(t_, focused_, vk, [this](int c) { return enabled(c); });
    // The button reached takes the focus and is chosen, as a click does.
    if (to != 0) click(to);
}
void Dialog::closebox() {
    // Without a system menu the dialog asks for no close button; one that a
    // window manager draws anyway does what Esc does.
    if (t_.closebox)
        send(DialogMessage{DlgMsg::close, 0, 0, 0});
    else
        escape();
}

void Dialog::hscroll(int id, int code) {
    send(DialogMessage{DlgMsg::hscroll, id, code, pos(id)});
}

void Dialog::trackkey(int id, int vk) {
    if (!enabled(id) || ended_) return;
    State& s = state(id);
    std::optional<TrackStep> step = shell::trackkey(vk, s.pos, s.lo, s.hi);
    if (!step) return;
    s.pos = step->pos;
    hscroll(id, step->code);
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

void Dialog::key(int vk, int mods) {
    DialogMessage m{DlgMsg::key, 0, vk, 0};
    m.mods = mods;
    send(m);
}

// ---------------------------------------------------------------- Host

Host::Host(const ProgramDesc& d) : HostCore(d) {
    dispatch(Message::simple(Msg::create));
    pump();
}

Host::~Host() {
    // The side windows write to the log as they go.
    closesidewindows();
}

void Host::close() {
    // The default window procedure turns a close into the window's destruction.
    send(Message::simple(Msg::destroy));
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
    filedialogs.push_back(rec);
    std::string folder = dialogfolder(rec);
    int type = rec.filterindex;
    if (!filetypes.empty()) {
        type = filetypes.front();
        filetypes.pop_front();
    }
    while (!fileanswers.empty()) {
        std::optional<std::string> a = fileanswers.front();
        fileanswers.pop_front();
        if (!a) return false;
        Choice c = resolvechoice(rec, folder, *a, type, save);
        switch (c.action) {
            case ChoiceAction::accept:
                acceptfile(rec, c.path);
                rec.filterindex = type;
                return true;
            case ChoiceAction::navigate:
                folder = c.path;
                break;
            case ChoiceAction::confirmoverwrite: {
                bool yes = overwriteanswers.empty() || overwriteanswers.front();
                if (!overwriteanswers.empty()) overwriteanswers.pop_front();
                chooserboxes.push_back(overwritequestion(c.path));
                if (yes) {
                    acceptfile(rec, c.path);
                    rec.filterindex = type;
                    return true;
                }
                break;
            }
            case ChoiceAction::notfound:
                chooserboxes.push_back(notfoundtext(c.path));
                break;
            default:
                break;
        }
    }
    return false;
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
