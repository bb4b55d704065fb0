// The demonstration spline: nine anchors joined by eight cubic Bezier
// segments whose control points make a natural cubic spline, drawn with a
// colour band of the curve's height per column.
#pragma once

#include "shell/raster/surface.h"

namespace curvetoy {

struct SplinePoint {
    double x = 0, y = 0;
    shell::Rect crect{};  // 9 x 9 marker and hit area
};

constexpr int nd = 9;             // anchors P0 ... P8
constexpr int nc = 2 * (nd - 1);  // control points Q0 ... Q15
constexpr int kWidth = 1024, kHeight = 768;

// The marker square around a point, from trunc(x) - 4 to trunc(x) + 5.
void setclickrect(SplinePoint* p, double x, double y);

struct Demo {
    SplinePoint dp[nd];
    SplinePoint cp[nc];
    int spectrum[kWidth] = {};  // height 0..255 the curve last had in each column
    int okcp = 0;               // control points shown
    shell::Surface marker[2];   // red anchor dot, yellow control-point dot

    Demo();
    // Draws the markers at `scale`, for a window of that scale (1 at first).
    void setscale(int scale);
    // Solves the 16 control points from the anchors and sets their rectangles.
    void cpcalc();
    // Redraws the whole picture into s.
    void draw(shell::Surface& s);
};

// The fixed coefficients of the control-point system: 16 rows of the 16
// unknowns, then the x and y right-hand sides (filled at each solution).
struct Matrix {
    double m[nc][nc + 2];
};
extern const Matrix M1;

}  // namespace curvetoy
