// Helpers of the window-level tests: the real window procedure driven through
// the headless host.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "huewright/art/artwork.h"
#include "huewright/ui/draw.h"
#include "huewright/ui/mainwindow.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"

namespace huewright::testutil {

using shell::Rect;
using shell::Rgb;
using shell::Surface;
using shell::headless::Dialog;
using shell::headless::Host;

struct HueWindow : ::testing::Test {
    Host host{programdesc()};
    MainWindow& mw = host.as<MainWindow>();
    Model& m = mw.model;

    Rgb shown(int x, int y) const { return host.onscreen.at(x, y); }
    Rgb drawn(int x, int y) const { return host.offscreen.at(x, y); }

    // Opens the Parameters dialog on a channel with its key.
    Dialog& open(int channel) {
        host.key(keypress[channel]);
        Dialog* d = host.modeless();
        if (!d) throw std::runtime_error("the Parameters dialog did not open");
        return *d;
    }
    int field(Dialog& d, int id) { return std::stoi(d.text(id)); }
};

// The same pixels in r on both surfaces.
inline bool sameinside(const Surface& a, const Surface& b, const Rect& r) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (a.at(x, y) != b.at(x, y)) return false;
    return true;
}

using shell::testing::samesurface;

// The 46 x 43 interior of button k on s equals `pic`.
inline bool interiorequals(const Surface& s, int k, const Surface& pic) {
    for (int y = 0; y < kCursorHeight; ++y)
        for (int x = 0; x < kCursorWidth; ++x)
            if (s.at(clicks[k].left + 1 + x, clicks[k].top + 1 + y) != pic.at(x, y)) return false;
    return true;
}

// Where the marker is, on the window: -1 when it is in none of the six
// buttons, -2 when it is in more than one.
inline int markerat(const Surface& s, const Surface& cursor) {
    Surface black(kCursorWidth, kCursorHeight);
    int found = -1;
    for (int k = 0; k < kMarkable; ++k) {
        if (interiorequals(s, k, cursor))
            found = found == -1 ? k : -2;
        else if (!interiorequals(s, k, black))
            return -3;
    }
    return found;
}

// A text as the interface font draws it at (x, y) on black, to compare an
// area of the window against.
struct Texts {
    Surface s{xres, yres};
    shell::Font font{20};
    Texts& add(int x, int y, const std::string& t) {
        font.draw(s, x, y, t, kTextColor);
        return *this;
    }
};

}  // namespace huewright::testutil
