// The window at scale 2 against the window at scale 1, driven alike: the
// same model and the same picture, drawn sharper.
#include <gtest/gtest.h>

#include <cstring>

#include "mainwindow.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"

namespace knotloom {
namespace {

using shell::headless::Host;

TEST(KnotloomScale, TwiceTheSizeAndTheSameModel) {
    shell::ProgramDesc d1 = programdesc(), d2 = programdesc();
    d2.scale = 2;
    Host one{d1}, two{d2};
    EXPECT_EQ(two.offscreen.devicewidth(), 2048);
    EXPECT_EQ(two.offscreen.deviceheight(), 1536);
    for (Host* h : {&one, &two}) {
        h->press(64, 256);  // a point of the curve, dragged
        h->move(200, 256);
        h->release(200, 256);
        h->key('C');  // the control points shown
        h->move(428, 700);
    }
    const Model &m1 = one.as<MainWindow>().model, &m2 = two.as<MainWindow>().model;
    EXPECT_TRUE(m1.palette == m2.palette);
    EXPECT_EQ(std::memcmp(m1.dp, m2.dp, sizeof m1.dp), 0);
    EXPECT_EQ(shell::testing::scaledmismatch(one.offscreen, two.offscreen), "");
    EXPECT_EQ(shell::testing::scaledmismatch(one.onscreen, two.onscreen), "");
}

}  // namespace
}  // namespace knotloom
