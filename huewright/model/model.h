// The palette model of the gradient designer: the three channel records, the
// palette they make and the four curve generators.
//
// Nothing here knows about windows: the main window owns one Model, and its
// channel editor calls into it:
//   1. Model m;               start-up records and flags
//   2. m.startuppalette();    calcsine() and the three start-up sine columns
//   3. each apply of the channel being edited: m.cndx = channel;
//      m.calcchannel(working record).
//
// Arithmetic: every curve follows one rule. Expressions are evaluated in the
// x87 80-bit type (`long double`), every named quantity is stored as a
// `double`, library functions take doubles and return extended results, and
// every conversion to an integer truncates toward zero. These rules decide the
// last unit of many palette values, so the code spells out each rounding
// (arith.h). Where a faster route is taken (the cubic Bezier), it is proven
// to give the same values and tested against the plain rule.
#pragma once

#include <cstdint>

#include "huewright/model/parameters.h"
#include "shell/raster/palette.h"

namespace huewright {

struct Model {
    Model();

    // --- state ---
    Parameters p[3];     // accepted records, red, green, blue
    int cndx = 0;        // the channel every synthesis writes: 0 red, 1 green, 2 blue
    int stretchflag[3];  // per channel: Bezier control heights stretched
    int okdisplay[3];    // per channel: column is the synthesis of its record
    shell::Palette palette{};
    uint8_t sinetable[2][256] = {};  // row 0 phase 1, row 1 phase 2
    uint8_t arctable[256] = {};      // the arc of the last calcarc

    // --- synthesis ---
    // Recomputes column cndx of the palette from ps (the channel editor's
    // working record), with the generator of the curve type ps.ct selects
    // (curvetypes.h). No other column changes.
    void calcchannel(const Parameters& ps);
    // Builds both rows of sinetable. Needed before the first sine synthesis
    // (startuppalette calls it); every call gives the same tables, so the
    // sine drag may call it again.
    void calcsine();
    // The sine column of ps into column cndx.
    void sinecolumn(const Parameters& ps);
    // Fills arctable with the arc from anchor (ends) to vertex (middle).
    void calcarc(int anchor, int vertex);
    // One- or two-segment line into column cndx.
    void calcline(int Ln, int L0, int L255, int Lmx, int Lmy);
    // Quadratic (bd 0) or cubic Bezier into column cndx; reads stretchflag[cndx].
    void calcBezier(int bd, int b0, int b255, int bc1x, int bc1y, int bc2x, int bc2y);
    // Window creation: calcsine and the sine columns of the three records p
    // (the start-up palette). cndx is left as it was.
    void startuppalette();
};

// The cubic solver of the Bezier curve: one real root of
// A t^3 + B t^2 + C t + D = 0, in [0, 1] when the chosen branch has one there.
double cubicroots(double A, double B, double C, double D);
// The real cube root of c of either sign.
double cuberootreal(double c);

// One Bezier column, as calcBezier computes it, into out[0 ... 255]. With
// shortcut the cubic skips the extended library functions wherever that
// provably leaves the value unchanged; without it every index follows the
// rule step by step (the reference for tests and benchmarks).
void beziercolumn(int bd, int b0, int b255, int bc1x, int bc1y, int bc2x, int bc2y, int stretch,
                  uint8_t* out, bool shortcut = true);

}  // namespace huewright
