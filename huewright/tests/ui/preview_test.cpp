#include <gtest/gtest.h>

#include "huewright/ui/draw.h"
#include "huewright/ui/previewcommand.h"
#include "save_testwindow.h"

using namespace huewright;
using namespace huewright::savetest;

namespace {

TEST(Preview, WheelShowsTheModelsPictureRowByRow) {
    RecordingHost h;
    MainWindow& mw = h.mw();
    Model& m = mw.model;
    const shell::Point red = wheelpixel(h.onscreen, clicks[btn_preview], true);
    const shell::Point black = wheelpixel(h.onscreen, clicks[btn_preview], false);
    ASSERT_GE(red.x, 0);
    ASSERT_GE(black.x, 0);
    const shell::Surface curves = h.onscreen;

    // The preview is the model's picture drawn over what the surface held:
    // the model's own reference kernel, on a copy.
    shell::Surface want = h.offscreen;
    mset(m.palette, want, kMsetOrigin, {}, 1, MsetKernel::rule);

    // At each flush the window already shows the rows done so far.
    int rows = 0;
    bool shownbyrow = true;
    h.onflush = [&] {
        const int y = previewrect.top + rows;
        for (int x = previewrect.left; x < previewrect.right; ++x)
            if (h.onscreen.at(x, y) != want.at(x, y)) shownbyrow = false;
        ++rows;
    };
    h.click(black.x, black.y);
    EXPECT_EQ(rows, 0);
    EXPECT_FALSE(mw.previewshown);
    h.click(red.x, red.y);
    h.onflush = nullptr;
    EXPECT_EQ(rows, kMsetSize);
    EXPECT_TRUE(shownbyrow);
    EXPECT_TRUE(mw.previewshown);
    EXPECT_EQ(differences(h.offscreen, want), 0);
    EXPECT_EQ(differences(h.onscreen, want), 0);

    // A pixel without red still does nothing; a red one brings the curves
    // back.
    h.click(black.x, black.y);
    EXPECT_TRUE(mw.previewshown);
    h.click(red.x, red.y);
    EXPECT_FALSE(mw.previewshown);
    EXPECT_EQ(differences(h.onscreen, curves), 0);

    // A click in the curve display ends the preview too.
    h.command(cmd_preview);
    EXPECT_TRUE(mw.previewshown);
    h.click(600, 300);
    EXPECT_FALSE(mw.previewshown);
    EXPECT_EQ(differences(h.onscreen, curves), 0);
}

TEST(Preview, FollowsThePaletteOfTheMoment) {
    RecordingHost h;
    MainWindow& mw = h.mw();
    Model& m = mw.model;
    // A palette made by hand: the preview colours from what is there now.
    for (int i = 0; i < 256; ++i) m.palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), 7};
    shell::Surface want = h.offscreen;
    mset(m.palette, want, kMsetOrigin, {}, 1);
    h.command(cmd_preview);
    EXPECT_TRUE(mw.previewshown);
    EXPECT_EQ(differences(h.offscreen, want), 0);
    // Ignored while the Parameters dialog is open.
    h.click(600, 300);
    h.key('R');
    h.command(cmd_preview);
    EXPECT_FALSE(mw.previewshown);
}

}  // namespace
