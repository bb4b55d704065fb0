#include "widgetio.h"

#include <FL/Fl.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_draw.H>

#include "shell/window/message.h"

namespace shell::fltk {

Rect drawnpart(const Fl_Widget* w) {
    int X, Y, W, H;
    fl_clip_box(w->x(), w->y(), w->w(), w->h(), X, Y, W, H);
    if (W <= 0 || H <= 0) return Rect{};
    return Rect{X - w->x(), Y - w->y(), X - w->x() + W, Y - w->y() + H};
}

void drawsurface(const Fl_Widget* w, const Surface& s, Rect r) {
    r = intersect(r, Rect{0, 0, s.devicewidth(), s.deviceheight()});
    if (r.empty()) return;
    fl_draw_image(s.row(r.top) + size_t(r.left) * 3, w->x() + r.left, w->y() + r.top, r.width(),
                  r.height(), 3, s.stride());
}

int virtualkey(int key) {
    if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
    if (key >= '0' && key <= '9') return key;
    if (key >= FL_F + 1 && key <= FL_F + 12) return 112 + (key - FL_F - 1);
    switch (key) {
        case FL_Escape:
            return vk_escape;
        case FL_Enter:
        case FL_KP_Enter:
            return vk_return;
        case FL_Left:
            return vk_left;
        case FL_Right:
            return vk_right;
        case FL_Up:
            return vk_up;
        case FL_Down:
            return vk_down;
        case FL_Home:
            return vk_home;
        case FL_End:
            return vk_end;
        case FL_Page_Up:
            return vk_prior;
        case FL_Page_Down:
            return vk_next;
        case ' ':
            return 32;
        case FL_Tab:
            return 9;
        case FL_BackSpace:
            return vk_back;
        // The punctuation keys by their unshifted symbols, which is what FLTK
        // reports with or without Shift.
        case '=':
            return vk_oem_plus;
        case '-':
            return vk_oem_minus;
        case ',':
            return vk_oem_comma;
        case '.':
            return vk_oem_period;
        case '[':
            return vk_oem_4;
        case ']':
            return vk_oem_6;
        case FL_KP + '+':
            return vk_add;
        case FL_KP + '-':
            return vk_subtract;
        default:
            return 0;
    }
}

int modifiers() {
    const int state = Fl::event_state();
    return (state & FL_SHIFT ? mod_shift : 0) | (state & FL_CTRL ? mod_ctrl : 0) |
           (state & FL_ALT ? mod_alt : 0);
}

int eventkey(int e, const Fl_Widget* w) {
    if (e == FL_SHORTCUT && Fl::focus() == w) return 0;
    return virtualkey(Fl::event_key());
}

}  // namespace shell::fltk
