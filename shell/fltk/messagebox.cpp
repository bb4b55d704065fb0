#include "messagebox.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform.h"

namespace shell::fltk {

namespace {

// Sizes at scale 1; a screen of scale N has them N times as large.
constexpr int kTextSize = 14;
constexpr int kMarkSize = 34;
constexpr int kButtonWidth = 80, kButtonHeight = 26;

// Runs a modal box with one or two buttons; returns the index of the button
// pressed (the close button and Esc count as the last one).
int runbox(const std::string& text, const std::string& caption, bool mark,
           const std::vector<const char*>& buttons, Fl_Window* owner, int scale,
           const std::function<void()>& afterevent) {
    const auto px = [scale](int v) { return v * scale; };
    fl_font(FL_HELVETICA, px(kTextSize));
    int tw = 0, th = 0;
    fl_measure(labeltext(text).c_str(), tw, th, 0);
    const int markw = mark ? px(48) : 0;
    const int n = int(buttons.size());
    const int w = std::max({px(180), tw + markw + px(40), n * px(kButtonWidth + 12) + px(20)});
    const int h = std::max(th, mark ? px(kMarkSize) : 0) + px(70);
    int x, y;
    if (owner && owner->shown()) {
        x = owner->x() + (owner->w() - w) / 2;
        y = owner->y() + (owner->h() - h) / 2;
    } else {
        x = (Fl::w() - w) / 2;
        y = (Fl::h() - h) / 2;
    }
    Fl_Window win(x, y, w, h);
    win.copy_label(caption.c_str());
    if (mark) {
        auto* m = new Fl_Box(px(16), px(16), px(kMarkSize), px(kMarkSize), "!");
        m->box(FL_ROUND_UP_BOX);
        m->color(FL_YELLOW);
        m->labelfont(FL_HELVETICA_BOLD);
        m->labelsize(px(24));
    }
    auto* msg = new Fl_Box(px(20) + markw, px(16), tw + px(4), std::max(th, px(kMarkSize)));
    msg->copy_label(labeltext(text).c_str());
    msg->labelsize(px(kTextSize));
    msg->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    int answer = n - 1;
    const int left = (w - n * px(kButtonWidth) - (n - 1) * px(12)) / 2;
    Fl_Button* first = nullptr;
    for (int i = 0; i < n; ++i) {
        const int bx = left + i * px(kButtonWidth + 12), by = h - px(40);
        Fl_Button* b = nullptr;
        if (i == 0)
            b = new Fl_Return_Button(bx, by, px(kButtonWidth), px(kButtonHeight), buttons[i]);
        else
            b = new PushButton(bx, by, px(kButtonWidth), px(kButtonHeight), buttons[i]);
        b->labelsize(px(kTextSize));
        if (!first) first = b;
        if (i == n - 1 && n > 1) b->shortcut(FL_Escape);
        b->callback([](Fl_Widget* wd, void* v) {
            *static_cast<int*>(wd->window()->user_data()) = int(intptr_t(v));
            wd->window()->hide();
        });
        b->user_data(reinterpret_cast<void*>(intptr_t(i)));
    }
    win.user_data(&answer);
    win.callback([](Fl_Widget* wd, void*) { wd->hide(); });
    win.end();
    win.set_modal();
    win.show();
    makedialog(&win, owner, Frame::closable);
    focuswindow(&win);
    if (first) first->take_focus();
    while (win.shown()) {
        Fl::wait();
        if (afterevent) afterevent();
    }
    return answer;
}

}  // namespace

void showmessagebox(const std::string& text, const std::string& caption, Icon icon,
                    Fl_Window* owner, int scale, const std::function<void()>& afterevent) {
    runbox(text, caption, icon == Icon::exclamation, {"OK"}, owner, scale, afterevent);
}

bool askyesno(const std::string& text, const std::string& caption, Fl_Window* owner, int scale,
              const std::function<void()>& afterevent) {
    return runbox(text, caption, true, {"Yes", "No"}, owner, scale, afterevent) == 0;
}

}  // namespace shell::fltk
