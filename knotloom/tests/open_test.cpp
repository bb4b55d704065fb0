// Opening palettes in the window: what knotloom saved comes back as it was
// shown, through O and through the command line; other palettes are fitted,
// their error shown, fitted again for a new count, and undone in one step.
#include <gtest/gtest.h>

#include <cstring>

#include "fit.h"
#include "layout.h"
#include "mainwindow.h"
#include "palettes/palettes.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"

namespace knotloom {
namespace {

using shell::headless::Dialog;
using shell::headless::Host;

std::unique_ptr<Host> start(const std::string& file = {}) {
    shell::ProgramDesc d = programdesc();
    d.startfile = file;
    return std::make_unique<Host>(d);
}

bool samewindow(const Host& a, const Host& b) {
    return std::memcmp(a.onscreen.data(), b.onscreen.data(), 1024 * 768 * 3) == 0;
}

// Any text in the readout band, left of the readout's own place.
bool bandhasnote(const Host& h) {
    for (int y = 732; y < 750; ++y)
        for (int x = 128; x < 270; ++x)
            if (h.onscreen.at(x, y) != shell::Rgb{}) return true;
    return false;
}

// Moves the Points trackbar `left` steps to the left (right when negative).
void setcount(Host& h, int left) {
    h.modalscripts.push_back([left](Dialog& d) {
        for (int i = 0; i < std::abs(left); ++i)
            d.trackkey(kTrackId, left > 0 ? shell::vk_left : shell::vk_right);
        d.enter();
    });
    h.command(cmd_points);
}

TEST(Open, WhatWasSavedComesBackAsItWasShown) {
    shell::testing::ScratchDir scratch;
    auto a = start();
    MainWindow& pa = a->as<MainWindow>();
    // Edits on all three channels, another count on green, inverted, red
    // active again at the end.
    a->click(600, 30);
    setcount(*a, 3);
    a->press(int(pa.model.dp[1][4][0]), int(pa.model.dp[1][4][1]));
    a->move(int(pa.model.dp[1][4][0]), 220);
    a->release(int(pa.model.dp[1][4][0]), 220);
    a->click(770, 30);
    a->press(416, 256);
    a->move(416, 500);
    a->release(416, 500);
    a->click(430, 30);
    a->press(544, 384);
    a->move(544, 300);
    a->release(544, 300);
    pa.editor.invert();
    a->move(500, 700);  // across the strip: the palette follows the curves
    const std::string file = scratch.path("kept.map");
    a->fileanswers.push_back(file);
    a->command(cmd_save);

    // Through the command line, and through O in a window that has other
    // points.
    auto b = start(file);
    auto c = start();
    c->press(416, 384);
    c->move(416, 600);
    c->release(416, 600);
    c->fileanswers.push_back(file);
    c->key('O');
    // The readout shows the same column in every window.
    for (Host* h : {a.get(), b.get(), c.get()}) h->move(500, 700);
    for (Host* h : {b.get(), c.get()}) {
        const Model& m = h->as<MainWindow>().model;
        EXPECT_TRUE(h->boxes.empty());
        EXPECT_EQ(std::memcmp(m.dp, pa.model.dp, sizeof m.dp), 0);
        EXPECT_EQ(std::memcmp(m.nd, pa.model.nd, sizeof m.nd), 0);
        EXPECT_EQ(m.invert, 1);
        EXPECT_EQ(m.palette, pa.model.palette);
        EXPECT_FALSE(bandhasnote(*h));
        EXPECT_TRUE(samewindow(*a, *h));
    }
    // The open is one step: undo gives c's own drag back, redo the file.
    c->key('Z', shell::mod_ctrl);
    EXPECT_EQ(c->as<MainWindow>().model.dp[0][5][1], 600);
    EXPECT_EQ(c->as<MainWindow>().model.invert, 0);
    c->key('Y', shell::mod_ctrl);
    c->move(500, 700);
    EXPECT_TRUE(samewindow(*a, *c));
    // The save chooser starts from the opened file.
    c->command(cmd_save);
    EXPECT_EQ(c->filedialogs.back().file, file);
}

TEST(Open, OtherPalettesAreFittedAndFittedAgainForANewCount) {
    shell::testing::ScratchDir scratch;
    shell::Palette ramp;
    for (int e = 0; e < 256; ++e)
        ramp[e] = {uint8_t(e), uint8_t(255 - e), uint8_t(e < 128 ? 2 * e : 510 - 2 * e)};
    const std::string file = scratch.path("ramp.gpl");
    ASSERT_TRUE(palettes::writepalettefile(file, palettes::Format::gpl, ramp, "").ok());

    auto h = start();
    MainWindow& p = h->as<MainWindow>();
    h->fileanswers.push_back(file);
    h->key('O');
    ASSERT_TRUE(h->boxes.empty());
    EXPECT_TRUE(p.model.fitted[0] && p.model.fitted[1] && p.model.fitted[2]);
    EXPECT_TRUE(bandhasnote(*h));
    EXPECT_NE(fitnote(p.model).find("red "), std::string::npos) << fitnote(p.model);
    for (int e = 0; e < 256; ++e)
        for (int c = 0; c < 3; ++c) EXPECT_LE(std::abs(p.model.palette[e][c] - ramp[e][c]), 12);
    // The readout takes the note's place, and none of the note's letters
    // stay behind, not even what reaches below the readout's own rows.
    h->move(500, 300);
    EXPECT_FALSE(bandhasnote(*h));
    for (int y = 750; y < 759; ++y)
        for (int x = 125; x < 896; ++x)
            ASSERT_EQ(h->onscreen.at(x, y), shell::Rgb{}) << x << " " << y;

    // Fewer points on green: fitted again, not laid out afresh; red keeps
    // its points.
    double red[kMaxData][2];
    std::memcpy(red, p.model.dp[0], sizeof red);
    h->click(600, 30);
    setcount(*h, 6);
    EXPECT_EQ(p.model.nd[1], 7);
    EXPECT_LT(p.model.dp[1][3][1], 400);  // the middle of 255 - e is 127
    EXPECT_EQ(std::memcmp(red, p.model.dp[0], sizeof red), 0);
    EXPECT_TRUE(p.model.fitted[1]);

    // A drag on the fitted channel is what a new count comes back to: the
    // middle point pulled up stays up, where the file has 127.
    const int x = int(p.model.dp[1][3][0]), e = (x - kFirstColumn) / 3;
    h->press(x, int(p.model.dp[1][3][1]));
    h->move(x, 150);
    h->release(x, 150);
    EXPECT_GT(p.model.palette[e][1], 220);
    setcount(*h, -2);
    EXPECT_EQ(p.model.nd[1], 9);
    EXPECT_GT(p.model.palette[e][1], 200) << "entry " << e;
    EXPECT_LE(std::abs(p.model.palette[10][1] - ramp[10][1]), 12);

    // A file that cannot be read gets the failed-open box and changes
    // nothing.
    const std::string bad = scratch.path("bad.map");
    shell::testing::writefile(bad, "not a palette\n");
    const shell::Palette before = p.model.palette;
    h->fileanswers.push_back(bad);
    h->key('O');
    ASSERT_EQ(h->boxes.size(), 1u);
    EXPECT_EQ(h->boxes[0].caption, "MAP file error");
    EXPECT_EQ(h->boxes[0].text.rfind("Error opening MAP file\n", 0), 0u);
    EXPECT_NE(h->boxes[0].text.find("bad.map"), std::string::npos);
    EXPECT_EQ(p.model.palette, before);
}

}  // namespace
}  // namespace knotloom
