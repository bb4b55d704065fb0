#include "shell/raster/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace shell;

TEST(Font, CellMetricsOfTheInterfaceFont) {
    Font f(20);
    ASSERT_TRUE(f.ok()) << uifontname();
#ifdef _WIN32
    // The system's face by its name; wine has Liberation Serif in place of
    // Times New Roman.
    const std::string face = uifontname();
    EXPECT_TRUE(face == "Times New Roman" || face == "Liberation Serif") << face;
#else
    EXPECT_NE(std::string(uifontname()).find("LiberationSerif-BoldItalic"), std::string::npos);
#endif
    EXPECT_EQ(f.ascent(), 16);
    EXPECT_EQ(f.descent(), 4);
    EXPECT_EQ(f.cellheight(), 20);
    EXPECT_GT(f.textwidth("Red"), f.textwidth("R"));
    EXPECT_EQ(f.textwidth(""), 0);
}

TEST(Font, TextSitsInItsCellAndBlends) {
    Font f(20);
    const Rgb ink{0, 192, 255};
    Surface s(60, 30, Rgb{100, 0, 0});
    f.draw(s, 10, 5, "H", ink);
    // Coverage stays within the cell: rows 5 .. 24, from x 10 on.
    int top = 99, bottom = -1, left = 99, full = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            Rgb p = s.at(x, y);
            if (p == (Rgb{100, 0, 0})) continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            left = std::min(left, x);
            if (p == ink) ++full;
            // Partial coverage mixes the ink with what lay beneath.
            EXPECT_LE(p.r, 100);
            EXPECT_EQ(p.r * 255 / 100 + p.g * 255 / 192 >= 250, true) << x << "," << y;
        }
    EXPECT_GE(top, 5);
    EXPECT_LE(bottom, 5 + 16);  // a capital stands on the baseline
    EXPECT_GE(left, 8);         // an italic may lean a pixel or two left of its pen
    EXPECT_GT(full, 10);

    // Opaque text first clears its box; nothing outside the box changes.
    Surface o(60, 30, Rgb{100, 0, 0});
    f.drawopaque(o, Rect{10, 5, 20, 25}, 10, 5, "HHHH", ink, Rgb{});
    EXPECT_EQ(o.at(9, 10), (Rgb{100, 0, 0}));
    EXPECT_EQ(o.at(25, 10), (Rgb{100, 0, 0}));
    bool black = false;
    for (int x = 10; x < 20; ++x) black = black || o.at(x, 5) == Rgb{};
    EXPECT_TRUE(black);
}

TEST(Font, MultiByteAndMalformedText) {
    Font f(20);
    // A letter outside ASCII is one glyph, not two.
    EXPECT_EQ(f.textwidth("\xC3\xAB"), f.textwidth("\xC3\xAB"));
    EXPECT_LT(f.textwidth("\xC3\xAB"), 2 * f.textwidth("e") + 1);
    Surface s(40, 30);
    f.draw(s, 0, 0, std::string("\xC3", 1), Rgb{255, 255, 255});  // truncated sequence
    f.draw(s, 35, 25, "WWW", Rgb{255, 255, 255});                 // runs off the surface
    SUCCEED();
}

TEST(Font, ClippedTextBlendsEachPixelByItsCoverage) {
    Font f(20);
    const Rgb ink{0, 192, 255}, bg{90, 40, 200};
    auto mix = [](int under, int over, int a) {
        return (under * (255 - a) + over * a + 127) / 255;
    };
    for (const char* glyph : {"W", "g", "@"}) {
        // White on black: each pixel is the glyph's coverage there.
        Surface cover(40, 30);
        f.draw(cover, 6, 4, glyph, Rgb{255, 255, 255});
        // Clips through the glyph, around it, and reaching past the surface.
        for (const Rect& clip :
             {Rect{0, 0, 40, 30}, Rect{9, 8, 17, 15}, Rect{-5, -5, 12, 40}, Rect{14, 10, 60, 60}}) {
            Surface s(40, 30, bg);
            f.drawopaque(s, clip, 6, 4, glyph, ink, bg);
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x) {
                    const int a = clip.contains(x, y) ? cover.at(x, y).r : 0;
                    const Rgb want{uint8_t(mix(bg.r, ink.r, a)), uint8_t(mix(bg.g, ink.g, a)),
                                   uint8_t(mix(bg.b, ink.b, a))};
                    ASSERT_EQ(s.at(x, y), want) << glyph << " at " << x << "," << y;
                }
        }
    }
}

// On a surface of scale 2 text is rendered at twice the cell height, from
// twice its logical position: the pixels of the font made at that size, not
// the scale-1 glyphs blown up. A clip is logical too.
TEST(Font, TextAtAScaleIsRenderedAtThatSize) {
    Font f(20), big(40);
    const Rgb ink{0, 192, 255}, bg{100, 0, 0};
    Surface two(40, 30, bg, 2), one(40, 30, bg), want(80, 60, bg);
    f.drawopaque(two, Rect{2, 1, 30, 22}, 5, 3, "Hg", ink, Rgb{});
    f.drawopaque(one, Rect{2, 1, 30, 22}, 5, 3, "Hg", ink, Rgb{});
    big.drawopaque(want, Rect{4, 2, 60, 44}, 10, 6, "Hg", ink, Rgb{});
    ASSERT_EQ(two.stride(), want.stride());
    EXPECT_TRUE(std::equal(two.data(), two.data() + size_t(two.stride()) * 60, want.data()));

    // Blown up, every 2 x 2 block would be one colour; and the ink reaches
    // about twice as far.
    int split = 0;
    Rect inktwo{99, 99, -1, -1}, inkone{99, 99, -1, -1};
    auto grow = [](Rect& r, int x, int y) {
        r = Rect{std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                 std::max(r.bottom, y + 1)};
    };
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) {
            const uint8_t* p = two.row(y) + 3 * x;
            if (p[1] != 0) grow(inktwo, x, y);
            if (y % 2 == 0 && x % 2 == 0 && (p[1] != p[4] || p[1] != two.row(y + 1)[3 * x + 1]))
                ++split;
            if (x < 40 && y < 30 && one.at(x, y).g != 0) grow(inkone, x, y);
        }
    EXPECT_GT(split, 20);
    EXPECT_NEAR(inktwo.width(), 2 * inkone.width(), 3);
    EXPECT_NEAR(inktwo.height(), 2 * inkone.height(), 3);
    EXPECT_NEAR(inktwo.left, 2 * inkone.left, 2);
}
