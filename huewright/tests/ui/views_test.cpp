// The views that follow the palette without changing it, through the real
// window: the palette analysis window and colour cycling of the preview; and
// every view of the model after each kind of change.
#include "analysis/testing.h"
#include "huewright/ui/cycling.h"
#include "huewright/ui/paramsdialog.h"
#include "huewright/ui/previewcommand.h"
#include "palettes/map.h"
#include "shell/headless/testing.h"
#include "window_testutil.h"

namespace huewright::testutil {
namespace {

using analysis::AnalysisWindow;
using shell::testing::readfile;

struct Views : HueWindow {
    shell::testing::ScratchDir scratch;

    const shell::SideWindow* side() { return host.sidewindow(AnalysisWindow::kId); }
    // The analysis window is open and shows the model's palette.
    ::testing::AssertionResult showsmodel() {
        return analysis::testing::showsanalysis(host, m.palette);
    }
    // Every view shows the model: the curves, the strip, the parameter
    // readouts and the hover readout are those of a fresh window once it
    // has the same model (and the preview, if this one shows it) and the
    // pointer has come to the same place; the analysis window shows the
    // palette, and no colour cycling goes on over a palette it no longer
    // shows.
    ::testing::AssertionResult showseverything() {
        Host fresh{programdesc()};
        MainWindow& f = fresh.as<MainWindow>();
        for (int c = 0; c < 3; ++c) {
            f.model.p[c] = m.p[c];
            f.model.okdisplay[c] = m.okdisplay[c];
        }
        f.model.palette = m.palette;
        f.editor.changed(Change::all());
        if (mw.previewshown) fresh.command(cmd_preview);
        if (const std::optional<shell::Point> at = host.pointer()) fresh.move(at->x, at->y);
        const Rect views[] = {erasecurves,    mousemove[1], eraseparams[0], eraseparams[1],
                              eraseparams[2], erasevalues,  erasehash};
        for (const Rect& r : views)
            if (!sameinside(host.onscreen, fresh.onscreen, r))
                return ::testing::AssertionFailure()
                       << "the window differs at " << r.left << ", " << r.top;
        if (mw.cycling.running() || !host.timers().empty())
            return ::testing::AssertionFailure() << "the cycling goes on";
        return showsmodel();
    }
    // The still preview with the palette rotated by `shift`, over `still`.
    Surface rotated(const Surface& still, int shift) {
        Surface s = still;
        const shell::Palette p = rotatedpalette(m.palette, shift);
        for (int j = 0; j < kMsetSize; ++j) drawmsetrow(s, kMsetOrigin, j, mw.preview.row(j), p);
        return s;
    }
};

TEST_F(Views, AnalysisWindowOpensClosesAndFollowsEveryPaletteChange) {
    // Only the plain key: with Ctrl or Alt it does nothing.
    host.key('A', shell::mod_ctrl);
    host.key('A', shell::mod_alt);
    EXPECT_EQ(side(), nullptr);
    host.key('A');
    ASSERT_TRUE(showsmodel());
    EXPECT_EQ(side()->title(), "Palette Analysis");
    EXPECT_EQ(side()->xres(), analysis::Picture::kWidth);
    EXPECT_EQ(side()->yres(), analysis::Picture::kHeight);

    // A typed value in the Parameters dialog, at once, and its OK.
    Dialog& d = open(0);
    d.type(id_amp, "40");
    EXPECT_TRUE(showsmodel());
    d.enter();
    EXPECT_TRUE(showsmodel());

    // An opened file.
    ASSERT_TRUE(scratch.ok());
    shell::Palette loaded;
    for (int i = 0; i < 256; ++i) loaded[i] = {uint8_t(255 - i), uint8_t(i / 2), 200};
    shell::testing::writefile(scratch.path("in.map"), palettes::maptext(loaded, ""));
    host.fileanswers.push_back(scratch.path("in.map"));
    host.key('O');
    ASSERT_EQ(m.palette, loaded);
    EXPECT_TRUE(showsmodel());

    // The close button closes it; A opens it again on the same palette, and
    // closes it.
    host.closeside(AnalysisWindow::kId);
    EXPECT_EQ(side(), nullptr);
    host.key('A');
    EXPECT_TRUE(showsmodel());
    host.key('A');
    EXPECT_EQ(side(), nullptr);
}

TEST_F(Views, EveryViewFollowsAnEditItsUndoAndRedoAndAnOpenedFile) {
    // Every view up: the analysis window, the preview cycling, and the
    // pointer resting over the strip with its readout.
    host.key('A');
    host.command(cmd_preview);
    host.key(' ');
    host.advance(200);
    host.move(600, 470);
    // A change that comes with no key or click in the window, which would
    // stop the cycling first, stops it as well.
    mw.editor.changed(Change::column(2));
    EXPECT_TRUE(showseverything()) << "announced";
    host.command(cmd_preview);
    host.key(' ');

    // Green becomes an arc in the dialog; the readout under the resting
    // pointer follows each change, as do the other views.
    Dialog& d = open(1);
    d.click(id_arc);
    d.type(id_aan, "200");
    EXPECT_TRUE(showseverything()) << "typed";
    d.enter();
    EXPECT_TRUE(showseverything()) << "OK";
    // The undo brings back the preview that was up, still.
    host.key('Z', shell::mod_ctrl);
    ASSERT_TRUE(mw.previewshown);
    EXPECT_TRUE(showseverything()) << "undone";
    host.key('Y', shell::mod_ctrl);
    EXPECT_TRUE(showseverything()) << "redone";

    // A drag of red's sine point, undone and redone with the main window's
    // keys while the dialog is open: the dialog's box and the analysis
    // follow. Cancel puts the channel back.
    Dialog& r = open(0);
    host.press(666, 273);
    host.move(700, 273);
    host.release(700, 273);
    for (int key : {'Z', 'Y'}) {
        host.key(key, shell::mod_ctrl);
        EXPECT_EQ(r.text(id_xsh), std::to_string(mw.editor.ptemp.xsh)) << char(key);
        EXPECT_TRUE(showsmodel()) << char(key);
    }
    EXPECT_EQ(mw.editor.ptemp.xsh, 200);
    r.escape();
    EXPECT_TRUE(showseverything()) << "cancelled";

    // An opened file, with its readouts dark.
    ASSERT_TRUE(scratch.ok());
    shell::Palette loaded;
    for (int i = 0; i < 256; ++i) loaded[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 3)};
    shell::testing::writefile(scratch.path("in.map"), palettes::maptext(loaded, ""));
    host.fileanswers.push_back(scratch.path("in.map"));
    host.key('O');
    ASSERT_EQ(m.palette, loaded);
    EXPECT_TRUE(showseverything()) << "opened";
}

TEST_F(Views, AnalysisWindowTakesTheRoomBesideAndLaysItselfOutToItsWidth) {
    using analysis::Picture;
    // As wide as the screen leaves room for beside the main window, up to
    // the picture's own width and down to its narrowest; only the width may
    // change, down to the narrowest.
    const std::pair<int, int> widths[] = {
        {5000, Picture::kWidth}, {466, 466}, {100, Picture::kMinWidth}};
    for (const auto& [room, width] : widths) {
        host.room = room;
        host.key('A');
        ASSERT_TRUE(showsmodel()) << room;
        EXPECT_EQ(side()->xres(), width);
        EXPECT_EQ(side()->yres(), Picture::kHeight);
        const shell::SideSize& asked = host.sidesizes[AnalysisWindow::kId];
        EXPECT_EQ(asked.minwidth, Picture::kMinWidth);
        EXPECT_EQ(asked.minheight, 0);
        host.key('A');
    }
    // A resize lays it out again at the new width, and it goes on following.
    host.key('A');
    host.resizeside(AnalysisWindow::kId, 500, Picture::kHeight);
    EXPECT_TRUE(showsmodel());
    Dialog& d = open(0);
    d.type(id_amp, "40");
    EXPECT_TRUE(showsmodel());
    d.enter();
}

TEST_F(Views, CyclingRotatesThePreviewOnlyAndEveryOtherKeyStopsItFirst) {
    // Without the preview the cycling keys do nothing.
    host.key(' ');
    EXPECT_FALSE(mw.cycling.running());

    ASSERT_TRUE(scratch.ok());
    host.fileanswers.push_back(scratch.path("before.map"));
    host.key('P');
    host.command(cmd_preview);
    ASSERT_TRUE(mw.previewshown);
    const Surface still = host.onscreen;
    const shell::Palette palette = m.palette;

    // Frames follow the clock: after t ms at speed v the rotation is
    // direction * floor(v t / 1000) entries, however many frames that took.
    struct Case {
        std::vector<int> keys;  // pressed before the start
        int speed, direction, frames;
    };
    const Case cases[] = {
        {{}, 30, 1, 10},  // the default
        {{shell::vk_left, shell::vk_up, shell::vk_up}, 60, -1, 60},
        {{shell::vk_right, shell::vk_down, shell::vk_down, shell::vk_down}, 20, 1, 600},
    };
    for (const Case& c : cases) {
        for (int k : c.keys) host.key(k);
        EXPECT_EQ(mw.cycling.speed(), c.speed);
        host.key(' ');
        ASSERT_TRUE(mw.cycling.running());
        const int ms = c.frames * mw.cycling.period();
        host.advance(ms);
        const int shift = c.direction * (c.speed * ms / 1000);
        EXPECT_EQ(mw.cycling.drawnshift(), (shift % 255 + 255) % 255) << c.speed;
        EXPECT_TRUE(samesurface(host.onscreen, rotated(still, shift))) << c.speed;
        EXPECT_TRUE(samesurface(host.offscreen, host.onscreen));
        // The palette, and with it the strip and the readouts, stays.
        EXPECT_EQ(m.palette, palette);
        // Space stops and brings the still picture back; the clock moves on
        // without it.
        host.key(' ');
        host.advance(500);
        EXPECT_FALSE(mw.cycling.running());
        EXPECT_TRUE(samesurface(host.onscreen, still)) << c.speed;
    }

    // The speed keeps within 1 ... 120 entries a second.
    for (int i = 0; i < 20; ++i) host.key(shell::vk_down);
    EXPECT_EQ(mw.cycling.speed(), 1);
    for (int i = 0; i < 20; ++i) host.key(shell::vk_up);
    EXPECT_EQ(mw.cycling.speed(), 120);

    // A key stops the cycling and restores the still picture before its own
    // action: S finds the still picture when it asks for the author.
    host.key(' ');
    host.advance(100);
    ASSERT_FALSE(sameinside(host.onscreen, still, previewrect));
    bool stillwhenasked = false;
    host.modalscripts.push_back([&](Dialog&) {
        stillwhenasked = sameinside(host.onscreen, still, previewrect) && host.timers().empty();
    });
    host.key('S');
    EXPECT_TRUE(stillwhenasked);
    EXPECT_FALSE(mw.cycling.running());

    // P saves the real palette, and a click in the curve display stops the
    // cycling before it brings the curves back.
    host.key(' ');
    host.advance(100);
    host.fileanswers.push_back(scratch.path("during.map"));
    host.key('P');
    EXPECT_EQ(readfile(scratch.path("during.map")), readfile(scratch.path("before.map")));
    EXPECT_TRUE(sameinside(host.onscreen, still, previewrect));
    host.key(' ');
    host.advance(100);
    host.click(600, 300);
    EXPECT_FALSE(mw.previewshown);
    EXPECT_FALSE(mw.cycling.running());
    EXPECT_TRUE(host.timers().empty());
}

}  // namespace
}  // namespace huewright::testutil
