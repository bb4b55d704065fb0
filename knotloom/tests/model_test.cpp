#include "model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace knotloom {
namespace {

// The active channel set up with `user` user points in the default layout,
// solved, as the points dialog leaves it.
Model withcount(int ch, int user) {
    Model m;
    dpinit(m);
    m.cindex = ch;
    m.trackpos[ch] = user;
    m.nd[ch] = user + 4;
    matrixcalc(m, 0);
    cpcalc(m);
    return m;
}

// The cubic B-spline of the active channel at parameter T, evaluated with
// the Cox-de Boor recursion on the basis functions: a different route from
// the program's de Boor evaluation. At T = nd - 1 the last basis function is
// 1 (the clamped end).
void evaluate(const Model& m, double T, double& x, double& y) {
    const int ch = m.cindex, nk = m.nk[ch], ncp = m.nd[ch] + 2;
    const double* K = m.knot[ch];
    x = y = 0;
    if (T >= K[nk - 1]) {
        x = m.cp[ch][ncp - 1][0];
        y = m.cp[ch][ncp - 1][1];
        return;
    }
    std::vector<double> N(nk, 0.0);
    for (int i = 0; i < nk - 1; ++i) N[i] = K[i] <= T && T < K[i + 1] ? 1 : 0;
    for (int p = 1; p <= 3; ++p)
        for (int i = 0; i + p + 1 < nk; ++i) {
            double a = K[i + p] > K[i] ? (T - K[i]) / (K[i + p] - K[i]) * N[i] : 0;
            double b = K[i + p + 1] > K[i + 1]
                           ? (K[i + p + 1] - T) / (K[i + p + 1] - K[i + 1]) * N[i + 1]
                           : 0;
            N[i] = a + b;
        }
    for (int j = 0; j < ncp; ++j) {
        x += N[j] * m.cp[ch][j][0];
        y += N[j] * m.cp[ch][j][1];
    }
}

TEST(Knots, ClampedUniformForEveryCount) {
    Model m = withcount(0, 3);
    ASSERT_EQ(m.nk[0], 13);
    const double k7[13] = {0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 6, 6, 6};
    for (int i = 0; i < 13; ++i) EXPECT_EQ(m.knot[0][i], k7[i]) << i;

    const double k13[19] = {0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 12, 12, 12};
    Model s;
    dpinit(s);
    for (int ch = 0; ch < 3; ++ch)
        for (int i = 0; i < 19; ++i) EXPECT_EQ(s.knot[ch][i], k13[i]) << ch << " " << i;
    // Rebuilding for 13 points gives the start-up vector again.
    Model r = withcount(1, 9);
    for (int i = 0; i < 19; ++i) EXPECT_EQ(r.knot[1][i], k13[i]) << i;

    for (int user = 3; user <= 9; ++user) {
        Model c = withcount(2, user);
        const int nd = user + 4, nk = c.nk[2];
        ASSERT_EQ(nk, nd + 6);
        EXPECT_EQ(c.knot[2][3], 0);
        EXPECT_EQ(c.knot[2][4], 1);
        for (int k = nk - 4; k < nk; ++k) EXPECT_EQ(c.knot[2][k], nd - 1) << user;
    }
}

TEST(Matrix, SevenPointsRowByRow) {
    Model m = withcount(0, 3);
    const double s = 1.0 / 6, t = 2.0 / 3, e = 7.0 / 12, q = 0.25;
    const double want[7][15] = {
        {3, -1},
        {q, e, s},
        {0, s, t, s},
        {0, 0, s, t, s},
        {0, 0, 0, s, t, s},
        {0, 0, 0, 0, s, e, q},
        {0, 0, 0, 0, 0, -1, 3},
    };
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 15; ++c) EXPECT_EQ(m.M1[0][r][c], want[r][c]) << r << "," << c;
}

TEST(Matrix, ShorterCountClearsTheOldBand) {
    // Going from 13 to 7 points must not leave entries of the wider matrix
    // in the rows still in use.
    Model m = withcount(0, 9);
    m.nd[0] = 7;
    matrixcalc(m, 0);
    for (int r = 0; r < 7; ++r)
        for (int c = 7; c < 15; ++c) EXPECT_EQ(m.M1[0][r][c], 0) << r << "," << c;
    EXPECT_EQ(m.M1[0][6][6], 3);
}

TEST(Layout, DefaultXForEveryCount) {
    const std::vector<std::vector<double>> want = {
        {64, 64, 128, 512, 895, 960, 960},
        {64, 64, 128, 384, 640, 895, 960, 960},
        {64, 64, 128, 320, 512, 704, 895, 960, 960},
        {64, 64, 128, 281, 434, 587, 740, 895, 960, 960},
        {64, 64, 128, 256, 384, 512, 640, 768, 895, 960, 960},
        {64, 64, 128, 237, 346, 455, 564, 673, 782, 895, 960, 960},
        {64, 64, 128, 224, 320, 416, 512, 608, 704, 800, 895, 960, 960},
    };
    for (int user = 3; user <= 9; ++user) {
        Model m = withcount(0, user);
        const auto& w = want[user - 3];
        ASSERT_EQ(int(w.size()), m.nd[0]);
        for (size_t i = 0; i < w.size(); ++i) EXPECT_EQ(m.dp[0][i][0], w[i]) << user << " " << i;
    }
}

TEST(Layout, HeightsAlternatePerChannel) {
    Model m = withcount(0, 3);
    const double red3[7] = {256, 256, 639, 384, 639, 256, 256};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(m.dp[0][i][1], red3[i]) << i;

    Model s;
    dpinit(s);
    const double y[3][13] = {
        {256, 256, 639, 384, 639, 384, 639, 384, 639, 384, 639, 256, 256},
        {384, 384, 512, 256, 512, 256, 512, 256, 512, 256, 512, 384, 384},
        {256, 256, 384, 128, 384, 128, 384, 128, 384, 128, 384, 256, 256},
    };
    for (int ch = 0; ch < 3; ++ch)
        for (int i = 0; i < 13; ++i) {
            EXPECT_EQ(s.dp[ch][i][1], y[ch][i]) << ch << " " << i;
            // The marker is centred on the point.
            shell::Rect r = s.drect[ch][i];
            EXPECT_EQ(r.left, int(s.dp[ch][i][0]) - 4);
            EXPECT_EQ(r.bottom, int(y[ch][i]) + 5);
        }
    // dpinit leaves the counts alone.
    EXPECT_EQ(s.nd[0], 13);
    EXPECT_EQ(s.nk[2], 19);
}

TEST(Layout, SkipKeepsDraggedPoints) {
    Model m;
    dpinit(m);
    m.cindex = 1;
    m.dp[1][5][0] = 401.5;
    m.dp[1][5][1] = 300.25;
    m.drect[1][5] = shell::Rect{1, 2, 3, 4};
    double before[13][2];
    std::copy(&m.dp[1][0][0], &m.dp[1][0][0] + 26, &before[0][0]);
    matrixcalc(m, 1);
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(m.dp[1][i][0], before[i][0]);
        EXPECT_EQ(m.dp[1][i][1], before[i][1]);
    }
    EXPECT_EQ(m.drect[1][5], (shell::Rect{1, 2, 3, 4}));
}

TEST(Rectangles, TruncateTowardZero) {
    Model m;
    m.cindex = 2;
    setclickrect(m, 3, 10.9, 20.2, 0);
    EXPECT_EQ(m.drect[2][3], (shell::Rect{6, 16, 15, 25}));
    // Control points can lie off the window on either side.
    setclickrect(m, 4, -3.7, 904.6, 1);
    EXPECT_EQ(m.crect[2][4], (shell::Rect{-7, 900, 2, 909}));
    EXPECT_EQ(m.drect[2][4], (shell::Rect{}));
}

TEST(Solve, ThreeUserPointsToThreeDecimals) {
    Model m = withcount(0, 3);
    const double want[9][2] = {{64, 256},     {65.432, 202},  {68.297, 94},
                               {46.810, 904}, {512.461, 124}, {975.342, 904},
                               {956.166, 94}, {958.721, 202}, {960, 256}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(m.cp[0][i][0], want[i][0], 0.0005) << i;
        EXPECT_NEAR(m.cp[0][i][1], want[i][1], 0.0005) << i;
        EXPECT_EQ(m.crect[0][i].left, int(m.cp[0][i][0]) - 4) << i;
        EXPECT_EQ(m.crect[0][i].top, int(m.cp[0][i][1]) - 4) << i;
    }
    // The fixed pivots: an exact solve would give 975.344 and 956.164.
    EXPECT_LT(m.cp[0][5][0], 975.343);
    EXPECT_GT(m.cp[0][6][0], 956.165);
}

TEST(Solve, CurveMeetsItsDataPoints) {
    for (int user = 3; user <= 9; ++user)
        for (int ch = 0; ch < 3; ++ch) {
            Model m = withcount(ch, user);
            // Move the free points off the default heights as a drag would.
            for (int i = 2; i <= m.nd[ch] - 3; ++i) m.dp[ch][i][1] = 128 + (i * 137) % 511;
            cpcalc(m);
            for (int i = 0; i < m.nd[ch]; ++i) {
                double x, y;
                evaluate(m, i, x, y);
                EXPECT_NEAR(x, m.dp[ch][i][0], 0.01) << user << " " << ch << " " << i;
                EXPECT_NEAR(y, m.dp[ch][i][1], 0.01) << user << " " << ch << " " << i;
            }
        }
}

TEST(Sampling, StartUpRedCurve) {
    Model m = withcount(0, 9);
    CurveSamples s;
    curvecalc(m, s);
    ASSERT_GT(s.count, 700);
    // The polyline starts at the left end point (the solve meets it to a
    // thousandth of a pixel, which truncation may take one pixel down) and
    // every column of the palette range is reached.
    EXPECT_NEAR(s.pts[0].x, 64, 1);
    EXPECT_NEAR(s.pts[0].y, 256, 1);
    std::vector<bool> reached(768, false);
    for (int i = 0; i < s.count; ++i) {
        EXPECT_GE(s.pts[i].y, 129);
        EXPECT_LE(s.pts[i].y, 639);
        if (s.pts[i].x >= 128 && s.pts[i].x <= 895) reached[s.pts[i].x - 128] = true;
    }
    for (int c = 0; c < 768; ++c) EXPECT_TRUE(reached[c]) << c;
    // Through (128, 639) and (224, 384).
    EXPECT_EQ(m.spectrum[0][0], 0);
    EXPECT_NEAR(m.spectrum[96][0], 127, 1);
    // Only the active channel's columns change.
    for (int c = 0; c < 768; ++c) {
        EXPECT_EQ(m.spectrum[c][1], 0);
        EXPECT_EQ(m.spectrum[c][2], 0);
    }
}

TEST(Sampling, OneSamplePerColumnExceptInTheLastSpan) {
    Model m = withcount(1, 5);
    CurveSamples s;
    curvecalc(m, s);
    // Up to the last user point (x 895), no two drawn samples share a column.
    int i = 1;
    for (; i < s.count && s.pts[i - 1].x < 895; ++i) EXPECT_NE(s.pts[i].x, s.pts[i - 1].x) << i;
    // From there to the right end point every sample is drawn: runs appear.
    int runs = 0;
    for (; i < s.count; ++i) runs += s.pts[i].x == s.pts[i - 1].x;
    EXPECT_GT(runs, 50);
    EXPECT_NEAR(s.pts[s.count - 1].x, 960, 1);  // the right end point
    // Of a run in column 767 (x 895) the last sample's value stays.
    int last = -1;
    for (int k = 0; k < s.count; ++k)
        if (s.pts[k].x == 895) last = k;
    ASSERT_GE(last, 0);
    EXPECT_EQ(m.spectrum[767][1], (639 - s.pts[last].y) / 2);
}

TEST(Sampling, ClampsAndMargins) {
    Model m = withcount(2, 4);
    // Points hard against the top and bottom make the curve overshoot both.
    double(*D)[2] = m.dp[2];
    D[2][1] = 128;
    D[3][1] = 639;
    D[4][1] = 128;
    D[5][1] = 639;
    cpcalc(m);
    for (int c = 0; c < 768; ++c) m.spectrum[c][2] = 77;
    CurveSamples s;
    curvecalc(m, s);
    int top = 0, bottom = 0, margin = 0;
    for (int i = 0; i < s.count; ++i) {
        const shell::Point p = s.pts[i];
        ASSERT_GE(p.y, 129);
        ASSERT_LE(p.y, 639);
        top += p.y == 129;
        bottom += p.y == 639;
        margin += p.x < 128 || p.x > 895;
    }
    EXPECT_GT(top, 0);
    EXPECT_GT(bottom, 0);
    EXPECT_GT(margin, 0);
    // Each stored column is the value of its (first) sample: 255 along the
    // top, 0 along the bottom.
    for (int i = 0; i < s.count; ++i) {
        const shell::Point p = s.pts[i];
        if (p.x < 128 || p.x >= 895) continue;
        if (i > 0 && s.pts[i - 1].x == p.x) continue;
        EXPECT_EQ(m.spectrum[p.x - 128][2], (639 - p.y) / 2) << p.x;
    }
    int full = 0, zero = 0;
    for (int c = 0; c < 768; ++c) full += m.spectrum[c][2] == 255, zero += m.spectrum[c][2] == 0;
    EXPECT_GT(full, 0);
    EXPECT_GT(zero, 0);
}

TEST(Palette, RoundedMeansAndSingleColumnEnds) {
    Model m;
    for (int c = 0; c < 768; ++c) m.spectrum[c][0] = m.spectrum[c][1] = m.spectrum[c][2] = 200;
    m.spectrum[0][0] = 7;
    m.spectrum[767][2] = 9;
    // Entry 1 from columns 3, 4 and 5.
    m.spectrum[3][0] = 10, m.spectrum[4][0] = 10, m.spectrum[5][0] = 11;
    m.spectrum[3][1] = 10, m.spectrum[4][1] = 11, m.spectrum[5][1] = 11;
    m.spectrum[3][2] = 0, m.spectrum[4][2] = 0, m.spectrum[5][2] = 255;
    // Columns 765 and 766 never enter the palette.
    m.spectrum[765][1] = m.spectrum[766][1] = 0;
    palettecalc(m);
    EXPECT_EQ(m.palette[0][0], 7);
    EXPECT_EQ(m.palette[255][2], 9);
    EXPECT_EQ(m.palette[1][0], 10);
    EXPECT_EQ(m.palette[1][1], 11);
    EXPECT_EQ(m.palette[1][2], 85);
    EXPECT_EQ(m.palette[254][1], 200);
    EXPECT_EQ(m.palette[255][1], 200);
}

}  // namespace
}  // namespace knotloom
