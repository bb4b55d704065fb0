#include "shell/raster/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "shell/window/message.h"

using namespace shell;

namespace {

const Rgb W{255, 255, 255};
const Rgb K{0, 0, 0};

std::set<std::pair<int, int>> painted(const Surface& s) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.at(x, y) != K) out.insert({x, y});
    return out;
}

// The surface as rows of text: '#' for a painted pixel, '.' for black.
std::vector<std::string> picture(const Surface& s) {
    std::vector<std::string> rows(s.height(), std::string(s.width(), '.'));
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.at(x, y) != K) rows[y][x] = '#';
    return rows;
}

}  // namespace

TEST(Surface, PixelsInsideAndOutside) {
    Surface s(3, 2);
    s.setpixel(2, 1, Rgb{1, 2, 3});
    EXPECT_EQ(s.getpixel(2, 1), 0x030201u);  // red in the low byte
    EXPECT_EQ(s.getpixel(3, 1), kInvalidColor);
    EXPECT_EQ(s.getpixel(-1, 0), kInvalidColor);
    EXPECT_EQ(s.getpixel(0, 2), kInvalidColor);
    s.setpixel(3, 0, W);  // ignored, and must not wrap onto the next row
    s.setpixel(-1, 1, W);
    EXPECT_EQ(painted(s), (std::set<std::pair<int, int>>{{2, 1}}));
}

TEST(Surface, LinesExcludeTheEndPoint) {
    Surface s(7, 5);
    s.line({1, 1}, {5, 1}, W);
    EXPECT_EQ(painted(s), (std::set<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));

    Surface d(7, 5);
    d.line({0, 0}, {4, 2}, W);  // shallow diagonal: Bresenham's pixels
    EXPECT_EQ(painted(d), (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));

    Surface up(7, 5);
    up.line({2, 4}, {2, 1}, W);
    EXPECT_EQ(painted(up), (std::set<std::pair<int, int>>{{2, 4}, {2, 3}, {2, 2}}));

    Surface none(4, 4);
    none.line({1, 1}, {1, 1}, W);
    EXPECT_TRUE(painted(none).empty());
}

TEST(Surface, PolylineSkipsOnlyItsLastPoint) {
    Surface s(6, 6);
    Point pts[] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}, {1, 1}};
    s.polyline(pts, 5, W);
    // A closed outline: every pixel of the 4 x 4 ring, corners once each.
    std::set<std::pair<int, int>> ring;
    for (int i = 1; i <= 4; ++i) {
        ring.insert({i, 1});
        ring.insert({i, 4});
        ring.insert({1, i});
        ring.insert({4, i});
    }
    EXPECT_EQ(painted(s), ring);
    EXPECT_EQ(s.position().x, 1);
}

// A 1-pixel pen paints the pixels a line visits, from its start up to but not
// including its end. A pen of w > 1 pixels paints at each of them the w x w
// square whose top-left is (x - w/2, y - w/2), and the same square at the end
// point: a wide pen acts as a geometric pen with round end caps, so its end
// point is covered. Every line below runs two steps, in one of the eight
// directions, inside its own 7 x 7 cell; every pixel of the surface is checked.
TEST(Surface, PensOfOneTwoAndThreePixelsInEveryDirection) {
    const Point ends[8][2] = {
        {{2, 3}, {4, 3}}, {{4, 3}, {2, 3}}, {{3, 2}, {3, 4}}, {{3, 4}, {3, 2}},  // → ← ↓ ↑
        {{2, 2}, {4, 4}}, {{4, 4}, {2, 2}}, {{4, 2}, {2, 4}}, {{2, 4}, {4, 2}},  // ↘ ↖ ↙ ↗
    };
    const std::vector<std::string> want[3] = {
        {
            "............................",
            "............................",
            ".................#..........",
            "..##......##.....#......#...",
            "........................#...",
            "............................",
            "............................",
            "............................",
            "............................",
            "..#...............#.........",
            "...#......#......#......#...",
            "...........#...........#....",
            "............................",
            "............................",
        },
        {
            "............................",
            "................##.....##...",
            ".####...####....##.....##...",
            ".####...####....##.....##...",
            "................##.....##...",
            "............................",
            "............................",
            "............................",
            ".##.....##.......##.....##..",
            ".###....###.....###....###..",
            "..###....###...###....###...",
            "...##.....##...##.....##....",
            "............................",
            "............................",
        },
        {
            "............................",
            "................###....###..",
            ".#####..#####...###....###..",
            ".#####..#####...###....###..",
            ".#####..#####...###....###..",
            "................###....###..",
            "............................",
            "............................",
            ".###....###......###....###.",
            ".####...####....####...####.",
            ".#####..#####..#####..#####.",
            "..####...####..####...####..",
            "...###....###..###....###...",
            "............................",
        },
    };
    for (int width = 1; width <= 3; ++width) {
        Surface s(28, 14);
        for (int k = 0; k < 8; ++k) {
            const Point o{7 * (k % 4), 7 * (k / 4)};
            s.line({o.x + ends[k][0].x, o.y + ends[k][0].y},
                   {o.x + ends[k][1].x, o.y + ends[k][1].y}, W, width);
        }
        EXPECT_EQ(picture(s), want[width - 1]) << "width " << width;
    }

    // A wide line from a point to itself is its cap; caps clip at the edges.
    Surface dot(5, 5);
    dot.line({2, 2}, {2, 2}, W, 3);
    EXPECT_EQ(picture(dot),
              (std::vector<std::string>{".....", ".###.", ".###.", ".###.", "....."}));
    Surface edge(3, 3);
    edge.line({1, 1}, {0, 0}, W, 3);
    EXPECT_EQ(picture(edge), (std::vector<std::string>{"###", "###", "###"}));
    Surface corner(3, 3);
    corner.line({2, 0}, {2, 1}, W, 2);  // squares at rows 0 and 1, the first half off the top
    EXPECT_EQ(picture(corner), (std::vector<std::string>{".##", ".##", "..."}));
}

// The same rule for lines of any slope and length, also across the edges:
// a wide line is its pen's square at every pixel of the 1-pixel line and at
// the end point.
TEST(Surface, WideLinesAreSquaresAlongTheThinLine) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> ux(-3, 27), uy(-3, 12);
    for (int n = 0; n < 400; ++n) {
        const Point a{ux(rng), uy(rng)}, b{ux(rng), uy(rng)};
        const int width = 2 + n % 2, m = 8;  // m: a margin that nothing crosses
        Surface thin(24 + 2 * m, 10 + 2 * m);
        thin.line({a.x + m, a.y + m}, {b.x + m, b.y + m}, W);
        thin.setpixel(b.x + m, b.y + m, W);
        Surface want(24, 10), got(24, 10);
        for (const auto& [x, y] : painted(thin)) {
            const int l = x - m - width / 2, t = y - m - width / 2;
            want.fillrect(Rect{l, t, l + width, t + width}, W);
        }
        got.line(a, b, W, width);
        ASSERT_EQ(picture(got), picture(want))
            << a.x << "," << a.y << " to " << b.x << "," << b.y << " width " << width;
    }
}

// A wide polyline is its segments in order, each with its cap: every join and
// its last point are covered.
TEST(Surface, WidePolylinesCoverJoinsAndTheLastPoint) {
    Surface l(7, 6);
    const Point corner[3] = {{1, 1}, {4, 1}, {4, 4}};
    l.polyline(corner, 3, W, 2);
    EXPECT_EQ(picture(l), (std::vector<std::string>{"#####..", "#####..", "...##..", "...##..",
                                                    "...##..", "......."}));
    EXPECT_EQ(l.position().y, 4);

    // The same pixels as its segments drawn one by one, also where points
    // repeat (segments without length) and where the path turns back.
    const Point path[7] = {{2, 2}, {6, 3}, {6, 3}, {6, 3}, {3, 7}, {8, 7}, {5, 5}};
    for (int width : {2, 3}) {
        Surface whole(11, 10), parts(11, 10);
        whole.polyline(path, 7, W, width);
        for (int i = 1; i < 7; ++i) parts.line(path[i - 1], path[i], W, width);
        EXPECT_EQ(picture(whole), picture(parts)) << "width " << width;
    }
    Surface tail(11, 10), tailparts(11, 10);
    tail.polyline(path + 1, 3, W, 3);  // only repeated points: one square
    tailparts.line(path[1], path[1], W, 3);
    EXPECT_EQ(picture(tail), picture(tailparts));
    EXPECT_EQ(painted(tail).size(), 9u);
}

TEST(Surface, FillsClip) {
    Surface s(5, 4);
    s.fillrect(Rect{3, 2, 9, 9}, W);
    EXPECT_EQ(painted(s), (std::set<std::pair<int, int>>{{3, 2}, {4, 2}, {3, 3}, {4, 3}}));
    s.fillrect(Rect{2, 0, 2, 4}, Rgb{9, 9, 9});  // empty: nothing
    s.fillrect(Rect{-5, -5, 1, 1}, Rgb{7, 7, 7});
    EXPECT_EQ(s.at(0, 0), (Rgb{7, 7, 7}));
    EXPECT_EQ(s.at(1, 0), K);
}

TEST(Surface, CopiesClipToBothSurfaces) {
    Surface src(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) src.setpixel(x, y, Rgb{uint8_t(x), uint8_t(y), 1});
    Surface dst(5, 4);
    dst.blit(3, 2, 4, 3, src, 0, 0);  // only a 2 x 2 corner fits
    EXPECT_EQ(dst.at(3, 2), (Rgb{0, 0, 1}));
    EXPECT_EQ(dst.at(4, 3), (Rgb{1, 1, 1}));
    EXPECT_EQ(painted(dst).size(), 4u);

    Surface d2(5, 4);
    d2.blit(-1, 0, 3, 1, src, 0, 1);  // source column 0 falls off the left
    EXPECT_EQ(d2.at(0, 0), (Rgb{1, 1, 1}));
    EXPECT_EQ(d2.at(1, 0), (Rgb{2, 1, 1}));
    EXPECT_EQ(painted(d2).size(), 2u);

    Surface d3(5, 4);
    d3.blit(0, 0, 3, 3, src, 2, -1);  // source starts above: shifted down one row
    EXPECT_EQ(d3.at(0, 1), (Rgb{2, 0, 1}));
    EXPECT_EQ(d3.at(1, 2), (Rgb{3, 1, 1}));
    EXPECT_EQ(d3.at(0, 0), K);
    EXPECT_EQ(painted(d3).size(), 4u);

    // A block moved onto itself, in any direction, lands as a copy of it
    // would: no row or pixel is read after it was overwritten.
    for (const Point to : {Point{1, 1}, Point{-1, -1}, Point{1, -1}, Point{0, 1}}) {
        Surface self(4, 3), copied(4, 3);
        self.blit(0, 0, 4, 3, src, 0, 0);
        copied.blit(to.x, to.y, 4, 3, src, 0, 0);
        self.blit(to.x, to.y, 4, 3, self, 0, 0);
        for (int y = std::max(to.y, 0); y < std::min(to.y + 3, 3); ++y)
            for (int x = std::max(to.x, 0); x < std::min(to.x + 4, 4); ++x)
                EXPECT_EQ(self.at(x, y), copied.at(x, y)) << to.x << "," << to.y;
    }
}

namespace {

// The device pixels of s as a surface of scale 1.
Surface devicepixels(const Surface& s) {
    Surface out(s.devicewidth(), s.deviceheight());
    for (int y = 0; y < s.deviceheight(); ++y)
        std::copy(s.row(y), s.row(y) + s.stride(), out.row(y));
    return out;
}

// s with every pixel blown up to an n x n block.
Surface blownup(const Surface& s, int n) {
    Surface out(s.width() * n, s.height() * n);
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            out.fillrect(Rect{x * n, y * n, x * n + n, y * n + n}, s.at(x, y));
    return out;
}

bool samepixels(const Surface& a, const Surface& b) {
    return a.devicewidth() == b.devicewidth() && a.deviceheight() == b.deviceheight() &&
           std::equal(a.data(), a.data() + size_t(a.stride()) * a.deviceheight(), b.data());
}

// A small picture with a different colour at every pixel, at a scale.
Surface pattern(int scale) {
    Surface p(6, 5, Rgb{}, scale);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) p.setpixel(x, y, Rgb{uint8_t(40 * x), uint8_t(50 * y), 77});
    return p;
}

}  // namespace

// At scale n every drawing operation takes logical pixels and paints the
// picture that scale 1 paints, each pixel as its n x n block: sharp, and at n
// times the size. Each scene crosses the edges somewhere, and the rectangles
// are narrow at scale 1 and wide at 2 and 3, where filling changes method.
TEST(Surface, AtAScaleEachPixelIsItsBlock) {
    const std::pair<const char*, void (*)(Surface&)> scenes[] = {
        {"rects",
         [](Surface& s) {
             s.fillrect(Rect{-2, 3, 9, 7}, W), s.fillrect(Rect{3, -2, 12, 20}, Rgb{1, 2, 3});
         }},
        {"pixels",
         [](Surface& s) {
             s.setpixel(0, 0, W), s.setpixel(23, 15, W), s.setpixel(24, 3, W);
             s.setpixel(5, 7, Rgb{9, 8, 7});
         }},
        {"thin lines",
         [](Surface& s) {
             s.line({-3, 2}, {30, 11}, W), s.line({4, 15}, {7, 0}, W), s.line({2, 9}, {20, 9}, W);
         }},
        {"wide lines",
         [](Surface& s) {
             s.line({0, 0}, {17, 13}, W, 3), s.line({22, 1}, {22, 1}, W, 2);
         }},
        {"polylines",
         [](Surface& s) {
             const Point path[5] = {{1, 1}, {9, 2}, {9, 2}, {4, 14}, {22, 9}};
             s.polyline(path, 5, W);
             s.polyline(path + 1, 4, Rgb{0, 200, 0}, 2);
             s.moveto(23, 0), s.lineto(12, 5, Rgb{0, 0, 200}), s.lineto(12, 15, W, 3);
         }},
        {"blit", [](Surface& s) { s.blit(-1, 12, 6, 5, pattern(s.scale()), 0, 0); }},
        {"blit from scale 1", [](Surface& s) { s.blit(17, 2, 6, 5, pattern(1), 1, 1); }},
        {"blit onto itself",
         [](Surface& s) {
             s.blit(3, 3, 6, 5, pattern(s.scale()), 0, 0), s.blit(10, 8, 6, 5, s, 3, 3);
         }},
    };
    for (const auto& [name, draw] : scenes) {
        Surface one(24, 16, Rgb{30, 30, 30});
        draw(one);
        for (int n : {2, 3}) {
            Surface scaled(24, 16, Rgb{30, 30, 30}, n);
            draw(scaled);
            EXPECT_TRUE(samepixels(devicepixels(scaled), blownup(one, n))) << name << " at " << n;
            EXPECT_EQ(scaled.getpixel(5, 7), one.getpixel(5, 7)) << name << " at " << n;
        }
    }
}

// A picture made pixel by pixel at twice its size keeps its device pixels
// through a blit onto a surface of scale 2: it is not a blown-up copy.
TEST(Surface, PicturesMadeAtTheScaleStaySharp) {
    Surface art(13, 9);  // odd sides: the last column and row are dropped
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x) art.setpixel(x, y, Rgb{uint8_t(x), uint8_t(y), 5});
    const Surface sharp = Surface::fromdevice(art, 2);
    EXPECT_EQ(sharp.width(), 6);
    EXPECT_EQ(sharp.height(), 4);
    Surface s(8, 8, Rgb{}, 2);
    s.blit(1, 2, 6, 4, sharp, 0, 0);
    const Surface device = devicepixels(s);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(device.at(2 + x, 4 + y), art.at(x, y)) << x << "," << y;
    EXPECT_EQ(Surface(2, 2, Rgb{}, 0).scale(), 1);
    EXPECT_EQ(Surface(2, 2, Rgb{}, 99).scale(), Surface::kMaxScale);
}

TEST(Surface, RectangleHelpers) {
    EXPECT_TRUE(intersect(Rect{0, 0, 2, 2}, Rect{2, 0, 4, 2}).empty());
    EXPECT_EQ(intersect(Rect{0, 0, 3, 3}, Rect{1, 1, 5, 5}), (Rect{1, 1, 3, 3}));
    EXPECT_EQ(unite(Rect{}, Rect{1, 1, 2, 2}), (Rect{1, 1, 2, 2}));
    EXPECT_EQ(unite(Rect{0, 5, 1, 6}, Rect{3, 1, 4, 2}), (Rect{0, 1, 4, 6}));
    Rect r{1, 1, 3, 3};
    EXPECT_TRUE(r.contains(1, 1));
    EXPECT_FALSE(r.contains(3, 2));
}

// A press anywhere inside logical pixel (x, y) acts at (x, y), at every
// scale, also left of and above the client area, where a drag that grabbed
// the pointer goes on.
TEST(Surface, DevicePositionsActAtTheLogicalPixelTheyLieIn) {
    for (int n = 1; n <= 3; ++n)
        for (int x : {-2, -1, 0, 1, 7, 799})
            for (int y : {-1, 0, 5, 639})
                for (int dy = 0; dy < n; ++dy)
                    for (int dx = 0; dx < n; ++dx) {
                        const Message m =
                            Message::devicemouse(Msg::lbuttondown, x * n + dx, y * n + dy, n);
                        const Message want = Message::mouse(Msg::lbuttondown, x, y);
                        ASSERT_EQ(m.msg, want.msg);
                        ASSERT_EQ(m.x, want.x) << n << ": " << x << "," << y << " +" << dx;
                        ASSERT_EQ(m.y, want.y) << n << ": " << x << "," << y << " +" << dy;
                    }
    // A device rectangle reaches the logical pixels it touches.
    EXPECT_EQ(tological(Rect{3, 1, 6, 2}, 2), (Rect{1, 0, 3, 1}));
    EXPECT_EQ(tological(Rect{-3, 0, 3, 3}, 3), (Rect{-1, 0, 1, 1}));
    EXPECT_TRUE(tological(Rect{2, 2, 2, 5}, 2).empty());
}
