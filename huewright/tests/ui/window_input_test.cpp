// Keys, button presses, the hover readout and control-point drags, through
// the real window procedure.
#include "window_testutil.h"

namespace huewright::testutil {
namespace {

using shell::Message;
using shell::Msg;

int marker(const HueWindow& t) {
    return markerat(t.host.onscreen, t.mw.screen->cursor);
}

// A pixel of the preview picture with red in it, and one without.
shell::Point wheelpixel(const Surface& s, bool red) {
    for (int y = kWheelSquare.top + 1; y < kWheelSquare.bottom; ++y)
        for (int x = kWheelSquare.left + 1; x < kWheelSquare.right; ++x)
            if ((s.at(x, y).r != 0) == red) return shell::Point{x, y};
    return shell::Point{-1, -1};
}

TEST_F(HueWindow, ChannelKeysOpenTheDialogAndMoveTheMarker) {
    for (int c = 0; c < 3; ++c) {
        Dialog& d = open(c);
        EXPECT_EQ(mw.button, c);
        EXPECT_EQ(mw.editor.editing(), 1);
        EXPECT_EQ(marker(*this), c);
        EXPECT_EQ(d.templ().caption, "   Parameter Selection   ");
        // Every key is ignored while the dialog is open, even Esc.
        for (int k : keypress) host.key(k);
        EXPECT_EQ(host.modeless(), &d);
        EXPECT_EQ(mw.button, c);
        EXPECT_EQ(marker(*this), c);
        EXPECT_FALSE(host.ended());
        // So are presses on the buttons.
        host.click(60, 470);
        EXPECT_EQ(mw.button, c);
        EXPECT_TRUE(host.filedialogs.empty());
        d.escape();
        EXPECT_EQ(host.modeless(), nullptr);
        EXPECT_EQ(mw.editor.editing(), 0);
    }
    // The host hands letters over as upper-case codes, with or without
    // Shift; a lower-case code is not one of the keys.
    host.key('b');
    EXPECT_EQ(host.modeless(), nullptr);
}

// The middle of a button's box.
shell::Point middle(int b) {
    const Rect& r = clicks[b];
    return shell::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(HueWindow, FileAndHelpKeysMoveTheMarkerOrNot) {
    // Each key presses its button: the file keys move the marker and open
    // their dialog (cancelled here); F1 and F2 keep their index and leave the
    // marker where it was.
    struct Case {
        int key, button, marker;
        const char* dialog;
    };
    const Case cases[] = {
        {keypress[btn_savepalette], btn_savepalette, btn_savepalette,
         "Select a file for saving parameters"},
        {keypress[btn_savescreen], btn_savescreen, btn_savescreen, nullptr},
        {keypress[btn_openmap], btn_openmap, btn_openmap, "Select a Fractint .MAP File"},
        {keypress[6], 6, btn_openmap, nullptr},
        {keypress[7], 7, btn_openmap, nullptr},
    };
    for (const Case& c : cases) {
        const size_t dialogs = host.filedialogs.size();
        host.key(c.key);
        EXPECT_EQ(mw.button, c.button) << c.key;
        EXPECT_EQ(marker(*this), c.marker) << c.key;
        ASSERT_EQ(host.filedialogs.size(), dialogs + (c.dialog ? 1 : 0)) << c.key;
        if (c.dialog) {
            EXPECT_EQ(host.filedialogs.back().title, c.dialog);
        }
    }
    EXPECT_TRUE(host.boxes.empty());

    // Keys that mean nothing change nothing, and neither do the program's
    // keys held with Alt or Ctrl.
    host.key('X');
    host.key(shell::vk_return);
    for (int mods : {int(shell::mod_alt), int(shell::mod_ctrl), shell::mod_ctrl | shell::mod_shift})
        for (int vk :
             {int('R'), int('P'), int('O'), int('S'), int(shell::vk_f1), int(shell::vk_escape)})
            host.key(vk, mods);
    EXPECT_EQ(mw.button, 7);
    EXPECT_EQ(marker(*this), 5);
    EXPECT_EQ(host.filedialogs.size(), 2u);
    EXPECT_EQ(host.modeless(), nullptr);
    EXPECT_FALSE(host.ended());
    // Shift is no modifier of these keys.
    host.key('G', shell::mod_shift);
    EXPECT_NE(host.modeless(), nullptr);
}

TEST_F(HueWindow, EscAndTheExitButtonEndTheProgram) {
    host.key(shell::vk_escape);
    EXPECT_TRUE(host.ended());
    EXPECT_EQ(host.exitcode(), 0);

    Host other{programdesc()};
    other.click(60, 560);
    EXPECT_TRUE(other.ended());
    EXPECT_EQ(other.exitcode(), 0);
    EXPECT_EQ(other.as<MainWindow>().button, 6);
}

TEST_F(HueWindow, ButtonsAndTheRegionsThatKeepTheMarker) {
    host.click(middle(btn_green).x, middle(btn_green).y);
    EXPECT_EQ(mw.button, btn_green);
    EXPECT_EQ(marker(*this), btn_green);
    ASSERT_NE(host.modeless(), nullptr);
    host.modeless()->escape();
    host.click(middle(btn_savescreen).x, middle(btn_savescreen).y);
    EXPECT_EQ(mw.button, btn_savescreen);
    EXPECT_EQ(marker(*this), btn_savescreen);

    // Help, the preview picture and the curve display keep both the marker
    // and the pressed button.
    const shell::Point red = wheelpixel(host.onscreen, true);
    for (shell::Point p : {middle(btn_help), red, middle(btn_curves)}) {
        host.click(p.x, p.y);
        EXPECT_EQ(mw.button, btn_savescreen);
    }
    EXPECT_EQ(marker(*this), btn_savescreen);

    // A click on an outline is inside nothing.
    for (shell::Point p : {shell::Point{50, 170}, shell::Point{97, 170}, shell::Point{70, 154},
                           shell::Point{70, 198}, shell::Point{272, 560}}) {
        host.click(p.x, p.y);
        EXPECT_EQ(mw.button, btn_savescreen) << p.x << "," << p.y;
        EXPECT_EQ(host.modeless(), nullptr);
    }
    EXPECT_EQ(marker(*this), btn_savescreen);
    EXPECT_FALSE(host.ended());
}

TEST_F(HueWindow, PreviewPictureReactsOnlyOnRed) {
    const shell::Point red = wheelpixel(host.onscreen, true);
    const shell::Point black = wheelpixel(host.onscreen, false);
    ASSERT_GE(red.x, 0);
    ASSERT_GE(black.x, 0);
    // The square's corners are black, the centre is the wheel.
    EXPECT_EQ(shown(kWheelSquare.left + 1, kWheelSquare.top + 1).r, 0);
    EXPECT_GT(shown(712, 48).r, 0);

    // With the preview on, a click on the wheel brings the curves back; a
    // click beside it does nothing.
    mw.previewshown = 1;
    host.offscreen.fillrect(erasecurves, Rgb{24, 24, 24});
    host.click(black.x, black.y);
    EXPECT_EQ(mw.previewshown, 1);
    host.click(red.x, red.y);
    EXPECT_EQ(mw.previewshown, 0);
    EXPECT_NE(drawn(600, 300), (Rgb{24, 24, 24}));

    // A click on the curve display does the same.
    mw.previewshown = 1;
    host.click(600, 300);
    EXPECT_EQ(mw.previewshown, 0);
}

TEST_F(HueWindow, WheelArtworkHasRedExactlyOnTheWheel) {
    // Inside the square, a pixel has red exactly when it is not black: the
    // whole wheel answers a click and nothing around it does.
    const Surface& b = mw.screen->banner;
    int wheel = 0;
    for (int y = kWheelSquare.top; y < kWheelSquare.bottom; ++y)
        for (int x = kWheelSquare.left; x < kWheelSquare.right; ++x) {
            const Rgb c = b.at(x, y);
            const bool lit = c != Rgb{};
            EXPECT_EQ(c.r != 0, lit) << x << "," << y;
            wheel += lit;
        }
    // A round wheel filling most of its square.
    EXPECT_GT(wheel, 73 * 73 * 3 / 4 - 200);
    EXPECT_LT(wheel, 73 * 73 * 3 / 4 + 300);
}

TEST_F(HueWindow, HoverReadoutAtTheStripEdges) {
    const Surface before = host.onscreen;
    // x 500 and 757 are on the outlines: nothing changes.
    host.move(500, 470);
    host.move(757, 470);
    host.move(600, 144);
    host.move(600, 402);
    EXPECT_TRUE(samesurface(host.onscreen, before));

    auto expectreadout = [&](int x, int i) {
        host.move(x, 470);
        Texts t;
        char text[64];
        std::snprintf(text, sizeof text, "palette index: %d    ", i);
        t.add(500, 520, text);
        std::snprintf(text, sizeof text, "red: %d    ", m.palette[i][0]);
        t.add(540, 545, text);
        std::snprintf(text, sizeof text, "green: %d    ", m.palette[i][1]);
        t.add(540, 570, text);
        std::snprintf(text, sizeof text, "blue: %d    ", m.palette[i][2]);
        t.add(540, 595, text);
        EXPECT_TRUE(sameinside(host.onscreen, t.s, erasevalues)) << x;
        EXPECT_TRUE(sameinside(host.offscreen, t.s, erasevalues)) << x;
        // The tick: 3 pixels wide, alone in its row. Its line runs from row
        // 501 to 515, and the 3-pixel pen's cap covers the end: rows 501 to
        // 516 under the strip's outline, and nothing in row 517.
        for (int y = 501; y < 518; ++y)
            for (int tx = 500; tx < 758; ++tx) {
                const bool tick = tx >= x - 1 && tx <= x + 1 && y <= 516;
                ASSERT_EQ(shown(tx, y), tick ? kWhite : kBlack) << x << ": " << tx << "," << y;
            }
    };
    expectreadout(501, 0);
    expectreadout(756, 255);
    // The curve display shows the same readout.
    host.move(600, 300);
    EXPECT_EQ(shown(600, 510), kWhite);
    EXPECT_EQ(shown(755, 510), kBlack);
}

// ---------------------------------------------------------------- drags

TEST_F(HueWindow, SineDragClampsAndEndsWhenThePointerLeaves) {
    Dialog& d = open(0);  // red: Sine, X shift 165, the point at (666, 273)
    EXPECT_EQ(mw.editor.enabledrag1, 1);
    EXPECT_EQ(mw.editor.enabledrag2, 0);
    host.press(660, 273);  // just outside the grabbing square
    EXPECT_EQ(mw.editor.okdrag, 0);
    host.press(666, 268);
    EXPECT_EQ(mw.editor.okdrag, 0);
    host.press(661, 273);
    EXPECT_EQ(mw.editor.okdrag, 1);

    host.move(600, 273);
    EXPECT_EQ(mw.editor.ptemp.xsh, 100);
    EXPECT_EQ(d.text(id_xsh), "100");
    // The dot follows the pointer on the window, never on the surface.
    EXPECT_EQ(shown(600, 273), kYellow);
    EXPECT_EQ(shown(596, 269), kYellow);
    EXPECT_NE(drawn(600, 273), kYellow);
    EXPECT_NE(shown(666, 273), kYellow);

    // 757 gives 257, which the box clamps.
    host.move(757, 200);
    EXPECT_EQ(mw.editor.ptemp.xsh, 255);
    EXPECT_EQ(d.text(id_xsh), "255");
    EXPECT_EQ(mw.editor.points.point(0, CurveType::sine).cpt.x, 255 + 501);

    // Out of the display: the drag is over, and later moves do nothing
    // until a new press on the point.
    host.move(758, 200);
    EXPECT_EQ(mw.editor.okdrag, 0);
    host.move(600, 273);
    EXPECT_EQ(mw.editor.ptemp.xsh, 255);
    // The hover readout stays off while dragging is possible.
    EXPECT_TRUE(sameinside(host.onscreen, Surface(800, 640), erasevalues));

    host.press(756, 273);
    host.move(700, 273);
    EXPECT_EQ(mw.editor.ptemp.xsh, 200);
    host.release(700, 273);
    host.move(650, 273);
    EXPECT_EQ(mw.editor.ptemp.xsh, 200);

    // Leaving the window ends a drag too.
    host.press(700, 273);
    host.leave();
    EXPECT_EQ(mw.editor.okdrag, 0);
    d.enter();
    EXPECT_EQ(m.p[0].xsh, 200);
}

TEST_F(HueWindow, BezierDragsClampAndPreferControl2) {
    Dialog& d = open(1);  // green: control 1 at (48, 224), control 2 at (160, 16)
    d.click(id_bezier);
    EXPECT_EQ(mw.editor.enabledrag1, 1);
    EXPECT_EQ(mw.editor.enabledrag2, 0);
    d.click(id_cubic);
    EXPECT_EQ(mw.editor.enabledrag2, 1);
    // Dots: control 1 yellow at (548, 177), control 2 magenta at (660, 385).
    EXPECT_EQ(shown(548, 177), kYellow);
    EXPECT_EQ(shown(660, 385), kMagenta);
    EXPECT_NE(drawn(548, 177), kYellow);

    host.press(549, 177);
    EXPECT_EQ(mw.editor.okdrag, 1);
    EXPECT_EQ(mw.editor.points.cpindex, 0);
    host.move(600, 300);
    EXPECT_EQ(mw.editor.ptemp.bc1x, 98);
    EXPECT_EQ(mw.editor.ptemp.bc1y, 101);
    // Control 1 to x 500 gives -2, clamped to 0.
    host.move(500, 300);
    EXPECT_EQ(mw.editor.ptemp.bc1x, 0);
    EXPECT_EQ(d.text(id_bc1x), "0");
    EXPECT_EQ(d.text(id_bc1y), "101");
    // Row 145 gives 256, clamped to 255.
    host.move(520, 145);
    EXPECT_EQ(mw.editor.ptemp.bc1y, 255);
    EXPECT_EQ(mw.editor.points.point(1, CurveType::bezier, 0).cpt.y, 401 - 255);
    host.release(520, 145);

    // Control 2 typed onto control 1: a press takes control 2.
    d.type(id_bc2x, d.text(id_bc1x));
    d.type(id_bc2y, d.text(id_bc1y));
    const shell::Point at = mw.editor.points.point(1, CurveType::bezier, 0).cpt;
    host.press(at.x, at.y);
    EXPECT_EQ(mw.editor.points.cpindex, 1);
    host.move(650, 250);
    EXPECT_EQ(mw.editor.ptemp.bc2x, 148);
    EXPECT_EQ(mw.editor.ptemp.bc2y, 151);
    EXPECT_EQ(mw.editor.ptemp.bc1x, 18);  // control 1 stays where it was
    EXPECT_EQ(d.text(id_bc2x), "148");
    EXPECT_EQ(d.text(id_bc2y), "151");
    host.release(650, 250);

    // The column follows the dragged curve exactly.
    Model ref;
    ref.cndx = 1;
    ref.calcBezier(1, 128, 128, mw.editor.ptemp.bc1x, mw.editor.ptemp.bc1y, 148, 151);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(m.palette[i][1], ref.palette[i][1]) << i;

    // Quadratic: control 2 cannot be grabbed any more.
    d.click(id_quadratic);
    EXPECT_EQ(mw.editor.enabledrag2, 0);
    host.press(650, 250);
    EXPECT_EQ(mw.editor.okdrag, 0);
}

TEST_F(HueWindow, ArcAndLineChannelsKeepTheHoverReadout) {
    Dialog& d = open(2);
    d.click(id_arc);
    EXPECT_EQ(mw.editor.enabledrag1, 0);
    host.press(501, 273);  // on the blue sine point: nothing to grab
    EXPECT_EQ(mw.editor.okdrag, 0);
    host.move(501, 470);
    EXPECT_EQ(shown(501, 510), kWhite);
    d.click(id_line);
    host.move(756, 470);
    EXPECT_EQ(shown(756, 510), kWhite);
    // The buttons stay inactive all the same.
    host.click(60, 470);
    EXPECT_EQ(mw.button, 2);
}

TEST_F(HueWindow, DragStepRunsTheWholeChain) {
    Dialog& d = open(1);
    d.click(id_bezier);
    d.click(id_cubic);
    host.press(661, 385);  // control 2
    ASSERT_EQ(mw.editor.points.cpindex, 1);
    const long before = mw.editor.applies;
    host.move(640, 300);
    // One apply a step: the boxes are written without applying again.
    EXPECT_EQ(mw.editor.applies - before, 1);
    EXPECT_EQ(d.text(id_bc2x), std::to_string(mw.editor.ptemp.bc2x));
    // Dots were redrawn on the window by the step.
    EXPECT_EQ(shown(mw.editor.ptemp.bc2x + 500, 401 - mw.editor.ptemp.bc2y), kMagenta);
    // A step that needs a clamp still applies once.
    const long mid = mw.editor.applies;
    host.move(700, 145);
    EXPECT_EQ(mw.editor.applies - mid, 1);
    EXPECT_EQ(d.text(id_bc2y), "255");
    EXPECT_EQ(mw.editor.ptemp.bc2y, 255);

    // In the corner of the display the dot reaches past the outline; each
    // redraw takes the dots of the step before off the window.
    host.move(757, 145);
    EXPECT_EQ(shown(759, 142), kMagenta);
    EXPECT_EQ(shown(759, 150), kMagenta);
    EXPECT_EQ(shown(759, 141), drawn(759, 141));  // the unclamped dot of the apply
    EXPECT_NE(drawn(759, 142), kMagenta);
    host.move(600, 300);
    EXPECT_EQ(shown(759, 142), drawn(759, 142));
    host.release(600, 300);
    host.modeless()->escape();
    EXPECT_TRUE(samesurface(host.onscreen, host.offscreen));
}

}  // namespace
}  // namespace huewright::testutil
