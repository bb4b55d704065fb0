// Sections: the dialog template; reading the boxes; the dialog procedure
// (opening, edits, choices, OK, Cancel, Restore, Invert).
#include "huewright/ui/paramsdialog.h"

#include <cctype>
#include <string>

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
    t.cy = 415;
    // A popup with a caption and no system menu: it closes through its
    // buttons, Enter and Esc only.
    t.closebox = false;
    constexpr int none = -1;
    auto label = [](const char* text, int x, int y, int cx, int cy) {
        return shell::ControlTemplate{none, Control::text, text, x, y, cx, cy, false, false};
    };
    auto group = [](int id, const char* text, int x, int y, int cx, int cy) {
        return shell::ControlTemplate{id, Control::groupbox, text, x, y, cx, cy, false, false};
    };
    auto radio = [](int id, const char* text, int x, int y, int cx, int cy, bool first) {
        return shell::ControlTemplate{id, Control::radio, text, x, y, cx, cy, first, true};
    };
    // A box holds as many characters as the dialog reads of it.
    auto edit = [](int id, int x, int y) {
        return shell::ControlTemplate{id, Control::edit, "", x, y, 30, 12, false, true, kBoxChars};
    };
    auto button = [](int id, const char* text, int x, int y) {
        return shell::ControlTemplate{id, Control::button, text, x, y, 50, 14, false, true};
    };
    auto line = [](int y) {
        return shell::ControlTemplate{210, Control::etchedline, "", 17, y, 144, 1, false, false};
    };
    // Controls in reading order, which is also the Tab order. The radios of
    // each choice stand together so that they form one exclusive run.
    t.controls = {
        group(205, "   Curve Type   ", 6, 3, 162, 32),
        radio(id_sine, "Sine", 16, 16, 32, 12, true),
        radio(id_arc, "Arc", 54, 16, 28, 12, false),
        radio(id_bezier, "Bezier", 86, 16, 32, 12, false),
        radio(id_line, "Line", 128, 16, 32, 12, false),

        group(206, "   Sine   ", 6, 42, 162, 80),
        label("Phase", 18, 54, 28, 8),
        radio(id_phase1, "1", 72, 52, 20, 12, true),
        radio(id_phase2, "2", 128, 52, 24, 12, false),
        label("X Shift: 0 -> 255  -  Drag or type.", 18, 70, 102, 8),
        edit(id_xsh, 128, 69),
        label("Amplitude: 0 -> 255", 18, 87, 102, 8),
        edit(id_amp, 128, 86),
        label("Y Shift: 0 -> ( 255 - Amplitude )", 18, 104, 110, 8),
        edit(id_ysh, 128, 103),

        group(207, "   Arc   ", 6, 128, 162, 48),
        label("Anchor Y value: 0 -> 255", 18, 141, 100, 8),
        edit(id_aan, 128, 140),
        label("Vertex Y value: 0 -> 255", 18, 158, 100, 8),
        edit(id_avt, 128, 157),

        group(208, "   Bezier  ", 6, 182, 162, 119),
        label("Degree", 18, 194, 28, 8),
        radio(id_quadratic, "Quadratic", 72, 192, 50, 12, true),
        radio(id_cubic, "Cubic", 128, 192, 30, 12, false),
        label("( 0 , y )", 18, 210, 25, 8),
        edit(id_b0, 45, 209),
        label("( 255, y )", 95, 210, 30, 8),
        edit(id_b255, 128, 209),
        line(226),
        label("Drag the control points, or type in the boxes.", 18, 231, 145, 8),
        label("Control 1: yellow", 18, 247, 66, 8),
        edit(id_bc1x, 85, 246),
        edit(id_bc1y, 128, 246),
        label("Control 2: magenta", 18, 264, 66, 10),
        edit(id_bc2x, 85, 263),
        edit(id_bc2y, 128, 263),
        line(280),
        {id_stretch, Control::checkbox, "Stretch curve vertically", 18, 285, 120, 12, false, true},

        group(209, "   Line Segments   ", 6, 307, 162, 62),
        label("Number", 18, 319, 28, 8),
        radio(id_segments1, "1", 72, 317, 20, 12, true),
        radio(id_segments2, "2", 128, 317, 24, 12, false),
        label("( 0 , y )", 18, 335, 25, 8),
        edit(id_L0, 45, 334),
        label("( 255, y )", 95, 335, 30, 8),
        edit(id_L255, 128, 334),
        label("Middle ( x, y )", 18, 352, 66, 8),
        edit(id_Lmx, 85, 351),
        edit(id_Lmy, 128, 351),

        button(id_invert, "Invert", 24, 375),
        button(id_restore, "Restore", 96, 375),
        button(id_ok, "OK", 24, 395),
        button(id_cancel, "Cancel", 96, 395),
    };
    return t;
}

// ---------------------------------------------------------------- boxes

namespace {

// The edit boxes in the order the opening fills them.
constexpr int kEdits[15] = {id_xsh,  id_amp,  id_ysh,  id_aan, id_avt,  id_b0,  id_b255, id_bc1x,
                            id_bc1y, id_bc2x, id_bc2y, id_L0,  id_L255, id_Lmx, id_Lmy};

// The field of the record a box edits, or none.
Field fieldof(int id) {
    switch (id) {
        case id_xsh:
            return &Parameters::xsh;
        case id_amp:
            return &Parameters::amp;
        case id_ysh:
            return &Parameters::ysh;
        case id_aan:
            return &Parameters::aan;
        case id_avt:
            return &Parameters::avt;
        case id_b0:
            return &Parameters::b0;
        case id_b255:
            return &Parameters::b255;
        case id_bc1x:
            return &Parameters::bc1x;
        case id_bc1y:
            return &Parameters::bc1y;
        case id_bc2x:
            return &Parameters::bc2x;
        case id_bc2y:
            return &Parameters::bc2y;
        case id_L0:
            return &Parameters::L0;
        case id_L255:
            return &Parameters::L255;
        case id_Lmx:
            return &Parameters::Lmx;
        case id_Lmy:
            return &Parameters::Lmy;
        default:
            return nullptr;
    }
}

// The box that shows a field.
int boxof(Field f) {
    for (int id : kEdits)
        if (fieldof(id) == f) return id;
    return 0;
}

// Checks `on` and clears the others of the run first ... last.
void checkone(shell::DialogView& v, int first, int last, int on) {
    for (int id = first; id <= last; ++id) v.check(id, id == on);
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
    if (t.ct != o.ct || t.bd != o.bd || t.Ln != o.Ln) setenabled(v);
    if (t.ct != o.ct) checkone(v, id_sine, id_line, id_sine + t.ct);
    if (t.sp != o.sp) checkone(v, id_phase1, id_phase2, id_phase1 - 1 + t.sp);
    if (t.bd != o.bd) checkone(v, id_quadratic, id_cubic, id_quadratic + t.bd);
    if (t.Ln != o.Ln) checkone(v, id_segments1, id_segments2, id_segments1 - 1 + t.Ln);
    for (int id : kEdits)
        if (t.*fieldof(id) != o.*fieldof(id)) showapplied(v, id);
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
        case id_sine:
        case id_arc:
        case id_bezier:
        case id_line:
            ed_.settype(id - id_sine);
            setenabled(v);
            return 0;
        case id_phase1:
        case id_phase2:
            ed_.setphase(id - id_phase1 + 1);
            return 0;
        case id_quadratic:
        case id_cubic:
            ed_.setdegree(id - id_quadratic);
            v.enable(id_bc2x, ed_.ptemp.bd == 1);
            v.enable(id_bc2y, ed_.ptemp.bd == 1);
            return 0;
        case id_segments1:
        case id_segments2:
            ed_.setsegments(id - id_segments1 + 1);
            v.enable(id_Lmx, ed_.ptemp.Ln == 2);
            v.enable(id_Lmy, ed_.ptemp.Ln == 2);
            return 0;
        case id_stretch:
            ed_.setstretch(v.checked(id_stretch));
            return 0;
        default:
            if (fieldof(id)) edit(v, id);
            return 0;
    }
}

void ParamsDialogProc::setenabled(shell::DialogView& v) {
    const Parameters& t = ed_.ptemp;
    auto range = [&](int first, int last, bool on) {
        for (int id = first; id <= last; ++id) v.enable(id, on);
    };
    range(id_phase1, id_Lmy, false);
    switch (t.ct) {
        case 0:
            range(id_phase1, id_ysh, true);
            break;
        case 1:
            range(id_aan, id_avt, true);
            break;
        case 2:
            range(id_quadratic, id_bc1y, true);
            range(id_bc2x, id_bc2y, t.bd == 1);
            v.enable(id_stretch, true);
            break;
        default:
            range(id_segments1, id_L255, true);
            range(id_Lmx, id_Lmy, t.Ln == 2);
            break;
    }
}

void ParamsDialogProc::opening(shell::DialogView& v) {
    const Parameters& ps = ed_.ptemp;
    setenabled(v);
    checkone(v, id_sine, id_line, id_sine + ps.ct);
    checkone(v, id_phase1, id_phase2, id_phase1 - 1 + ps.sp);
    checkone(v, id_quadratic, id_cubic, id_quadratic + ps.bd);
    checkone(v, id_segments1, id_segments2, id_segments1 - 1 + ps.Ln);
    // The boxes show the record the editor opened with (or went back to),
    // which it has applied already: writing them is no edit, and a box that
    // shows its number already is left alone.
    for (int id : kEdits) showapplied(v, id);
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
    for (int id : kEdits) showapplied(v, id);
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
