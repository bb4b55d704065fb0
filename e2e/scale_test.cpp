// The programs at scale 2 beside the same programs at scale 1: client areas
// twice the size, pictures that a 2 x 2 box average turns into the picture
// of scale 1 (lines and text drawn sharper, in the colours around them), a
// dialog at twice its size, and the file chooser's bevels twice as wide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "shell/headless/testing.h"
#include "shell/window/chooserlayout.h"

namespace {

// The part of a scale-1 surface from row `top` on, and of a device picture
// from row top x n on: the client area below a menu bar.
shell::Surface below(const shell::Surface& s, int top, int n) {
    shell::Surface out(s.devicewidth() / n, s.deviceheight() / n - top, shell::Rgb{}, n);
    for (int y = 0; y < out.deviceheight(); ++y)
        std::copy(s.row(y + top * n), s.row(y + top * n) + out.stride(), out.row(y));
    return out;
}

struct Program {
    const char* name;
    int width, height, menu;  // logical client size, menu bar height
};

TEST(ScaleDesktop, TwiceTheSizeAndTheSamePictureDrawnSharper) {
    // Room for the largest window at scale 2 with a frame round it.
    e2e::Display display(2400, 1800);
    const Program programs[] = {
        {"huewright", 800, 640, 0}, {"knotloom", 1024, 768, 0}, {"curvetoy", 1024, 768, 25}};
    for (const Program& p : programs) {
        // One after the other: a window on top would be in the other's picture.
        shell::Surface shots[2];
        for (int n : {1, 2}) {
            e2e::App app(display, e2e::programpath(p.name), e2e::tempdir(),
                         {"--scale", std::to_string(n)});
            ASSERT_TRUE(app.found()) << p.name;
            const shell::Rect r = app.placed(app.window());
            EXPECT_EQ(r.width(), n * p.width) << p.name;
            EXPECT_EQ(r.height(), n * (p.height + p.menu)) << p.name;
            shots[n - 1] = below(app.deviceshot(app.window()), p.menu, n);
        }
        EXPECT_EQ(shell::testing::scaledmismatch(shots[0], shots[1]), "") << p.name;
    }
}

TEST(ScaleDesktop, DialogsAreTwiceTheSize) {
    e2e::Display display(2400, 1800);
    int widths[2] = {0, 0}, heights[2] = {0, 0};
    for (int n : {1, 2}) {
        e2e::App app(display, e2e::programpath("huewright"), e2e::tempdir(),
                     {"--scale", std::to_string(n)});
        ASSERT_TRUE(app.found());
        app.key("g");
        const std::string dlg = app.waitwindow("Parameter Selection");
        ASSERT_FALSE(dlg.empty()) << n;
        const shell::Rect r = app.placed(dlg);
        widths[n - 1] = r.width();
        heights[n - 1] = r.height();
        app.key("Escape");
    }
    EXPECT_EQ(widths[1], 2 * widths[0]);
    EXPECT_EQ(heights[1], 2 * heights[0]);
}

// The logical pixels of row y of a scale-1 picture that the device rows of
// a picture twice as large do not show as a 2 x 2 block of their colour.
int notdoubled(const shell::Surface& one, const shell::Surface& two, int y) {
    int n = 0;
    for (int x = 0; x < one.width(); ++x) {
        bool same = true;
        for (int j = 0; j < 4; ++j) {
            const uint8_t* p = two.row(2 * y + j / 2) + 3 * (2 * x + j % 2);
            same = same && shell::Rgb{p[0], p[1], p[2]} == one.at(x, y);
        }
        n += !same;
    }
    return n;
}

TEST(ScaleDesktop, ChooserBevelsAreTwiceAsWide) {
    namespace ch = shell::chooser;
    e2e::Display display(2400, 1800);
    shell::Surface shots[2];
    for (int n : {1, 2}) {
        // An empty folder: the list shows no text.
        e2e::App app(display, e2e::programpath("huewright"), e2e::tempdir(),
                     {"--scale", std::to_string(n)});
        ASSERT_TRUE(app.found());
        app.key("o");
        const std::string c = app.waitwindow("Select a Fractint .MAP File");
        ASSERT_FALSE(c.empty()) << n;
        app.settle(200);
        shots[n - 1] = app.deviceshot(c);
        app.x("xdotool key Escape");
        app.settle(200);
        app.key("Escape");
    }
    ASSERT_EQ(shots[1].devicewidth(), 2 * shots[0].devicewidth());
    ASSERT_EQ(shots[1].deviceheight(), 2 * shots[0].deviceheight());
    // Rows along the tops and bottoms of the fields, the lists' arrow
    // buttons and the buttons, and across the list's sides, where no text
    // is, show each logical pixel as a block of its colour. Only the corners
    // where two bevels meet may differ, their mitres drawn at the finer grid.
    const int f = ch::kFieldHeight;
    for (int top : {ch::kFolderY, ch::kNameY, ch::kTypeY, ch::kListY})
        for (int y : {top, top + 1, top + f - 2, top + f - 1})
            EXPECT_LE(notdoubled(shots[0], shots[1], y), 8) << "row " << y;
}

}  // namespace
