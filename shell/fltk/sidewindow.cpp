#include "sidewindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Widget.H>
#include <FL/Fl_Window.H>

#include <algorithm>

#include "host.h"
#include "platform.h"
#include "widgetio.h"

namespace shell::fltk {

namespace {

// Space between the main window's frame and the side window's.
constexpr int kGap = 10;

}  // namespace

// The side window's client area: shows its onscreen picture, and passes keys,
// and the pointer where the window asked for it, to the program's procedure
// marked with the window's id.
class SideCanvas : public Fl_Widget {
  public:
    SideCanvas(Host& host, Side& side)
        : Fl_Widget(0, 0, side.offscreen.devicewidth(), side.offscreen.deviceheight()),
          host_(host),
          side_(&side) {}

    // Once the side window is closed its widgets may live on until FLTK
    // deletes them; they no longer reach it.
    void detach() { side_ = nullptr; }

    void draw() override {
        const Rect r = drawnpart(this);
        if (r.empty() || !side_) return;
        // An expose shows the offscreen picture again, as a paint of the main
        // window does; the program hears nothing of it. The widget's pixels
        // are the device pixels, and the logical ones they touch are copied.
        if (damage() & FL_DAMAGE_ALL) {
            const Rect l = tological(r, side_->scale());
            side_->onscreen.blit(l.left, l.top, l.width(), l.height(), side_->offscreen, l.left,
                                 l.top);
        }
        drawsurface(this, side_->onscreen, r);
    }

    int handle(int e) override {
        switch (e) {
            case FL_FOCUS:
            case FL_UNFOCUS:
                return 1;
            case FL_ENTER:
                // Moves arrive only where the entry was taken.
                return side_ && side_->pointer();
            case FL_PUSH:
                // A click gives this window the keyboard, as a window manager
                // would; a bare X server does not.
                Fl::focus(this);
                focuswindow(window());
                button(Msg::lbuttondown, Msg::rbuttondown);
                return 1;
            case FL_RELEASE:
                // As in the main window, the release is the drag's last position.
                button(Msg::lbuttonup, Msg::rbuttonup);
                return 1;
            case FL_MOVE:
            case FL_DRAG:
                send(at(Msg::mousemove));
                return 1;
            case FL_MOUSEWHEEL:
                // FLTK counts a turn towards the user as positive.
                if (Fl::event_dy() != 0) {
                    Message m = at(Msg::wheel);
                    m.wparam = -Fl::event_dy();
                    send(m);
                }
                return 1;
            case FL_LEAVE:
                send(Message::simple(Msg::mouseleave));
                return 1;
            case FL_KEYBOARD:
            case FL_SHORTCUT: {
                const int vk = eventkey(e, this);
                if (vk == 0 || !side_) return vk != 0;
                send(Message::key(vk, modifiers()));
                return 1;
            }
            default:
                return Fl_Widget::handle(e);
        }
    }

  private:
    // While the program is busy its windows take no input; a long save
    // lets events through to show its progress.
    void send(const Message& m) {
        if (side_ && !host_.busy()) host_.send(m.from(side_->id()));
    }
    void button(Msg left, Msg right) {
        const int b = Fl::event_button();
        if (b == FL_LEFT_MOUSE || b == FL_RIGHT_MOUSE) send(at(b == FL_LEFT_MOUSE ? left : right));
    }
    // Message m at the pointer: the event's position is in device pixels,
    // and the procedure hears the logical pixel it lies in.
    Message at(Msg m) const {
        return Message::devicemouse(m, Fl::event_x() - x(), Fl::event_y() - y(), host_.scale());
    }

    Host& host_;
    Side* side_;
};

namespace {

struct CloseData {
    Host* host;
    int id;
};

void sidecallback(Fl_Widget*, void* data) {
    // Escape reaches the window's callback as a shortcut when nothing took
    // it; the program decides about Escape. Anything else is the close
    // button.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    const auto* d = static_cast<const CloseData*>(data);
    d->host->send(Message::sideclose(d->id));
}

// The close button's data lives as long as the widget that holds it. A
// resize by the user reaches the side window's pictures and then the
// program, in the logical pixels the new size holds whole.
class SideFrame : public Fl_Window {
  public:
    SideFrame(int x, int y, int w, int h, Host& host, int id)
        : Fl_Window(x, y, w, h), data_{&host, id} {
        callback(sidecallback, &data_);
    }
    void resize(int X, int Y, int W, int H) override {
        const bool sized = W != w() || H != h();
        Fl_Window::resize(X, Y, W, H);
        const int n = data_.host->scale();
        if (shown() && sized) data_.host->resizeside(data_.id, W / n, H / n);
    }

  private:
    CloseData data_;
};

// The largest a side of a side window may be: a side with a minimum below
// its size may grow to the screen's, wherever the window stands (FLTK's own
// choice would stop at the screen's edge from where it was opened); any
// other stays as it is.
int largest(int size, int minimum, int screen) {
    return minimum > 0 && minimum < size ? std::max(size, screen) : size;
}

}  // namespace

int sideroom(Fl_Window* main, int scale) {
    const FrameExtents e = frameextents(main);
    const int mainright = main->x() + main->w() + e.right;
    return tological(Fl::w() - (mainright + kGap) - (e.left + e.right), scale);
}

Side::Side(Host& host, int id, const std::string& title, const SideSize& size)
    : SideWindow(id, title, size.width, size.height, host.scale(), size.pointer) {
    // Beside the main window's right edge where the screen has room;
    // otherwise in the screen's bottom right corner, where it covers the
    // least of a main window at the top left. Its frame is taken to be like
    // the main window's. A window manager may place it elsewhere. On the
    // screen every size is the scale times the logical one.
    Fl_Window* main = host.window();
    const FrameExtents e = frameextents(main);
    const int n = host.scale();
    const int width = size.width * n, height = size.height * n;
    int x = main->x() + main->w() + e.right + kGap + e.left, y = main->y();
    if (size.width > sideroom(main, n)) {
        x = std::max(e.left, Fl::w() - width - e.right);
        y = std::max(e.top, Fl::h() - height - e.bottom);
    }
    win_ = new SideFrame(x, y, width, height, host, id);
    win_->copy_label(title.c_str());
    win_->color(FL_BLACK);
    canvas_ = new SideCanvas(host, *this);
    win_->end();
    const int minw = size.minwidth > 0 ? std::min(size.minwidth * n, width) : width;
    const int minh = size.minheight > 0 ? std::min(size.minheight * n, height) : height;
    win_->resizable(minw < width || minh < height ? canvas_ : nullptr);
    // A resize goes in steps of whole logical pixels.
    win_->size_range(minw, minh, largest(width, size.minwidth * n, Fl::w()),
                     largest(height, size.minheight * n, Fl::h()), n, n);
    win_->show();
    // A tool window of the main one: it stays above it and offers a close
    // button. On a bare X server the main window keeps the keyboard.
    makedialog(win_, main, Frame::closable);
}

Side::~Side() {
    canvas_->detach();
    win_->hide();
    // The window may be closing from its own callback.
    Fl::delete_widget(win_);
}

void Side::onscreenchanged(const Rect& r) {
    const Rect d = onscreen.todevice(r);
    canvas_->damage(FL_DAMAGE_USER1, canvas_->x() + d.left, canvas_->y() + d.top, d.width(),
                    d.height());
}

}  // namespace shell::fltk
