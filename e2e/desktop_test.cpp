// The programs as a desktop sees them: each window's class is the program's
// name (its desktop entry's StartupWMClass) and it carries its icon at the
// sizes task bars pick from, each drawn at its size.
#include <gtest/gtest.h>

#include <cctype>
#include <iterator>
#include <map>
#include <string>

#include "curvetoy/mainwindow.h"
#include "harness.h"
#include "huewright/ui/mainwindow.h"
#include "knotloom/mainwindow.h"

// Xlib last: its macros (None, Bool, Status) clash with the names above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// The pictures of a window's _NET_WM_ICON by size: each is width, height,
// then width x height pixels as ARGB in longs.
std::map<int, shell::Surface> windowicons(const std::string& display, const std::string& window) {
    std::map<int, shell::Surface> icons;
    ::Display* dpy = XOpenDisplay(display.c_str());
    if (!dpy) return icons;
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom name = XInternAtom(dpy, "_NET_WM_ICON", False);
    if (XGetWindowProperty(dpy, std::stoul(window), name, 0, 1 << 20, False, XA_CARDINAL, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 32) {
        const long* v = reinterpret_cast<const long*>(data);
        for (unsigned long i = 0; i + 2 <= count;) {
            const long w = v[i], h = v[i + 1];
            if (w <= 0 || h <= 0 || w != h || i + 2 + w * h > count) break;
            shell::Surface s{int(w), int(h)};
            for (long k = 0; k < w * h; ++k) {
                // Format 32 arrives in longs, sign-extended: keep the low 32 bits.
                const uint32_t p = static_cast<uint32_t>(v[i + 2 + k]);
                // Only opaque pixels are expected; others are marked.
                const shell::Rgb c{uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
                s.setpixel(int(k % w), int(k / w), (p >> 24) == 0xffu ? c : shell::Rgb{1, 2, 3});
            }
            icons[int(w)] = s;
            i += 2 + w * h;
        }
    }
    if (data) XFree(data);
    XCloseDisplay(dpy);
    return icons;
}

bool samepixels(const shell::Surface& a, const shell::Surface& b) {
    if (a.width() != b.width() || a.height() != b.height()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.at(x, y) != b.at(x, y)) return false;
    return true;
}

TEST(Desktop, WindowClassAndIconsOfEachProgram) {
    e2e::Display display;
    for (const shell::ProgramDesc& d :
         {huewright::programdesc(), knotloom::programdesc(), curvetoy::programdesc()}) {
        e2e::App app(display, e2e::programpath(d.name), e2e::tempdir());
        ASSERT_TRUE(app.found()) << d.name;
        // The instance is the name; FLTK capitalises the class.
        std::string cls = d.name;
        cls[0] = char(std::toupper(cls[0]));
        EXPECT_EQ(app.x("xprop -id " + app.window() + " WM_CLASS"),
                  "WM_CLASS(STRING) = \"" + d.name + "\", \"" + cls + "\"\n");

        const auto icons = windowicons(display.name(), app.window());
        ASSERT_EQ(icons.size(), std::size(shell::kIconSizes)) << d.name;
        for (int n : shell::kIconSizes) {
            ASSERT_EQ(icons.count(n), 1u) << d.name << " " << n;
            EXPECT_TRUE(samepixels(icons.at(n), d.drawicon(n))) << d.name << " " << n;
        }
        app.key("Escape");
        EXPECT_EQ(app.wait(), 0) << d.name;
    }
}

}  // namespace
