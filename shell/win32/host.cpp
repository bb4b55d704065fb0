// Sections: the main window; Window; the message loop; start-up.
#include "host.h"

#include <commctrl.h>
#include <objbase.h>
#include <windowsx.h>

#include <chrono>

#include "dialogwindow.h"
#include "filechooser.h"
#include "platform.h"
#include "shell/io/wide.h"
#include "sidewindow.h"

namespace shell::win32 {

namespace {

const wchar_t* const kMainClass = L"PaletteToolsMain";
// Program timer ids are offset so that none is 0, which SetTimer refuses.
constexpr UINT_PTR kTimerBase = 0x1000;
// A fixed frame with a title bar, a system menu and a minimize button.
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

// ---------------------------------------------------------------- the main window

Host::Host(const ProgramDesc& d) : HostCore(d) {}

Host::~Host() {
    closesidewindows();
    dialogs_.clear();
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

int Host::create() {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = wndproc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kMainClass;
    // The program's icon is the first of its resources, at each size the
    // system shows.
    wc.hIcon = HICON(LoadImageW(inst, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                GetSystemMetrics(SM_CYICON), 0));
    wc.hIconSm = HICON(LoadImageW(inst, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return err_class;

    if (!desc_.menus.empty()) {
        menu_ = CreateMenu();
        for (const Menu& m : desc_.menus) {
            HMENU popup = CreatePopupMenu();
            for (const MenuItem& item : m.items)
                AppendMenuW(popup, MF_STRING, UINT_PTR(item.id), widen(item.text).c_str());
            AppendMenuW(menu_, MF_POPUP, UINT_PTR(popup), widen(m.title).c_str());
        }
    }
    // The frame stands at the top left of the work area, so that a side
    // window has room beside it.
    const RECT area = workarea();
    const RECT client{0, 0, onscreen.devicewidth(), onscreen.deviceheight()};
    const RECT outer = outerrect(client, kMainStyle, 0, menu_ != nullptr);
    hwnd_ = CreateWindowExW(0, kMainClass, widen(title_).c_str(), kMainStyle, area.left, area.top,
                            outer.right - outer.left, outer.bottom - outer.top, nullptr, menu_,
                            inst, this);
    if (!hwnd_) return err_window;
    // A menu bar too narrow for its items takes two lines: the client area
    // keeps its size.
    RECT got{};
    GetClientRect(hwnd_, &got);
    if (got.bottom != client.bottom) {
        RECT w{};
        GetWindowRect(hwnd_, &w);
        SetWindowPos(hwnd_, nullptr, 0, 0, w.right - w.left,
                     w.bottom - w.top + client.bottom - got.bottom, SWP_NOMOVE | SWP_NOZORDER);
    }
    // What the creation posts waits for the loop, which starts once the
    // window shows.
    dispatch(Message::simple(Msg::create));
    return startup_ok;
}

void Host::show() {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    shown_ = true;
    focusclient();
}

void Host::focusclient() {
    if (!hwnd_ || !shown_) return;
    // While a dialog of ours is open, it keeps the keyboard.
    for (auto& d : dialogs_)
        if (!d->closed()) return;
    if (IsWindowEnabled(hwnd_)) SetFocus(hwnd_);
}

LRESULT CALLBACK Host::wndproc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(h, GWLP_USERDATA, LONG_PTR(cs->lpCreateParams));
        static_cast<Host*>(cs->lpCreateParams)->hwnd_ = h;
    }
    auto* host = reinterpret_cast<Host*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!host) return DefWindowProcW(h, msg, wp, lp);
    return host->handle(msg, wp, lp);
}

Message Host::mouse(Msg m, LPARAM lp) const {
    // Device pixels to logical ones; a negative position wraps round.
    const Point p = logicalpoint(lp, offscreen.scale());
    return Message::mouse(m, p.x, p.y);
}

void Host::button(Msg m, WPARAM wp, LPARAM lp) {
    const bool down = m == Msg::lbuttondown || m == Msg::rbuttondown;
    if (down) {
        // A press holds the pointer until the last button comes up, so the
        // release arrives even outside the window.
        SetCapture(hwnd_);
        focusclient();
    } else if (!(wp & (MK_LBUTTON | MK_RBUTTON))) {
        ReleaseCapture();
    }
    // The place where the button came up is the drag's last position.
    const Message at = mouse(m, lp);
    pointer(at.x, at.y);
    send(Message::mouse(m, lastx_, lasty_));
}

void Host::pointer(int x, int y) {
    if (x == lastx_ && y == lasty_ && known_) return;
    lastx_ = x, lasty_ = y, known_ = true;
    send(Message::mouse(Msg::mousemove, x, y));
}

LRESULT Host::handle(UINT msg, WPARAM wp, LPARAM lp) {
    // While the program is busy its windows take no input.
    const bool input = (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
                       (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_COMMAND;
    if (busy() && input) return 0;
    switch (msg) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the picture covers the whole client area
        case WM_SETCURSOR:
            if (busy() && LOWORD(lp) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE: {
            if (!tracking_) {
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
                tracking_ = TrackMouseEvent(&t) != 0;
            }
            const Message m = mouse(Msg::mousemove, lp);
            pointer(m.x, m.y);
            return 0;
        }
        case WM_MOUSELEAVE:
            tracking_ = false;
            // A drag keeps the pointer: its moves still arrive.
            if (GetCapture() == hwnd_) return 0;
            known_ = false;
            send(Message::simple(Msg::mouseleave));
            return 0;
        case WM_LBUTTONDOWN:
            button(Msg::lbuttondown, wp, lp);
            return 0;
        case WM_LBUTTONUP:
            button(Msg::lbuttonup, wp, lp);
            return 0;
        case WM_RBUTTONDOWN:
            button(Msg::rbuttondown, wp, lp);
            return 0;
        case WM_RBUTTONUP:
            button(Msg::rbuttonup, wp, lp);
            return 0;
        case WM_MOUSEWHEEL: {
            if (wheelelsewhere(hwnd_, wp, lp, sides_)) return 0;
            const int notches = wheelnotches(wp, wheelrest_);
            if (notches == 0) return 0;
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            ScreenToClient(hwnd_, &p);
            const Message at = mouse(Msg::wheel, MAKELPARAM(p.x, p.y));
            pointer(at.x, at.y);
            send(Message::wheel(notches, lastx_, lasty_));
            return 0;
        }
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const int vk = virtualkey(wp);
            const Message key = Message::key(vk, modifiers());
            // Alt's combinations are the system's (Alt+F4, Alt+Space) unless
            // one is a program's accelerator.
            Message command;
            if (vk == 0 || (msg == WM_SYSKEYDOWN && !translateaccelerator(desc_, key, command)))
                break;
            send(key);
            return 0;
        }
        case WM_SYSCHAR:
            // An Alt combination the program took beeps no more.
            if (modifiers() & mod_alt) {
                Message command;
                const int vk = virtualkey(WPARAM(CharUpperW(LPWSTR(wp))));
                if (vk && translateaccelerator(desc_, Message::key(vk, modifiers()), command))
                    return 0;
            }
            break;
        case WM_COMMAND:
            // Menu items; accelerators are the host core's.
            if (HIWORD(wp) == 0 && lp == 0) {
                send(Message::command(LOWORD(wp)));
                return 0;
            }
            break;
        case WM_TIMER:
            if (wp >= kTimerBase) {
                timerdue(int(wp - kTimerBase));
                pump();
                pushdirty();
                return 0;
            }
            break;
        case WM_CLOSE:
            // The frame's close button: the default action destroys the window.
            send(Message::simple(Msg::destroy));
            return 0;
        case WM_MOVE:
            if (shown_) send(Message::simple(Msg::move));
            return 0;
        case WM_SIZE:
            if (shown_ && wp != SIZE_MINIMIZED) send(Message::simple(Msg::size));
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Host::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const Rect exposed{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom};
    // An expose asks the procedure to paint; what its paint shows is drawn
    // right here, so it need not be pushed a second time.
    const Rect pending = dirty_;
    dispatch(Message::paint(logicalrect(onscreen, exposed)));
    dirty_ = pending;
    drawsurface(dc, onscreen, exposed);
    EndPaint(hwnd_, &ps);
}

// ---------------------------------------------------------------- Window

void Host::send(const Message& m) {
    HostCore::send(m);
    pushdirty();
}

void Host::pushdirty() {
    if (dirty_.empty() || !hwnd_ || !shown_) return;
    HDC dc = GetDC(hwnd_);
    drawsurface(dc, onscreen, devicerect(onscreen, dirty_));
    ReleaseDC(hwnd_, dc);
    dirty_ = Rect{};
}

void Host::invalidate() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Host::settitle(const std::string& s) {
    title_ = s;
    if (hwnd_) SetWindowTextW(hwnd_, widen(s).c_str());
}

void Host::setbusy(bool on) {
    if (busy_ == on) return;
    busy_ = on;
    for (auto& d : dialogs_) d->setbusy(on);
    POINT p;
    GetCursorPos(&p);
    // The cursor changes at once, not at the pointer's next move.
    SetCursor(LoadCursorW(nullptr, on ? IDC_WAIT : IDC_ARROW));
    flush();
}

void Host::flush() {
    pushdirty();
    // Exposes are drawn, and nothing else of the queue is handled.
    MSG m;
    while (PeekMessageW(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&m);
}

void Host::checkmenu(int id, bool on) {
    if (!menu_) return;
    CheckMenuItem(menu_, UINT(id), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    DrawMenuBar(hwnd_);
}

// Every nested loop starts by putting on screen what the command drew so far:
// the loop runs until the user answers, and the window must not show the old
// picture meanwhile.
void Host::messagebox(const std::string& text, const std::string& caption, Icon icon, bool owned) {
    flush();
    const UINT type = MB_OK | (icon == Icon::exclamation ? MB_ICONEXCLAMATION : 0);
    // A box of its own still keeps the program's windows from input while it
    // is open.
    MessageBoxW(owned ? hwnd_ : nullptr, widen(text).c_str(), widen(caption).c_str(),
                owned ? type : type | MB_TASKMODAL);
    focusclient();
}

bool Host::filedialog(FileDialogRecord& rec, bool save) {
    flush();
    const bool ok = choosefile(rec, save, hwnd_);
    focusclient();
    return ok;
}

int Host::dialogbox(const DialogTemplate& t, DialogProc& proc) {
    flush();
    auto dw = std::make_shared<DialogWindow>(*this, t, proc, true);
    dialogs_.push_back(dw);
    enableowners(false);
    dw->start();
    MSG msg;
    while (!dw->finished() && !ended() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        handleone(msg);
        pump();
        pushdirty();
    }
    // The owner takes the activation back only when enabled before the
    // dialog goes.
    enableowners(true);
    const int result = dw->result();
    dw->close();
    focusclient();
    return result;
}

DialogView* Host::createdialog(const DialogTemplate& t, DialogProc& proc) {
    auto dw = std::make_shared<DialogWindow>(*this, t, proc, false);
    dialogs_.push_back(dw);
    dw->start();
    return dw.get();
}

void Host::enableowners(bool on) {
    EnableWindow(hwnd_, on);
    for (HWND s : sides_) EnableWindow(s, on);
}

long long Host::ticks() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Host::armtimer(int id, int milliseconds) {
    SetTimer(hwnd_, kTimerBase + UINT_PTR(id), UINT(milliseconds), nullptr);
}

void Host::disarmtimer(int id) {
    KillTimer(hwnd_, kTimerBase + UINT_PTR(id));
}

std::unique_ptr<SideWindow> Host::makesidewindow(int id, const std::string& title,
                                                 const SideSize& size) {
    return std::make_unique<Side>(*this, id, title, size);
}

int Host::roombeside() const {
    return sideroom(hwnd_);
}

void Host::closesidewindow(int id) {
    HostCore::closesidewindow(id);
    focusclient();
}

void Host::afterpump() {
    // Ended dialogs go here, never while their own procedure may still be on
    // the stack.
    for (auto it = dialogs_.begin(); it != dialogs_.end();) {
        if ((*it)->closed()) {
            it = dialogs_.erase(it);
            focusclient();
        } else {
            ++it;
        }
    }
}

// ---------------------------------------------------------------- the message loop

bool Host::handleone(MSG& msg) {
    if (msg.message == WM_QUIT) return false;
    if (DialogWindow::presskey(msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

int Host::run() {
    pump();
    pushdirty();
    MSG msg;
    // Waiting when idle: nothing in the programs acts on an idle message.
    while (!ended() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        handleone(msg);
        pump();
        pushdirty();
    }
    ShowWindow(hwnd_, SW_HIDE);
    return exitcode();
}

}  // namespace shell::win32

// ---------------------------------------------------------------- start-up

namespace shell {

int runprogram(const ProgramDesc& d) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    // The common file dialogs run on COM's single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int code = 0;
    {
        win32::Host host(d);
        if (const int err = host.create(); err != startup_ok) {
            MessageBoxW(nullptr, widen(errormessage(err)).c_str(), L"Error",
                        MB_OK | MB_ICONEXCLAMATION);
            code = 1;
        } else if (d.depthcheck && win32::displaydepth() < 24) {
            // The window was created and drew its first picture, but is
            // never shown: the start failed.
            host.messagebox(errormessage(err_graphics), "Error", Icon::exclamation, false);
            code = 1;
        } else {
            host.show();
            code = host.run();
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return code;
}

}  // namespace shell
