#include "platform.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <algorithm>

namespace shell::fltk {

int displaydepth() {
    fl_open_display();
    return DefaultDepth(fl_display, fl_screen);
}

std::string displayresources() {
    // A display of its own, so that FLTK opens its display later as it
    // would without this look.
    ::Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return {};
    const char* db = XResourceManagerString(dpy);
    std::string out = db ? db : "";
    XCloseDisplay(dpy);
    return out;
}

std::string nodisplayreason() {
    const char* name = XDisplayName(nullptr);
    if (!name || !*name) return "No display: the DISPLAY variable is not set.";
    return std::string("Cannot open display ") + name + ".";
}

void focuswindow(Fl_Window* w) {
    if (!w || !w->shown()) return;
    w->wait_for_expose();
    XSetInputFocus(fl_display, fl_xid(w), RevertToParent, CurrentTime);
}

namespace {

Atom atom(const char* name) {
    return XInternAtom(fl_display, name, False);
}

}  // namespace

FrameExtents frameextents(Fl_Window* w) {
    FrameExtents e;
    if (!w || !w->shown()) return e;
    Atom type = None;
    int format = 0;
    unsigned long n = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(fl_display, fl_xid(w), atom("_NET_FRAME_EXTENTS"), 0, 4, False,
                           XA_CARDINAL, &type, &format, &n, &left, &data) == Success &&
        type == XA_CARDINAL && format == 32 && n == 4) {
        // Format 32 properties arrive as longs, whatever their width on the wire.
        const long* v = reinterpret_cast<const long*>(data);
        e = FrameExtents{int(v[0]), int(v[1]), int(v[2]), int(v[3])};
    }
    if (data) XFree(data);
    return e;
}

void keepframeonscreen(Fl_Window* w) {
    if (!w || !w->shown()) return;
    const FrameExtents e = frameextents(w);
    // Where the client area is on the screen now: the manager may have
    // moved it from where it was asked for.
    int x = 0, y = 0;
    ::Window child;
    XTranslateCoordinates(fl_display, fl_xid(w), RootWindow(fl_display, fl_screen), 0, 0, &x, &y,
                          &child);
    const int nx = std::max(x, e.left), ny = std::max(y, e.top);
    if (nx == x && ny == y) return;
    // FLTK may not have heard yet where the manager put the window, so it
    // is told the new place and the server is asked for it too.
    w->position(nx, ny);
    XMoveWindow(fl_display, fl_xid(w), nx, ny);
    XSync(fl_display, False);
}

namespace {

// The window manager hints of the Motif toolkit, which every current window
// manager reads: which functions the frame offers and what it draws.
enum MotifHints : long {
    hints_functions = 1,
    hints_decorations = 2,
    func_move = 4,
    func_close = 32,
    decor_border = 2,
    decor_title = 8,
    decor_menu = 16,
};

}  // namespace

void makedialog(Fl_Window* w, Fl_Window* owner, Frame frame) {
    if (!w || !w->shown()) return;
    const ::Window xid = fl_xid(w);
    if (owner && owner->shown()) XSetTransientForHint(fl_display, xid, fl_xid(owner));
    const Atom dialogtype = atom("_NET_WM_WINDOW_TYPE_DIALOG");
    XChangeProperty(fl_display, xid, atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&dialogtype), 1);
    long hints[5] = {hints_functions | hints_decorations, func_move, decor_border | decor_title, 0,
                     0};
    if (frame == Frame::closable) {
        hints[1] |= func_close;
        hints[2] |= decor_menu;
    } else if (frame == Frame::border) {
        // FLTK mapped the window without a border (so that it placed it
        // where asked); the manager draws the thin one now.
        hints[1] = 0;
        hints[2] = decor_border;
    }
    const Atom motif = atom("_MOTIF_WM_HINTS");
    XChangeProperty(fl_display, xid, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
    // FLTK mapped the window with hints of its own; window managers read the
    // hints again when they change.
    XFlush(fl_display);
}

int PushButton::handle(int e) {
    const int key = Fl::event_key();
    if (e == FL_KEYBOARD && Fl::focus() == this && (key == FL_Enter || key == FL_KP_Enter) &&
        !(Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META))) {
        simulate_key_action();
        do_callback();
        return 1;
    }
    return Fl_Button::handle(e);
}

int fontsize(int pointsize) {
    return pointsize >= 11 ? 15 : 11;
}

Fl_Font dialogfont(int pointsize) {
    static const Fl_Font sans = [] {
        Fl::set_font(FL_FREE_FONT, "Liberation Sans");
        return FL_FREE_FONT;
    }();
    static const Fl_Font serif = [] {
        Fl::set_font(Fl_Font(FL_FREE_FONT + 1), "Liberation Serif");
        return Fl_Font(FL_FREE_FONT + 1);
    }();
    return pointsize >= 11 ? serif : sans;
}

std::string labeltext(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '@') out += '@';
        out += c;
    }
    return out;
}

}  // namespace shell::fltk
