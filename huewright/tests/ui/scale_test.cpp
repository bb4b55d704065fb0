// The window at scale 2 against the window at scale 1, driven alike: the
// same model, the same picture drawn sharper, and screen saves that do not
// change with the scale.
#include <gtest/gtest.h>

#include "huewright/art/helpart.h"
#include "huewright/ui/previewcommand.h"
#include "window_testutil.h"

namespace huewright {
namespace {

using namespace testutil;
using shell::testing::scaledmismatch;

shell::ProgramDesc at(int scale) {
    shell::ProgramDesc d = programdesc();
    d.scale = scale;
    return d;
}

TEST(HueScale, TwiceTheSizeTheSameModelAndTheSameSavedPicture) {
    Host one{at(1)}, two{at(2)};
    EXPECT_EQ(two.offscreen.devicewidth(), 1600);
    EXPECT_EQ(two.offscreen.deviceheight(), 1280);
    for (Host* h : {&one, &two}) {
        h->press(666, 268);  // a control point of the red curve
        h->move(640, 250);
        h->release(640, 250);
        h->move(600, 470);  // the readout of an entry
    }
    const Model& m1 = one.as<MainWindow>().model;
    const Model& m2 = two.as<MainWindow>().model;
    EXPECT_TRUE(m1.palette == m2.palette);
    EXPECT_EQ(scaledmismatch(one.offscreen, two.offscreen), "");
    EXPECT_EQ(scaledmismatch(one.onscreen, two.onscreen), "");
    // A screen save writes the picture of scale 1, pixel for pixel.
    EXPECT_TRUE(samesurface(two.as<MainWindow>().screen->saved(two), one.offscreen));
    EXPECT_TRUE(samesurface(one.as<MainWindow>().screen->saved(one), one.offscreen));

    // The preview at twice the resolution has the points of scale 1 at every
    // other point, and the saved picture is again that of scale 1.
    one.command(cmd_preview);
    two.command(cmd_preview);
    const MsetEntries& e1 = one.as<MainWindow>().preview;
    const MsetEntries& e2 = two.as<MainWindow>().preview;
    ASSERT_EQ(e2.size(), 2 * kMsetSize);
    int differ = 0;
    for (int j = 0; j < kMsetSize; ++j)
        for (int i = 0; i < kMsetSize; ++i) differ += e1.row(j)[i] != e2.row(2 * j)[2 * i];
    EXPECT_EQ(differ, 0);
    EXPECT_TRUE(samesurface(two.as<MainWindow>().screen->saved(two), one.offscreen));
    const Rect outside{0, 0, previewrect.left, 640};
    Surface left1(outside.right, outside.bottom), left2(outside.right, outside.bottom, Rgb{}, 2);
    left1.blit(0, 0, outside.right, outside.bottom, one.offscreen, 0, 0);
    left2.blit(0, 0, outside.right, outside.bottom, two.offscreen, 0, 0);
    EXPECT_EQ(scaledmismatch(left1, left2), "");
}

TEST(HueScale, HelpPicturesAreDrawnAtTheScale) {
    for (int k = 1; k <= 3; ++k) {
        const Surface one = makehelpbitmap(k), two = makehelpbitmap(k, 2);
        EXPECT_EQ(two.devicewidth(), 2 * one.width());
        EXPECT_EQ(scaledmismatch(one, two), "") << k;
    }
}

}  // namespace
}  // namespace huewright
