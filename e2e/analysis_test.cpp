// The palette analysis window beside each designer on a real X server, and
// colour cycling of huewright's preview: the window opens beside the main
// window where the screen has room, follows a drag in the main window and
// lays itself out again when the user resizes it, and the preview rotates by
// the speed times the time.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "analysis/picture.h"
#include "harness.h"
#include "huewright/ui/cycling.h"
#include "huewright/ui/mainwindow.h"
#include "huewright/ui/previewcommand.h"
#include "knotloom/analysiswindow.h"
#include "knotloom/mainwindow.h"
#include "shell/headless/host.h"

namespace {

using analysis::AnalysisWindow;
using shell::Surface;
using shell::headless::Host;

// The device pixels of the logical rectangle r where two pictures of the
// same size and scale differ; -1 when they are not alike.
int differences(const Surface& a, const Surface& b, const shell::Rect& r) {
    if (a.width() != b.width() || a.height() != b.height() || a.scale() != b.scale()) return -1;
    const shell::Rect d = a.todevice(r);
    int n = 0;
    for (int y = d.top; y < d.bottom; ++y)
        for (int x = d.left; x < d.right; ++x)
            n += std::memcmp(a.row(y) + 3 * x, b.row(y) + 3 * x, 3) != 0;
    return n;
}

// What the analysis window of the mirror shows.
const Surface& mirrored(Host& mirror) {
    return mirror.sidewindow(AnalysisWindow::kId)->onscreen;
}

// The palette entries whose columns of the lightness plot differ.
std::vector<int> changedcurve(const Surface& a, const Surface& b) {
    const analysis::Picture pic(a.width());
    const analysis::Layout& l = pic.layout();
    std::vector<int> out;
    for (int i = 0; i < 256; ++i)
        if (differences(a, b, {l.entryx(i), l.lighttop, l.entryx(i + 1), l.lightbottom + 1}) > 0)
            out.push_back(i);
    return out;
}

// The entry whose OKLab lightness a palette change moved most.
int mostchanged(const shell::Palette& before, const shell::Palette& after) {
    const analysis::Analysis a = analysis::analyse(before), b = analysis::analyse(after);
    int best = 0;
    for (int i = 1; i < 256; ++i)
        if (std::abs(b.lab[i].L - a.lab[i].L) > std::abs(b.lab[best].L - a.lab[best].L)) best = i;
    return best;
}

// Opens the analysis window in the program and its mirror, and checks that
// it shows what the mirror's does. Returns the window.
std::string openanalysis(e2e::App& app, Host& mirror) {
    app.key("a");
    const std::string side = app.waitwindow(analysis::Picture::kTitle);
    if (side.empty()) return side;
    app.settle(300);
    // The mirror's screen has the room the program's had.
    mirror.room = app.placed(side).width() / e2e::scale();
    mirror.key('A');
    const Surface& want = mirrored(mirror);
    EXPECT_EQ(differences(app.shot(side), want, want.bounds()), 0);
    return side;
}

// The drag moved the lightness curve where it moved the palette, and the
// window shows what the mirror's does.
void checkfollowed(e2e::App& app, Host& mirror, const std::string& side, const Surface& before,
                   const shell::Palette& pbefore, const shell::Palette& pafter) {
    ASSERT_NE(pbefore, pafter);
    const Surface after = app.shot(side);
    const Surface& want = mirrored(mirror);
    EXPECT_EQ(differences(after, want, want.bounds()), 0);
    const std::vector<int> changed = changedcurve(before, after);
    EXPECT_NE(std::find(changed.begin(), changed.end(), mostchanged(pbefore, pafter)),
              changed.end());
}

TEST(AnalysisDesktop, HuewrightWindowFollowsADragAndTheKeyFromEitherWindow) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("huewright"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    Host mirror(e2e::atscale(huewright::programdesc()));
    const huewright::Model& m = mirror.as<huewright::MainWindow>().model;
    const std::string side = openanalysis(app, mirror);
    ASSERT_FALSE(side.empty());
    // Beside the main window, frames and all: clear of its strip, its
    // readout and Help, on the screen, and as wide as the room left there.
    // Places are in device pixels, sizes logical.
    const int n = e2e::scale();
    const shell::Rect main = app.placed(app.window()), mainframe = app.frame(app.window());
    const shell::Rect at = app.placed(side), frame = app.frame(side);
    EXPECT_GE(at.left - frame.left, main.right + mainframe.right);
    EXPECT_LE(at.right + frame.right, 1280 * n);
    EXPECT_EQ(at.width() % n, 0);
    EXPECT_GE(at.width() / n, analysis::Picture::kMinWidth);
    EXPECT_LT(at.width() / n, analysis::Picture::kWidth);
    const Surface before = app.shot(side);
    const shell::Palette pbefore = m.palette;

    // Green's sine point, at x shift 90 on row 273, dragged 60 to the right
    // with the Parameters dialog open: the window follows at once.
    app.key("g");
    const std::string dlg = app.waitwindow("Parameter Selection");
    ASSERT_FALSE(dlg.empty());
    app.drag(590, 273, 650, 273);
    mirror.key('G');
    mirror.press(590, 273);
    mirror.move(650, 273);
    mirror.release(650, 273);
    app.settle(300);
    checkfollowed(app, mirror, side, before, pbefore, m.palette);

    // Made narrower and wider again by the user, it lays itself out to its
    // width. (A shot shows only what is on the screen, so it stays there.)
    for (int width : {analysis::Picture::kMinWidth + 10, at.width() / n - 3}) {
        app.x("xdotool windowsize " + side + " " + std::to_string(width * n) + " " +
              std::to_string(at.height()));
        app.settle(300);
        mirror.resizeside(AnalysisWindow::kId, width, at.height() / n);
        const Surface shown = app.shot(side);
        EXPECT_EQ(shown.width(), width);
        EXPECT_EQ(differences(shown, mirrored(mirror), mirrored(mirror).bounds()), 0) << width;
    }

    // A closes it from the window itself, and opens it again from the main
    // window (the dialog still open); the close button closes it.
    app.x("xdotool key --window " + side + " a");
    EXPECT_EQ(app.waitothers(1), dlg);
    app.key("a");
    const std::string again = app.waitwindow(analysis::Picture::kTitle);
    ASSERT_FALSE(again.empty());
    app.wmclose(again);
    EXPECT_EQ(app.waitothers(1), dlg);
    app.wmclose(dlg);
    EXPECT_EQ(app.waitothers(0), "");
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

TEST(AnalysisDesktop, KnotloomWindowFollowsADrag) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("knotloom"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    Host mirror(e2e::atscale(knotloom::programdesc()));
    const knotloom::Model& m = mirror.as<knotloom::MainWindow>().model;
    const std::string side = openanalysis(app, mirror);
    ASSERT_FALSE(side.empty());
    const Surface before = app.shot(side);
    const shell::Palette pbefore = knotloom::shownpalette(m);

    // The red channel's fourth data point, left of where the analysis
    // window may cover the main one, 80 pixels up.
    const int px = int(m.dp[0][3][0]), py = int(m.dp[0][3][1]);
    app.drag(px, py, px, py - 80, 6);
    mirror.press(px, py);
    mirror.move(px, py - 80);
    mirror.release(px, py - 80);
    app.settle(300);
    checkfollowed(app, mirror, side, before, pbefore, knotloom::shownpalette(m));

    app.wmclose(side);
    EXPECT_EQ(app.waitothers(0), "");
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

// The rotation of the preview on a shot, as the speed and the still picture
// give it: the k of the rotated picture it equals, -1 for none.
struct Rotations {
    Surface still;
    huewright::MsetEntries entries;
    shell::Palette palette;
    int find(const Surface& shot) const {
        const shell::Rect r = huewright::previewrect;
        for (int k = 0; k < 255; ++k) {
            Surface want = still;
            const shell::Palette p = huewright::rotatedpalette(palette, k);
            huewright::drawmsetrows(want, huewright::kMsetOrigin, entries, p, 0,
                                    huewright::kMsetSize * want.scale());
            if (differences(shot, want, r) == 0) return k;
        }
        return -1;
    }
};

TEST(AnalysisDesktop, CyclingRotatesAtItsSpeedAndSpaceStopsIt) {
    e2e::Display display;
    e2e::App app(display, e2e::programpath("huewright"), e2e::tempdir());
    ASSERT_TRUE(app.found());
    Host mirror(e2e::atscale(huewright::programdesc()));
    auto& mw = mirror.as<huewright::MainWindow>();

    // The wheel: a pixel of it with red in it.
    const shell::Rect wr = huewright::clicks[huewright::btn_preview];
    shell::Point wheel{-1, -1};
    for (int y = wr.bottom - 1; y > wr.top && wheel.x < 0; --y)
        for (int x = wr.left + 1; x < wr.right && wheel.x < 0; ++x)
            if (mirror.onscreen.at(x, y).r > 0) wheel = {x, y};
    ASSERT_GE(wheel.x, 0);
    app.click(wheel.x, wheel.y);
    mirror.click(wheel.x, wheel.y);
    ASSERT_TRUE(mw.previewshown);
    app.settle(500);
    const Rotations rot{mirror.onscreen, mw.preview, mw.model.palette};
    const Surface still = app.shot();
    ASSERT_EQ(rot.find(still), 0);

    // 5 entries a second (four steps down from 30), forwards: a step every
    // 200 ms, well apart from the time a shot takes.
    for (int i = 0; i < 4; ++i) app.key("Down");
    const int speed = 5;
    app.key("space");
    using clock = std::chrono::steady_clock;
    // A shot and the rotation it shows. The server reads the window at some
    // moment between the start and the end of the shot, which on a busy
    // machine may be far apart: the check allows any moment in between.
    // The program may draw a frame while the server reads the window: such a
    // shot shows no one rotation, and is taken again.
    struct Timed {
        int k = -1;
        double from = 0, to = 0;  // seconds
    };
    auto seconds = [](clock::time_point t) {
        return std::chrono::duration<double>(t.time_since_epoch()).count();
    };
    auto timedshot = [&] {
        Timed t;
        for (int tries = 0; tries < 3 && t.k < 0; ++tries) {
            const auto t0 = clock::now();
            const Surface s = app.shot();
            t = Timed{rot.find(s), seconds(t0), seconds(clock::now())};
        }
        return t;
    };
    const Timed a = timedshot();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const Timed b = timedshot();
    ASSERT_GE(a.k, 0);
    ASSERT_GE(b.k, 0);
    // The rotation is a whole number of entries, so each shot may be up to
    // one entry short of the time it was taken at.
    const int moved = (b.k - a.k + 255) % 255;
    EXPECT_GE(moved, speed * (b.from - a.to) - 1 - 1e-9) << "moved " << moved << " entries";
    EXPECT_LE(moved, speed * (b.to - a.from) + 1 + 1e-9) << "moved " << moved << " entries";

    // Space stops and shows the still picture again.
    app.key("space");
    EXPECT_EQ(differences(app.shot(), still, huewright::previewrect), 0);
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);
}

}  // namespace
