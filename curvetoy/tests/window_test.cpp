#include <gtest/gtest.h>

#include "curvetoy/mainwindow.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"

using curvetoy::MainWindow;
using shell::Rgb;
using shell::headless::Host;

namespace {

struct CurvetoyWindow : ::testing::Test {
    Host host{curvetoy::programdesc()};
    MainWindow& mw() { return host.as<MainWindow>(); }
};

}  // namespace

TEST_F(CurvetoyWindow, StartsWithTheZigzagShown) {
    EXPECT_EQ(host.title(), "Xo Bezier Curve Demo");
    EXPECT_EQ(host.xres(), 1024);
    EXPECT_EQ(host.yres(), 768);
    // The first picture reached the window.
    EXPECT_EQ(host.shown, (shell::Rect{0, 0, 1024, 768}));
    EXPECT_EQ(host.onscreen.at(384, 256), (Rgb{255, 0, 0}));
    EXPECT_EQ(host.onscreen.at(512, 200), (Rgb{192, 192, 192}));
}

TEST(CurvetoyProgram, NameOperandsAndIcon) {
    const shell::ProgramDesc d = curvetoy::programdesc();
    EXPECT_EQ(d.name, "curvetoy");
    EXPECT_FALSE(d.takesfile);
    // The 32 x 32 window icon, pinned (its 2-pixel wave covers the end of
    // every segment).
    EXPECT_EQ(shell::testing::surfacehash(d.drawicon(32)), 0xd9db1ee78d4483d5u);
    // At 64 everything is twice as large: the middle dot spans 28 ... 35.
    const shell::Surface s = d.drawicon(64);
    ASSERT_EQ(s.width(), 64);
    EXPECT_EQ(s.at(28, 28), (Rgb{255, 0, 0}));
    EXPECT_EQ(s.at(35, 35), (Rgb{255, 0, 0}));
    EXPECT_NE(s.at(36, 36), (Rgb{255, 0, 0}));
}

TEST_F(CurvetoyWindow, PressesHitTheMarkerEdgesOnly) {
    // Anchor 3 sits at (384, 256): its marker spans x 380..388.
    for (int dx : {-5, 5}) {
        host.press(384 + dx, 256);
        EXPECT_EQ(mw().okdrag, 0) << dx;
    }
    for (int dx : {-4, 4}) {
        host.press(384 + dx, 256);
        EXPECT_EQ(mw().okdrag, 1) << dx;
        EXPECT_EQ(mw().dpindex, 3);
        host.release(384 + dx, 256);
        EXPECT_EQ(mw().okdrag, 0);
    }
    // Control points cannot be grabbed, even when shown.
    host.key('C');
    const auto& q = mw().demo.cp[5];
    host.press(int(q.x), int(q.y));
    EXPECT_EQ(mw().okdrag, 0);
}

TEST_F(CurvetoyWindow, OverlappingMarkersTakeTheLowerIndex) {
    host.press(384, 256);
    host.move(512 - 3, 512);  // anchor 3 onto anchor 4's marker
    host.release(512 - 3, 512);
    host.press(510, 512);
    EXPECT_EQ(mw().dpindex, 3);
}

TEST_F(CurvetoyWindow, DragResolvesAndRedraws) {
    auto before = mw().demo.cp[6];
    host.press(384, 256);
    host.shown = {};
    host.move(400, 300);
    EXPECT_EQ(mw().demo.dp[3].x, 400);
    EXPECT_EQ(mw().demo.dp[3].y, 300);
    EXPECT_NE(mw().demo.cp[6].x, before.x);
    EXPECT_EQ(host.shown, (shell::Rect{0, 0, 1024, 768}));
    EXPECT_EQ(host.onscreen.at(400, 300), (Rgb{255, 0, 0}));
    EXPECT_NE(host.onscreen.at(386, 258), (Rgb{255, 0, 0}));  // the old marker is gone

    // Outside the client area the anchor stays; back inside it follows again.
    host.move(1100, 300);
    host.move(-20, 300);  // wraps to 65516 as an unsigned word
    EXPECT_EQ(mw().demo.dp[3].x, 400);
    host.move(420, 310);
    EXPECT_EQ(mw().demo.dp[3].x, 420);

    // Any release ends the drag, wherever it happens.
    host.release(2000, 2000);
    host.move(430, 320);
    EXPECT_EQ(mw().demo.dp[3].x, 420);
}

TEST_F(CurvetoyWindow, CTwiceRestoresPictureAndCheckMark) {
    shell::Surface start = host.offscreen;
    host.key('C');
    EXPECT_TRUE(host.menuchecks[curvetoy::cmd_showcp]);
    EXPECT_EQ(host.onscreen.at(int(mw().demo.cp[0].x), int(mw().demo.cp[0].y)), (Rgb{255, 255, 0}));
    host.key('C');
    EXPECT_FALSE(host.menuchecks[curvetoy::cmd_showcp]);
    EXPECT_EQ(std::vector<uint8_t>(host.offscreen.data(), host.offscreen.data() + 1024 * 768 * 3),
              std::vector<uint8_t>(start.data(), start.data() + 1024 * 768 * 3));
    // The menu command does the same as the key.
    host.command(curvetoy::cmd_showcp);
    EXPECT_EQ(mw().demo.okcp, 1);
    // The accelerators have no modifiers and match only without them.
    for (int mods : {int(shell::mod_shift), int(shell::mod_ctrl), int(shell::mod_alt)}) {
        host.key('C', mods);
        host.key(shell::vk_escape, mods);
    }
    EXPECT_EQ(mw().demo.okcp, 1);
    EXPECT_FALSE(host.ended());
}

TEST_F(CurvetoyWindow, PaintCopiesOnlyTheExposedRectangle) {
    host.onscreen.fill(Rgb{9, 9, 9});
    host.expose(shell::Rect{380, 250, 390, 260});
    EXPECT_EQ(host.onscreen.at(384, 256), (Rgb{255, 0, 0}));
    EXPECT_EQ(host.onscreen.at(379, 256), (Rgb{9, 9, 9}));
    // A move repaints everything from the surface.
    host.send(shell::Message::simple(shell::Msg::move));
    EXPECT_EQ(host.onscreen.at(379, 256), host.offscreen.at(379, 256));
}

TEST_F(CurvetoyWindow, EscapeAndCloseEndWithZero) {
    host.key(shell::vk_escape);
    EXPECT_TRUE(host.ended());
    EXPECT_EQ(host.exitcode(), 0);

    Host other{curvetoy::programdesc()};
    other.close();
    EXPECT_TRUE(other.ended());
    EXPECT_EQ(other.exitcode(), 0);
}
