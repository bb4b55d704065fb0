// A palette is a document: what each designer saves through the real
// chooser comes back as the same window, pixel for pixel, when it is opened
// again through the chooser and from the command line.
#include <gtest/gtest.h>

#include "harness.h"
#include "huewright/ui/commands.h"
#include "huewright/ui/draw.h"
#include "huewright/ui/mainwindow.h"
#include "huewright/ui/paramsdialog.h"
#include "knotloom/layout.h"
#include "knotloom/mainwindow.h"
#include "shell/headless/host.h"
#include "shell/headless/testing.h"

namespace {

using shell::headless::Dialog;
using shell::headless::Host;

int differences(const shell::Surface& a, const shell::Surface& b) {
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.getpixel(x, y) != b.getpixel(x, y);
    return n;
}

// Types a name into the open chooser, or the save chooser, and confirms it.
void choose(e2e::App& app, const std::string& key, const std::string& title,
            const std::string& name) {
    app.key(key);
    ASSERT_FALSE(app.waitwindow(title).empty());
    app.settle(200);
    app.x("xdotool key ctrl+a");
    app.type(name);
    app.x("xdotool key Return");
    app.settle(400);
}

const char* const kOpenTitle = "Select a Fractint .MAP File";
const char* const kSaveTitle = "Select a file for saving parameters";

TEST(ReopenDesktop, HuewrightCurvesComeBack) {
    e2e::Display display;
    const std::string dir = e2e::tempdir();
    // The curves are made in memory: an arc, a stretched cubic Bezier and a
    // line of two segments, saved as made.map.
    Host made(e2e::atscale(huewright::programdesc()));
    auto edit = [&](int channel, const std::function<void(Dialog&)>& f) {
        made.key(huewright::keypress[channel]);
        f(*made.modeless());
        made.modeless()->enter();
    };
    using namespace huewright;
    edit(0, [](Dialog& d) {
        d.click(id_arc);
        d.type(id_aan, "30");
        d.type(id_avt, "200");
    });
    edit(1, [](Dialog& d) {
        d.click(id_bezier);
        d.click(id_cubic);
        d.type(id_b0, "40");
        d.type(id_bc2x, "100");
        d.type(id_bc2y, "100");
        d.click(id_stretch);
    });
    edit(2, [](Dialog& d) {
        d.click(id_line);
        d.click(id_segments2);
        d.type(id_Lmx, "100");
        d.type(id_Lmy, "20");
    });
    made.fileanswers.push_back(dir + "/made.map");
    made.key(keypress[btn_savepalette]);
    // The marker stands in Open MAP in every window compared.
    made.fileanswers.push_back(std::nullopt);
    made.key(keypress[btn_openmap]);

    // From the command line; saved again through the chooser.
    e2e::App started(display, e2e::programpath("huewright"), dir, {dir + "/made.map"});
    ASSERT_TRUE(started.found());
    started.key("o");
    ASSERT_FALSE(started.waitwindow(kOpenTitle).empty());
    started.x("xdotool key Escape");
    ASSERT_EQ(started.waitothers(0), "");
    started.move(1000, 700);
    started.settle(300);
    EXPECT_EQ(differences(started.shot(), made.onscreen), 0);
    choose(started, "p", kSaveTitle, "again");
    ASSERT_NE(started.waitothers(1), "timeout");  // the saved box
    started.x("xdotool key Return");
    ASSERT_EQ(started.waitothers(0), "");
    EXPECT_EQ(shell::testing::readfile(dir + "/again.map"),
              shell::testing::readfile(dir + "/made.map"));
    started.key("Escape");
    EXPECT_EQ(started.wait(), 0);

    // Through the open chooser.
    e2e::App opened(display, e2e::programpath("huewright"), dir);
    ASSERT_TRUE(opened.found());
    choose(opened, "o", kOpenTitle, "again.map");
    ASSERT_EQ(opened.waitothers(0), "");
    opened.move(1000, 700);
    opened.settle(300);
    EXPECT_EQ(differences(opened.shot(), made.onscreen), 0);
    opened.key("Escape");
    EXPECT_EQ(opened.wait(), 0);
}

TEST(ReopenDesktop, KnotloomPointsComeBack) {
    e2e::Display display;
    const std::string dir = e2e::tempdir();
    e2e::App app(display, e2e::programpath("knotloom"), dir);
    ASSERT_TRUE(app.found());
    // Two points dragged, green with them, and the colours inverted.
    Host mirror(e2e::atscale(knotloom::programdesc()));
    const knotloom::Model& m = mirror.as<knotloom::MainWindow>().model;
    const int px = int(m.dp[0][3][0]), py = int(m.dp[0][3][1]);
    app.drag(px, py, px, py - 80, 6);
    app.click(600, 30);
    app.drag(416, 256, 416, 420, 6);
    shell::Point wheel{-1, -1};
    const shell::Rect& w = knotloom::click[knotloom::box_wheel];
    for (int y = w.top; y < w.bottom && wheel.x < 0; ++y)
        for (int x = w.left; x < w.right && wheel.x < 0; ++x)
            if (mirror.onscreen.at(x, y).r > 100) wheel = {x, y};
    app.click(430, 30);
    app.click(wheel.x, wheel.y);
    app.move(500, 700);  // over the strip: the palette follows the curves

    const shell::Rect& save = knotloom::click[knotloom::box_save];
    app.click(save.left + 10, save.top + 10);
    ASSERT_FALSE(app.waitwindow(kSaveTitle).empty());
    app.settle(200);
    app.type("pal");
    app.x("xdotool key Return");
    ASSERT_FALSE(app.waitwindow("Xo B-Spline").empty());
    app.x("xdotool key Return");
    ASSERT_EQ(app.waitothers(0), "");
    app.move(500, 700);
    app.settle(300);
    const shell::Surface saved = app.shot();
    EXPECT_NE(shell::testing::readfile(dir + "/pal.map").find("Inversion: True"),
              std::string::npos);
    app.key("Escape");
    EXPECT_EQ(app.wait(), 0);

    e2e::App started(display, e2e::programpath("knotloom"), dir, {"pal.map"});
    ASSERT_TRUE(started.found());
    started.move(500, 700);
    started.settle(300);
    EXPECT_EQ(differences(started.shot(), saved), 0);
    started.key("Escape");
    EXPECT_EQ(started.wait(), 0);

    e2e::App opened(display, e2e::programpath("knotloom"), dir);
    ASSERT_TRUE(opened.found());
    choose(opened, "o", kOpenTitle, "pal.map");
    ASSERT_EQ(opened.waitothers(0), "");
    opened.move(500, 700);
    opened.settle(300);
    EXPECT_EQ(differences(opened.shot(), saved), 0);
    opened.key("Escape");
    EXPECT_EQ(opened.wait(), 0);
}

}  // namespace
