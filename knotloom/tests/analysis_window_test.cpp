// The palette analysis window through the real window: A opens and closes
// it, and it shows the palette of the strip after every change, inverted
// when the strip is. And every view of the model after each kind of change.
#include <gtest/gtest.h>

#include "analysis/testing.h"
#include "layout.h"
#include "mainwindow.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"

namespace knotloom {
namespace {

using analysis::AnalysisWindow;
using shell::headless::Host;

struct Analysis : ::testing::Test {
    Host host{programdesc()};
    MainWindow& p = host.as<MainWindow>();
    Model& m = p.model;

    // The open window shows the analysis of palette `want`.
    ::testing::AssertionResult shows(const shell::Palette& want) {
        return analysis::testing::showsanalysis(host, want);
    }
    // Every view shows the model: the picture and the readout are those of
    // a fresh window given the same model once the pointer has come to the
    // same place, and the analysis window shows the strip's palette.
    ::testing::AssertionResult showseverything() {
        Host fresh{programdesc()};
        MainWindow& f = fresh.as<MainWindow>();
        f.model = m;
        f.editor.changed(Change::all());
        if (const std::optional<shell::Point> at = host.pointer()) fresh.move(at->x, at->y);
        if (shell::testing::surfacehash(fresh.onscreen) !=
            shell::testing::surfacehash(host.onscreen))
            return ::testing::AssertionFailure() << "the window shows another picture";
        return shows(shownpalette(m));
    }
    // The model's palette once the pointer has been over the display, which
    // brings it up to date.
    shell::Palette hovered() {
        host.move(500, 400);
        return m.palette;
    }
};

TEST_F(Analysis, FollowsDragsPointCountsAndInversion) {
    host.key('A', shell::mod_ctrl);
    host.key('A', shell::mod_alt);
    EXPECT_EQ(host.sidewindow(AnalysisWindow::kId), nullptr);
    host.key('A');
    EXPECT_TRUE(shows(hovered()));

    // A drag step of the red channel's fourth point.
    const shell::Palette before = m.palette;
    const int px = int(m.dp[0][3][0]), py = int(m.dp[0][3][1]);
    host.press(px, py);
    host.move(px, py - 60);
    host.release(px, py - 60);
    ASSERT_NE(m.palette, before);
    EXPECT_TRUE(shows(m.palette));

    // A new point count redraws the strip while the model's own palette
    // waits for the pointer: the window shows the strip's.
    host.modalscripts.push_back([](shell::headless::Dialog& d) {
        d.trackkey(kTrackId, shell::vk_left);
        d.enter();
    });
    const shell::Rect pts = click[box_points];
    host.click(pts.left + 10, pts.top + 10);
    const shell::Palette stale = m.palette;
    const shell::Palette strip = hovered();
    ASSERT_NE(strip, stale);
    EXPECT_TRUE(shows(strip));

    // The wheel inverts what the strip shows, and so what the window shows.
    const shell::Rect wheel = click[box_wheel];
    for (int y = wheel.top; y < wheel.bottom && m.invert == 0; ++y)
        for (int x = wheel.left; x < wheel.right && m.invert == 0; ++x)
            if (host.onscreen.at(x, y).r > 100) host.click(x, y);
    ASSERT_EQ(m.invert, 1);
    shell::Palette inverted = strip;
    for (auto& e : inverted)
        for (auto& v : e) v = uint8_t(255 - v);
    EXPECT_TRUE(shows(inverted));

    // Its close button closes it, and A toggles it.
    host.closeside(AnalysisWindow::kId);
    EXPECT_EQ(host.sidewindow(AnalysisWindow::kId), nullptr);
    host.key('A');
    EXPECT_TRUE(shows(inverted));
    host.key('A');
    EXPECT_EQ(host.sidewindow(AnalysisWindow::kId), nullptr);
}

TEST_F(Analysis, EveryViewFollowsDragsUndoRedoPointsAndInversion) {
    host.key('A');
    auto undoredo = [&](const char* what) {
        host.key('Z', shell::mod_ctrl);
        EXPECT_TRUE(showseverything()) << what << " undone";
        host.key('Y', shell::mod_ctrl);
        EXPECT_TRUE(showseverything()) << what << " redone";
    };
    // A drag of red's fourth point, the pointer resting over the curves
    // with its readout.
    const int px = int(m.dp[0][3][0]), py = int(m.dp[0][3][1]);
    host.move(px, py);
    host.press(px, py);
    host.move(px, py - 60);
    host.release(px, py - 60);
    EXPECT_TRUE(showseverything()) << "dragged";
    undoredo("the drag");

    // Fewer points for red, and the inversion.
    host.modalscripts.push_back([](shell::headless::Dialog& d) {
        d.trackkey(kTrackId, shell::vk_left);
        d.enter();
    });
    host.click(click[box_points].left + 10, click[box_points].top + 10);
    ASSERT_EQ(m.nd[0], 12);
    EXPECT_TRUE(showseverything()) << "points";
    undoredo("the points");
    const shell::Rect wheel = click[box_wheel];
    host.click((wheel.left + wheel.right) / 2, (wheel.top + wheel.bottom) / 2);
    ASSERT_EQ(m.invert, 1);
    EXPECT_TRUE(showseverything()) << "inverted";
    // Undone with the pointer back over the strip.
    host.move(500, 690);
    undoredo("the inversion");
}

}  // namespace
}  // namespace knotloom
