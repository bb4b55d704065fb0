// Sections: making the dialog; keys; DialogView; notifications.
#include "dialogwindow.h"

#include <commctrl.h>

#include <algorithm>

#include "host.h"
#include "platform.h"
#include "shell/io/wide.h"
#include "shell/window/dialoglogic.h"
#include "shell/window/history.h"

namespace shell::win32 {

namespace {

const wchar_t* const kDialogClass = L"PaletteToolsDialog";

// What a control is made of: its window class and styles.
struct Kind {
    const wchar_t* cls;
    DWORD style;
    DWORD exstyle = 0;
};

Kind kindof(const ControlTemplate& c) {
    switch (c.kind) {
        case Control::edit:
            return {L"EDIT", ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE};
        case Control::radio:
            // The dialog checks the run itself, as both hosts do.
            return {L"BUTTON", BS_RADIOBUTTON};
        case Control::checkbox:
            return {L"BUTTON", BS_AUTOCHECKBOX};
        case Control::button:
            return {L"BUTTON", DWORD(c.id == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)};
        case Control::groupbox:
            return {L"BUTTON", BS_GROUPBOX};
        case Control::text:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX};
        case Control::etchedline:
            return {L"STATIC", SS_ETCHEDHORZ};
        case Control::picture:
            return {L"STATIC", SS_OWNERDRAW};
        case Control::trackbar:
            return {TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTH | TBS_AUTOTICKS};
    }
    return {L"STATIC", SS_LEFT};
}

// '&' marks a mnemonic in a button's or label's text; doubled it shows.
std::wstring labeltext(const ControlTemplate& c, const std::string& s) {
    std::wstring w = widen(s);
    if (c.kind == Control::edit || c.kind == Control::text) return w;
    std::wstring out;
    for (wchar_t ch : w) {
        if (ch == L'&') out += L'&';
        out += ch;
    }
    return out;
}

std::string windowtext(HWND h) {
    const int n = GetWindowTextLengthW(h);
    std::wstring w(size_t(n) + 1, L'\0');
    GetWindowTextW(h, w.data(), n + 1);
    w.resize(size_t(n));
    return narrow(w);
}

// The dialog a window belongs to: itself, or the dialog of its parent.
DialogWindow* dialogof(HWND h) {
    HWND top = GetAncestor(h, GA_ROOT);
    if (!top) return nullptr;
    wchar_t cls[64] = {};
    GetClassNameW(top, cls, 64);
    if (wcscmp(cls, kDialogClass) != 0) return nullptr;
    return reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(top, GWLP_USERDATA));
}

}  // namespace

// ---------------------------------------------------------------- making the dialog

DialogWindow::DialogWindow(Host& host, const DialogTemplate& t, DialogProc& proc, bool modal)
    : host_(host), t_(t), proc_(proc), modal_(modal) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    static const bool registered = [inst] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = wndproc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kDialogClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    const DialogUnits du = dialogunits(t_.pointsize);
    // The template's position is relative to the main window's client area.
    POINT origin{0, 0};
    ClientToScreen(host_.window(), &origin);
    const RECT client{origin.x + du.x(t_.x), origin.y + du.y(t_.y),
                      origin.x + du.x(t_.x) + du.x(t_.cx), origin.y + du.y(t_.y) + du.y(t_.cy)};
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    DWORD exstyle = WS_EX_CONTROLPARENT;
    if (t_.captionbar) {
        style |= WS_CAPTION | (t_.closebox ? WS_SYSMENU : 0);
        exstyle |= WS_EX_DLGMODALFRAME;
    } else {
        style |= WS_BORDER;
    }
    const RECT outer = outerrect(client, style, exstyle);
    hwnd_ = CreateWindowExW(exstyle, kDialogClass, widen(t_.caption).c_str(), style, outer.left,
                            outer.top, outer.right - outer.left, outer.bottom - outer.top,
                            host_.window(), nullptr, inst, this);
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, LONG_PTR(this));
    // Without a close button the system menu must not close it either.
    if (t_.captionbar && !t_.closebox) SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~WS_SYSMENU);
    HFONT font = dialogfont(t_.pointsize);
    for (const ControlTemplate& c : t_.controls) {
        const Kind k = kindof(c);
        const int x = du.x(c.x), y = du.y(c.y), w = du.x(c.cx);
        const int h = c.kind == Control::etchedline ? 2 : du.y(c.cy);
        HWND ctl = CreateWindowExW(k.exstyle, k.cls, labeltext(c, c.text).c_str(),
                                   WS_CHILD | WS_VISIBLE | k.style, x, y, w, h, hwnd_,
                                   HMENU(INT_PTR(c.id)), inst, nullptr);
        if (!ctl) continue;
        SendMessageW(ctl, WM_SETFONT, WPARAM(font), FALSE);
        if (c.kind == Control::edit && c.limit > 0) SendMessageW(ctl, EM_LIMITTEXT, c.limit, 0);
        if (c.id >= 0 && !controls_.count(c.id)) controls_[c.id] = ctl;
    }
}

DialogWindow::~DialogWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void DialogWindow::start() {
    auto self = shared_from_this();
    proc_.handle(*this, DialogMessage{DlgMsg::init, 0, 0, 0});
    if (ended_ || !hwnd_) {
        close();
        return;
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    // Unless the procedure placed it, the focus goes to the first control
    // that takes it.
    if (focused() == 0) {
        const int first = nexttabstop(
            t_, 0, false, [this](int id) { return enabled(id); },
            [this](int id) { return checked(id); });
        if (first != 0) focus(first);
    }
}

void DialogWindow::close() {
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
    closed_ = true;
}

void DialogWindow::setbusy(bool on) {
    busy_ = on;
}

LRESULT CALLBACK DialogWindow::wndproc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* d = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!d) return DefWindowProcW(h, msg, wp, lp);
    return d->handle(msg, wp, lp);
}

LRESULT DialogWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (!busy_ && lp != 0) notify(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_HSCROLL:
            if (!busy_ && lp != 0) trackmoved(GetDlgCtrlID(HWND(lp)), LOWORD(wp));
            return 0;
        case WM_CLOSE:
            if (busy_ || ended_) return 0;
            // A dialog without a close button closes as Esc would.
            if (!t_.closebox) {
                if (int id = escapebutton([this](int c) { return enabled(c); }))
                    notify(id, bn_clicked);
                return 0;
            }
            {
                auto self = shared_from_this();
                proc_.handle(*this, DialogMessage{DlgMsg::close, 0, 0, 0});
                after();
            }
            return 0;
        case WM_DRAWITEM: {
            auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            FillRect(di->hDC, &di->rcItem, GetSysColorBrush(COLOR_BTNFACE));
            auto it = images_.find(int(di->CtlID));
            if (it != images_.end())
                drawsurface(di->hDC, it->second,
                            Rect{0, 0, it->second.devicewidth(), it->second.deviceheight()});
            return TRUE;
        }
        case WM_SETCURSOR:
            if (busy_) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

// ---------------------------------------------------------------- keys

bool DialogWindow::presskey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR)
        return false;
    DialogWindow* d = dialogof(msg.hwnd);
    if (!d || d->closed_) return false;
    auto self = d->shared_from_this();
    return d->key(msg);
}

bool DialogWindow::key(const MSG& msg) {
    // Enter and Esc come as characters too once translated: those are
    // swallowed with their keys, or an edit box would beep.
    if (msg.message == WM_CHAR) return msg.wParam == '\r' || msg.wParam == 27 || msg.wParam == '\t';
    if (busy_) return true;
    const int vk = int(msg.wParam), mods = modifiers();
    if (mods & (mod_ctrl | mod_alt)) {
        // A combination with Ctrl or Alt goes to the procedure (Ctrl+Z and
        // the like) before an edit box acts on it; one it leaves alone is the
        // control's or the system's.
        const bool letter = (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9');
        return letter && procedurekey(vk, mods);
    }
    const int at = focused();
    const ControlTemplate* c = templ(at);
    switch (vk) {
        case VK_TAB: {
            const int next = nexttabstop(
                t_, at, mods & mod_shift, [this](int id) { return enabled(id); },
                [this](int id) { return checked(id); });
            if (next != 0) focus(next);
            return true;
        }
        case VK_RETURN:
            if (int id = enterbutton(t_, at, [this](int i) { return enabled(i); }))
                notify(id, bn_clicked);
            return true;
        case VK_ESCAPE:
            if (int id = escapebutton([this](int i) { return enabled(i); })) notify(id, bn_clicked);
            return true;
        default:
            break;
    }
    if (c && c->kind == Control::radio &&
        (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN)) {
        // The button reached takes the focus and is chosen, as a click does;
        // the keys never leave the group.
        if (int to = radioarrow(t_, at, vk, [this](int i) { return enabled(i); })) {
            focus(to);
            notify(to, bn_clicked);
        }
        return true;
    }
    if (c && c->kind == Control::trackbar) {
        const int lo = int(SendMessageW(control(at), TBM_GETRANGEMIN, 0, 0));
        const int hi = int(SendMessageW(control(at), TBM_GETRANGEMAX, 0, 0));
        if (std::optional<TrackStep> step = trackkey(vk, pos(at), lo, hi)) {
            SendMessageW(control(at), TBM_SETPOS, TRUE, step->pos);
            trackmoved(at, step->code);
            trackmoved(at, tb_endtrack);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- DialogView

HWND DialogWindow::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

int DialogWindow::focused() const {
    HWND now = GetFocus();
    for (const auto& [id, h] : controls_)
        if (h == now) return id;
    return 0;
}

std::string DialogWindow::text(int id) const {
    HWND h = control(id);
    if (!h) return {};
    std::string s = windowtext(h);
    const ControlTemplate* c = templ(id);
    if (c && c->kind != Control::edit && c->kind != Control::text) {
        // The doubled '&' of a label is one.
        std::string out;
        for (size_t i = 0; i < s.size(); ++i) {
            out += s[i];
            if (s[i] == '&' && i + 1 < s.size() && s[i + 1] == '&') ++i;
        }
        return out;
    }
    return s;
}

void DialogWindow::settext(int id, const std::string& s) {
    HWND h = control(id);
    const ControlTemplate* c = templ(id);
    if (!h || !c) return;
    // An edit box notifies the change itself before this returns, as typing
    // does; its limit holds for the program's writes too.
    const std::string kept = c->kind == Control::edit ? limittext(s, c->limit) : s;
    SetWindowTextW(h, labeltext(*c, kept).c_str());
}

void DialogWindow::check(int id, bool on) {
    if (HWND h = control(id)) SendMessageW(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool DialogWindow::checked(int id) const {
    HWND h = control(id);
    return h && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogWindow::enable(int id, bool on) {
    if (HWND h = control(id)) EnableWindow(h, on);
}

bool DialogWindow::enabled(int id) const {
    HWND h = control(id);
    return !h || IsWindowEnabled(h);
}

void DialogWindow::setimage(int id, const Surface* s) {
    HWND h = control(id);
    if (!h) return;
    images_.erase(id);
    if (s && s->width() > 0 && s->height() > 0) images_[id] = *s;
    InvalidateRect(h, nullptr, FALSE);
}

void DialogWindow::setrange(int id, int lo, int hi) {
    HWND h = control(id);
    if (!h) return;
    SendMessageW(h, TBM_SETRANGEMIN, FALSE, lo);
    SendMessageW(h, TBM_SETRANGEMAX, TRUE, std::max(lo, hi));
    SendMessageW(h, TBM_SETPOS, TRUE, std::clamp(pos(id), lo, std::max(lo, hi)));
}

void DialogWindow::setpos(int id, int p) {
    if (HWND h = control(id)) SendMessageW(h, TBM_SETPOS, TRUE, p);
}

int DialogWindow::pos(int id) const {
    HWND h = control(id);
    return h ? int(SendMessageW(h, TBM_GETPOS, 0, 0)) : 0;
}

void DialogWindow::focus(int id) {
    HWND h = control(id);
    if (!h) return;
    SetFocus(h);
    // A box reached from the keyboard or the program has its whole text
    // selected, so that typing replaces it.
    const ControlTemplate* c = templ(id);
    if (c && c->kind == Control::edit) SendMessageW(h, EM_SETSEL, 0, -1);
}

void DialogWindow::end(int result) {
    if (ended_) return;
    ended_ = true;
    result_ = result;
    if (!modal_) close();
}

// ---------------------------------------------------------------- notifications

void DialogWindow::selectradio(int id) {
    for (int other : radiorun(t_, id)) check(other, other == id);
}

void DialogWindow::after() {
    host_.pump();
    host_.pushdirty();
}

void DialogWindow::notify(int id, int code) {
    if (ended_) return;
    auto self = shared_from_this();
    const ControlTemplate* c = templ(id);
    if (c && c->kind == Control::radio && code == bn_clicked) selectradio(id);
    proc_.handle(*this, DialogMessage{DlgMsg::command, id, code, 0});
    after();
}

void DialogWindow::trackmoved(int id, int code) {
    if (ended_) return;
    auto self = shared_from_this();
    proc_.handle(*this, DialogMessage{DlgMsg::hscroll, id, code, pos(id)});
    after();
}

bool DialogWindow::procedurekey(int vk, int mods) {
    if (ended_) return false;
    auto self = shared_from_this();
    DialogMessage m{DlgMsg::key, 0, vk, 0};
    m.mods = mods;
    const bool used = proc_.handle(*this, m) != 0;
    after();
    return used;
}

}  // namespace shell::win32
