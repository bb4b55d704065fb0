#include "sidewindow.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "host.h"
#include "platform.h"
#include "shell/io/wide.h"

namespace shell::win32 {

namespace {

const wchar_t* const kSideClass = L"PaletteToolsSide";
// Space between the main window's frame and the side window's.
constexpr int kGap = 10;
constexpr DWORD kFixed = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

// How much wider and taller than its client area a frame of this style is.
SIZE framesize(DWORD style) {
    const RECT r = outerrect(RECT{0, 0, 100, 100}, style, 0);
    return SIZE{r.right - r.left - 100, r.bottom - r.top - 100};
}

}  // namespace

int sideroom(HWND main) {
    RECT frame{};
    GetWindowRect(main, &frame);
    return workarea().right - (frame.right + kGap) - framesize(kFixed).cx;
}

Side::Side(Host& host, int id, const std::string& title, const SideSize& size)
    : SideWindow(id, title, size.width, size.height, 1, size.pointer), host_(host), size_(size) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    static const bool registered = [inst] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = wndproc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = HBRUSH(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = kSideClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    const bool resizable = (size.minwidth > 0 && size.minwidth < size.width) ||
                           (size.minheight > 0 && size.minheight < size.height);
    style_ = kFixed | (resizable ? WS_THICKFRAME : 0);
    const SIZE extra = framesize(style_);
    const int w = onscreen.devicewidth() + extra.cx, h = onscreen.deviceheight() + extra.cy;
    // Beside the main window's right edge where the work area has room;
    // otherwise in its bottom right corner, where it covers the least of a
    // main window at the top left.
    RECT main{};
    GetWindowRect(host.window(), &main);
    const RECT area = workarea();
    int x = main.right + kGap, y = main.top;
    if (size.width > sideroom(host.window())) {
        x = std::max(area.left, area.right - w);
        y = std::max(area.top, area.bottom - h);
    }
    hwnd_ = CreateWindowExW(0, kSideClass, widen(title).c_str(), style_, x, y, w, h, host.window(),
                            nullptr, inst, nullptr);
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, LONG_PTR(this));
    host_.sides_.push_back(hwnd_);
    // It opens without taking the keyboard from the main window.
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

Side::~Side() {
    if (!hwnd_) return;
    auto& sides = host_.sides_;
    sides.erase(std::remove(sides.begin(), sides.end(), hwnd_), sides.end());
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
}

void Side::onscreenchanged(const Rect& r) {
    if (!hwnd_) return;
    HDC dc = GetDC(hwnd_);
    drawsurface(dc, onscreen, devicerect(onscreen, r));
    ReleaseDC(hwnd_, dc);
}

void Side::send(const Message& m) {
    // While the program is busy its windows take no input. The pointer of
    // a window that did not ask for it goes nowhere.
    if (host_.busy()) return;
    if (m.msg != Msg::keydown && !pointer()) return;
    host_.send(m.from(id()));
}

Message Side::mouse(Msg m, LPARAM lp) const {
    const Point p = logicalpoint(lp, offscreen.scale());
    return Message::mouse(m, p.x, p.y);
}

LRESULT CALLBACK Side::wndproc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* s = reinterpret_cast<Side*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!s) return DefWindowProcW(h, msg, wp, lp);
    return s->handle(msg, wp, lp);
}

LRESULT Side::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            // An expose shows the offscreen picture again, as a paint of the
            // main window does; the program hears nothing of it.
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            const Rect d{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom};
            const Rect r = intersect(logicalrect(onscreen, d), offscreen.bounds());
            if (!r.empty())
                onscreen.blit(r.left, r.top, r.width(), r.height(), offscreen, r.left, r.top);
            drawsurface(dc, onscreen, d);
            EndPaint(hwnd_, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_KEYDOWN: {
            const int vk = virtualkey(wp);
            if (vk == 0) break;
            send(Message::key(vk, modifiers()));
            return 0;
        }
        case WM_MOUSEMOVE:
            if (!pointer()) break;
            if (!tracking_) {
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
                tracking_ = TrackMouseEvent(&t) != 0;
            }
            send(mouse(Msg::mousemove, lp));
            return 0;
        case WM_MOUSELEAVE:
            tracking_ = false;
            // A drag keeps the pointer: its moves still arrive.
            if (GetCapture() != hwnd_) send(Message::simple(Msg::mouseleave));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            // A click gives this window the keyboard, and holds the pointer
            // until the last button comes up.
            SetFocus(hwnd_);
            SetCapture(hwnd_);
            send(mouse(msg == WM_LBUTTONDOWN ? Msg::lbuttondown : Msg::rbuttondown, lp));
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (!(wp & (MK_LBUTTON | MK_RBUTTON))) ReleaseCapture();
            send(mouse(msg == WM_LBUTTONUP ? Msg::lbuttonup : Msg::rbuttonup, lp));
            return 0;
        case WM_MOUSEWHEEL: {
            std::vector<HWND> ours = host_.sides_;
            ours.push_back(host_.window());
            if (wheelelsewhere(hwnd_, wp, lp, ours)) return 0;
            const int notches = wheelnotches(wp, wheelrest_);
            if (notches == 0) return 0;
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ScreenToClient(hwnd_, &p);
            const Message at = mouse(Msg::wheel, MAKELPARAM(p.x, p.y));
            send(Message::wheel(notches, at.x, at.y));
            return 0;
        }
        case WM_CLOSE:
            if (!host_.busy()) host_.send(Message::sideclose(id()));
            return 0;
        case WM_GETMINMAXINFO: {
            // A side with a minimum below its size may be resized from there
            // up; any other stays as it is.
            auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
            const SIZE extra = framesize(style_);
            auto least = [](int size, int minimum) {
                return minimum > 0 && minimum < size ? minimum : size;
            };
            const int k = offscreen.scale();
            mm->ptMinTrackSize.x = least(size_.width, size_.minwidth) * k + extra.cx;
            mm->ptMinTrackSize.y = least(size_.height, size_.minheight) * k + extra.cy;
            if (!(size_.minwidth > 0 && size_.minwidth < size_.width))
                mm->ptMaxTrackSize.x = size_.width * k + extra.cx;
            if (!(size_.minheight > 0 && size_.minheight < size_.height))
                mm->ptMaxTrackSize.y = size_.height * k + extra.cy;
            return 0;
        }
        case WM_SIZE:
            if (wp != SIZE_MINIMIZED) {
                const int k = offscreen.scale();
                host_.resizeside(id(), LOWORD(lp) / k, HIWORD(lp) / k);
                host_.pushdirty();
            }
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace shell::win32
