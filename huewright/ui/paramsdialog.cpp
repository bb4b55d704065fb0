// Sections: the dialog template; reading the boxes; the dialog procedure
// (opening, edits, choices, apply, OK, Cancel, Restore, Invert).
#include "huewright/ui/paramsdialog.h"

#include <cctype>
#include <string>

#include "huewright/ui/mainwindow.h"

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

int32_t* field(PARAMETERS& ps, int id) {
    switch (id) {
        case id_xsh:
            return &ps.xsh;
        case id_amp:
            return &ps.amp;
        case id_ysh:
            return &ps.ysh;
        case id_aan:
            return &ps.aan;
        case id_avt:
            return &ps.avt;
        case id_b0:
            return &ps.b0;
        case id_b255:
            return &ps.b255;
        case id_bc1x:
            return &ps.bc1x;
        case id_bc1y:
            return &ps.bc1y;
        case id_bc2x:
            return &ps.bc2x;
        case id_bc2y:
            return &ps.bc2y;
        case id_L0:
            return &ps.L0;
        case id_L255:
            return &ps.L255;
        case id_Lmx:
            return &ps.Lmx;
        case id_Lmy:
            return &ps.Lmy;
        default:
            return nullptr;
    }
}

// The boxes whose values move a control point.
bool placespoints(int id) {
    return id == id_xsh || (id >= id_bc1x && id <= id_bc2y);
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
        mw_.g_hDlg = &v;
        opening(v);
        return 1;
    }
    if (msg.msg != shell::DlgMsg::command) return 0;
    Model& m = mw_.model;
    const int id = msg.id;
    switch (id) {
        case id_ok:
            ok(v);
            return 1;
        case id_cancel:
            cancel(v);
            return 1;
        case id_invert:
            invert(v);
            draw(*mw_.win, m);
            dots();
            return 1;
        case id_restore:
            restore(v);
            return 1;
        case id_apply:
            apply();
            return 1;
        case id_sine:
        case id_arc:
        case id_bezier:
        case id_line:
            choosetype(v, id - id_sine);
            return 0;
        case id_phase1:
        case id_phase2:
            m.ptemp.sp = id - 219;
            apply();
            return 0;
        case id_quadratic:
        case id_cubic:
            m.ptemp.bd = id - id_quadratic;
            v.enable(id_bc2x, m.ptemp.bd == 1);
            v.enable(id_bc2y, m.ptemp.bd == 1);
            mw_.enabledrag1 = 1;
            mw_.enabledrag2 = m.ptemp.bd == 1 ? 1 : 0;
            apply();
            return 0;
        case id_segments1:
        case id_segments2:
            m.ptemp.Ln = id - 235;
            v.enable(id_Lmx, m.ptemp.Ln == 2);
            v.enable(id_Lmy, m.ptemp.Ln == 2);
            apply();
            return 0;
        case id_stretch:
            // Written straight into the channel's flag: neither Cancel nor
            // Restore takes it back.
            m.stretchflag[m.cndx] = v.checked(id_stretch) ? 1 : 0;
            apply();
            return 0;
        default:
            if (field(m.ptemp, id)) {
                edit(v, id);
                // A box that is left shows the number it applied, so that
                // what it shows and what the curve uses always agree.
                if (msg.code == shell::en_killfocus) showapplied(v, id);
            }
            return 0;
    }
}

void ParamsDialogProc::showapplied(shell::DialogView& v, int id) {
    const std::string applied = std::to_string(*field(mw_.model.ptemp, id));
    if (v.text(id) != applied) v.settext(id, applied);
}

void ParamsDialogProc::setenabled(shell::DialogView& v, int ct, int bd, int Ln) {
    auto range = [&](int first, int last, bool on) {
        for (int id = first; id <= last; ++id) v.enable(id, on);
    };
    range(id_phase1, id_Lmy, false);
    switch (ct) {
        case 0:
            range(id_phase1, id_ysh, true);
            break;
        case 1:
            range(id_aan, id_avt, true);
            break;
        case 2:
            range(id_quadratic, id_bc1y, true);
            range(id_bc2x, id_bc2y, bd == 1);
            v.enable(id_stretch, true);
            break;
        default:
            range(id_segments1, id_L255, true);
            range(id_Lmx, id_Lmy, Ln == 2);
            break;
    }
    mw_.enabledrag1 = ct == 0 || ct == 2 ? 1 : 0;
    mw_.enabledrag2 = ct == 2 && bd == 1 ? 1 : 0;
}

void ParamsDialogProc::opening(shell::DialogView& v) {
    Model& m = mw_.model;
    const int c = m.cndx;
    const PARAMETERS& ps = m.p[c];
    m.ptemp = ps;
    prestore = ps;
    for (int i = 0; i < 256; ++i) palrestore[i][c] = m.palette[i][c];
    setenabled(v, ps.ct, ps.bd, ps.Ln);
    checkone(v, id_sine, id_line, id_sine + ps.ct);
    checkone(v, id_phase1, id_phase2, 219 + ps.sp);
    checkone(v, id_quadratic, id_cubic, id_quadratic + ps.bd);
    checkone(v, id_segments1, id_segments2, 235 + ps.Ln);
    // Each fill is a change of its box and applies the channel, so a column
    // loaded from a MAP file follows its curve again from here on.
    for (int id : kEdits) v.settext(id, std::to_string(*field(m.p[c], id)));
    v.check(id_stretch, m.stretchflag[c] != 0);
}

void ParamsDialogProc::edit(shell::DialogView& v, int id) {
    Model& m = mw_.model;
    int32_t& f = *field(m.ptemp, id);
    f = readbox(v.text(id));
    // Each clamp that changes the value writes it back, which notifies the
    // box again; the nested handling reads the clamped text and applies.
    auto writeback = [&](int value) {
        f = value;
        v.settext(id, std::to_string(value));
    };
    if (f < 0) writeback(0);
    if (id != id_ysh && f > 255) writeback(255);
    if (id == id_amp && m.ptemp.amp > 255 - m.ptemp.ysh) writeback(255 - m.ptemp.ysh);
    if (id == id_ysh && m.ptemp.ysh > 255 - m.ptemp.amp) writeback(255 - m.ptemp.amp);
    if (placespoints(id)) m.setcontrolpoints(m.cndx, m.ptemp);
    apply();
}

void ParamsDialogProc::choosetype(shell::DialogView& v, int ct) {
    Model& m = mw_.model;
    m.ptemp.ct = ct;
    setenabled(v, ct, m.ptemp.bd, m.ptemp.Ln);
    apply();
}

void ParamsDialogProc::apply() {
    ++applies;
    Model& m = mw_.model;
    m.calcchannel(m.ptemp);
    draw(*mw_.win, m);
    dots();
}

void ParamsDialogProc::dots() {
    // On the window only: the next redraw or repaint of the display removes
    // them, so they never reach a saved screen.
    shell::Window& w = *mw_.win;
    const PARAMETERS& t = mw_.model.ptemp;
    auto dot = [&](int x, int y, shell::Rgb c) {
        drawdot(w.g_hdc, x, y, c);
        w.hdcchanged(shell::Rect{x - 4, y - 4, x + 5, y + 5});
    };
    if (t.ct == 0) {
        dot(t.xsh + 500, kCurveBase - 128, kYellow);
    } else if (t.ct == 2) {
        dot(t.bc1x + 500, kCurveBase - t.bc1y, kYellow);
        if (t.bd == 1) dot(t.bc2x + 500, kCurveBase - t.bc2y, kMagenta);
    }
}

void ParamsDialogProc::restorecolumn() {
    Model& m = mw_.model;
    const int c = m.cndx;
    for (int i = 0; i < 256; ++i) m.palette[i][c] = palrestore[i][c];
}

void ParamsDialogProc::ok(shell::DialogView& v) {
    for (int id : kEdits) showapplied(v, id);
    apply();
    Model& m = mw_.model;
    const int c = m.cndx;
    m.p[c] = m.ptemp;
    mw_.enabledrag1 = mw_.enabledrag2 = 0;
    mw_.okdrag = 0;
    // The dots are on the window only; a redraw removes them.
    if (m.p[c].ct == 0 || m.p[c].ct == 2) draw(*mw_.win, m);
    m.okdisplay[c] = 1;
    displayparams(*mw_.win, *mw_.screen, m, c);
    mw_.parameterflag = 0;
    writedescription(mw_.files.descriptionstring, m.p, m.stretchflag);
    mw_.g_hDlg = nullptr;
    v.end(id_ok);
}

void ParamsDialogProc::cancel(shell::DialogView& v) {
    Model& m = mw_.model;
    const int c = m.cndx;
    m.p[c] = prestore;
    restorecolumn();
    draw(*mw_.win, m);
    displayparams(*mw_.win, *mw_.screen, m, c);
    mw_.enabledrag1 = mw_.enabledrag2 = 0;
    mw_.okdrag = 0;
    mw_.parameterflag = 0;
    mw_.g_hDlg = nullptr;
    v.end(id_cancel);
}

void ParamsDialogProc::restore(shell::DialogView& v) {
    Model& m = mw_.model;
    m.p[m.cndx] = prestore;
    restorecolumn();
    draw(*mw_.win, m);
    opening(v);
}

void ParamsDialogProc::invert(shell::DialogView& v) {
    Model& m = mw_.model;
    PARAMETERS& t = m.ptemp;
    auto write = [&](int id) { v.settext(id, std::to_string(*field(t, id))); };
    switch (t.ct) {
        case 0:
            t.xsh = (t.xsh + 128) % 256;
            m.setcontrolpoints(m.cndx, t);
            write(id_xsh);
            break;
        case 1:
            t.aan = 255 - t.aan;
            t.avt = 255 - t.avt;
            write(id_aan);
            write(id_avt);
            break;
        case 2:
            // The x coordinates of the controls stay; the heights flip.
            t.b0 = 255 - t.b0;
            t.b255 = 255 - t.b255;
            t.bc1y = 255 - t.bc1y;
            t.bc2y = 255 - t.bc2y;
            m.setcontrolpoints(m.cndx, t);
            write(id_b0);
            write(id_b255);
            write(id_bc1y);
            write(id_bc2y);
            break;
        default:
            t.L0 = 255 - t.L0;
            t.L255 = 255 - t.L255;
            t.Lmy = 255 - t.Lmy;
            write(id_L0);
            write(id_L255);
            write(id_Lmy);
            break;
    }
}

}  // namespace huewright
