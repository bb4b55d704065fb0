#include <gtest/gtest.h>

#include "curvetoy/curve.h"
#include "harness.h"

namespace {

// The menu bar sits above the drawing area in the captured window.
constexpr int kMenu = 25;

// Counts the pixels where the window's drawing area differs from `want`.
int differences(const shell::Surface& shot, const shell::Surface& want) {
    int n = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if (shot.getpixel(x, y + kMenu) != want.getpixel(x, y)) ++n;
    return n;
}

// Counts the pixels where two pictures of one size differ.
int differences0(const shell::Surface& a, const shell::Surface& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.getpixel(x, y) != b.getpixel(x, y)) ++n;
    return n;
}

TEST(CurvetoyDesktop, StartDragShowControlPointsAndExit) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("curvetoy"), e2e::tempdir());
    ASSERT_TRUE(app.found());

    curvetoy::Demo demo;
    demo.setscale(e2e::scale());
    shell::Surface want(1024, 768, shell::Rgb{}, e2e::scale());
    demo.draw(want);

    shell::Surface s = app.shot();
    ASSERT_EQ(s.width(), 1024);
    ASSERT_EQ(s.height(), 768 + kMenu);
    EXPECT_EQ(differences(s, want), 0);
    // Spot checks that do not depend on the model: the grid, an anchor's
    // red dot with its white rim, and the band under a high anchor.
    EXPECT_EQ(s.getpixel(512, 300 + kMenu), shell::packrgb({192, 192, 192}));
    EXPECT_EQ(s.getpixel(384, 256 + kMenu), shell::packrgb({255, 0, 0}));
    EXPECT_EQ(s.getpixel(384 - 4, 256 + kMenu), shell::packrgb({255, 255, 255}));
    EXPECT_EQ(s.getpixel(383, 700 + kMenu), shell::packrgb({0, 255 - 191, 191}));

    // Drag anchor 3 from (384, 256) up to (384, 200).
    app.drag(384, 256 + kMenu, 384, 200 + kMenu);
    demo.dp[3].x = 384;
    demo.dp[3].y = 200;
    curvetoy::setclickrect(&demo.dp[3], 384, 200);
    demo.cpcalc();
    demo.draw(want);
    s = app.shot();
    EXPECT_EQ(differences(s, want), 0);
    EXPECT_EQ(s.getpixel(384, 200 + kMenu), shell::packrgb({255, 0, 0}));

    // A release outside the window still ends the drag: the anchor does not
    // follow the pointer back in.
    app.move(384, 200 + kMenu);
    app.x("xdotool mousedown 1");
    app.move(1100, 300);
    app.x("xdotool mouseup 1");
    app.move(300, 400);
    s = app.shot();
    EXPECT_EQ(differences(s, want), 0);

    // C shows the sixteen control points and their handles.
    app.key("c");
    demo.okcp = 1;
    demo.draw(want);
    s = app.shot();
    EXPECT_EQ(differences(s, want), 0);
    int yellow = 0;
    for (const auto& c : demo.cp)
        if (s.getpixel(int(c.x), int(c.y) + kMenu) == shell::packrgb({255, 255, 0})) ++yellow;
    EXPECT_EQ(yellow, 16);

    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

// The screen around the open File menu.
shell::Surface openmenu(e2e::App& app) {
    app.click(20, 12);
    app.settle(200);
    const shell::Surface root = app.shot("root");
    app.x("xdotool key Escape");
    app.settle(200);
    shell::Surface s(400, 150);
    s.blit(0, 0, 400, 150, root, 0, 0);
    return s;
}

TEST(CurvetoyDesktop, FastDragsModifiersAndTheMenuItem) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("curvetoy"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    const shell::Surface menu = openmenu(app);

    // Quick drags: press, two moves, release at once. The anchor ends under
    // the release every time, so the next press finds it there.
    int y = 256;
    for (int i = 0; i < 20; ++i) {
        const int to = y == 256 ? 356 : 256;
        app.fastdrag(384, y + kMenu, 384, (y + to) / 2 + kMenu, 384, to + kMenu);
        const shell::Surface s = app.shot();
        ASSERT_EQ(s.getpixel(384, to + kMenu), shell::packrgb({255, 0, 0})) << i;
        ASSERT_NE(s.getpixel(384, y + kMenu), shell::packrgb({255, 0, 0})) << i;
        y = to;
    }

    // C with Shift, Ctrl or Alt held leaves the picture alone; C alone
    // shows the control points.
    const shell::Surface start = app.shot();
    for (const char* k : {"shift+c", "ctrl+c", "alt+c", "ctrl+Escape"}) {
        app.key(k);
        EXPECT_EQ(differences0(app.shot(), start), 0) << k;
    }
    app.key("c");
    EXPECT_NE(differences0(app.shot(), start), 0);
    // The menu item shows its check mark, and after C once more it looks as
    // it did at start-up.
    EXPECT_GT(differences0(openmenu(app), menu), 0);
    app.key("c");
    EXPECT_EQ(differences0(openmenu(app), menu), 0);

    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

TEST(CurvetoyDesktop, CloseFromTheWindowManagerEndsWithZero) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("curvetoy"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    app.wmclose();
    EXPECT_EQ(app.wait(), 0);
}

}  // namespace
