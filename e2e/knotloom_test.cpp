#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "harness.h"
#include "knotloom/layout.h"
#include "knotloom/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using shell::headless::Host;

// Where the real window differs from the same actions replayed in memory.
int differences(const shell::Surface& shot, const shell::Surface& want) {
    if (shot.width() != want.width() || shot.height() != want.height()) return -1;
    int n = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (shot.getpixel(x, y) != want.getpixel(x, y)) ++n;
    return n;
}

// A pixel with red in it inside r: where the toggles react.
shell::Point reddish(const shell::Surface& s, const shell::Rect& r) {
    for (int y = r.top + (r.bottom - r.top) / 3; y < r.bottom; ++y)
        for (int x = r.left + (r.right - r.left) / 3; x < r.right; ++x)
            if (s.at(x, y).r > 100) return {x, y};
    return {-1, -1};
}

// The tick marks of the points dialog's trackbar (12, 18, 270 x 46 pixels
// in the dialog) in a row above its channel and in a row below it.
std::pair<int, int> trackbarticks(const shell::Surface& dialog) {
    auto ticks = [&](int y) {
        int n = 0;
        bool dark = false;
        // Inside the focus frame along the trackbar's sides.
        for (int x = 12 + 6; x < 12 + 270 - 6; ++x) {
            const shell::Rgb c = dialog.at(x, y);
            const bool now = c.r < 96 && c.g < 96 && c.b < 96;
            n += now && !dark;
            dark = now;
        }
        return n;
    };
    return {ticks(18 + 4), ticks(18 + 46 - 5)};
}

TEST(KnotloomDesktop, HoverDragInvertPointsSaveAndExit) {
    e2e::Display display;
    std::string dir = e2e::tempdir();
    e2e::App app(display, e2e::programpath("knotloom"), dir);
    ASSERT_TRUE(app.found());
    Host mirror(e2e::atscale(knotloom::programdesc()));
    auto& mw = mirror.as<knotloom::MainWindow>();

    EXPECT_EQ(differences(app.shot(), mirror.onscreen), 0);

    // Hovering the strip puts the tick and the readout up.
    app.move(400, 690);
    mirror.move(400, 690);
    EXPECT_EQ(differences(app.shot(), mirror.onscreen), 0);

    // Drag the red channel's fourth data point up by 60 pixels.
    int px = int(mw.model.dp[0][3][0]), py = int(mw.model.dp[0][3][1]);
    app.drag(px, py, px, py - 60, 6);
    mirror.press(px, py);
    for (int i = 1; i <= 6; ++i) mirror.move(px, py - 60 * i / 6);
    mirror.release(px, py - 60);
    EXPECT_EQ(int(mw.model.dp[0][3][1]), py - 60);
    EXPECT_EQ(differences(app.shot(), mirror.onscreen), 0);

    // The wheel inverts the colours on screen.
    shell::Point wheel = reddish(mirror.onscreen, knotloom::click[knotloom::box_wheel]);
    ASSERT_GE(wheel.x, 0);
    app.click(wheel.x, wheel.y);
    mirror.click(wheel.x, wheel.y);
    EXPECT_EQ(mw.model.invert, 1);
    const shell::Surface inverted = app.shot();
    EXPECT_EQ(differences(inverted, mirror.onscreen), 0);
    // The strip reaches row 714: each column there has the colour of row
    // 690, inverted colours being never black at the strip's ends.
    int strip = 0;
    for (int x = 128; x < 896; ++x) strip += inverted.at(x, 714) == inverted.at(x, 690);
    EXPECT_EQ(strip, 768);

    // The points dialog: the arrow keys change the count of the red channel.
    shell::Rect pts = knotloom::click[knotloom::box_points];
    app.click(pts.left + 10, pts.top + 10);
    std::string dlg = app.waitwindow("Select the Number of Points");
    ASSERT_FALSE(dlg.empty());
    app.settle(300);
    EXPECT_EQ(trackbarticks(app.shot(dlg)), std::make_pair(7, 7));
    app.x("xdotool key Left Left Return");
    app.settle(300);
    mirror.modalscripts.push_back([](shell::headless::Dialog& d) {
        d.trackkey(knotloom::kTrackId, shell::vk_left);
        d.trackkey(knotloom::kTrackId, shell::vk_left);
        d.enter();
    });
    mirror.click(pts.left + 10, pts.top + 10);
    EXPECT_EQ(mw.model.nd[0], 13 - 2);
    EXPECT_EQ(differences(app.shot(), mirror.onscreen), 0);

    // With a point dragged, Esc and the close button after a move of the
    // thumb, and OK with the count unchanged, leave the points as they are.
    px = int(mw.model.dp[0][3][0]), py = int(mw.model.dp[0][3][1]);
    app.drag(px, py, px, py + 40, 4);
    mirror.press(px, py);
    for (int i = 1; i <= 4; ++i) mirror.move(px, py + 10 * i);
    mirror.release(px, py + 40);
    for (const std::string how : {"Escape", "close", "Return"}) {
        app.click(pts.left + 10, pts.top + 10);
        dlg = app.waitwindow("Select the Number of Points");
        ASSERT_FALSE(dlg.empty()) << how;
        app.settle(300);
        if (how != "Return") app.x("xdotool key Left");
        if (how != "close")
            app.x("xdotool key " + how);
        else if (e2e::windowmanager())
            app.closebywm(dlg);
        else
            app.wmclose(dlg);
        ASSERT_EQ(app.waitothers(0), "") << how;
        app.settle(300);
        mirror.click(pts.left + 10, pts.top + 10);
        EXPECT_EQ(mw.model.nd[0], 11) << how;
        EXPECT_EQ(int(mw.model.dp[0][3][1]), py + 40) << how;
        EXPECT_EQ(differences(app.shot(), mirror.onscreen), 0) << how;
    }

    // Save through the real file chooser.
    shell::Rect save = knotloom::click[knotloom::box_save];
    app.click(save.left + 10, save.top + 10);
    ASSERT_FALSE(app.waitwindow("Select a file for saving parameters").empty());
    app.type("pal");
    app.x("xdotool key Return");
    std::string box = app.waitwindow("Xo B-Spline");
    ASSERT_FALSE(box.empty());
    app.x("xdotool key Return");
    app.settle(300);
    mirror.fileanswers.push_back(dir + "/mirror.map");
    mirror.click(save.left + 10, save.top + 10);
    std::ifstream a(dir + "/pal.map"), b(dir + "/mirror.map");
    std::stringstream sa, sb;
    sa << a.rdbuf();
    sb << b.rdbuf();
    EXPECT_FALSE(sa.str().empty());
    EXPECT_EQ(sa.str(), sb.str());
    EXPECT_NE(sa.str().find("Inversion: True"), std::string::npos);

    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

}  // namespace

namespace {

// All 81 pixels of the 9 x 9 marker centred on (x, y) are the marker's own.
bool markerat(const shell::Surface& s, const shell::Surface& marker, int x, int y) {
    for (int b = 0; b < 9; ++b)
        for (int a = 0; a < 9; ++a)
            if (s.at(x - 4 + a, y - 4 + b) != marker.at(a, b)) return false;
    return true;
}

TEST(KnotloomDesktop, QuickDragsEndUnderTheRelease) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("knotloom"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    Host mirror(e2e::atscale(knotloom::programdesc()));
    const auto& mw = mirror.as<knotloom::MainWindow>();
    const shell::Surface& marker = mw.screen->markers[knotloom::marker_user];
    const int px = int(mw.model.dp[0][3][0]), top = int(mw.model.dp[0][3][1]);
    int y = top;
    for (int i = 0; i < 20; ++i) {
        const int to = y == top ? top - 100 : top;
        app.fastdrag(px, y, px, (y + to) / 2, px, to);
        const shell::Surface s = app.shot();
        ASSERT_TRUE(markerat(s, marker, px, to)) << i;
        ASSERT_FALSE(markerat(s, marker, px, y)) << i;
        y = to;
    }
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

TEST(KnotloomDesktop, RefusesAShallowDisplay) {
    e2e::Display display(16);
    e2e::App app(display, e2e::programpath("knotloom"), e2e::tempdir());
    ASSERT_FALSE(app.waitwindow("Error").empty());
    app.x("xdotool key Return");
    EXPECT_EQ(app.wait(), 1);
}

}  // namespace
