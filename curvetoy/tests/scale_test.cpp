// The window at scale 2 against the window at scale 1, driven alike.
#include <gtest/gtest.h>

#include "curvetoy/mainwindow.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"

namespace {

using curvetoy::MainWindow;
using shell::headless::Host;

TEST(CurvetoyScale, TwiceTheSizeAndTheSameCurve) {
    shell::ProgramDesc d1 = curvetoy::programdesc(), d2 = curvetoy::programdesc();
    d2.scale = 2;
    Host one{d1}, two{d2};
    EXPECT_EQ(two.offscreen.devicewidth(), 2048);
    EXPECT_EQ(two.offscreen.deviceheight(), 1536);
    for (Host* h : {&one, &two}) {
        h->press(384, 256);
        h->move(400, 300);
        h->release(400, 300);
        h->key('C');
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(one.as<MainWindow>().demo.dp[i].x, two.as<MainWindow>().demo.dp[i].x);
        EXPECT_EQ(one.as<MainWindow>().demo.dp[i].y, two.as<MainWindow>().demo.dp[i].y);
    }
    EXPECT_EQ(shell::testing::scaledmismatch(one.onscreen, two.onscreen), "");
    // The markers are drawn at the scale, not blown up: at 2 the disc is
    // rounder, so some block along its rim is not one colour.
    const shell::Surface& m = two.as<MainWindow>().demo.marker[0];
    bool mixedblock = false;
    for (int y = 0; y < m.height(); ++y)
        for (int x = 0; x < m.width(); ++x)
            mixedblock = mixedblock || m.row(2 * y)[6 * x] != m.row(2 * y + 1)[6 * x + 3];
    EXPECT_TRUE(mixedblock);
}

}  // namespace
