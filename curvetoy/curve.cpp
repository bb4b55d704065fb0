#include "curve.h"

#include <algorithm>
#include <cstring>

#include "shell/raster/paint.h"

namespace curvetoy {

using shell::Point;
using shell::Rect;
using shell::Rgb;
using shell::Surface;

namespace {

constexpr double kStart[nd][2] = {{0, 384},   {128, 256}, {256, 512}, {384, 256}, {512, 512},
                                  {640, 256}, {768, 512}, {896, 256}, {1023, 384}};
constexpr Rgb kPenColor[2] = {{0, 128, 224}, {0, 160, 64}};
constexpr Rgb kMarkerColor[2] = {{255, 0, 0}, {255, 255, 0}};
constexpr Rgb kGrid{192, 192, 192};
constexpr Rgb kHandle{255, 128, 255};
constexpr Rgb kLink{0, 128, 0};

Matrix makeM1() {
    Matrix a{};
    a.m[0][0] = 2;
    a.m[0][1] = -1;
    for (int j = 1; j <= 7; ++j) {
        a.m[2 * j - 1][2 * j - 1] = 1;  // the anchor is the midpoint of its handles
        a.m[2 * j - 1][2 * j] = 1;
        a.m[2 * j][2 * j - 2] = 1;  // equal curvature on both sides of the anchor
        a.m[2 * j][2 * j - 1] = -2;
        a.m[2 * j][2 * j] = 2;
        a.m[2 * j][2 * j + 1] = -1;
    }
    a.m[15][14] = -1;
    a.m[15][15] = 2;
    return a;
}

}  // namespace

const Matrix M1 = makeM1();

void setclickrect(SplinePoint* p, double x, double y) {
    int ix = static_cast<int>(x), iy = static_cast<int>(y);
    p->crect = Rect{ix - 4, iy - 4, ix + 5, iy + 5};
}

void Demo::setscale(int scale) {
    for (int i = 0; i < 2; ++i) marker[i] = shell::makemarker(kMarkerColor[i], scale);
}

Demo::Demo() {
    setscale(1);
    for (int i = 0; i < nd; ++i) {
        dp[i].x = kStart[i][0];
        dp[i].y = kStart[i][1];
        setclickrect(&dp[i], dp[i].x, dp[i].y);
    }
    cpcalc();
}

void Demo::cpcalc() {
    Matrix w = M1;
    // Right-hand sides: x in column 16, y in column 17.
    auto rhs = [&](int row, double x, double y) {
        w.m[row][16] = x;
        w.m[row][17] = y;
    };
    rhs(0, dp[0].x, dp[0].y);
    for (int j = 1; j <= 7; ++j) {
        rhs(2 * j - 1, 2 * dp[j].x, 2 * dp[j].y);
        rhs(2 * j, 0, 0);
    }
    rhs(15, dp[8].x, dp[8].y);

    // Gaussian elimination in row order without pivoting: every pivot of this
    // system is non-zero. Each row reaches at most two rows down and three
    // columns right, so only that band is touched.
    for (int i = 0; i < nc; ++i) {
        for (int r = i + 1; r < std::min(nc, i + 3); ++r) {
            if (w.m[r][i] == 0) continue;
            double f = w.m[r][i] / w.m[i][i];
            for (int c = i; c < std::min(nc, i + 4); ++c) w.m[r][c] -= f * w.m[i][c];
            w.m[r][16] -= f * w.m[i][16];
            w.m[r][17] -= f * w.m[i][17];
        }
    }
    double q[nc][2];
    for (int i = nc - 1; i >= 0; --i) {
        for (int k = 0; k < 2; ++k) {
            double s = w.m[i][16 + k];
            for (int c = i + 1; c < std::min(nc, i + 4); ++c) s -= w.m[i][c] * q[c][k];
            q[i][k] = s / w.m[i][i];
        }
    }
    for (int i = 0; i < nc; ++i) {
        cp[i].x = q[i][0];
        cp[i].y = q[i][1];
        setclickrect(&cp[i], cp[i].x, cp[i].y);
    }
}

void Demo::draw(Surface& s) {
    s.fillrect(Rect{0, 0, kWidth, kHeight}, Rgb{});

    for (int x : {0, 128, 256, 384, 512, 640, 768, 896, 1023}) s.line({x, 127}, {x, 640}, kGrid);
    for (int y : {127, 256, 384, 512, 640}) s.line({0, y}, {1023, y}, kGrid);

    for (int k = 0; k < nd - 1; ++k) {
        const SplinePoint &p0 = dp[k], &p1 = dp[k + 1], &q0 = cp[2 * k], &q1 = cp[2 * k + 1];
        int lastx = 0, lasty = 0;
        bool first = true;
        // The parameter is accumulated in steps of 0.001, so the last sample
        // falls just short of 1: 1000 samples a segment.
        for (double t = 0; t <= 1; t += 0.001) {
            double u = 1 - t;
            double x =
                u * u * u * p0.x + 3 * t * u * u * q0.x + 3 * t * t * u * q1.x + t * t * t * p1.x;
            double y =
                u * u * u * p0.y + 3 * t * u * u * q0.y + 3 * t * t * u * q1.y + t * t * t * p1.y;
            int ux = static_cast<int>(x), uy = static_cast<int>(y);
            int cx = std::clamp(ux, 2, 1022), cy = std::clamp(uy, 129, 639);
            if (first) {
                s.moveto(cx, cy);
                first = false;
            } else if (ux != lastx || uy != lasty) {
                s.lineto(cx, cy, kPenColor[k % 2], 2);
            }
            lastx = ux;
            lasty = uy;
            spectrum[cx] = (639 - cy) / 2;
        }
    }

    // The band: a vertical 2-pixel line from y 670 to 720 per column. The pen
    // paints x - 1 ... x by y - 1 ... y at every row it visits and caps the
    // end point with the same square, so each line covers rows 669 ... 720,
    // and a column's right half is covered by the next line. Every row of the
    // band comes out the same, so its first row is painted column by column
    // and copied down, which gives the same pixels for a fraction of the work
    // on every drag step.
    constexpr int kBandTop = 670, kBandEnd = 720;
    for (int x = 2; x <= 1022; ++x) {
        int v = spectrum[x];
        s.fillrect(Rect{x - 1, kBandTop - 1, x + 1, kBandTop},
                   Rgb{0, uint8_t(255 - v), uint8_t(v)});
    }
    for (int y = kBandTop; y <= kBandEnd; ++y) s.blit(1, y, 1022, 1, s, 1, kBandTop - 1);

    if (okcp) {
        auto pt = [](const SplinePoint& c) {
            return Point{static_cast<int>(c.x), static_cast<int>(c.y)};
        };
        s.line(pt(dp[0]), pt(cp[0]), kHandle);
        for (int j = 1; j <= 7; ++j) {
            Point handle[3] = {pt(cp[2 * j - 1]), pt(dp[j]), pt(cp[2 * j])};
            s.polyline(handle, 3, kHandle);
        }
        s.line(pt(cp[15]), pt(dp[8]), kHandle);
        for (int k = 0; k <= 6; ++k) s.line(pt(cp[2 * k]), pt(cp[2 * k + 3]), kLink);
    }

    for (const auto& a : dp) s.blit(a.crect.left, a.crect.top, 9, 9, marker[0], 0, 0);
    if (okcp)
        for (const auto& c : cp) s.blit(c.crect.left, c.crect.top, 9, 9, marker[1], 0, 0);
}

}  // namespace curvetoy
