#include "curvetoy/curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using curvetoy::Demo;
using curvetoy::SplinePoint;
using shell::Rgb;

namespace {

// Residual of row `r` of the control-point system for one coordinate.
double residual(const Demo& d, int r, bool ycoord) {
    auto q = [&](int i) { return ycoord ? d.cp[i].y : d.cp[i].x; };
    auto p = [&](int i) { return ycoord ? d.dp[i].y : d.dp[i].x; };
    if (r == 0) return 2 * q(0) - q(1) - p(0);
    if (r == 15) return -q(14) + 2 * q(15) - p(8);
    if (r % 2 == 1) {
        int j = (r + 1) / 2;
        return q(2 * j - 1) + q(2 * j) - 2 * p(j);
    }
    int j = r / 2;
    return q(2 * j - 2) - 2 * q(2 * j - 1) + 2 * q(2 * j) - q(2 * j + 1);
}

void expectsolved(const Demo& d) {
    for (int r = 0; r < 16; ++r) {
        EXPECT_NEAR(residual(d, r, false), 0, 1e-9) << "row " << r;
        EXPECT_NEAR(residual(d, r, true), 0, 1e-9) << "row " << r;
    }
}

// The Bezier point of segment k at parameter t.
double bez(const Demo& d, int k, double t, bool ycoord) {
    auto v = [&](const SplinePoint& c) { return ycoord ? c.y : c.x; };
    double u = 1 - t;
    return u * u * u * v(d.dp[k]) + 3 * t * u * u * v(d.cp[2 * k]) +
           3 * t * t * u * v(d.cp[2 * k + 1]) + t * t * t * v(d.dp[k + 1]);
}

void place(Demo& d, int i, double x, double y) {
    d.dp[i].x = x;
    d.dp[i].y = y;
    curvetoy::setclickrect(&d.dp[i], x, y);
}

}  // namespace

TEST(CurvetoyModel, ControlPointsSolveTheSystem) {
    Demo d;  // the start-up zigzag
    expectsolved(d);
    // The matrix is symmetric in the zigzag: Q0 lies on the line P0..Q1 midway.
    EXPECT_DOUBLE_EQ(d.cp[0].x, (d.dp[0].x + d.cp[1].x) / 2);

    std::mt19937 rng(7);
    std::uniform_real_distribution<double> ux(0, 1023), uy(0, 767);
    for (int trial = 0; trial < 20; ++trial) {
        for (int i = 0; i < 9; ++i) place(d, i, ux(rng), uy(rng));
        d.cpcalc();
        expectsolved(d);
    }

    // Two anchors on the same spot still give finite control points.
    Demo same;
    place(same, 4, same.dp[3].x, same.dp[3].y);
    same.cpcalc();
    expectsolved(same);
    for (const auto& c : same.cp) EXPECT_TRUE(std::isfinite(c.x) && std::isfinite(c.y));
}

TEST(CurvetoyModel, CurvePassesThroughEveryAnchorSmoothly) {
    Demo d;
    for (int k = 0; k < 8; ++k) {
        EXPECT_DOUBLE_EQ(bez(d, k, 0, false), d.dp[k].x);
        EXPECT_DOUBLE_EQ(bez(d, k, 1, true), d.dp[k + 1].y);
    }
    // Slope continuity: each anchor is the midpoint of its two handles.
    for (int j = 1; j < 8; ++j) {
        EXPECT_NEAR((d.cp[2 * j - 1].x + d.cp[2 * j].x) / 2, d.dp[j].x, 1e-9);
        EXPECT_NEAR((d.cp[2 * j - 1].y + d.cp[2 * j].y) / 2, d.dp[j].y, 1e-9);
    }
}

TEST(CurvetoyModel, MarkerRectanglesAndHits) {
    SplinePoint c;
    curvetoy::setclickrect(&c, 128.9, 256.2);  // truncated first
    EXPECT_EQ(c.crect, (shell::Rect{124, 252, 133, 261}));
    shell::Point in{124, 252}, out{133, 256};
    EXPECT_TRUE(c.crect.contains(in));
    EXPECT_FALSE(c.crect.contains(out));
}

TEST(CurvetoyModel, BandShowsTheHeightOfTheCurve) {
    Demo d;
    shell::Surface s(1024, 768);
    d.draw(s);
    // Under a high anchor (y 256) the value is (639 - 256) / 2 = 191.
    EXPECT_EQ(d.spectrum[384], 191);
    // Under a low anchor (y 512) the last sample in the column wins: the one
    // just past the anchor, a hair higher, gives (639 - 511) / 2 rather than
    // the anchor's own 63.
    EXPECT_EQ(d.spectrum[512], 64);
    // A 2-pixel pen: column x shows the line drawn for column x + 1.
    EXPECT_EQ(s.at(383, 700), (Rgb{0, uint8_t(255 - d.spectrum[384]), uint8_t(d.spectrum[384])}));
    EXPECT_EQ(s.at(1022, 669),
              (Rgb{0, uint8_t(255 - d.spectrum[1022]), uint8_t(d.spectrum[1022])}));
    EXPECT_EQ(s.at(1023, 500), (Rgb{192, 192, 192}));  // the grid's right edge
    // Each column's line runs from row 670 to 720, and the 2-pixel pen covers
    // the row above every visited pixel and its end point: the band fills
    // rows 669 ... 720 of columns 1 ... 1022.
    auto band = [&](int x) {
        const int v = d.spectrum[std::min(x + 1, 1022)];
        return Rgb{0, uint8_t(255 - v), uint8_t(v)};
    };
    for (int y : {668, 669, 720, 721})
        for (int x = 0; x < 1024; ++x) {
            const bool in = x >= 1 && x <= 1022 && y >= 669 && y <= 720;
            ASSERT_EQ(s.at(x, y), in ? band(x) : Rgb{}) << x << "," << y;
        }

    // Anchors beyond the plot flatten the drawn curve: pure blue at the top,
    // pure green at the bottom.
    place(d, 3, 384, 20);
    place(d, 5, 640, 760);
    d.cpcalc();
    d.draw(s);
    EXPECT_EQ(d.spectrum[384], 255);
    EXPECT_EQ(d.spectrum[640], 0);
    EXPECT_EQ(s.at(383, 700), (Rgb{0, 0, 255}));
    EXPECT_EQ(s.at(639, 700), (Rgb{0, 255, 0}));
    for (int y = 0; y < 129; ++y) EXPECT_NE(s.at(384, y), (Rgb{0, 128, 224})) << y;

    // The last anchor below the plot: the last segment runs along the bottom
    // row and ends clamped at (1022, 639), where no marker covers it. The pen
    // covers that end point: its square reaches column 1022, next to the
    // grid's right edge.
    place(d, 8, 1023, 760);
    d.cpcalc();
    d.draw(s);
    for (int x = 1010; x <= 1022; ++x)
        for (int y = 637; y <= 639; ++y)
            EXPECT_EQ(s.at(x, y), y >= 638 ? (Rgb{0, 160, 64}) : Rgb{}) << x << "," << y;
}

TEST(CurvetoyModel, ColumnsKeepTheirValuesBetweenDrawings) {
    Demo d;
    shell::Surface s(1024, 768);
    d.draw(s);
    int before = d.spectrum[30];
    ASSERT_NE(before, 0);
    // Pull the first anchor right so that the curve no longer reaches the
    // first columns: they keep what the previous drawing left.
    place(d, 0, 120, 384);
    d.cpcalc();
    d.draw(s);
    EXPECT_EQ(d.spectrum[30], before);
    EXPECT_EQ(s.at(29, 700), (Rgb{0, uint8_t(255 - before), uint8_t(before)}));
    Demo fresh;
    place(fresh, 0, 120, 384);
    fresh.cpcalc();
    fresh.draw(s);
    EXPECT_EQ(fresh.spectrum[30], 0);  // never reached: still the start value
}

TEST(CurvetoyModel, ControlPointDisplay) {
    Demo d;
    shell::Surface s(1024, 768);
    d.okcp = 1;
    d.draw(s);
    int yellow = 0;
    for (const auto& c : d.cp)
        if (s.at(int(c.x), int(c.y)) == (Rgb{255, 255, 0})) ++yellow;
    EXPECT_EQ(yellow, 16);
    // The anchor dots are drawn before the control-point dots but after the
    // handles: an anchor's centre stays red.
    for (const auto& a : d.dp) EXPECT_EQ(s.at(int(a.x), int(a.y)), (Rgb{255, 0, 0}));
    // A pink pixel on the first handle, a green one on a link line.
    shell::Surface h(1024, 768);
    h.line({int(d.dp[0].x), int(d.dp[0].y)}, {int(d.cp[0].x), int(d.cp[0].y)}, Rgb{1, 1, 1});
    int pink = 0;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            if (h.at(x, y) == (Rgb{1, 1, 1}) && s.at(x, y) == (Rgb{255, 128, 255})) ++pink;
    EXPECT_GT(pink, 10);
}
