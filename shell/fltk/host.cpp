#include "host.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Widget.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <chrono>
#include <cstdio>

#include "dialogwindow.h"
#include "filechooser.h"
#include "frames.h"
#include "messagebox.h"
#include "platform.h"
#include "sidewindow.h"
#include "widgetio.h"

namespace shell::fltk {

// The client area: shows onscreen and turns pointer and key events into messages.
class Canvas : public Fl_Widget {
  public:
    Canvas(Host& h, int x, int y, int w, int h2) : Fl_Widget(x, y, w, h2), host_(h) {
        visible_focus(0);
    }

    void draw() override {
        // The widget's pixels are the pictures' device pixels; the
        // procedure paints the logical pixels they belong to.
        const Rect r = drawnpart(this);
        if (r.empty()) return;
        // An expose asks the procedure to paint; our own pushes only show
        // what onscreen already holds.
        if (damage() & FL_DAMAGE_ALL) host_.paint(tological(r, host_.scale()));
        drawsurface(this, host_.onscreen, r);
    }

    int handle(int e) override {
        switch (e) {
            case FL_ENTER:
                return 1;
            case FL_FOCUS:
            case FL_UNFOCUS:
                return 1;
            case FL_MOVE:
            case FL_DRAG:
                pointer(Fl::event_x() - x(), Fl::event_y() - y());
                return 1;
            case FL_PUSH:
                host_.focusclient();
                if (!leftorright()) return 1;
                pointer(Fl::event_x() - x(), Fl::event_y() - y());
                host_.send(
                    Message::mouse(left() ? Msg::lbuttondown : Msg::rbuttondown, lastx_, lasty_));
                return 1;
            case FL_RELEASE:
                // The press grabbed the pointer, so the release arrives even
                // outside the window and always ends a drag.
                // The X server merges pointer motion, so the release can
                // arrive before the last position was reported: the place
                // where the button came up is the drag's last position.
                if (!leftorright()) return 1;
                pointer(Fl::event_x() - x(), Fl::event_y() - y());
                host_.send(
                    Message::mouse(left() ? Msg::lbuttonup : Msg::rbuttonup, lastx_, lasty_));
                return 1;
            case FL_MOUSEWHEEL:
                // FLTK counts a turn towards the user as positive.
                if (Fl::event_dy() == 0) return 1;
                pointer(Fl::event_x() - x(), Fl::event_y() - y());
                host_.send(Message::wheel(-Fl::event_dy(), lastx_, lasty_));
                return 1;
            case FL_LEAVE:
                known_ = false;
                host_.send(Message::simple(Msg::mouseleave));
                return 1;
            case FL_KEYBOARD:
            case FL_SHORTCUT: {
                const int vk = eventkey(e, this);
                if (vk == 0) return 0;
                host_.send(Message::key(vk, modifiers()));
                return 1;
            }
            default:
                return Fl_Widget::handle(e);
        }
    }

  private:
    static bool left() { return Fl::event_button() == FL_LEFT_MOUSE; }
    static bool leftorright() { return left() || Fl::event_button() == FL_RIGHT_MOUSE; }
    // Reports a pointer position that differs from the last one reported.
    // The position is in device pixels; the procedure hears the logical
    // pixel it lies in, and a move within that pixel is no move.
    void pointer(int dx, int dy) {
        const Message m = Message::devicemouse(Msg::mousemove, dx, dy, host_.scale());
        if (m.x == lastx_ && m.y == lasty_ && known_) return;
        lastx_ = m.x, lasty_ = m.y, known_ = true;
        host_.send(m);
    }

    Host& host_;
    int lastx_ = 0, lasty_ = 0;
    bool known_ = false;
};

namespace {

class TopWindow : public Fl_Window {
  public:
    TopWindow(Host& h, int w, int ht) : Fl_Window(0, 0, w, ht), host_(h) {}
    void resize(int X, int Y, int W, int H) override {
        bool moved = X != x() || Y != y();
        bool sized = W != w() || H != h();
        Fl_Window::resize(X, Y, W, H);
        if (shown() && moved) host_.send(Message::simple(Msg::move));
        if (shown() && sized) host_.send(Message::simple(Msg::size));
    }

  private:
    Host& host_;
};

void windowcallback(Fl_Widget*, void* data) {
    // Escape reaches a window's callback as a shortcut; the program decides
    // about Escape itself. Anything else is the window manager's close, whose
    // default action destroys the window.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    static_cast<Host*>(data)->send(Message::simple(Msg::destroy));
}

}  // namespace

struct MenuData {
    Host* host;
    int id;
};

namespace {

void menucallback(Fl_Widget*, void* data) {
    auto* m = static_cast<MenuData*>(data);
    m->host->send(Message::command(m->id));
}

}  // namespace

namespace {

// Names the window after the program and gives it the program's icon.
void setidentity(Fl_Window* win, const ProgramDesc& d) {
    // The window class is the program's name, as its desktop entry's
    // StartupWMClass says, so that a desktop ties the window to its entry.
    // Dialogs and message boxes take the same class and icon by default.
    if (!d.name.empty()) {
        win->xclass(d.name.c_str());
        Fl_Window::default_xclass(d.name.c_str());
    }
    if (!d.drawicon) return;
    // Task bars and switchers pick the size they show from these, the
    // sizes the programs install, up to 256 for a screen of high density;
    // each is drawn at its size. The windows keep their own copies of the
    // pixels.
    std::vector<Surface> pictures;
    for (int size : kIconSizes) pictures.push_back(d.drawicon(size));
    std::vector<std::unique_ptr<Fl_RGB_Image>> images;
    std::vector<const Fl_RGB_Image*> list;
    for (const Surface& p : pictures) {
        images.push_back(
            std::make_unique<Fl_RGB_Image>(p.data(), p.devicewidth(), p.deviceheight(), 3));
        list.push_back(images.back().get());
    }
    win->icons(list.data(), int(list.size()));
    Fl_Window::default_icons(list.data(), int(list.size()));
}

}  // namespace

Host::Host(const ProgramDesc& d) : HostCore(d) {
    // Everything on the screen is the scale times its logical size: the
    // client area, and the menu bar with its text.
    const int n = scale();
    const int width = d.width * n, height = d.height * n;
    menuheight_ = d.menus.empty() ? 0 : kMenuHeight * n;
    win_ = new TopWindow(*this, width, height + menuheight_);
    win_->copy_label(d.title.c_str());
    win_->color(FL_BLACK);
    win_->callback(windowcallback, this);
    if (!d.menus.empty()) {
        menu_ = new Fl_Menu_Bar(0, 0, width, menuheight_);
        menu_->textsize(menu_->textsize() * n);
        for (const auto& m : d.menus) {
            for (const auto& item : m.items) {
                menudata_.push_back(std::make_unique<MenuData>(MenuData{this, item.id}));
                std::string path = m.title + "/" + item.text;
                // Items look like plain commands until checked.
                menu_->add(path.c_str(), 0, menucallback, menudata_.back().get(), 0);
            }
        }
    }
    canvas_ = new Canvas(*this, 0, menuheight_, width, height);
    win_->end();
    win_->resizable(nullptr);
    win_->size_range(win_->w(), win_->h(), win_->w(), win_->h());
    setidentity(win_, d);
}

Host::~Host() {
    closesidewindows();
    dialogs_.clear();
    delete win_;
}

void Host::create() {
    // What the creation posts waits for the loop, which starts once the
    // window shows: a box it opens then has its owner on the screen.
    dispatch(Message::simple(Msg::create));
}

void Host::show() {
    win_->position(0, 0);
    win_->show();
    // Once the window is on the screen its frame is known.
    focuswindow(win_);
    keepframeonscreen(win_);
    focusclient();
}

void Host::focusclient() {
    if (!canvas_ || !win_->shown()) return;
    Fl::focus(canvas_);
    // Once no dialog of ours is open, the main window takes the keyboard back.
    bool dialogopen = false;
    for (auto& d : dialogs_) dialogopen = dialogopen || !d->closed();
    if (!dialogopen && !Fl::modal()) focuswindow(win_);
}

void Host::send(const Message& m) {
    HostCore::send(m);
    pushdirty();
}

void Host::pushdirty() {
    if (dirty_.empty() || !win_->shown()) return;
    const Rect d = onscreen.todevice(dirty_);
    canvas_->damage(FL_DAMAGE_USER1, canvas_->x() + d.left, canvas_->y() + d.top, d.width(),
                    d.height());
    dirty_ = Rect{};
}

void Host::paint(const Rect& r) {
    // The expose that asked for this paint draws the rectangle right after
    // it, so what the paint copies need not be pushed a second time.
    Rect pending = dirty_;
    dispatch(Message::paint(r));
    dirty_ = pending;
}

void Host::invalidate() {
    if (win_->shown()) canvas_->damage(FL_DAMAGE_ALL);
}

int Host::run() {
    pump();
    pushdirty();
    while (!ended()) {
        // Waiting when idle: nothing in the programs acts on an idle message,
        // and a loop that never waits would keep a processor busy for nothing.
        Fl::wait(queue_.empty() ? 1e20 : 0.0);
        pump();
        pushdirty();
        if (!win_->shown() && !ended()) break;
    }
    win_->hide();
    return exitcode();
}

void Host::settitle(const std::string& s) {
    title_ = s;
    win_->copy_label(s.c_str());
}

void Host::setbusy(bool on) {
    if (busy_ == on) return;
    busy_ = on;
    // Deactivating the window itself would not stop its input; its children
    // must go.
    win_->cursor(on ? FL_CURSOR_WAIT : FL_CURSOR_DEFAULT);
    if (on) {
        canvas_->deactivate();
        if (menu_) menu_->deactivate();
    } else {
        canvas_->activate();
        if (menu_) menu_->activate();
    }
    for (auto& d : dialogs_) d->setbusy(on);
    Fl::flush();
}

void Host::flush() {
    pushdirty();
    Fl::flush();
}

void Host::checkmenu(int id, bool on) {
    if (!menu_) return;
    for (int i = 0; i < menu_->size(); ++i) {
        auto* it = const_cast<Fl_Menu_Item*>(&menu_->menu()[i]);
        if (it->callback_ == menucallback && static_cast<MenuData*>(it->user_data_)->id == id) {
            // A checked item shows its mark; an unchecked one looks exactly
            // as before it was ever checked, with no empty box.
            if (on)
                it->flags |= FL_MENU_TOGGLE | FL_MENU_VALUE;
            else
                it->flags &= ~(FL_MENU_TOGGLE | FL_MENU_VALUE);
        }
    }
    menu_->redraw();
}

// Every nested loop starts by putting on screen what the command drew so far
// (a marker moved by the key that started it, say): the loop runs until the
// user answers, and the window must not show the old picture meanwhile.
void Host::messagebox(const std::string& text, const std::string& caption, Icon icon, bool owned) {
    flush();
    showmessagebox(text, caption, icon, owned ? win_ : nullptr, scale(), [this] { afterevent(); });
    focusclient();
}

bool Host::filedialog(FileDialogRecord& rec, bool save) {
    flush();
    bool ok = choosefile(rec, save, win_, scale(), [this] { afterevent(); });
    focusclient();
    return ok;
}

DialogWindow::Placement Host::placement() {
    return DialogWindow::Placement{win_, win_->x(), win_->y() + menuheight_, scale()};
}

int Host::dialogbox(const DialogTemplate& t, DialogProc& proc) {
    flush();
    auto dw = std::make_shared<DialogWindow>(
        t, proc, placement(), [this] { afterevent(); }, true);
    dialogs_.push_back(dw);
    dw->start();
    while (!dw->finished() && !ended()) {
        Fl::wait();
        afterevent();
    }
    int result = dw->result();
    dw->close();
    focusclient();
    return result;
}

DialogView* Host::createdialog(const DialogTemplate& t, DialogProc& proc) {
    auto dw = std::make_shared<DialogWindow>(
        t, proc, placement(), [this] { afterevent(); }, false);
    dialogs_.push_back(dw);
    dw->start();
    return dw.get();
}

long long Host::ticks() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Host::closesidewindow(int id) {
    HostCore::closesidewindow(id);
    focusclient();
}

std::unique_ptr<SideWindow> Host::makesidewindow(int id, const std::string& title,
                                                 const SideSize& size) {
    return std::make_unique<Side>(*this, id, title, size);
}

int Host::roombeside() const {
    return sideroom(win_, scale());
}

void Host::afterpump() {
    for (auto it = dialogs_.begin(); it != dialogs_.end();) {
        if ((*it)->closed()) {
            it = dialogs_.erase(it);
            focusclient();
        } else {
            ++it;
        }
    }
}

}  // namespace shell::fltk

namespace shell {

int runprogram(const ProgramDesc& d) {
    // FLTK's own file chooser everywhere, so that every machine shows the same.
    Fl::option(Fl::OPTION_FNFC_USES_GTK, false);
    if (!fl_display) {
        if (Display* dpy = XOpenDisplay(nullptr)) {
            XCloseDisplay(dpy);
        } else {
            // The message alone does not say what to fix; the reason follows
            // it, and the status tells a script that nothing ran.
            std::fprintf(stderr, "%s\n%s\n", errormessage(err_window),
                         fltk::nodisplayreason().c_str());
            return 1;
        }
    }
    Fl::visual(FL_RGB);
    // The lists of the file chooser scroll with bars of the scale's size,
    // and every bevel and border is as many pixels wide.
    Fl::scrollbar_size(Fl::scrollbar_size() * d.scale);
    fltk::scaleframes(d.scale);
    fltk::Host host(d);
    host.create();
    if (d.depthcheck && fltk::displaydepth() < 24) {
        // The window was created and drew its first picture, but is never
        // shown: the start failed.
        host.messagebox(errormessage(err_graphics), "Error", Icon::exclamation, false);
        return 1;
    }
    host.show();
    return host.run();
}

}  // namespace shell
