// The Explore window: its messages, its views and its picture. Its files are
// in explorefiles.cpp.
#include "explore/explorewindow.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

#include "explore/colour.h"
#include "explore/rule.h"
#include "shell/window/filedialog.h"

namespace explore {

using shell::Message;
using shell::Msg;

namespace {

// The densities [ and ] step through.
constexpr double kDensities[] = {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100};
// How often the window looks for finished pixels while a picture is computed.
constexpr int kCollectEvery = 30;
constexpr shell::Rgb kStatusBack{32, 32, 32}, kStatusText{230, 230, 230};
const shell::Rgb kOutline{255, 255, 255}, kOutlineShade{0, 0, 0};
constexpr const char* kDeepest = "deepest zoom for this precision";

// Text of a number for the status line, never with a locale's decimal comma.
std::string number(double v, std::chars_format f, int precision) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, f, precision);
    return std::string(buf, r.ptr);
}

// Pointer positions come as unsigned 16-bit values; one left of or above the
// window (a drag that went beyond it) is negative.
int signedpos(int v) {
    return int(int16_t(uint16_t(v)));
}

}  // namespace

const std::vector<shell::KeyHelp> keyhelp = {
    {"", "Keys in the Explore window:"},
    {"E", "close it"},
    {"wheel", "zoom in or out by 2 about the pointer"},
    {"left drag", "move the picture"},
    {"right drag", "zoom into the rectangle"},
    {"Home", "back to the start"},
    {"+, -", "double or halve the iteration limit (16 to 1,000,000)"},
    {"Backspace", "back through the last 50 views"},
    {"C", "switch between escape-time and smooth colouring"},
    {"[, ]", "lower or raise the smooth colouring's density (0.01 to 100)"},
    {"comma, period", "move the smooth colouring's offset (with Shift, by 16 entries)"},
    {"I", "colour the set by the final angle, black or one entry"},
    {"Page Up, Page Down", "choose that entry"},
    {"Space", "start or stop colour cycling"},
    {"Left, Right", "the direction of the cycling"},
    {"Up, Down", "the speed of the cycling"},
    {"S, O", "save or open the location (.loc)"},
    {"P", "save the picture as PNG, with its location"},
};

ExploreWindow::ExploreWindow(std::function<std::string()> describe)
    : describe_(std::move(describe)) {
    saverecord_ = shell::filerecord("Locations (*.loc)", "*.loc", "Save the location", "loc", true);
    openrecord_ = shell::filerecord("Locations (*.loc)", "*.loc", "Open a location", "loc", false);
    pngrecord_ = shell::filerecord("PNG images (*.png)", "*.png", "Save the picture", "png", true);
}

ExploreWindow::~ExploreWindow() = default;

int ExploreWindow::picturewidth(shell::Window& w) const {
    const shell::SideWindow* s = side(w);
    return s ? s->offscreen.devicewidth() : 0;
}

int ExploreWindow::pictureheight(shell::Window& w) const {
    const shell::SideWindow* s = side(w);
    return s ? std::max(0, s->yres() - kStatusHeight) * s->offscreen.scale() : 0;
}

// ---------------------------------------------------------------- opening and closing

void ExploreWindow::toggle(shell::Window& w, const shell::Palette& p) {
    if (isopen(w)) {
        close(w);
        return;
    }
    open(w, p, LocFile{placed_ ? loc_ : homelocation(kWidth), colours_});
}

void ExploreWindow::open(shell::Window& w, const shell::Palette& p, const LocFile& at) {
    palette_ = p;
    if (isopen(w)) {
        const bool angles = at.colours.interior == Interior::angle;
        const bool needangles = angles && colours_.interior != Interior::angle;
        colours_ = at.colours;
        if (clamped(at.location) != loc_ || needangles) {
            go(w, at.location);
        } else {
            paintall(w);
            drawstatus(w);
        }
        return;
    }
    if (!renderer_) renderer_ = std::make_unique<Renderer>();
    if (!font_) font_ = std::make_unique<shell::Font>(kStatusHeight - 4);
    colours_ = at.colours;
    loc_ = clamped(at.location);
    placed_ = true;
    shell::SideWindow& s =
        w.opensidewindow(kId, kTitle,
                         shell::SideSize{kWidth, kHeight + kStatusHeight, kMinWidth,
                                         kMinHeight + kStatusHeight, true});
    s.offscreen.fill(shell::Rgb{});
    shown_.resize(picturewidth(w), pictureheight(w));
    note_.clear();
    render(w);
    s.presentall();
}

void ExploreWindow::close(shell::Window& w) {
    if (renderer_) renderer_->cancel();
    w.killtimer(kRenderTimer);
    w.killtimer(kCycleTimer);
    cycle_.stop();
    drawnshift_ = 0;
    rendering_ = false;
    drag_ = Drag::none;
    w.closesidewindow(kId);
}

void ExploreWindow::follow(shell::Window& w, const shell::Palette& p) {
    if (!isopen(w) || p == palette_) return;
    palette_ = p;
    paintall(w);
}

// ---------------------------------------------------------------- messages

bool ExploreWindow::message(shell::Window& w, const Message& m) {
    switch (m.msg) {
        case Msg::timer:
            if (m.wparam == kRenderTimer) {
                collect(w);
                return true;
            }
            if (m.wparam == kCycleTimer) {
                const int shift = cycle_.shiftat(w.ticks());
                if (shift != drawnshift_ && isopen(w)) {
                    drawnshift_ = shift;
                    paintall(w);
                }
                return true;
            }
            return false;
        case Msg::sidesize:
            if (m.wparam != kId) return false;
            // The same location at the new size: the width stays, so the
            // picture shows the same part of the plane at another scale.
            if (shell::SideWindow* s = side(w)) {
                s->offscreen.fill(shell::Rgb{});
                render(w);
                s->presentall();
            }
            return true;
        case Msg::sideclose:
            if (m.wparam != kId) return false;
            close(w);
            return true;
        default:
            break;
    }
    if (m.window != kId) return false;
    if (m.msg == Msg::keydown) return key(w, m.wparam, m.mods);
    return pointer(w, m);
}

bool ExploreWindow::key(shell::Window& w, int vk, int mods) {
    const bool shift = (mods & shell::mod_shift) != 0;
    switch (vk) {
        case kKey:
            close(w);
            return true;
        case shell::vk_home:
            // The location is the window's logical width of lattice steps:
            // on a screen of scale n its picture has the lattice at n times
            // the density, the same part of the plane as at scale 1.
            go(w, homelocation(side(w) ? side(w)->xres() : kWidth));
            return true;
        case shell::vk_oem_plus:
        case shell::vk_add:
        case shell::vk_oem_minus:
        case shell::vk_subtract: {
            const bool more = vk == shell::vk_oem_plus || vk == shell::vk_add;
            Location to = loc_;
            to.iterations = std::clamp(more ? loc_.iterations * 2 : loc_.iterations / 2,
                                       kMinIterations, kMaxIterations);
            go(w, to);
            return true;
        }
        case shell::vk_back:
            back(w);
            return true;
        case 'C':
            colours_.colouring =
                colours_.colouring == Colouring::smooth ? Colouring::escapetime : Colouring::smooth;
            break;
        case shell::vk_oem_4:
        case shell::vk_oem_6: {
            // The next density of the series below or above the current one.
            const double d = colours_.density;
            if (vk == shell::vk_oem_6) {
                const double* up =
                    std::upper_bound(std::begin(kDensities), std::end(kDensities), d);
                if (up != std::end(kDensities)) colours_.density = *up;
            } else {
                const double* down =
                    std::lower_bound(std::begin(kDensities), std::end(kDensities), d);
                if (down != std::begin(kDensities)) colours_.density = *(down - 1);
            }
            break;
        }
        case shell::vk_oem_comma:
        case shell::vk_oem_period: {
            const int by = (shift ? 16 : 1) * (vk == shell::vk_oem_period ? 1 : -1);
            colours_.offset = std::fmod(colours_.offset + by + 256, 256.0);
            break;
        }
        case 'I': {
            const Interior next = colours_.interior == Interior::angle   ? Interior::black
                                  : colours_.interior == Interior::black ? Interior::entry
                                                                         : Interior::angle;
            colours_.interior = next;
            // The angles of the points of the set were left out of a
            // picture that did not need them.
            if (next == Interior::angle && !renderer_->angles()) {
                render(w);
                return true;
            }
            break;
        }
        case shell::vk_prior:
        case shell::vk_next: {
            const int by = (shift ? 16 : 1) * (vk == shell::vk_prior ? 1 : -1);
            colours_.interiorentry = (colours_.interiorentry + by + 256) % 256;
            colours_.interior = Interior::entry;
            break;
        }
        case ' ':
        case shell::vk_left:
        case shell::vk_right:
        case shell::vk_up:
        case shell::vk_down:
            cyclekey(w, vk);
            return true;
        case 'S':
            saveloc(w);
            return true;
        case 'O':
            openloc(w);
            return true;
        case 'P':
            savepicture(w);
            return true;
        default:
            return false;
    }
    // A change of the colouring: the picture is coloured again.
    paintall(w);
    drawstatus(w);
    return true;
}

void ExploreWindow::cyclekey(shell::Window& w, int vk) {
    switch (vk) {
        case ' ':
            if (cycle_.running()) {
                cycle_.stop();
                w.killtimer(kCycleTimer);
                if (drawnshift_ != 0) {
                    drawnshift_ = 0;
                    paintall(w);
                }
            } else {
                cycle_.start(w.ticks());
                w.settimer(kCycleTimer, cycle_.period());
            }
            return;
        case shell::vk_left:
        case shell::vk_right:
            cycle_.setdirection(vk == shell::vk_right ? 1 : -1, w.ticks());
            return;
        default:
            cycle_.changespeed(vk == shell::vk_up ? 1 : -1, w.ticks());
            if (cycle_.running()) w.settimer(kCycleTimer, cycle_.period());
            return;
    }
}

double ExploreWindow::devicex(shell::Window& w, int x) const {
    const int scale = side(w)->offscreen.scale();
    return double(signedpos(x)) * scale + scale / 2;
}

double ExploreWindow::devicey(shell::Window& w, int y) const {
    const int scale = side(w)->offscreen.scale();
    return double(signedpos(y)) * scale + scale / 2;
}

bool ExploreWindow::pointer(shell::Window& w, const Message& m) {
    shell::SideWindow* s = side(w);
    if (!s) return true;
    const shell::Point at{signedpos(m.x), signedpos(m.y)};
    const int pw = s->xres(), ph = s->yres() - kStatusHeight;
    switch (m.msg) {
        case Msg::wheel:
            if (at.y < ph && m.wparam != 0)
                zoom(w, devicex(w, m.x), devicey(w, m.y), std::ldexp(1.0, -m.wparam));
            return true;
        case Msg::lbuttondown:
        case Msg::rbuttondown:
            if (at.y >= ph || drag_ != Drag::none) return true;
            drag_ = m.msg == Msg::lbuttondown ? Drag::pan : Drag::rectangle;
            dragfrom_ = dragto_ = at;
            if (drag_ == Drag::pan) {
                dragpicture_ = shell::Surface(pw, ph, shell::Rgb{}, s->offscreen.scale());
                dragpicture_.blit(0, 0, pw, ph, s->offscreen, 0, 0);
            }
            return true;
        case Msg::mousemove:
            if (drag_ == Drag::none) return true;
            dragto_ = at;
            if (drag_ == Drag::pan) {
                // The picture follows the pointer until the button comes up.
                const shell::Rect r{0, 0, pw, ph};
                s->offscreen.fillrect(r, shell::Rgb{});
                s->offscreen.blit(at.x - dragfrom_.x, at.y - dragfrom_.y, pw, ph, dragpicture_, 0,
                                  0);
                s->present(r);
            } else {
                // The rectangle is drawn on the window only, over the picture.
                s->present(shell::Rect{0, 0, pw, ph});
                const shell::Point a = dragfrom_, b = at;
                const shell::Point corners[] = {a, {b.x, a.y}, b, {a.x, b.y}, a};
                s->onscreen.polyline(corners, 5, kOutlineShade, 3);
                s->onscreen.polyline(corners, 5, kOutline, 1);
                s->onscreenchanged(shell::Rect{0, 0, pw, ph});
            }
            return true;
        case Msg::lbuttonup:
        case Msg::rbuttonup: {
            const Drag was = drag_;
            if (was == Drag::none || (was == Drag::pan) != (m.msg == Msg::lbuttonup)) return true;
            drag_ = Drag::none;
            dragto_ = at;
            const int dx = dragto_.x - dragfrom_.x, dy = dragto_.y - dragfrom_.y;
            const int scale = s->offscreen.scale();
            if (was == Drag::pan) {
                dragpicture_ = shell::Surface();
                if (dx == 0 && dy == 0) return true;
                const Lattice l(loc_, picturewidth(w), pictureheight(w));
                Location to = loc_;
                to.re = loc_.re - dx * scale * l.step();
                to.im = loc_.im + dy * scale * l.step();
                // The picture keeps the values it moved with until the new
                // ones come.
                shiftmap(shown_, dx * scale, dy * scale);
                go(w, to);
                return true;
            }
            s->present(shell::Rect{0, 0, pw, ph});
            // A rectangle too small to mean one is a click: nothing happens.
            if (std::abs(dx) < 3 || std::abs(dy) < 3) return true;
            const double cx = (devicex(w, dragfrom_.x) + devicex(w, dragto_.x)) / 2;
            const double cy = (devicey(w, dragfrom_.y) + devicey(w, dragto_.y)) / 2;
            const double factor =
                std::max(double(std::abs(dx)) / pw, double(std::abs(dy)) / std::max(ph, 1));
            // Zooming into the rectangle is a zoom about its centre that
            // then puts the centre in the middle.
            const Lattice l(loc_, picturewidth(w), pictureheight(w));
            Location to = loc_;
            to.re = loc_.re + (cx - picturewidth(w) / 2) * l.step();
            to.im = loc_.im - (cy - pictureheight(w) / 2) * l.step();
            to.width = loc_.width;
            if (loc_.width <= kDeepestWidth) {
                say(w, kDeepest);
                return true;
            }
            to.width = std::max(loc_.width * factor, kDeepestWidth);
            go(w, to);
            if (to.width == kDeepestWidth) say(w, kDeepest);
            return true;
        }
        default:
            return true;
    }
}

void ExploreWindow::zoom(shell::Window& w, double atx, double aty, double factor) {
    if (factor < 1 && loc_.width <= kDeepestWidth) {
        say(w, kDeepest);
        return;
    }
    const double width = std::clamp(loc_.width * factor, kDeepestWidth, kWidestWidth);
    go(w, zoomabout(loc_, picturewidth(w), pictureheight(w), atx, aty, width));
    if (width == kDeepestWidth) say(w, kDeepest);
}

// ---------------------------------------------------------------- views

void ExploreWindow::go(shell::Window& w, Location to) {
    to = clamped(to);
    history_.push_front(loc_);
    if (int(history_.size()) > kHistory) history_.pop_back();
    loc_ = to;
    note_.clear();
    render(w);
}

void ExploreWindow::back(shell::Window& w) {
    if (history_.empty()) {
        say(w, "no earlier view");
        return;
    }
    loc_ = history_.front();
    history_.pop_front();
    note_.clear();
    render(w);
}

void ExploreWindow::render(shell::Window& w) {
    if (!isopen(w)) return;
    renderer_->start(loc_, picturewidth(w), pictureheight(w), colours_.interior == Interior::angle);
    rendering_ = true;
    w.settimer(kRenderTimer, kCollectEvery);
    collect(w);
    drawstatus(w);
}

void ExploreWindow::collect(shell::Window& w) {
    if (!isopen(w)) return;
    // Whether the picture was complete is asked before its rows are taken:
    // rows the workers finish between the two are then taken at the next
    // tick, not left at a coarser pass when the ticks stop.
    const bool complete = renderer_->done();
    const auto [first, last] = renderer_->collect(shown_);
    if (first < last) paint(w, first, last);
    if (rendering_ && complete) {
        rendering_ = false;
        w.killtimer(kRenderTimer);
        drawstatus(w);
    }
}

void ExploreWindow::finish(shell::Window& w) {
    if (!isopen(w)) return;
    renderer_->wait();
    collect(w);
}

shell::Palette ExploreWindow::showing(shell::Window&) const {
    return drawnshift_ == 0 ? palette_ : rotated(palette_, drawnshift_);
}

void ExploreWindow::paint(shell::Window& w, int y0, int y1) {
    shell::SideWindow* s = side(w);
    if (!s || shown_.width == 0) return;
    colourrows(shown_, y0, y1, colours_, showing(w), s->offscreen);
    const int scale = s->offscreen.scale();
    s->present(shell::Rect{0, y0 / scale, s->xres(), (y1 + scale - 1) / scale});
}

void ExploreWindow::say(shell::Window& w, const std::string& note) {
    note_ = note;
    drawstatus(w);
}

void ExploreWindow::drawstatus(shell::Window& w) {
    // The centre to as many places as the width shows differences in.
    const int places = std::clamp(int(std::ceil(-std::log10(loc_.width))) + 4, 4, 17);
    std::string s = number(loc_.re, std::chars_format::fixed, places) +
                    (loc_.im < 0 ? " - " : " + ") +
                    number(std::abs(loc_.im), std::chars_format::fixed, places) + "i  width " +
                    number(loc_.width, std::chars_format::general, 4) + "  iterations " +
                    std::to_string(loc_.iterations) + "  ";
    if (colours_.colouring == Colouring::smooth)
        s += "smooth " + number(colours_.density, std::chars_format::general, 3) + " +" +
             number(colours_.offset, std::chars_format::general, 3);
    else
        s += "escape-time";
    if (rendering_)
        s += "  rendering";
    else if (renderer_ && renderer_->lastrender() >= 0)
        s += "  " + std::to_string(int(std::lround(renderer_->lastrender()))) + " ms";
    if (!note_.empty()) s += "  " + note_;
    status_ = s;
    shell::SideWindow* side = this->side(w);
    if (!side || !font_) return;
    const shell::Rect r{0, side->yres() - kStatusHeight, side->xres(), side->yres()};
    font_->drawopaque(side->offscreen, r, 4, r.top + (kStatusHeight - font_->cellheight()) / 2, s,
                      kStatusText, kStatusBack);
    side->present(r);
}

}  // namespace explore
