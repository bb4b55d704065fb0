// The start-up picture and the readouts: every outline, label and readout at
// its place, the curves and the strip from the start-up palette, painting.
#include <cstdio>

#include "shell/headless/testing.h"
#include "window_testutil.h"

namespace huewright::testutil {
namespace {

constexpr Rgb kBlackPx{0, 0, 0};

// The start-up colours, straight from the phase-1 sine table: the three
// channels are that table shifted by 165, 90 and 0.
Rgb startupcolour(const Model& m, int i) {
    const uint8_t* s = m.sinetable[0];
    return Rgb{s[(421 - i) % 256], s[(346 - i) % 256], s[(256 - i) % 256]};
}

// Every pixel of a closed outline is white, and the pixels just outside its
// corners are not part of it.
void expectoutline(const Surface& s, const Rect& r) {
    for (int x = r.left; x <= r.right; ++x) {
        EXPECT_EQ(s.at(x, r.top), kWhite) << x << "," << r.top;
        EXPECT_EQ(s.at(x, r.bottom), kWhite) << x << "," << r.bottom;
    }
    for (int y = r.top; y <= r.bottom; ++y) {
        EXPECT_EQ(s.at(r.left, y), kWhite) << r.left << "," << y;
        EXPECT_EQ(s.at(r.right, y), kWhite) << r.right << "," << y;
    }
    EXPECT_NE(s.at(r.left - 1, r.top - 1), kWhite);
    EXPECT_NE(s.at(r.right + 1, r.bottom + 1), kWhite);
}

TEST_F(HueWindow, ProgramDescription) {
    const shell::ProgramDesc d = programdesc();
    EXPECT_EQ(d.title, "Xo Gradient");
    EXPECT_EQ(d.width, 800);
    EXPECT_EQ(d.height, 640);
    EXPECT_TRUE(d.menus.empty());
    // The only accelerators are the undo keys, all with Ctrl: the
    // program's own keys reach the procedure as keys.
    ASSERT_EQ(d.accelerators.size(), 3u);
    for (const shell::Accelerator& a : d.accelerators) EXPECT_NE(a.mods & shell::mod_ctrl, 0);
    EXPECT_TRUE(d.depthcheck);
    EXPECT_EQ(host.title(), "Xo Gradient");
    EXPECT_EQ(d.name, "huewright");
    EXPECT_TRUE(d.takesfile);
    // The 32 x 32 icon is the window icon it has always been; the other
    // sizes are drawn at their size.
    EXPECT_EQ(shell::testing::surfacehash(d.drawicon(32)), 0x3559fb4d07bc2957u);
    const Surface big = d.drawicon(256);
    ASSERT_EQ(big.width(), 256);
    EXPECT_EQ(big.at(0, 0), (Rgb{}));
    EXPECT_GT(big.at(128, 20).r + big.at(128, 20).g + big.at(128, 20).b, 300);
}

TEST_F(HueWindow, StartUpFrameAndLabels) {
    const Surface& s = host.onscreen;
    // Everything drawn has reached the window.
    EXPECT_TRUE(samesurface(host.onscreen, host.offscreen));
    EXPECT_EQ(host.shown, (Rect{0, 0, 800, 640}));

    for (int k = 0; k < 8; ++k) expectoutline(s, clicks[k]);
    expectoutline(s, Rect{499, 144, 758, 402});
    expectoutline(s, Rect{500, 450, 757, 500});

    // The banner across the top; the help picture from its hidden columns
    // inside the Help box, whose outline runs over the picture's top row.
    const Surface& banner = mw.screen->banner;
    EXPECT_EQ(banner.width(), 843);
    EXPECT_EQ(banner.height(), 100);
    Surface top(800, 640);
    top.blit(0, 0, 843, 100, banner, 0, 0);
    EXPECT_TRUE(sameinside(s, top, Rect{0, 0, 800, 100}));
    for (int y = 1; y < 43; ++y)
        for (int x = 0; x < 43; ++x)
            ASSERT_EQ(s.at(715 + x, 546 + y), banner.at(800 + x, y)) << x << "," << y;

    // The marker starts in the Red button.
    EXPECT_EQ(markerat(s, mw.screen->cursor), 0);

    // The labels and the hint, each at its place.
    Texts t;
    t.add(110, 164, "Red (R)")
        .add(110, 262, "Green (G)")
        .add(110, 360, "Blue (B)")
        .add(110, 458, "Save Palette (P)")
        .add(332, 458, "Save Screen (S)")
        .add(332, 556, "Open MAP (O)")
        .add(110, 556, "Exit (Esc)")
        .add(540, 415, "Move cursor over display.");
    EXPECT_TRUE(sameinside(s, t.s, Rect{100, 160, 215, 190}));
    EXPECT_TRUE(sameinside(s, t.s, Rect{100, 258, 215, 288}));
    EXPECT_TRUE(sameinside(s, t.s, Rect{100, 356, 215, 386}));
    EXPECT_TRUE(sameinside(s, t.s, Rect{100, 455, 270, 485}));
    EXPECT_TRUE(sameinside(s, t.s, Rect{322, 455, 495, 485}));
    EXPECT_TRUE(sameinside(s, t.s, Rect{322, 552, 495, 600}));
    EXPECT_TRUE(sameinside(s, t.s, Rect{100, 552, 260, 600}));
    EXPECT_TRUE(sameinside(s, t.s, Rect{505, 405, 800, 440}));
}

TEST_F(HueWindow, StartUpReadouts) {
    // Sine readouts of the three start-up records, X shifts 165, 90 and 0.
    Texts t;
    const int shift[3] = {165, 90, 0};
    for (int c = 0; c < 3; ++c) {
        const int r1 = readoutrow[c][0], r2 = readoutrow[c][1];
        t.add(225, r1, "Phase: 1")
            .add(385, r1, "X Shift: " + std::to_string(shift[c]))
            .add(225, r2, "Amplitude: 255")
            .add(385, r2, "Y Shift: 0");
        EXPECT_TRUE(sameinside(host.onscreen, t.s, eraseparams[c])) << c;
    }
    // The description was composed at start-up.
    EXPECT_EQ(mw.descriptionstring.rfind("Xo Gradient curve parameters\n", 0), 0u);
    EXPECT_NE(mw.descriptionstring.find("index shift: 165"), std::string::npos);
    EXPECT_EQ(mw.compression, 5);
    EXPECT_EQ(mw.username, "Anonymous");
    EXPECT_EQ(mw.nameflag, 1);
}

TEST_F(HueWindow, StartUpStripAndCurves) {
    const Surface& s = host.onscreen;
    for (int i = 0; i < 256; ++i) {
        const Rgb want = startupcolour(m, i);
        ASSERT_EQ((Rgb{m.palette[i][0], m.palette[i][1], m.palette[i][2]}), want) << i;
        // Rows 451 to 498 of the strip; the line ends before row 499.
        EXPECT_EQ(s.at(501 + i, 451), want) << i;
        EXPECT_EQ(s.at(501 + i, 498), want) << i;
        EXPECT_EQ(s.at(501 + i, 499), kBlackPx) << i;
    }
    // Blue is drawn last: its points are all blue, the last one too, which
    // the 2-pixel pen's end cap covers. Red and green lie under the later
    // curves only where those pass.
    int seen[3] = {0, 0, 0};
    for (int i = 0; i < 256; ++i) {
        const Rgb c = startupcolour(m, i);
        const int v[3] = {c.r, c.g, c.b};
        for (int ch = 0; ch < 3; ++ch) {
            const Rgb at = s.at(501 + i, 401 - v[ch]);
            if (at == kChannelColor[ch]) ++seen[ch];
            bool later = false;
            for (int k = ch + 1; k < 3; ++k) later = later || at == kChannelColor[k];
            EXPECT_TRUE(at == kChannelColor[ch] || later) << ch << " at " << i;
        }
    }
    EXPECT_EQ(seen[2], 256);
    // So every curve reaches column 756, palette entry 255: blue's cap is the
    // square x 755 ... 756 by y - 1 ... y around its last point, and nothing
    // reaches column 757.
    const int blue = 401 - m.palette[255][2];
    for (int y = blue - 1; y <= blue; ++y)
        for (int x = 755; x <= 756; ++x) EXPECT_EQ(s.at(x, y), kChannelColor[2]) << x << "," << y;
    for (int y = 145; y < 402; ++y) EXPECT_EQ(s.at(757, y), kBlackPx) << y;
    EXPECT_GT(seen[0], 230);
    EXPECT_GT(seen[1], 230);
    // Nothing else inside the display: a value of 255 plots at row 146 and
    // the 2-pixel pen reaches 145, both inside the outline.
    for (int y = 145; y < 402; ++y)
        for (int x = 500; x < 758; ++x) {
            const Rgb at = s.at(x, y);
            ASSERT_TRUE(at == kBlackPx || at == kChannelColor[0] || at == kChannelColor[1] ||
                        at == kChannelColor[2])
                << x << "," << y;
        }
    int top = 0;
    for (int i = 1; i < 255; ++i)
        if (m.palette[i][2] == 255) {
            EXPECT_EQ(s.at(500 + i, 145), kChannelColor[2]) << i;
            ++top;
        }
    EXPECT_GT(top, 0);
}

TEST_F(HueWindow, PaintCopiesTheSurfaceAndMoveRepaintsAll) {
    // Something on the window that is not on the surface.
    host.onscreen.fillrect(Rect{0, 0, 800, 640}, Rgb{1, 2, 3});
    host.expose(Rect{10, 20, 30, 50});
    EXPECT_TRUE(sameinside(host.onscreen, host.offscreen, Rect{10, 20, 30, 50}));
    EXPECT_EQ(shown(9, 20), (Rgb{1, 2, 3}));
    EXPECT_EQ(shown(30, 20), (Rgb{1, 2, 3}));
    EXPECT_EQ(shown(10, 50), (Rgb{1, 2, 3}));
    host.send(shell::Message::simple(shell::Msg::move));
    EXPECT_TRUE(samesurface(host.onscreen, host.offscreen));
}

TEST_F(HueWindow, ReadoutsOfEveryCurveType) {
    const Rect area = eraseparams[1];
    auto readout = [&](const Parameters& ps) {
        m.p[1] = ps;
        displayparams(host, *mw.screen, m, 1);
    };
    Parameters ps = startupparameters[1];

    ps.ct = 1;
    readout(ps);
    Texts arc;
    arc.add(385, 262, "Anchor: 0").add(385, 287, "Vertex: 48");
    EXPECT_TRUE(sameinside(host.onscreen, arc.s, area));

    // Quadratic Bezier leaves the place of Control 2 black.
    ps.ct = 2;
    ps.bd = 0;
    readout(ps);
    Texts quad;
    quad.add(225, 262, "Control 1: (48, 224)").add(385, 262, "(0, y): 128");
    quad.add(385, 287, "(255, y): 128");
    EXPECT_TRUE(sameinside(host.onscreen, quad.s, area));
    ps.bd = 1;
    readout(ps);
    quad.add(225, 287, "Control 2: (160, 16)");
    EXPECT_TRUE(sameinside(host.onscreen, quad.s, area));

    ps.ct = 3;
    ps.Ln = 2;
    readout(ps);
    Texts line;
    line.add(225, 262, "(0, y): 255)").add(385, 262, "(255, y): 0)");
    line.add(225, 287, "Middle (x, y): (128, 64)");
    EXPECT_TRUE(sameinside(host.onscreen, line.s, area));

    // Switched off, the readout keeps whatever was there and says so.
    m.okdisplay[1] = 0;
    m.p[1] = startupparameters[1];
    EXPECT_FALSE(displayparams(host, *mw.screen, m, 1));
    EXPECT_TRUE(sameinside(host.onscreen, line.s, area));
    // The other channels were not touched.
    EXPECT_FALSE(sameinside(host.onscreen, line.s, eraseparams[0]));
}

TEST_F(HueWindow, DotsAndHitTest) {
    Surface s(20, 20, Rgb{9, 9, 9});
    drawdot(s, 10, 10, kYellow);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool in = x >= 6 && x <= 14 && y >= 6 && y <= 14;
            ASSERT_EQ(s.at(x, y), in ? kYellow : (Rgb{9, 9, 9})) << x << "," << y;
        }
    drawdot(s, 0, 19, kMagenta);  // clipped at the edges
    EXPECT_EQ(s.at(4, 15), kMagenta);
    EXPECT_TRUE(strictlyinside({51, 155}, clicks[btn_red]));
    EXPECT_FALSE(strictlyinside({50, 155}, clicks[btn_red]));
    EXPECT_TRUE(strictlyinside({96, 197}, clicks[btn_red]));
    EXPECT_FALSE(strictlyinside({97, 197}, clicks[btn_red]));
}

}  // namespace
}  // namespace huewright::testutil
