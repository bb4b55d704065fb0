// Location files: what is written reads back as the same doubles, what
// another editor may leave in a file is taken, and what is wrong is refused
// with the key at fault.
#include "explore/location.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "explore/rule.h"

using namespace explore;

TEST(LocFile, WrittenFilesReadBackExactly) {
    LocFile f;
    f.location = Location{-0.743643887037151, 0.131825904205330, 1.0000000000000002e-10, 20000};
    f.colours.colouring = Colouring::smooth;
    f.colours.density = 0.05;
    f.colours.offset = 200.125;
    for (const Interior in : {Interior::angle, Interior::black, Interior::entry}) {
        f.colours.interior = in;
        f.colours.interiorentry = in == Interior::entry ? 17 : 0;
        const shell::Result<LocFile> back = parseloc(formatloc(f));
        ASSERT_TRUE(back.ok()) << back.error().reason;
        EXPECT_EQ(back.value().location, f.location);
        EXPECT_EQ(back.value().colours, f.colours);
    }
    // Through the disk, and a file that is not there.
    const std::string path = testing::TempDir() + "/at.loc";
    ASSERT_TRUE(saveloc(path, f).ok());
    const shell::Result<LocFile> loaded = loadloc(path);
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(loaded.value().location, f.location);
    std::remove(path.c_str());
    EXPECT_EQ(loadloc(path).error().fault, shell::Fault::open);
}

TEST(LocFile, ReadsWhatEditorsLeaveAndRefusesWhatIsWrong) {
    const std::string centre = "centre-re: -0.5\ncentre-im: 0.25\nwidth: 3\n";
    struct Case {
        std::string text;
        std::string fault;  // part of the reason; empty when the file reads
    };
    const Case cases[] = {
        {centre, ""},
        {"\xEF\xBB\xBF# made by hand\r\ncentre-re:-0.5\r\n\r\n  centre-im : +0.25 \rwidth: 3", ""},
        {centre + "zoom-style: fancy\niterations: 16\n", ""},
        {centre + "interior: entry 255\n", ""},
        {"centre-re: -0.5\nwidth: 3\n", "missing"},
        {centre + "iterations: 15\n", "iterations"},
        {centre + "iterations: 1000001\n", "iterations"},
        {centre + "iterations: 100.5\n", "iterations"},
        {centre + "density: 0.001\n", "density"},
        {centre + "density: 1,5\n", "density"},
        {centre + "colouring: banded\n", "colouring"},
        {centre + "interior: entry 256\n", "interior"},
        {centre + "offset: nan\n", "offset"},
        {"centre-re: -0.5\ncentre-im: 0\nwidth: 1e-14\n", "deepest zoom"},
        {"centre-re: -0.5\ncentre-im: 0\nwidth: 0\n", "width"},
        {"centre-re: 1e300\ncentre-im: 0\nwidth: 1\n", "too far"},
        {centre + "just words\n", "line 4"},
        {std::string(70000, '#'), "too large"},
    };
    for (const Case& c : cases) {
        const shell::Result<LocFile> r = parseloc(c.text);
        if (c.fault.empty()) {
            ASSERT_TRUE(r.ok()) << c.text << ": " << r.error().reason;
            EXPECT_EQ(r.value().location.re, -0.5);
            EXPECT_EQ(r.value().location.im, 0.25);
            EXPECT_EQ(r.value().location.width, 3);
        } else {
            ASSERT_FALSE(r.ok()) << c.text;
            EXPECT_EQ(r.error().fault, shell::Fault::content);
            EXPECT_NE(r.error().reason.find(c.fault), std::string::npos) << r.error().reason;
        }
    }
    // Missing keys take their defaults.
    const LocFile plain = parseloc(centre).value();
    EXPECT_EQ(plain.location.iterations, 512);
    EXPECT_EQ(plain.colours, Colours{});
}

TEST(LocFile, ZoomAboutAPixelKeepsItsPoint) {
    // Every zoom the wheel makes keeps the point under the pointer within a
    // small part of a pixel, far in and far out.
    const int w = 640, h = 480;
    Location l = homelocation(w);
    const double at[][2] = {{10, 20}, {600.5, 470.5}, {320, 240}, {0.5, 479.5}};
    for (int step = 0; step < 60; ++step) {
        const double* p = at[step % 4];
        const Lattice before(l, w, h);
        const double re = l.re + (p[0] - w / 2) * before.step();
        const double im = l.im - (p[1] - h / 2) * before.step();
        const double width = step < 40 ? l.width / 2 : l.width * 2;
        l = zoomabout(l, w, h, p[0], p[1], width);
        const Lattice after(l, w, h);
        // Within a hundredth of a pixel, or the doubles' own rounding.
        const double near = after.step() / 100 + 4e-16;
        EXPECT_NEAR(l.re + (p[0] - w / 2) * after.step(), re, near) << step;
        EXPECT_NEAR(l.im - (p[1] - h / 2) * after.step(), im, near) << step;
    }
}

TEST(LocFile, HomeAtAScaleTakesTheDenserLattice) {
    // A picture n times as many pixels across as the home location's
    // lattice steps (a window on a screen of scale n) has the lattice at n
    // times the density: every n-th pixel is exactly the preview's point.
    const int w = 64, h = 48;
    for (int n = 1; n <= 3; ++n) {
        const Lattice l(homelocation(w), w * n, h * n);
        EXPECT_TRUE(l.preview()) << n;
        for (int x = 0; x < w * n; ++x) {
            EXPECT_EQ(l.cx(x), latticecx(x - w * n / 2 + kLatticeCentre * n, n)) << n << " " << x;
            if (x % n == 0) {
                EXPECT_EQ(l.cx(x), latticecx(x / n - w / 2 + kLatticeCentre));
            }
        }
        for (int y = 0; y < h * n; y += n)
            EXPECT_EQ(l.cy(y), latticecy(y / n - h / 2 + kLatticeCentre)) << n << " " << y;
    }
    // Other widths are no lattice.
    EXPECT_FALSE(Lattice(homelocation(w), w * 4, h * 4).preview());
    EXPECT_FALSE(Lattice(homelocation(w), w * 2 + 1, h * 2).preview());
}
