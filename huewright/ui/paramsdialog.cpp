// Sections: the dialog template; reading the boxes; the dialog procedure
// (opening, edits, choices, OK, Cancel, Restore, Invert).
#include "huewright/ui/paramsdialog.h"

#include <cctype>
#include <string>
#include <vector>

#include "huewright/ui/curvetypeviews.h"
#include "shell/window/history.h"

namespace huewright {

using shell::Control;

// ---------------------------------------------------------------- template

shell::DialogTemplate paramstemplate() {
    shell::DialogTemplate t;
    t.caption = "   Parameter Selection   ";
    t.pointsize = 8;
    t.x = 142;
    t.y = 4;
    t.cx = 177;
    // A popup with a caption and no system menu: it closes through its
    // buttons, Enter and Esc only.
    t.closebox = false;
    auto group = [](int id, const char* text, int x, int y, int cx, int cy) {
        return shell::ControlTemplate{id, Control::groupbox, text, x, y, cx, cy, false, false};
    };
    auto radio = [](int id, const char* text, int x, int y, int cx, int cy, bool first) {
        return shell::ControlTemplate{id, Control::radio, text, x, y, cx, cy, first, true};
    };
    auto button = [](int id, const char* text, int x, int y) {
        return shell::ControlTemplate{id, Control::button, text, x, y, 50, 14, false, true};
    };
    // Controls in reading order, which is also the Tab order. The radios of
    // each choice stand together so that they form one exclusive run. The
    // Curve Type group holds a radio for each type; each type's own group
    // follows, stacked below the previous one.
    t.controls.push_back(group(205, "   Curve Type   ", 6, 3, 162, 32));
    for (const CurveTypeView& c : kCurveViews)
        t.controls.push_back(radio(c.radio.id, curvedesc(c.type).name, c.radio.x, 16, c.radio.cx,
                                   12, c.type == CurveType::sine));
    int top = 42;
    for (const CurveTypeView& c : kCurveViews) {
        t.controls.push_back(group(c.group.id, c.group.caption, 6, top, 162, c.group.height));
        for (const GroupControl& g : c.controls) {
            // Only the controls that take input are in the Tab order; a box
            // holds as many characters as the dialog reads of it.
            t.controls.push_back(shell::ControlTemplate{g.id, g.kind, g.text, g.x, top + g.y, g.cx,
                                                        g.cy, g.first, g.input(),
                                                        g.kind == Control::edit ? kBoxChars : 0});
        }
        top += c.group.height + 6;
    }
    t.controls.push_back(button(id_invert, "Invert", 24, top));
    t.controls.push_back(button(id_restore, "Restore", 96, top));
    t.controls.push_back(button(id_ok, "OK", 24, top + 20));
    t.controls.push_back(button(id_cancel, "Cancel", 96, top + 20));
    t.cy = top + 40;
    return t;
}

// ---------------------------------------------------------------- boxes

namespace {

// An edit box of a type's group and the field it shows.
struct Box {
    int id;
    Field field;
};

// The edit boxes in the order the opening fills them.
const std::vector<Box>& boxes() {
    static const std::vector<Box> all = [] {
        std::vector<Box> v;
        for (const CurveTypeView& c : kCurveViews)
            for (const GroupControl& g : c.controls)
                if (g.kind == Control::edit) v.push_back(Box{g.id, g.field});
        return v;
    }();
    return all;
}

// The field of the record a box edits, or none.
Field fieldof(int id) {
    for (const Box& b : boxes())
        if (b.id == id) return b.field;
    return nullptr;
}

// The box that shows a field.
int boxof(Field f) {
    for (const Box& b : boxes())
        if (b.field == f) return b.id;
    return 0;
}

// A radio of a type's group that chooses a value, and that type's view; or
// nulls.
struct ChoiceRadio {
    const CurveTypeView* view = nullptr;
    const GroupControl* radio = nullptr;
};
ChoiceRadio choiceradio(int id) {
    for (const CurveTypeView& c : kCurveViews)
        for (const GroupControl& g : c.controls)
            if (g.id == id && g.kind == Control::radio) return {&c, &g};
    return {};
}

// The radio of the record's curve type is checked, the others cleared.
void checktype(shell::DialogView& v, const Parameters& t) {
    for (const CurveTypeView& c : kCurveViews) v.check(c.radio.id, c.type == curvetype(t.ct));
}

// The radio of each choice whose field differs between t and o (every
// choice without o) is checked, the others of its run cleared.
void checkchoices(shell::DialogView& v, const Parameters& t, const Parameters* o = nullptr) {
    for (const CurveTypeView& c : kCurveViews)
        for (const GroupControl& run : c.controls) {
            if (run.kind != Control::radio || !run.first) continue;
            const Field f = run.field;
            if (o && t.*f == o->*f) continue;
            for (const GroupControl& g : c.controls)
                if (g.kind == Control::radio && g.field == f) v.check(g.id, g.value == t.*f);
        }
}

// Whether a control's enabling depends on a field that differs between t
// and o.
bool enablingdiffers(const Parameters& t, const Parameters& o) {
    for (const CurveTypeView& c : kCurveViews)
        for (const GroupControl& g : c.controls) {
            const Field f = g.enabled.field;
            if (f && t.*f != o.*f) return true;
        }
    return false;
}

}  // namespace

int readbox(const std::string& text) {
    const std::string s = text.substr(0, size_t(kBoxChars));
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    int v = 0;
    // Four characters hold at most four digits, so the value cannot overflow.
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        v = v * 10 + (s[i++] - '0');
    return negative ? -v : v;
}

// ---------------------------------------------------------------- procedure

int ParamsDialogProc::handle(shell::DialogView& v, const shell::DialogMessage& msg) {
    if (msg.msg == shell::DlgMsg::init) {
        opening(v);
        ed_.startsteps();
        view_ = &v;
        shown_ = ed_.editstate();
        ed_.notice.subscribe(*this);
        return 1;
    }
    if (msg.msg == shell::DlgMsg::key) return undokey(v, msg.code, msg.mods);
    if (msg.msg != shell::DlgMsg::command) return 0;
    // A write into a box notifies before it returns, so commands nest.
    const bool acting = acting_;
    acting_ = true;
    const int handled = command(v, msg);
    acting_ = acting;
    // Each click, and leaving a box, ends a step of the dialog's undo;
    // typing does not, so a box edited and left is one step.
    if (msg.code == shell::bn_clicked || msg.code == shell::en_killfocus) ed_.endstep();
    return handled;
}

int ParamsDialogProc::undokey(shell::DialogView&, int vk, int mods) {
    const shell::UndoKey k = shell::undokey(vk, mods);
    if (k == shell::UndoKey::none) return 0;
    // The step is shown as the editor announces it.
    if (k == shell::UndoKey::undo)
        ed_.undo();
    else
        ed_.redo();
    return 1;
}

void ParamsDialogProc::modelchanged(const Change&) {
    if (!view_) return;
    // What the dialog does itself it shows as it goes, and a box typed in
    // keeps what was typed; a change from elsewhere is shown here.
    if (!acting_) showchanges(*view_);
    shown_ = ed_.editstate();
}

void ParamsDialogProc::leave() {
    ed_.notice.unsubscribe(*this);
    view_ = nullptr;
}

void ParamsDialogProc::showchanges(shell::DialogView& v) {
    const EditState& was = shown_;
    // What changed is shown anew, as the opening shows it: the enabled
    // controls, the chosen radio buttons, the boxes and the check box.
    const Parameters &t = ed_.ptemp, &o = was.ptemp;
    const bool typechanged = curvetype(t.ct) != curvetype(o.ct);
    if (typechanged || enablingdiffers(t, o)) setenabled(v);
    if (typechanged) checktype(v, t);
    checkchoices(v, t, &o);
    for (const Box& b : boxes())
        if (t.*b.field != o.*b.field) showapplied(v, b.id);
    const EditState now = ed_.editstate();
    if (now.stretch != was.stretch) v.check(id_stretch, now.stretch != 0);
}

int ParamsDialogProc::command(shell::DialogView& v, const shell::DialogMessage& msg) {
    const int id = msg.id;
    switch (id) {
        case id_ok:
            ok(v);
            return 1;
        case id_cancel:
            cancel(v);
            return 1;
        case id_invert:
            showfields(v, ed_.invert());
            return 1;
        case id_restore:
            ed_.restorechannel();
            opening(v);
            return 1;
        case id_stretch:
            ed_.setstretch(v.checked(id_stretch));
            return 0;
        default:
            break;
    }
    for (const CurveTypeView& c : kCurveViews) {
        if (c.radio.id != id) continue;
        ed_.settype(c.type);
        setenabled(v);
        return 0;
    }
    if (const ChoiceRadio r = choiceradio(id); r.radio) {
        // The controls of the type that depend on the choice follow it.
        const GroupControl& chosen = *r.radio;
        ed_.setchoice(chosen.field, chosen.value);
        for (const GroupControl& g : r.view->controls)
            if (g.enabled.field == chosen.field) v.enable(g.id, g.enabled.holds(ed_.ptemp));
        return 0;
    }
    if (fieldof(id)) edit(v, id);
    return 0;
}

void ParamsDialogProc::setenabled(shell::DialogView& v) {
    // The inputs of every type's group are disabled, then those of the
    // record's type enabled as the record allows.
    const Parameters& t = ed_.ptemp;
    for (const CurveTypeView& c : kCurveViews)
        for (const GroupControl& g : c.controls)
            if (g.input()) v.enable(g.id, false);
    for (const GroupControl& g : curveview(t).controls)
        if (g.input()) v.enable(g.id, g.enabled.holds(t));
}

void ParamsDialogProc::opening(shell::DialogView& v) {
    const Parameters& ps = ed_.ptemp;
    setenabled(v);
    checktype(v, ps);
    checkchoices(v, ps);
    // The boxes show the record the editor opened with (or went back to),
    // which it has applied already: writing them is no edit, and a box that
    // shows its number already is left alone.
    for (const Box& b : boxes()) showapplied(v, b.id);
    v.check(id_stretch, ed_.model().stretchflag[ed_.channel()] != 0);
}

void ParamsDialogProc::edit(shell::DialogView& v, int id) {
    if (writing_) return;
    // Every notification of a box runs its handling: the number is read,
    // stored, clamped and applied. Only a clamp that changes the number
    // writes it back. Leaving a box rewrites nothing: an emptied box stays
    // empty while its field is 0, and "12ab" stays as typed while 12 is
    // used, so that leaving a box never puts text into it the user did not
    // type.
    const int typed = readbox(v.text(id));
    const int kept = ed_.setfield(fieldof(id), typed);
    if (kept != typed) showapplied(v, id);
}

void ParamsDialogProc::showapplied(shell::DialogView& v, int id) {
    const std::string applied = std::to_string(ed_.ptemp.*fieldof(id));
    if (v.text(id) == applied) return;
    writing_ = true;
    v.settext(id, applied);
    writing_ = false;
}

void ParamsDialogProc::showfields(shell::DialogView& v, Fields fields) {
    writing_ = true;
    for (Field f : fields) v.settext(boxof(f), std::to_string(ed_.ptemp.*f));
    writing_ = false;
}

void ParamsDialogProc::ok(shell::DialogView& v) {
    for (const Box& b : boxes()) showapplied(v, b.id);
    leave();
    ed_.stopsteps();
    ed_.commit();
    owner_.editended(true);
    v.end(id_ok);
}

void ParamsDialogProc::cancel(shell::DialogView& v) {
    leave();
    ed_.stopsteps();
    ed_.cancel();
    owner_.editended(false);
    v.end(id_cancel);
}

}  // namespace huewright
