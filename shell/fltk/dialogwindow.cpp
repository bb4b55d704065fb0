// Sections: label helpers; widgets (group box, trackbar); DialogWindow;
// message boxes; file chooser.
#include "dialogwindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Hor_Nice_Slider.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <sys/stat.h>

#include <algorithm>

#include "host.h"
#include "shell/filedialog.h"

namespace shell::fltk {

// ---------------------------------------------------------------- labels

namespace {

// FLTK reads '@' in a label as the start of a symbol; double it to show it.
std::string labeltext(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '@') out += '@';
        out += c;
    }
    return out;
}

// Pixel size of the dialog font for a template's point size, at 96 dots per
// inch: 8 points are 11 pixels, 11 points 15.
int fontsize(int pointsize) {
    return pointsize >= 11 ? 15 : 11;
}

// The dialog face. The 8-point layouts were made for a narrow sans serif whose
// average character fits the base units (6, 13); FLTK's default sans serif is
// wider and wraps and cuts labels that fit there. Liberation Sans has the
// metrics of the face those layouts expect. The 11-point help layout was made
// for a serif face with the metrics of Liberation Serif.
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

bool fileexists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// ---------------------------------------------------------------- widgets

// An etched frame with its caption interrupting the top edge.
class GroupBox : public Fl_Widget {
  public:
    GroupBox(int x, int y, int w, int h, int size, Fl_Font font)
        : Fl_Widget(x, y, w, h), size_(size), font_(font) {}
    void draw() override {
        int half = size_ / 2;
        fl_draw_box(FL_ENGRAVED_FRAME, x(), y() + half, w(), h() - half, color());
        if (!label() || !*label()) return;
        fl_font(font_, size_);
        int tw = int(fl_width(label())) + 4;
        fl_color(parent() ? parent()->color() : FL_BACKGROUND_COLOR);
        fl_rectf(x() + 6, y(), tw, size_ + 2);
        fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
        fl_draw(label(), x() + 8, y() + size_ - 2);
    }

  private:
    int size_;
    Fl_Font font_;
};

// A horizontal slider with a tick at every value, reporting its moves with
// the trackbar codes: line and page steps from the keys, thumb tracking while
// dragged, and an end-of-tracking code after every move.
class Trackbar : public Fl_Hor_Nice_Slider {
  public:
    Trackbar(int x, int y, int w, int h, DialogWindow& d, int id)
        : Fl_Hor_Nice_Slider(x, y, w, h), dlg_(d), id_(id) {
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
                if (int(value()) != old) dlg_.trackmoved(id_, tb_thumbtrack);
                return r;
            }
            case FL_RELEASE: {
                int r = Fl_Hor_Nice_Slider::handle(e);
                dlg_.trackmoved(id_, tb_thumbposition);
                dlg_.trackmoved(id_, tb_endtrack);
                return r;
            }
            default:
                return Fl_Hor_Nice_Slider::handle(e);
        }
    }

    void draw() override {
        // The channel and thumb in the upper part, the ticks below.
        int th = h() / 3;
        fl_push_clip(x(), y(), w(), h());
        fl_color(color());
        fl_rectf(x(), y(), w(), h());
        Fl_Slider::draw(x() + 4, y() + 2, w() - 8, h() - th - 2);
        int lo = int(minimum()), hi = int(maximum());
        int span = std::max(1, hi - lo);
        int left = x() + 4, width = w() - 8;
        int ss = int(slider_size() * width + 0.5);
        fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
        for (int v = lo; v <= hi; ++v) {
            int tx = left + ss / 2 + (width - ss) * (v - lo) / span;
            fl_line(tx, y() + h() - th, tx, y() + h() - th + 4);
        }
        if (Fl::focus() == this) draw_focus(FL_FLAT_BOX, x(), y(), w(), h());
        fl_pop_clip();
    }

  private:
    int key() {
        int lo = int(minimum()), hi = int(maximum());
        int page = std::max(1, (hi - lo) / 5);
        int v = int(value()), code;
        switch (Fl::event_key()) {
            case FL_Left:
            case FL_Up:
                v = std::max(lo, v - 1), code = tb_lineup;
                break;
            case FL_Right:
            case FL_Down:
                v = std::min(hi, v + 1), code = tb_linedown;
                break;
            case FL_Page_Up:
                v = std::max(lo, v - page), code = tb_pageup;
                break;
            case FL_Page_Down:
                v = std::min(hi, v + page), code = tb_pagedown;
                break;
            case FL_Home:
                v = lo, code = tb_top;
                break;
            case FL_End:
                v = hi, code = tb_bottom;
                break;
            default:
                return 0;
        }
        value(v);
        redraw();
        dlg_.trackmoved(id_, code);
        dlg_.trackmoved(id_, tb_endtrack);
        return 1;
    }

    DialogWindow& dlg_;
    int id_;
};

struct CallbackData {
    DialogWindow* dlg;
    int id;
    int code;
};

class DialogFrame : public Fl_Window {
  public:
    DialogFrame(int x, int y, int w, int h, const char* l) : Fl_Window(x, y, w, h, l) {}
    std::vector<std::unique_ptr<CallbackData>> data;
};

void widgetcallback(Fl_Widget*, void* p) {
    auto* d = static_cast<CallbackData*>(p);
    d->dlg->notify(d->id, d->code);
}

void framecallback(Fl_Widget*, void* p) {
    // Escape is answered by a Cancel button where the dialog has one; a
    // dialog without one ignores it.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    static_cast<DialogWindow*>(p)->windowclosed();
}

}  // namespace

// ---------------------------------------------------------------- DialogWindow

DialogWindow::DialogWindow(const DialogTemplate& t, DialogProc& proc, Host& host, bool modal)
    : t_(t), proc_(proc), host_(host), modal_(modal) {
    DialogUnits du = dialogunits(t_.pointsize);
    int size = fontsize(t_.pointsize);
    Fl_Window* main = host_.window();
    int ox = main ? main->x() : 0, oy = main ? main->y() + host_.clienttop() : 0;
    auto* frame =
        new DialogFrame(ox + du.x(t_.x), oy + du.y(t_.y), du.x(t_.cx), du.y(t_.cy), nullptr);
    win_ = frame;
    win_->copy_label(t_.caption.c_str());
    win_->callback(framecallback, this);
    for (const auto& c : t_.controls) {
        int x = du.x(c.x), y = du.y(c.y), w = du.x(c.cx), h = du.y(c.cy);
        Fl_Widget* wd = nullptr;
        auto cb = [&](int code) {
            frame->data.push_back(std::make_unique<CallbackData>(CallbackData{this, c.id, code}));
            wd->callback(widgetcallback, frame->data.back().get());
        };
        switch (c.kind) {
            case Control::edit: {
                auto* in = new Fl_Input(x, y, w, h);
                in->value(c.text.c_str());
                in->textsize(size);
                in->textfont(dialogfont(t_.pointsize));
                in->when(FL_WHEN_CHANGED);
                wd = in;
                cb(en_change);
                break;
            }
            case Control::radio: {
                auto* b = new Fl_Round_Button(x, y, w, h);
                b->copy_label(labeltext(c.text).c_str());
                wd = b;
                cb(bn_clicked);
                break;
            }
            case Control::checkbox: {
                auto* b = new Fl_Check_Button(x, y, w, h);
                b->copy_label(labeltext(c.text).c_str());
                wd = b;
                cb(bn_clicked);
                break;
            }
            case Control::button: {
                Fl_Button* b =
                    c.id == 1 ? new Fl_Return_Button(x, y, w, h) : new Fl_Button(x, y, w, h);
                b->copy_label(labeltext(c.text).c_str());
                if (c.id == 2) b->shortcut(FL_Escape);
                wd = b;
                cb(bn_clicked);
                break;
            }
            case Control::groupbox: {
                auto* g = new GroupBox(x, y, w, h, size, dialogfont(t_.pointsize));
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
                auto* b = new Fl_Box(x, y, w, 2);
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
                wd = new Trackbar(x, y, w, h, *this, c.id);
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
        win_->hide();
        Fl::delete_widget(win_);
    }
}

void DialogWindow::start() {
    // Controls are tied to the template copy held here, so lookups stay valid.
    for (size_t i = 0; i < items_.size(); ++i) items_[i].t = &t_.controls[i];
    proc_.handle(*this, DialogMessage{DlgMsg::init, 0, 0, 0});
    if (ended_) {
        close();
        return;
    }
    win_->show();
    focuswindow(win_);
    if (!Fl::focus() || Fl::focus()->window() != win_) {
        for (auto& it : items_) {
            if (it.t->tabstop && it.w->active() && it.w->visible_focus() &&
                it.t->kind != Control::text && it.t->kind != Control::groupbox) {
                it.w->take_focus();
                break;
            }
        }
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
        static_cast<Fl_Input*>(w)->value(s.c_str());
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
        // The image keeps its own copy of the pixels, released with the dialog.
        auto img = std::make_unique<Fl_RGB_Image>(s->data(), s->width(), s->height(), 3);
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
    if (Fl_Widget* w = widget(id)) w->take_focus();
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
    // The run of radio buttons holding id, from the one that starts the
    // group, becomes exclusive.
    const auto& cs = t_.controls;
    size_t i = 0;
    while (i < cs.size() && cs[i].id != id) ++i;
    if (i == cs.size()) return;
    size_t first = i;
    while (first > 0 && !cs[first].group && cs[first - 1].kind == Control::radio) --first;
    for (size_t j = first; j < cs.size() && cs[j].kind == Control::radio; ++j) {
        if (j > first && cs[j].group) break;
        check(cs[j].id, cs[j].id == id);
    }
}

void DialogWindow::notify(int id, int code) {
    if (ended_) return;
    const ControlTemplate* c = control(id);
    if (c && c->kind == Control::radio) selectradio(id);
    // A modeless dialog that the procedure ends is deleted by the pump below,
    // so nothing of this object may be used after it.
    Host& host = host_;
    proc_.handle(*this, DialogMessage{DlgMsg::command, id, code, 0});
    host.pump();
    host.pushdirty();
}

void DialogWindow::trackmoved(int id, int code) {
    if (ended_) return;
    proc_.handle(*this, DialogMessage{DlgMsg::hscroll, id, code, pos(id)});
    host_.pushdirty();
}

void DialogWindow::windowclosed() {
    if (!t_.closebox || ended_) return;
    proc_.handle(*this, DialogMessage{DlgMsg::close, 0, 0, 0});
}

// ---------------------------------------------------------------- message boxes

void showmessagebox(const std::string& text, const std::string& caption, Icon icon,
                    Fl_Window* owner, Host& host) {
    const int size = 14;
    fl_font(FL_HELVETICA, size);
    int tw = 0, th = 0;
    fl_measure(labeltext(text).c_str(), tw, th, 0);
    int iconw = icon == Icon::exclamation ? 48 : 0;
    int w = std::max(180, tw + iconw + 40), h = std::max(th, iconw ? 34 : 0) + 70;
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
    if (iconw) {
        auto* mark = new Fl_Box(16, 16, 34, 34, "!");
        mark->box(FL_ROUND_UP_BOX);
        mark->color(FL_YELLOW);
        mark->labelfont(FL_HELVETICA_BOLD);
        mark->labelsize(24);
    }
    auto* msg = new Fl_Box(20 + iconw, 16, tw + 4, std::max(th, 34));
    msg->copy_label(labeltext(text).c_str());
    msg->labelsize(size);
    msg->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
    auto* ok = new Fl_Return_Button((w - 80) / 2, h - 40, 80, 26, "OK");
    ok->callback([](Fl_Widget* b, void*) { b->window()->hide(); });
    win.callback([](Fl_Widget* wd, void*) { wd->hide(); });
    win.end();
    win.set_modal();
    win.show();
    focuswindow(&win);
    ok->take_focus();
    while (win.shown()) {
        Fl::wait();
        host.pump();
        host.pushdirty();
    }
}

// ---------------------------------------------------------------- file chooser

namespace {
void focusmodal(void*) {
    focuswindow(Fl::modal());
}
}  // namespace

bool choosefile(FileDialogRecord& rec, bool save, Host& host) {
    (void)host;
    for (;;) {
        Fl_Native_File_Chooser fc;
        fc.type(save ? Fl_Native_File_Chooser::BROWSE_SAVE_FILE
                     : Fl_Native_File_Chooser::BROWSE_FILE);
        fc.title(rec.title.c_str());
        std::string filter = rec.filtername + "\t" + rec.pattern;
        fc.filter(filter.c_str());
        std::string dir = dialogfolder(rec);
        fc.directory(dir.c_str());
        // No preset name: FLTK's chooser fills its name field with the whole
        // previous path, selected, and a typed name then lands inside it. The
        // chooser still opens in the folder of the last file.
        fc.options(save && rec.overwriteprompt ? Fl_Native_File_Chooser::SAVEAS_CONFIRM
                                               : Fl_Native_File_Chooser::NO_OPTIONS);
        // The chooser runs its own loop; hand it the keyboard once it shows.
        Fl::add_timeout(0.2, focusmodal);
        int shown = fc.show();
        Fl::remove_timeout(focusmodal);
        if (shown != 0) return false;
        const char* picked = fc.filename();
        if (!picked || !*picked) return false;
        std::string path = withdefaultext(picked, rec.defext);
        if (save && rec.overwriteprompt && path != picked && fileexists(path)) {
            // The chooser asked about the name as typed; the extension we
            // added may name a file that exists, so ask again.
            fl_message_title(rec.title.c_str());
            std::string q = path + " already exists.\nDo you want to replace it?";
            if (fl_choice("%s", "No", "Yes", nullptr, q.c_str()) != 1) continue;
        }
        if (!save && rec.mustexist && !fileexists(path)) {
            fl_message_title(rec.title.c_str());
            fl_alert("%s\nFile not found.\nCheck the file name and try again.", path.c_str());
            continue;
        }
        acceptfile(rec, path);
        return true;
    }
}

}  // namespace shell::fltk
