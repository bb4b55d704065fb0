// Sections: widgets (group box, trackbar, edit box, frame); DialogWindow.
#include "dialogwindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Hor_Nice_Slider.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "platform.h"
#include "shell/window/dialoglogic.h"
#include "shell/window/history.h"

namespace shell::fltk {

// ---------------------------------------------------------------- widgets

namespace {

// FLTK key numbers of the keys a trackbar takes, as virtual-key codes.
int trackvk(int key) {
    switch (key) {
        case FL_Left:
            return vk_left;
        case FL_Up:
            return vk_up;
        case FL_Right:
            return vk_right;
        case FL_Down:
            return vk_down;
        case FL_Page_Up:
            return vk_prior;
        case FL_Page_Down:
            return vk_next;
        case FL_Home:
            return vk_home;
        case FL_End:
            return vk_end;
        default:
            return 0;
    }
}

// The modifier keys held with the current event, as Modifier flags.
int heldmods() {
    const int state = Fl::event_state();
    return (state & FL_SHIFT ? mod_shift : 0) | (state & FL_CTRL ? mod_ctrl : 0) |
           (state & FL_ALT ? mod_alt : 0);
}

// The virtual-key code of a letter or digit key, 0 for any other key: the
// combinations a dialog procedure may be sent are made of these.
int letterkey(int key) {
    if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
    if (key >= '0' && key <= '9') return key;
    return 0;
}

// The window of a dialog. Its widgets reach the dialog through it, and the
// dialog lets go of it when it is deleted, so a widget event that arrives
// while FLTK is still deleting the window reaches nothing.
class DialogFrame : public Fl_Window {
  public:
    DialogFrame(int x, int y, int w, int h, DialogWindow* d) : Fl_Window(x, y, w, h), dlg(d) {}
    DialogWindow* dlg;

    int handle(int e) override {
        // Tab moves the focus in the dialog's own order, as the dialog
        // manager does: one stop per radio group, and a box it reaches has
        // its whole text selected.
        if (e == FL_KEYBOARD && Fl::event_key() == FL_Tab && dlg &&
            !(Fl::event_state() & (FL_CTRL | FL_ALT))) {
            dlg->tabkey(Fl::event_state() & FL_SHIFT);
            return 1;
        }
        // A combination with Ctrl or Alt that no control took goes to the
        // procedure (Ctrl+Z and the like).
        if (e == FL_KEYBOARD && dlg && (Fl::event_state() & (FL_CTRL | FL_ALT))) {
            const int vk = letterkey(Fl::event_key());
            if (vk != 0 && dlg->key(vk, heldmods())) return 1;
        }
        // Enter, Esc and the arrows on a radio button mean what the dialog
        // manager makes of them. No control takes Enter or Esc for itself,
        // so they come here from whichever control has the focus, and as a
        // shortcut when none has it.
        if ((e == FL_KEYBOARD || e == FL_SHORTCUT) && dlg &&
            !(Fl::event_state() & (FL_CTRL | FL_ALT))) {
            switch (Fl::event_key()) {
                case FL_Enter:
                case FL_KP_Enter:
                    dlg->enterkey();
                    return 1;
                case FL_Escape:
                    dlg->escapekey();
                    return 1;
                default:
                    if (e == FL_KEYBOARD && dlg->arrowkey(trackvk(Fl::event_key()))) return 1;
            }
        }
        return Fl_Window::handle(e);
    }
};

// The default button's look, without its own claim on Enter: the dialog
// decides which button Enter presses.
class DefaultButton : public Fl_Return_Button {
  public:
    DefaultButton(int x, int y, int w, int h) : Fl_Return_Button(x, y, w, h) {}
    int handle(int e) override {
        if (e == FL_SHORTCUT && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter))
            return 0;
        return Fl_Return_Button::handle(e);
    }
};

DialogWindow* dialogof(Fl_Widget* w) {
    auto* frame = dynamic_cast<DialogFrame*>(w->window());
    return frame ? frame->dlg : nullptr;
}

// An etched frame with its caption interrupting the top edge. The caption's
// margins are `scale` times their size at scale 1.
class GroupBox : public Fl_Widget {
  public:
    GroupBox(int x, int y, int w, int h, int size, Fl_Font font, int scale)
        : Fl_Widget(x, y, w, h), size_(size), font_(font), n_(scale) {}
    void draw() override {
        int half = size_ / 2;
        fl_draw_box(FL_ENGRAVED_FRAME, x(), y() + half, w(), h() - half, color());
        if (!label() || !*label()) return;
        fl_font(font_, size_);
        int tw = int(fl_width(label())) + 4 * n_;
        fl_color(parent() ? parent()->color() : FL_BACKGROUND_COLOR);
        fl_rectf(x() + 6 * n_, y(), tw, size_ + 2 * n_);
        fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
        fl_draw(label(), x() + 8 * n_, y() + size_ - 2 * n_);
    }

  private:
    int size_;
    Fl_Font font_;
    int n_;
};

// A horizontal slider with a tick at every value, reporting its moves with
// the trackbar codes: line and page steps from the keys, thumb tracking while
// dragged, and an end-of-tracking code after every move. Its ticks and
// margins are `scale` times their size at scale 1.
class Trackbar : public Fl_Hor_Nice_Slider {
  public:
    Trackbar(int x, int y, int w, int h, int id, int scale)
        : Fl_Hor_Nice_Slider(x, y, w, h), id_(id), n_(scale) {
        step(1);
        box(FL_FLAT_BOX);
        slider_size(0.08);
    }

    int handle(int e) override {
        switch (e) {
            case FL_FOCUS:
            case FL_UNFOCUS:
                redraw();
                return 1;
            case FL_KEYBOARD:
                return key();
            case FL_PUSH:
                if (Fl::visible_focus()) take_focus();
                [[fallthrough]];
            case FL_DRAG: {
                int old = int(value());
                int r = Fl_Hor_Nice_Slider::handle(e);
                if (int(value()) != old) report(tb_thumbtrack);
                return r;
            }
            case FL_RELEASE: {
                int r = Fl_Hor_Nice_Slider::handle(e);
                report(tb_thumbposition);
                report(tb_endtrack);
                return r;
            }
            default:
                return Fl_Hor_Nice_Slider::handle(e);
        }
    }

    void draw() override {
        // The channel and thumb in the middle, and a tick for every value
        // both above and below them, each `n_` pixels wide.
        const int tick = 4 * n_, band = tick + 4 * n_, margin = 4 * n_;
        fl_push_clip(x(), y(), w(), h());
        fl_color(color());
        fl_rectf(x(), y(), w(), h());
        Fl_Slider::draw(x() + margin, y() + band, w() - 2 * margin, h() - 2 * band);
        int lo = int(minimum()), hi = int(maximum());
        int span = std::max(1, hi - lo);
        int left = x() + margin, width = w() - 2 * margin;
        int ss = int(slider_size() * width + 0.5);
        fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
        for (int v = lo; v <= hi; ++v) {
            int tx = left + ss / 2 + (width - ss) * (v - lo) / span - (n_ - 1) / 2;
            fl_rectf(tx, y() + 2 * n_, n_, tick + n_);
            fl_rectf(tx, y() + h() - 3 * n_ - tick, n_, tick + n_);
        }
        if (Fl::focus() == this) draw_focus(FL_FLAT_BOX, x(), y(), w(), h());
        fl_pop_clip();
    }

  private:
    void report(int code) {
        if (DialogWindow* d = dialogof(this)) d->trackmoved(id_, code);
    }
    int key() {
        if (Fl::event_state() & (FL_CTRL | FL_ALT)) return 0;
        std::optional<TrackStep> step =
            trackkey(trackvk(Fl::event_key()), int(value()), int(minimum()), int(maximum()));
        if (!step) return 0;
        value(step->pos);
        redraw();
        report(step->code);
        report(tb_endtrack);
        return 1;
    }

    int id_;
    int n_;
};

// A one-line text box that tells the dialog when it gets and loses the
// keyboard focus. A box that gets the focus from the keyboard or the program
// has its whole text selected, so typing replaces it; a click places the
// caret where it lands.
class EditBox : public Fl_Input {
  public:
    EditBox(int x, int y, int w, int h, int id, int limit)
        : Fl_Input(x, y, w, h), id_(id), limit_(limit) {
        when(FL_WHEN_CHANGED);
        callback(changed, this);
        if (limit_ > 0) maximum_size(limit_);
    }

    int handle(int e) override {
        switch (e) {
            case FL_FOCUS: {
                int r = Fl_Input::handle(e);
                position(size(), 0);
                report(en_setfocus);
                return r;
            }
            case FL_UNFOCUS: {
                int r = Fl_Input::handle(e);
                report(en_killfocus);
                return r;
            }
            case FL_KEYBOARD: {
                // The text box's own Ctrl+Z would undo typing in this box
                // only: the undo keys go to the dialog first, and the box
                // keeps them only where the dialog has no use for them.
                const int vk = letterkey(Fl::event_key()), mods = heldmods();
                if (undokey(vk, mods) != UndoKey::none)
                    if (DialogWindow* d = dialogof(this); d && d->key(vk, mods)) return 1;
                return Fl_Input::handle(e);
            }
            default:
                return Fl_Input::handle(e);
        }
    }

    // Writes from the program: the limit holds for them too.
    void write(const std::string& s) { value(limittext(s, limit_).c_str()); }

  private:
    void report(int code) {
        if (DialogWindow* d = dialogof(this)) d->notify(id_, code);
    }
    static void changed(Fl_Widget*, void* p) {
        auto* box = static_cast<EditBox*>(p);
        // Pasted text can be longer than what the box keeps.
        std::string v = box->value();
        std::string kept = limittext(v, box->limit_);
        if (kept != v) box->value(kept.c_str());
        box->report(en_change);
    }

    int id_;
    int limit_;
};

void widgetcallback(Fl_Widget* w, void* p) {
    auto* d = static_cast<DialogWindow::Callback*>(p);
    if (DialogWindow* dlg = dialogof(w)) dlg->notify(d->id, d->code);
}

void framecallback(Fl_Widget* w, void*) {
    // The dialog answers Escape itself (DialogFrame::handle); should one
    // still reach the window, it is no close.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    if (auto* frame = static_cast<DialogFrame*>(w); frame->dlg) frame->dlg->windowclosed();
}

}  // namespace

// ---------------------------------------------------------------- DialogWindow

DialogWindow::DialogWindow(const DialogTemplate& t, DialogProc& proc, Placement place,
                           std::function<void()> afterevent, bool modal)
    : t_(t), proc_(proc), place_(place), afterevent_(std::move(afterevent)), modal_(modal) {
    DialogUnits du = dialogunits(t_.pointsize, place.scale);
    int size = fontsize(t_.pointsize) * place.scale;
    auto* frame =
        new DialogFrame(place.x + du.x(t_.x), place.y + du.y(t_.y), du.x(t_.cx), du.y(t_.cy), this);
    win_ = frame;
    win_->copy_label(t_.caption.c_str());
    win_->callback(framecallback);
    // FLTK places a window without a border exactly where it is asked to;
    // the thin border of a dialog without a caption is asked of the window
    // manager once the window shows (makedialog).
    if (!t_.captionbar) win_->clear_border();
    for (const auto& c : t_.controls) {
        int x = du.x(c.x), y = du.y(c.y), w = du.x(c.cx), h = du.y(c.cy);
        Fl_Widget* wd = nullptr;
        auto notifies = [&](int code) {
            auto* data = new Callback{c.id, code};
            wd->callback(widgetcallback, data);
            callbacks_.emplace_back(data);
        };
        switch (c.kind) {
            case Control::edit: {
                auto* in = new EditBox(x, y, w, h, c.id, c.limit);
                in->write(c.text);
                in->textsize(size);
                in->textfont(dialogfont(t_.pointsize));
                wd = in;
                break;
            }
            case Control::radio: {
                auto* b = new Fl_Round_Button(x, y, w, h);
                b->copy_label(labeltext(c.text).c_str());
                wd = b;
                notifies(bn_clicked);
                break;
            }
            case Control::checkbox: {
                auto* b = new Fl_Check_Button(x, y, w, h);
                b->copy_label(labeltext(c.text).c_str());
                wd = b;
                notifies(bn_clicked);
                break;
            }
            case Control::button: {
                Fl_Button* b =
                    c.id == 1 ? new DefaultButton(x, y, w, h) : new Fl_Button(x, y, w, h);
                b->copy_label(labeltext(c.text).c_str());
                wd = b;
                notifies(bn_clicked);
                break;
            }
            case Control::groupbox: {
                auto* g = new GroupBox(x, y, w, h, size, dialogfont(t_.pointsize), place.scale);
                g->copy_label(c.text.c_str());
                wd = g;
                break;
            }
            case Control::text: {
                // FLTK insets a left-aligned label by 3 pixels on each side;
                // the box is widened by as much so that the text starts at
                // the control's left edge and wraps at its right edge.
                auto* b = new Fl_Box(x - 3, y, w + 6, h);
                b->copy_label(labeltext(c.text).c_str());
                // A text one line high is never wrapped: with a face a little
                // wider than the one it was laid out for, its last word would
                // drop below the control and be lost.
                Fl_Align wrap = h >= 2 * size ? FL_ALIGN_WRAP : 0;
                b->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | wrap);
                wd = b;
                break;
            }
            case Control::etchedline: {
                auto* b = new Fl_Box(x, y, w, 2 * place.scale);
                b->box(FL_ENGRAVED_BOX);
                wd = b;
                break;
            }
            case Control::picture: {
                auto* b = new Fl_Box(x, y, w, h);
                b->box(FL_NO_BOX);
                wd = b;
                break;
            }
            case Control::trackbar:
                wd = new Trackbar(x, y, w, h, c.id, place.scale);
                break;
        }
        wd->labelsize(size);
        wd->labelfont(dialogfont(t_.pointsize));
        if (!c.tabstop) wd->clear_visible_focus();
        items_.push_back(Item{&c, wd});
    }
    win_->end();
    if (modal_)
        win_->set_modal();
    else
        win_->set_non_modal();
}

DialogWindow::~DialogWindow() {
    if (win_) {
        static_cast<DialogFrame*>(win_)->dlg = nullptr;
        win_->hide();
        Fl::delete_widget(win_);
    }
}

void DialogWindow::start() {
    // Controls are tied to the template copy held here, so lookups stay valid.
    for (size_t i = 0; i < items_.size(); ++i) items_[i].t = &t_.controls[i];
    auto self = shared_from_this();
    proc_.handle(*this, DialogMessage{DlgMsg::init, 0, 0, 0});
    if (ended_) {
        close();
        return;
    }
    win_->show();
    makedialog(win_, place_.owner,
               !t_.captionbar ? Frame::border
               : t_.closebox  ? Frame::closable
                              : Frame::movable);
    focuswindow(win_);
    if (!Fl::focus() || Fl::focus()->window() != win_) {
        int first = nexttabstop(
            t_, 0, false, [this](int id) { return enabled(id); },
            [this](int id) { return checked(id); });
        if (first != 0) focus(first);
    }
}

Fl_Widget* DialogWindow::widget(int id) const {
    for (const auto& it : items_)
        if (it.t->id == id) return it.w;
    return nullptr;
}

const ControlTemplate* DialogWindow::control(int id) const {
    return t_.find(id);
}

std::string DialogWindow::text(int id) const {
    Fl_Widget* w = widget(id);
    const ControlTemplate* c = control(id);
    if (!w || !c) return {};
    if (c->kind == Control::edit) return static_cast<Fl_Input*>(w)->value();
    return w->label() ? w->label() : "";
}

void DialogWindow::settext(int id, const std::string& s) {
    Fl_Widget* w = widget(id);
    const ControlTemplate* c = control(id);
    if (!w || !c) return;
    if (c->kind == Control::edit) {
        static_cast<EditBox*>(w)->write(s);
        // A program's write is notified like typing, before this returns.
        notify(id, en_change);
    } else {
        w->copy_label(c->kind == Control::groupbox ? s.c_str() : labeltext(s).c_str());
        w->redraw();
        if (w->parent()) w->parent()->redraw();
    }
}

void DialogWindow::check(int id, bool on) {
    if (auto* b = dynamic_cast<Fl_Button*>(widget(id))) b->value(on ? 1 : 0);
}

bool DialogWindow::checked(int id) const {
    auto* b = dynamic_cast<Fl_Button*>(widget(id));
    return b && b->value();
}

void DialogWindow::enable(int id, bool on) {
    if (Fl_Widget* w = widget(id)) {
        if (on)
            w->activate();
        else
            w->deactivate();
    }
}

bool DialogWindow::enabled(int id) const {
    Fl_Widget* w = widget(id);
    return !w || w->active();
}

void DialogWindow::setimage(int id, const Surface* s) {
    Fl_Widget* w = widget(id);
    if (!w) return;
    w->image(nullptr);
    images_.erase(id);
    if (s && s->width() > 0 && s->height() > 0) {
        // The image keeps its own copy of the pixels, released with the
        // dialog. Its pixels are the picture's device pixels: a picture made
        // at the dialog's scale fills its control sharply.
        auto img =
            std::make_unique<Fl_RGB_Image>(s->data(), s->devicewidth(), s->deviceheight(), 3);
        auto copy = std::unique_ptr<Fl_RGB_Image>(static_cast<Fl_RGB_Image*>(img->copy()));
        w->image(copy.get());
        w->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT | FL_ALIGN_CLIP);
        images_[id] = std::move(copy);
    }
    w->redraw();
}

void DialogWindow::setrange(int id, int lo, int hi) {
    if (auto* s = dynamic_cast<Fl_Slider*>(widget(id))) {
        s->bounds(lo, hi);
        s->value(std::clamp(int(s->value()), lo, std::max(lo, hi)));
        s->redraw();
    }
}

void DialogWindow::setpos(int id, int pos) {
    if (auto* s = dynamic_cast<Fl_Slider*>(widget(id))) {
        int lo = int(s->minimum()), hi = int(s->maximum());
        s->value(std::clamp(pos, lo, std::max(lo, hi)));
        s->redraw();
    }
}

int DialogWindow::pos(int id) const {
    auto* s = dynamic_cast<Fl_Slider*>(widget(id));
    return s ? int(s->value()) : 0;
}

void DialogWindow::focus(int id) {
    // The box's own focus handling selects its text and notifies.
    if (Fl_Widget* w = widget(id)) w->take_focus();
}

int DialogWindow::focused() const {
    Fl_Widget* now = Fl::focus();
    for (const auto& it : items_)
        if (it.w == now) return it.t->id;
    return 0;
}

void DialogWindow::tabkey(bool backwards) {
    int next = nexttabstop(
        t_, focused(), backwards, [this](int id) { return enabled(id); },
        [this](int id) { return checked(id); });
    if (next != 0) focus(next);
}

void DialogWindow::enterkey() {
    if (int id = enterbutton(t_, focused(), [this](int c) { return enabled(c); }))
        notify(id, bn_clicked);
}

void DialogWindow::escapekey() {
    if (int id = escapebutton([this](int c) { return enabled(c); })) notify(id, bn_clicked);
}

bool DialogWindow::arrowkey(int vk) {
    const int from = focused();
    const bool arrow = vk == vk_left || vk == vk_right || vk == vk_up || vk == vk_down;
    if (!arrow || radiorun(t_, from).empty()) return false;
    // The button reached takes the focus and is chosen, as a click does;
    // the keys never leave the group.
    if (int to = radioarrow(t_, from, vk, [this](int c) { return enabled(c); })) {
        focus(to);
        notify(to, bn_clicked);
    }
    return true;
}

void DialogWindow::end(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    if (!modal_) close();
}

void DialogWindow::close() {
    if (win_) win_->hide();
    closed_ = true;
}

void DialogWindow::setbusy(bool on) {
    if (!win_) return;
    for (auto& it : items_) {
        if (on)
            it.w->set_output();
        else
            it.w->clear_output();
    }
    win_->cursor(on ? FL_CURSOR_WAIT : FL_CURSOR_DEFAULT);
}

void DialogWindow::selectradio(int id) {
    for (int other : radiorun(t_, id)) check(other, other == id);
}

void DialogWindow::notify(int id, int code) {
    if (ended_) return;
    auto self = shared_from_this();
    const ControlTemplate* c = control(id);
    if (c && c->kind == Control::radio) selectradio(id);
    proc_.handle(*this, DialogMessage{DlgMsg::command, id, code, 0});
    if (afterevent_) afterevent_();
}

void DialogWindow::trackmoved(int id, int code) {
    if (ended_) return;
    auto self = shared_from_this();
    proc_.handle(*this, DialogMessage{DlgMsg::hscroll, id, code, pos(id)});
    if (afterevent_) afterevent_();
}

bool DialogWindow::key(int vk, int mods) {
    if (ended_) return false;
    auto self = shared_from_this();
    DialogMessage m{DlgMsg::key, 0, vk, 0};
    m.mods = mods;
    const bool used = proc_.handle(*this, m) != 0;
    if (afterevent_) afterevent_();
    return used;
}

void DialogWindow::windowclosed() {
    if (ended_) return;
    // A dialog without a system menu asks for no close button, but some
    // window managers draw one anyway: it then does what Esc does.
    if (!t_.closebox) {
        escapekey();
        return;
    }
    auto self = shared_from_this();
    proc_.handle(*this, DialogMessage{DlgMsg::close, 0, 0, 0});
    if (afterevent_) afterevent_();
}

}  // namespace shell::fltk
