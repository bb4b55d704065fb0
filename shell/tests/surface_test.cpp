#include "shell/surface.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

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

TEST(Surface, WidePens) {
    Surface two(8, 6);
    two.line({3, 2}, {4, 2}, W, 2);  // one pixel visited: square x-1..x, y-1..y
    EXPECT_EQ(painted(two), (std::set<std::pair<int, int>>{{2, 1}, {3, 1}, {2, 2}, {3, 2}}));

    Surface three(8, 6);
    three.line({3, 2}, {4, 2}, W, 3);  // x-1..x+1
    std::set<std::pair<int, int>> sq;
    for (int y = 1; y <= 3; ++y)
        for (int x = 2; x <= 4; ++x) sq.insert({x, y});
    EXPECT_EQ(painted(three), sq);

    Surface vert(6, 8);
    vert.line({2, 1}, {2, 4}, W, 2);  // a 2-wide vertical band, rows 0..3
    std::set<std::pair<int, int>> band;
    for (int y = 0; y <= 3; ++y) band.insert({1, y}), band.insert({2, y});
    EXPECT_EQ(painted(vert), band);

    Surface edge(3, 3);
    edge.line({0, 0}, {1, 0}, W, 3);  // clipped at the corner
    EXPECT_EQ(painted(edge), (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
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
