#include "platform.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "shell/window/message.h"

namespace shell::win32 {

void drawsurface(HDC dc, const Surface& s, Rect r) {
    r = intersect(r, Rect{0, 0, s.devicewidth(), s.deviceheight()});
    if (r.empty()) return;
    // The surface's rows are red, green, blue; a device-independent bitmap
    // wants blue, green, red, with four bytes a pixel keeping rows aligned.
    const int w = r.width(), h = r.height();
    static thread_local std::vector<uint32_t> pixels;
    pixels.resize(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = s.row(r.top + y) + size_t(r.left) * 3;
        uint32_t* dst = pixels.data() + size_t(y) * w;
        for (int x = 0; x < w; ++x, src += 3)
            dst[x] = uint32_t(src[0]) << 16 | src[1] << 8 | src[2];
    }
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;  // rows top to bottom
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, r.left, r.top, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), pixels.data(), &bmi,
                      DIB_RGB_COLORS);
}

Rect devicerect(const Surface& s, const Rect& logical) {
    return s.todevice(logical);
}

Rect logicalrect(const Surface& s, const Rect& d) {
    const int k = s.scale();
    auto down = [k](int v) { return v >= 0 ? v / k : -((-v + k - 1) / k); };
    return Rect{down(d.left), down(d.top), down(d.right + k - 1), down(d.bottom + k - 1)};
}

int virtualkey(WPARAM key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return int(key);
    if (key >= VK_F1 && key <= VK_F12) return int(key);
    switch (key) {
        case VK_ESCAPE:
        case VK_RETURN:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_SPACE:
        case VK_TAB:
        case VK_BACK:
        case VK_ADD:
        case VK_SUBTRACT:
        case VK_OEM_PLUS:
        case VK_OEM_MINUS:
        case VK_OEM_COMMA:
        case VK_OEM_PERIOD:
        case VK_OEM_4:
        case VK_OEM_6:
            return int(key);
        default:
            return 0;
    }
}

int modifiers() {
    auto down = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
    return (down(VK_SHIFT) ? mod_shift : 0) | (down(VK_CONTROL) ? mod_ctrl : 0) |
           (down(VK_MENU) ? mod_alt : 0);
}

Point logicalpoint(LPARAM lp, int k) {
    auto logical = [k](int v) { return v >= 0 ? v / k : -((-v + k - 1) / k); };
    return Point{logical(GET_X_LPARAM(lp)), logical(GET_Y_LPARAM(lp))};
}

int wheelnotches(WPARAM wp, int& rest) {
    rest += GET_WHEEL_DELTA_WPARAM(wp);
    const int notches = rest / WHEEL_DELTA;
    rest -= notches * WHEEL_DELTA;
    return notches;
}

bool wheelelsewhere(HWND self, WPARAM wp, LPARAM lp, const std::vector<HWND>& ours) {
    // The wheel's position is on the screen, not in the client area.
    const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    const HWND under = WindowFromPoint(p);
    if (under == self || std::find(ours.begin(), ours.end(), under) == ours.end()) return false;
    SendMessageW(under, WM_MOUSEWHEEL, wp, lp);
    return true;
}

int fontsize(int pointsize) {
    return pointsize >= 11 ? 15 : 11;
}

HFONT dialogfont(int pointsize) {
    auto make = [](int height, const wchar_t* face, BYTE family) {
        return CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           VARIABLE_PITCH | family, face);
    };
    // "MS Shell Dlg 2" is the name Windows gives its dialog face, whatever
    // face stands behind it on the system.
    static const HFONT sans = make(fontsize(8), L"MS Shell Dlg 2", FF_SWISS);
    static const HFONT serif = [&] {
        HFONT f = make(fontsize(11), L"Times New Roman", FF_ROMAN);
        // wine has no Times New Roman and would give a sans serif for it.
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, f);
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, old);
        DeleteDC(dc);
        if (_wcsicmp(face, L"Times New Roman") == 0) return f;
        DeleteObject(f);
        return make(fontsize(11), L"Liberation Serif", FF_ROMAN);
    }();
    return pointsize >= 11 ? serif : sans;
}

int displaydepth() {
    HDC screen = GetDC(nullptr);
    const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits;
}

RECT workarea() {
    RECT r{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
        r = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return r;
}

RECT outerrect(RECT client, DWORD style, DWORD exstyle, bool menu) {
    AdjustWindowRectEx(&client, style, menu, exstyle);
    return client;
}

}  // namespace shell::win32
