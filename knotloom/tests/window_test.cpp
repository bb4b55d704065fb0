// Window-level tests: the real window procedure driven through the headless
// host with clicks, drags, keys, scripted dialogs and file answers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "artwork.h"
#include "layout.h"
#include "mainwindow.h"
#include "palettes/palettes.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"

namespace knotloom {
namespace {

using shell::Rgb;
using shell::Surface;
using shell::headless::Dialog;
using shell::headless::Host;

struct Window : ::testing::Test {
    Host host{programdesc()};
    MainWindow& p = host.as<MainWindow>();
    Model& m = p.model;

    Rgb shown(int x, int y) { return host.onscreen.at(x, y); }
    // The 42 x 39 corner of box i on the window equals `pic` at (sx, sy).
    bool cornerequals(int box, const Surface& pic, int sx = 0, int sy = 0) {
        for (int y = 0; y < kCursorHeight; ++y)
            for (int x = 0; x < kCursorWidth; ++x)
                if (shown(click[box].left + x, click[box].top + y) != pic.at(sx + x, sy + y))
                    return false;
        return true;
    }
    bool cornerhascursor(int box) { return cornerequals(box, p.screen->cursor); }
    bool cornershowsbanner(int box) {
        return cornerequals(box, p.screen->banner, click[box].left, click[box].top);
    }
    bool cornerblack(int box) {
        for (int y = 0; y < kCursorHeight; ++y)
            for (int x = 0; x < kCursorWidth; ++x)
                if (shown(click[box].left + x, click[box].top + y) != Rgb{}) return false;
        return true;
    }
    void drag(int fromx, int fromy, int tox, int toy) {
        host.press(fromx, fromy);
        host.move(tox, toy);
    }
    // The drawn polyline of the active curve comes within a pixel of (x, y).
    bool curvepasses(double x, double y) {
        const CurveSamples& s = p.screen->samples();
        for (int i = 0; i < s.count; ++i)
            if (std::abs(s.pts[i].x - x) <= 1 && std::abs(s.pts[i].y - y) <= 1) return true;
        return false;
    }
};

TEST_F(Window, StartUpPicture) {
    EXPECT_FALSE(host.ended());
    EXPECT_EQ(host.title(), "");
    ASSERT_EQ(host.offscreen.width(), 1024);
    ASSERT_EQ(host.offscreen.height(), 768);
    // Everything drawn has been shown.
    EXPECT_EQ(std::memcmp(host.onscreen.data(), host.offscreen.data(), 1024 * 768 * 3), 0);
    EXPECT_EQ(m.cindex, 0);
    EXPECT_TRUE(cornerhascursor(box_red));
    EXPECT_TRUE(cornershowsbanner(box_green));

    // The red curve runs through its data points, which carry their markers.
    for (int i = 1; i <= 11; ++i) {
        EXPECT_TRUE(curvepasses(m.dp[0][i][0], m.dp[0][i][1])) << i;
        const bool end = i == 1 || i == 11;
        EXPECT_EQ(shown(int(m.dp[0][i][0]), int(m.dp[0][i][1])), end ? cr[1] : cr[0]) << i;
    }
    // Green and blue have not been evaluated: flat on the value-0 line, blue
    // drawn over green, wherever the red curve is well away from it.
    int flat = 0;
    for (int c = 0; c < 768; ++c) {
        EXPECT_EQ(m.spectrum[c][1], 0);
        EXPECT_EQ(m.spectrum[c][2], 0);
        if (c == 0 || c == 767 || m.spectrum[c - 1][0] < 20 || m.spectrum[c][0] < 20 ||
            m.spectrum[c + 1][0] < 20)
            continue;
        EXPECT_EQ(shown(128 + c, 639), pencolor[2]) << c;
        EXPECT_EQ(shown(128 + c, 638), pencolor[2]) << c;
        if ((128 + c) % 96 != 32) {  // off the grid lines
            EXPECT_EQ(shown(128 + c, 637), Rgb{}) << c;
        }
        ++flat;
    }
    EXPECT_GT(flat, 300);
    // The strip shows shades of red only.
    int reds = 0;
    for (int x = 128; x <= 895; ++x)
        for (int y = 665; y <= 713; y += 8) {
            Rgb c = shown(x, y);
            EXPECT_EQ(c.g, 0);
            EXPECT_EQ(c.b, 0);
            reds += c.r > 0;
        }
    EXPECT_GT(reds, 300);
    // No readout yet, and no palette until the pointer crosses the curves.
    for (int x = 125; x < 899; ++x) EXPECT_EQ(shown(x, 740), Rgb{});
    for (const auto& e : m.palette) EXPECT_EQ(e[0] + e[1] + e[2], 0);
}

TEST(Program, NameOperandsAndIcon) {
    const shell::ProgramDesc d = programdesc();
    EXPECT_EQ(d.name, "knotloom");
    EXPECT_TRUE(d.takesfile);  // a palette file to open
    // The logo's orange ring touches the middle of each edge, inside a one
    // pixel margin, at every size; the banner's dark blue fills the ring
    // only, so the corners keep the black the icon is drawn on.
    for (int n : {16, 32, 256}) {
        ASSERT_TRUE(d.drawicon) << n;
        const Surface s = d.drawicon(n);
        ASSERT_EQ(s.width(), n);
        ASSERT_EQ(s.height(), n);
        EXPECT_EQ(s.at(0, 0), Rgb{}) << n;
        EXPECT_EQ(s.at(n / 2, 0).r, 0) << n;
        int orange = 0;
        for (int y = 0; y < n / 4; ++y) {
            const Rgb c = s.at(n / 2, y);
            orange += c.r > 240 && c.g > 110 && c.g < 140 && c.b < 10;
        }
        EXPECT_GE(orange, 1) << n;
    }
}

// A pixel inside `r` with red (want true) or without.
bool findpixel(const Surface& s, const shell::Rect& r, bool withred, int& fx, int& fy) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if ((s.at(x, y).r != 0) == withred) {
                fx = x, fy = y;
                return true;
            }
    return false;
}

// Each strip column x (128 … 895) is a 2-pixel line from row 665 to 715. The
// pen paints x - 1 … x by y - 1 … y at rows 665 … 714 and caps the end with the
// same square at 715, so the strip covers rows 664 … 715; pixel x shows column
// x + 1, whose line is drawn later, except at the last column.
TEST_F(Window, StripEdgesFollowThePen) {
    // Inverted, so that the strip's outer columns, value 0 at start-up, are
    // not black.
    int wx, wy;
    ASSERT_TRUE(findpixel(host.onscreen, click[box_wheel], true, wx, wy));
    host.click(wx, wy);
    ASSERT_EQ(m.invert, 1);
    auto colour = [&](int x) {
        const uint8_t* s = m.spectrum[std::min(x + 1, kLastColumn) - kFirstColumn];
        return Rgb{uint8_t(255 - s[0]), uint8_t(255 - s[1]), uint8_t(255 - s[2])};
    };
    for (int y : {663, 664, 665, 714, 715, 716})
        for (int x = 0; x < xres; ++x) {
            const bool in = x >= 127 && x <= 895 && y >= 664 && y <= 715;
            ASSERT_EQ(shown(x, y), in ? colour(x) : Rgb{}) << x << "," << y;
        }
    EXPECT_EQ(colour(127), (Rgb{255, 255, 255}));
    EXPECT_EQ(colour(895), (Rgb{255, 255, 255}));

    // The readout's background starts at row 715, so a hover clears the
    // strip's last row; the 3-pixel tick, a line from 716 to 730 at the
    // column left of the pointer, covers rows 715 … 731 of x - 2 … x.
    host.move(428, 700);
    const Rgb white{255, 255, 255};
    for (int x = 420; x <= 435; ++x) {
        const bool tick = x >= 426 && x <= 428;
        EXPECT_EQ(shown(x, 714), colour(x)) << x;
        for (int y : {715, 716, 731}) EXPECT_EQ(shown(x, y), tick ? white : Rgb{}) << x << "," << y;
    }
}

TEST_F(Window, ChannelSelection) {
    uint8_t red[768];
    for (int c = 0; c < 768; ++c) red[c] = m.spectrum[c][0];

    host.click(600, 30);
    EXPECT_EQ(m.cindex, 1);
    EXPECT_TRUE(cornerhascursor(box_green));
    EXPECT_TRUE(cornershowsbanner(box_red));
    int green = 0;
    for (int c = 0; c < 768; ++c) {
        EXPECT_EQ(m.spectrum[c][0], red[c]);
        green += m.spectrum[c][1] > 0;
    }
    EXPECT_GT(green, 700);
    // The red curve is now drawn from its stored columns.
    EXPECT_EQ(shown(128 + 96, 639 - 2 * red[96]), pencolor[0]);

    // The blue box answers below its picture too (its region is 49 high).
    host.click(770, 60);
    EXPECT_EQ(m.cindex, 2);
    EXPECT_TRUE(cornerhascursor(box_blue));
    EXPECT_TRUE(cornershowsbanner(box_green));
    int blue = 0;
    for (int c = 0; c < 768; ++c) blue += m.spectrum[c][2] > 0;
    EXPECT_GT(blue, 700);
    // The strip now mixes all three.
    Rgb c = shown(128 + 300, 690);
    EXPECT_GT(int(c.r) + c.g + c.b, 0);

    // The box's left and top edges belong to it, the right and bottom do not.
    host.click(419, 15);
    EXPECT_EQ(m.cindex, 0);
    host.click(632, 30);
    EXPECT_EQ(m.cindex, 0);
}

TEST_F(Window, EndPointsStayInTheirMargins) {
    drag(64, 256, 200, 256);
    EXPECT_EQ(m.dp[0][1][0], 126);
    EXPECT_EQ(m.dp[0][1][1], 256);
    EXPECT_EQ(m.dp[0][0][0], 126);
    EXPECT_EQ(m.drect[0][0], m.drect[0][1]);
    host.move(60, 3);
    EXPECT_EQ(m.dp[0][1][0], 60);
    EXPECT_EQ(m.dp[0][1][1], 128);
    EXPECT_EQ(m.dp[0][0][1], 128);
    host.move(1, 700);
    EXPECT_EQ(m.dp[0][1][0], 4);
    EXPECT_EQ(m.dp[0][1][1], 639);
    host.release(1, 700);
    EXPECT_EQ(p.editor.okdrag, 0);

    drag(960, 256, 700, 300);
    EXPECT_EQ(p.editor.dpindex, 11);  // the end point, never its copy
    EXPECT_EQ(m.dp[0][11][0], 898);
    EXPECT_EQ(m.dp[0][12][0], 898);
    EXPECT_EQ(m.dp[0][12][1], 300);
    EXPECT_EQ(m.drect[0][12], m.drect[0][11]);
    host.move(1023, 300);
    EXPECT_EQ(m.dp[0][11][0], 1023);
    // The curve follows at once.
    EXPECT_TRUE(curvepasses(1023, 300));
}

TEST_F(Window, UserPointsKeepTheirPlaces) {
    // The first and last user points move only up and down.
    drag(128, 639, 300, 500);
    EXPECT_EQ(m.dp[0][2][0], 128);
    EXPECT_EQ(m.dp[0][2][1], 500);
    host.release(300, 500);
    drag(895, 639, 700, 300);
    EXPECT_EQ(m.dp[0][10][0], 895);
    EXPECT_EQ(m.dp[0][10][1], 300);
    host.release(700, 300);

    // With 13 points a free point keeps 72 from each neighbour.
    drag(416, 384, 300, 384);
    EXPECT_EQ(p.editor.dpindex, 5);
    EXPECT_EQ(m.dp[0][5][0], 320 + 72);
    host.move(600, 384);
    EXPECT_EQ(m.dp[0][5][0], 512 - 72);
    host.move(430, 700);
    EXPECT_EQ(m.dp[0][5][0], 430);
    EXPECT_EQ(m.dp[0][5][1], 639);
    EXPECT_EQ(m.drect[0][5], (shell::Rect{426, 635, 435, 644}));
    EXPECT_TRUE(curvepasses(430, 639));
    // The other channels are untouched.
    EXPECT_EQ(m.dp[1][5][0], 416);
}

TEST_F(Window, PressOffTheMarkersGrabsNothing) {
    host.press(420, 388);  // the right and bottom edges of the marker of point 5
    EXPECT_EQ(p.editor.okdrag, 1);
    host.release(420, 388);
    host.press(421, 384);
    EXPECT_EQ(p.editor.okdrag, 0);
    host.press(416, 389);
    EXPECT_EQ(p.editor.okdrag, 0);
    host.move(300, 300);
    EXPECT_EQ(m.dp[0][5][0], 416);
}

TEST_F(Window, LeavingTheWindowEndsTheDrag) {
    drag(416, 384, 430, 500);
    EXPECT_EQ(m.dp[0][5][1], 500);
    host.leave();
    EXPECT_EQ(p.editor.okdrag, 0);
    host.move(450, 400);
    EXPECT_EQ(m.dp[0][5][0], 430);
    EXPECT_EQ(m.dp[0][5][1], 500);

    // A desktop that goes on reporting the grabbed pointer outside the
    // window: left of it the position wraps round. The drag ends there too.
    for (auto [x, y] : {std::pair{-5, 300}, std::pair{1030, 300}, std::pair{500, 800}}) {
        drag(430, 500, 440, 510);
        ASSERT_EQ(m.dp[0][5][0], 440);
        host.move(x, y);
        EXPECT_EQ(p.editor.okdrag, 0);
        EXPECT_EQ(m.dp[0][5][0], 440);
        host.move(435, 500);
        EXPECT_EQ(m.dp[0][5][0], 440);
        drag(440, 510, 430, 500);
        host.release(430, 500);
    }
}

TEST_F(Window, PointsDialogTemplate) {
    shell::DialogTemplate t = pointstemplate();
    EXPECT_EQ(shell::testing::templateproblems(t), std::vector<std::string>{});
    EXPECT_EQ(t.caption, "     Select the Number of Points   ");
    EXPECT_FALSE(t.closebox);
    EXPECT_EQ(t.cx, 196);
    EXPECT_EQ(t.cy, 82);
    const shell::ControlTemplate* track = t.find(kTrackId);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->kind, shell::Control::trackbar);
    shell::DialogUnits du = shell::dialogunits(t.pointsize);
    EXPECT_EQ(du.x(track->x), 12);
    EXPECT_EQ(du.y(track->y), 18);
    EXPECT_EQ(du.x(track->cx), 270);
    EXPECT_EQ(du.y(track->cy), 46);
    const shell::ControlTemplate* ok = t.find(1);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text, "OK");
    EXPECT_EQ(t.find(2), nullptr);  // no Cancel button: Esc is command 2 all the same
    bool digits = false;
    for (const auto& c : t.controls)
        if (c.kind == shell::Control::text)
            digits = c.text == "   3" + std::string(38, ' ') + "6" + std::string(38, ' ') + "9";
    EXPECT_TRUE(digits);
}

TEST_F(Window, NewCountResetsOnlyTheActiveChannel) {
    // Edit red and green, then change red's count.
    drag(416, 384, 430, 500);
    host.release(430, 500);
    host.click(600, 30);
    drag(416, 256, 420, 200);
    host.release(420, 200);
    host.click(430, 30);
    ASSERT_EQ(m.cindex, 0);

    int seen = 0;
    host.modalscripts.push_back([&](Dialog& d) {
        seen = d.pos(kTrackId);
        EXPECT_EQ(d.range(kTrackId), std::make_pair(3, 9));
        d.trackkey(kTrackId, shell::vk_left);
        d.trackkey(kTrackId, shell::vk_left);
        EXPECT_EQ(m.trackpos[0], 7);  // taken while the thumb moves
        d.enter();
    });
    host.click(440, 90);
    ASSERT_EQ(host.modalcaptions.size(), 1u);
    EXPECT_EQ(seen, 9);
    EXPECT_EQ(m.trackpos[0], 7);
    EXPECT_EQ(m.nd[0], 11);
    EXPECT_EQ(m.nk[0], 17);
    const double x11[11] = {64, 64, 128, 256, 384, 512, 640, 768, 895, 960, 960};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(m.dp[0][i][0], x11[i]) << i;
    EXPECT_EQ(m.dp[0][5][1], 384);
    EXPECT_TRUE(curvepasses(256, 384));
    // Green keeps its edit and its count.
    EXPECT_EQ(m.nd[1], 13);
    EXPECT_EQ(m.dp[1][5][0], 420);
    EXPECT_EQ(m.dp[1][5][1], 200);
    // The marker goes back from the Points box to the active channel's box.
    EXPECT_TRUE(cornerblack(box_points));
    EXPECT_TRUE(cornerhascursor(box_red));
}

TEST_F(Window, SameCountChangesNothing) {
    drag(416, 384, 430, 500);
    host.release(430, 500);
    host.modalscripts.push_back([](Dialog& d) {
        d.trackkey(kTrackId, shell::vk_left);
        d.trackkey(kTrackId, shell::vk_right);
        d.enter();
    });
    host.command(cmd_points);
    EXPECT_EQ(m.nd[0], 13);
    EXPECT_EQ(m.dp[0][5][0], 430);
    EXPECT_EQ(m.dp[0][5][1], 500);
}

TEST_F(Window, EscapeAndTheCloseButtonKeepThePoints) {
    drag(416, 384, 430, 500);
    host.release(430, 500);
    const std::function<void(Dialog&)> dismiss[] = {[](Dialog& d) { d.escape(); },
                                                    [](Dialog& d) { d.closebox(); }};
    for (const auto& how : dismiss) {
        host.modalscripts.push_back([&](Dialog& d) {
            d.trackkey(kTrackId, shell::vk_left);
            d.trackkey(kTrackId, shell::vk_left);
            how(d);
            EXPECT_TRUE(d.ended());
        });
        host.command(cmd_points);
        EXPECT_EQ(m.trackpos[0], 9);
        EXPECT_EQ(m.nd[0], 13);
        EXPECT_EQ(m.dp[0][5][0], 430);
        EXPECT_EQ(m.dp[0][5][1], 500);
    }
}

TEST_F(Window, HomeAndEndMoveTheThumbButNotTheCount) {
    host.modalscripts.push_back([&](Dialog& d) {
        d.trackkey(kTrackId, shell::vk_home);
        EXPECT_EQ(d.pos(kTrackId), 3);
        EXPECT_EQ(m.trackpos[0], 9);
        d.trackkey(kTrackId, shell::vk_right);  // 4
        d.trackkey(kTrackId, shell::vk_end);
        EXPECT_EQ(d.pos(kTrackId), 9);
        d.enter();
    });
    host.command(cmd_points);
    EXPECT_EQ(m.trackpos[0], 4);
    EXPECT_EQ(m.nd[0], 8);

    // Dragging the thumb takes every position it passes.
    host.modalscripts.push_back([&](Dialog& d) {
        EXPECT_EQ(d.pos(kTrackId), 4);
        d.trackdrag(kTrackId, {5, 6});
        d.enter();
    });
    host.command(cmd_points);
    EXPECT_EQ(m.nd[0], 10);
}

TEST_F(Window, LogoTogglesOnlyOnItsPicture) {
    int bx, by, rx, ry;
    ASSERT_TRUE(findpixel(host.onscreen, click[box_logo], false, bx, by));
    ASSERT_TRUE(findpixel(host.onscreen, click[box_logo], true, rx, ry));
    host.click(bx, by);
    EXPECT_EQ(p.showcp, 0);
    host.click(rx, ry);
    EXPECT_EQ(p.showcp, 1);
    // The control polygon shows nd yellow markers; the outer two control
    // points keep their end-point markers.
    for (int i = 1; i <= 13; ++i) {
        const shell::Rect& r = m.crect[0][i];
        if (r.top + 4 < 768) {
            EXPECT_EQ(shown(r.left + 4, r.top + 4), cr[2]) << i;
        }
    }
    // The polygon runs over the end-point markers but leaves them green.
    for (int end : {1, 11}) {
        int green = 0;
        const shell::Rect& r = m.drect[0][end];
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) green += shown(x, y) == cr[1];
        EXPECT_GT(green, 30) << end;
    }
    // It stays on through a readout.
    host.move(500, 500);
    EXPECT_EQ(shown(m.crect[0][6].left + 4, m.crect[0][6].top + 4), cr[2]);
    host.click(rx, ry);
    EXPECT_EQ(p.showcp, 0);
}

TEST_F(Window, WheelInvertsWhatIsShownOnly) {
    host.move(500, 400);  // a palette to look at
    Model before = m;
    int bx, by, rx, ry;
    ASSERT_TRUE(findpixel(host.onscreen, click[box_wheel], false, bx, by));
    ASSERT_TRUE(findpixel(host.onscreen, click[box_wheel], true, rx, ry));
    host.click(bx, by);
    EXPECT_EQ(m.invert, 0);
    host.click(rx, ry);
    ASSERT_EQ(m.invert, 1);
    // A 2-pixel column line covers its own x and the one left of it, so
    // screen x shows column x - 127.
    for (int x = 128; x < 895; ++x) {
        const uint8_t* s = m.spectrum[x - 127];
        EXPECT_EQ(shown(x, 690),
                  (Rgb{uint8_t(255 - s[0]), uint8_t(255 - s[1]), uint8_t(255 - s[2])}))
            << x;
    }
    host.move(500, 400);
    EXPECT_EQ(std::memcmp(m.spectrum, before.spectrum, sizeof m.spectrum), 0);
    EXPECT_EQ(m.palette, before.palette);
    const int index = (500 - 128) / 3;
    EXPECT_NE(readouttext(m, 500).find("Red: " + std::to_string(255 - m.palette[index][0])),
              std::string::npos);
    host.click(rx, ry);
    EXPECT_EQ(m.invert, 0);
}

TEST_F(Window, ReadoutFollowsThePointer) {
    host.move(50, 400);  // the margin: no readout, no palette
    EXPECT_EQ(shown(400, 740), Rgb{});
    EXPECT_EQ(m.palette[85][0], 0);

    host.move(128, 700);  // the strip
    std::string t = readouttext(m, 128);
    EXPECT_EQ(t.rfind("X: 0    Palette index: 0    Red: ", 0), 0u) << t;
    EXPECT_EQ(t.find("Green: 0    Blue: 0"), t.size() - 19) << t;
    EXPECT_EQ(readouttext(m, 895).rfind("X: 767    Palette index: 255    ", 0), 0u);
    EXPECT_EQ(readouttext(m, 130).rfind("X: 2    Palette index: 0    ", 0), 0u);
    EXPECT_EQ(readouttext(m, 131).rfind("X: 3    Palette index: 1    ", 0), 0u);
    char want[100];
    std::snprintf(want, sizeof want,
                  "X: 300    Palette index: 100    Red: %d    Green: 0    Blue: 0",
                  m.palette[100][0]);
    host.move(428, 300);
    EXPECT_EQ(readouttext(m, 428), want);
    EXPECT_GT(m.palette[100][0], 0);
    // The tick under the strip sits left of the pointer's column; the text
    // starts at (280, 732).
    EXPECT_EQ(shown(427, 720), (Rgb{255, 255, 255}));
    EXPECT_EQ(shown(126, 720), Rgb{});  // the earlier tick at x 127 is gone
    bool text = false;
    for (int y = 732; y < 750; ++y)
        for (int x = 280; x < 320; ++x) text |= shown(x, y) != Rgb{};
    EXPECT_TRUE(text);
}

TEST_F(Window, SaveCancelledOrFailing) {
    host.click(600, 90);  // the Save box, with no file answer: cancelled
    ASSERT_EQ(host.filedialogs.size(), 1u);
    const shell::FileDialogRecord& r = host.filedialogs[0];
    EXPECT_EQ(r.title, "Select a file for saving parameters");
    EXPECT_EQ(r.filters.at(0).pattern, "*.map");
    EXPECT_EQ(r.defext, "map");
    EXPECT_TRUE(r.overwriteprompt);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(cornerblack(box_save));
    EXPECT_TRUE(cornerhascursor(box_red));

    host.fileanswers.push_back(std::string("/nonexistent-folder/palette.map"));
    host.command(cmd_save);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Error opening save file");
    EXPECT_EQ(host.boxes[0].caption, "Save file error");
    EXPECT_EQ(host.boxes[0].icon, shell::Icon::exclamation);
    EXPECT_TRUE(host.boxes[0].owned);

    // No memory to encode a PNG strip is not a file that cannot be opened.
    shell::testing::ScratchDir scratch;
    palettes::setpngmemoryfailure(true);
    host.fileanswers.push_back(scratch.path("strip.png"));
    host.command(cmd_save);
    palettes::setpngmemoryfailure(false);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].text, "Not enough memory to save the palette");
    EXPECT_EQ(host.boxes[1].caption, "Save file error");
    EXPECT_TRUE(scratch.entries().empty());
}

using shell::testing::readfile;

// The MAP file the model should produce, composed here with printf.
std::string mapfor(const Model& m) {
    std::string s;
    char line[100];
    auto shown = [&](int v) { return m.invert ? 255 - v : v; };
    for (const auto& e : m.palette) {
        std::snprintf(line, sizeof line, "%d %d %d\n", shown(e[0]), shown(e[1]), shown(e[2]));
        s += line;
    }
    s += "\n";
    for (const auto& c : m.spectrum) {
        std::snprintf(line, sizeof line, "%d %d %d\n", shown(c[0]), shown(c[1]), shown(c[2]));
        s += line;
    }
    const char* names[3] = {"Red", "Green", "Blue"};
    for (int k = 0; k < 3; ++k) {
        s += std::string("\n") + names[k] + "\n";
        for (int j = 0; j < m.nd[k]; ++j) {
            std::snprintf(line, sizeof line, "dp[%d][0]: %.1f  dp[%d][1]: %.1f\n", j, m.dp[k][j][0],
                          j, m.dp[k][j][1]);
            s += line;
        }
    }
    s += m.invert ? "\nInversion: True" : "\nInversion: False";
    return s;
}

TEST_F(Window, SaveRightAfterStartUp) {
    const shell::testing::ScratchDir scratch;
    const std::string& folder = scratch.dir();
    host.fileanswers.push_back(folder + "/start");
    host.click(600, 90);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Image saved as start.map");
    EXPECT_EQ(host.boxes[0].caption, "Xo B-Spline");
    EXPECT_FALSE(host.boxes[0].owned);
    const std::string text = readfile(folder + "/start.map");
    // No palette yet: 256 black entries, then the columns, of which only red
    // has been evaluated.
    std::string black;
    for (int i = 0; i < 256; ++i) black += "0 0 0\n";
    EXPECT_EQ(text.substr(0, black.size() + 1), black + "\n");
    std::string column0 = std::to_string(m.spectrum[0][0]) + " 0 0\n";
    EXPECT_EQ(text.substr(black.size() + 1, column0.size()), column0);
    EXPECT_EQ(text, mapfor(m));
    EXPECT_TRUE(cornerblack(box_save));
    EXPECT_TRUE(cornerhascursor(box_red));
    std::remove((folder + "/start.map").c_str());
    rmdir(folder.c_str());
}

TEST_F(Window, SaveAfterHoveringWritesWhatIsShown) {
    const shell::testing::ScratchDir scratch;
    const std::string& folder = scratch.dir();
    host.click(600, 30);  // green, evaluated
    drag(416, 256, 431, 300);
    host.release(431, 300);
    host.move(500, 700);  // the strip: the palette is computed
    ASSERT_GT(m.palette[124][1], 0);
    host.fileanswers.push_back(folder + "/hover.map");
    host.command(cmd_save);
    EXPECT_EQ(readfile(folder + "/hover.map"), mapfor(m));
    EXPECT_NE(mapfor(m).find("dp[5][0]: 431.0  dp[5][1]: 300.0\n"), std::string::npos);

    // With inversion on, the file holds the colours as shown; the next save
    // starts from the file chosen last.
    int rx, ry;
    ASSERT_TRUE(findpixel(host.onscreen, click[box_wheel], true, rx, ry));
    host.click(rx, ry);
    ASSERT_EQ(m.invert, 1);
    host.fileanswers.push_back(folder + "/inverted.map");
    host.command(cmd_save);
    ASSERT_EQ(host.filedialogs.size(), 2u);
    EXPECT_EQ(host.filedialogs[1].file, folder + "/hover.map");
    const std::string inverted = readfile(folder + "/inverted.map");
    EXPECT_EQ(inverted, mapfor(m));
    EXPECT_EQ(inverted.substr(inverted.size() - 16), "\nInversion: True");

    // Every other format holds the colours as shown too, with the data points
    // and the inversion state where it has room for them.
    shell::Palette shown = m.palette;
    for (auto& e : shown)
        for (uint8_t& v : e) v = uint8_t(255 - v);
    for (const char* name : {"/inverted.gpl", "/inverted.ggr", "/inverted.png"}) {
        host.fileanswers.push_back(folder + name);
        host.command(cmd_save);
        shell::Palette back{};
        const std::string bytes = readfile(folder + name);
        const auto r = palettes::decodepalette(bytes, name, back);
        ASSERT_TRUE(r.ok()) << name << ": " << r.error().reason;
        EXPECT_EQ(back, shown) << name;
    }
    EXPECT_NE(readfile(folder + "/inverted.gpl").find("# dp[5][0]: 431.0  dp[5][1]: 300.0"),
              std::string::npos);
    EXPECT_NE(readfile(folder + "/inverted.gpl").find("# Inversion: True"), std::string::npos);
}

TEST(SavedText, LongNamesAreCutAtACharacter) {
    EXPECT_EQ(savedtext("a.map"), "Image saved as a.map");
    std::string s = savedtext(std::string(200, 'x'));
    EXPECT_EQ(s.size(), 99u);
    EXPECT_EQ(s.rfind("Image saved as xxx", 0), 0u);
    // Two-byte characters: 84 bytes fit after the prefix, so 42 of them.
    std::string e;
    for (int i = 0; i < 60; ++i) e += "\xC3\xA9";
    s = savedtext(e);
    EXPECT_EQ(s.size(), 15u + 84u);
    e = "x" + e;  // now the cut would fall inside a character
    s = savedtext(e);
    EXPECT_EQ(s.size(), 15u + 83u);
    EXPECT_EQ(s.back(), '\xA9');
}

TEST_F(Window, EscapeAndExitEndTheProgram) {
    host.key('R');
    host.key(shell::vk_escape, shell::mod_ctrl);
    host.key(shell::vk_escape, shell::mod_alt);
    EXPECT_FALSE(host.ended());
    host.key(shell::vk_escape);
    EXPECT_TRUE(host.ended());
    EXPECT_EQ(host.exitcode(), 0);

    Host other{programdesc()};
    other.click(780, 90);
    EXPECT_TRUE(other.ended());
    EXPECT_EQ(other.exitcode(), 0);
}

TEST_F(Window, PaintCopiesExactlyTheExposedRectangle) {
    host.onscreen.fillrect(shell::Rect{100, 100, 300, 300}, Rgb{1, 2, 3});
    host.expose(shell::Rect{150, 150, 200, 180});
    EXPECT_EQ(shown(150, 150), host.offscreen.at(150, 150));
    EXPECT_EQ(shown(199, 179), host.offscreen.at(199, 179));
    EXPECT_EQ(shown(200, 179), (Rgb{1, 2, 3}));
    EXPECT_EQ(shown(149, 150), (Rgb{1, 2, 3}));
    host.send(shell::Message::simple(shell::Msg::move));
    EXPECT_EQ(std::memcmp(host.onscreen.data(), host.offscreen.data(), 1024 * 768 * 3), 0);
}

}  // namespace
}  // namespace knotloom
