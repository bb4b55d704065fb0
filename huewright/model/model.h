// The palette model of the gradient designer: the three channel records, the
// palette they make, the four curve generators, the control points of the
// curve display and the Mandelbrot preview.
//
// Nothing here knows about windows: the main window owns one Model and calls
// into it, in this order:
//   1. Model m;               start-up records and flags, points placed
//   2. m.startuppalette();    calcsine() and the three start-up sine columns
//   3. the Parameters dialog's apply step: m.calcchannel(m.ptemp); after
//      edits of the x shift or the Bezier controls:
//      m.setcontrolpoints(m.cndx, m.ptemp);
//   4. a press in the curve display while dragging is enabled:
//      m.presscontrolpoint(...); each move of a drag: m.dragstep(...);
//   5. the preview: m.mset(g_vhdc, rowdone); the curve redraw clears msetflag.
//
// Arithmetic: every curve follows one rule. Expressions are evaluated in the
// x87 80-bit type (`long double`), every named quantity is stored as a
// `double`, library functions take doubles and return extended results, and
// every conversion to an integer truncates toward zero. These rules decide the
// last unit of many palette values, so the code spells out each rounding
// (arith.h). Where a faster route is taken (the cubic Bezier, the preview),
// it is proven to give the same values and tested against the plain rule.
#pragma once

#include <cstdint>
#include <functional>

#include "huewright/model/parameters.h"
#include "shell/palette.h"
#include "shell/surface.h"

namespace huewright {

// A draggable point of the curve display: where it sits and where a press
// grabs it.
struct CONTROLPOINT {
    shell::Point cpt;   // client pixels
    shell::Rect crect;  // hit rectangle; a press hits only strictly inside it
};

// The hit test every mouse press of the main window uses: a point hits only
// strictly inside, so points on the outline never do.
inline int pointinrect(shell::Point mp, const shell::Rect& r) {
    return (r.left < mp.x && mp.x < r.right && r.top < mp.y && mp.y < r.bottom) ? 1 : 0;
}

// The plot mapping of the curve display: index i at x = 501 + i, value v at
// y = 401 - v.
constexpr int kCurveLeft = 501;
constexpr int kCurveBase = 401;

// The Mandelbrot preview: 257 x 257 points whose row j lands on screen row
// 145 + j, drawn inside the curve display at x 500 ... 757.
constexpr int kMsetSize = 257;
constexpr int kMsetTop = 145;
constexpr int kMsetLeft = 500;
constexpr int kMsetMaxIter = 512;
const shell::Rgb kMsetEscaped{24, 24, 24};

// The outcome of one point of the preview.
struct MsetPoint {
    bool escaped;    // left the radius 2 within 512 iterations
    int iterations;  // how many were done
    int index;       // palette entry 1 ... 255 for a point of the set, 0 if escaped
    double zx, zy;   // the final z
};

// The exact rule for one preview point (column i, row j), one iteration after
// the other. The preview uses a faster route to the same answers; this is
// its reference.
MsetPoint msetpoint(int i, int j);

// How the preview computes its rows; every kernel gives the same entries.
enum class MsetKernel {
    best,   // the fastest this processor runs (AVX2 lanes where available)
    lanes,  // scalar lanes in extended arithmetic, with cycle detection
    rule,   // msetpoint for every point
};
// Palette entries of the 257 points of row j: 0 for an escaped point, else
// the entry 1 ... 255 that colours it. When finalz is given, it receives the
// final z (zx, zy) of every point of the set, two doubles a point.
void msetrow(int j, uint8_t* entries, MsetKernel kernel = MsetKernel::best,
             double* finalz = nullptr);

struct Model {
    Model();

    // --- state ---
    PARAMETERS p[3];     // accepted records, red, green, blue
    PARAMETERS ptemp;    // working copy while the Parameters dialog is open
    int cndx = 0;        // current channel: every synthesis writes its column
    int stretchflag[3];  // per channel: Bezier control heights stretched
    int okdisplay[3];    // per channel: column is the synthesis of its record
    int msetflag = 0;    // the preview is on screen (cleared by the curve redraw)
    shell::Palette palette{};
    uint8_t sinetable[2][256] = {};  // row 0 phase 1, row 1 phase 2
    uint8_t arctable[256] = {};      // the arc of the last calcarc
    CONTROLPOINT scp[3];             // sine control point per channel
    CONTROLPOINT cp[3][2];           // Bezier controls 1 and 2 per channel
    int cpindex = 0;                 // the Bezier control being dragged

    // --- synthesis ---
    // Recomputes column cndx of the palette from ps (the callers pass ptemp),
    // with the curve that ps.ct selects: 0 sine, 1 arc, 2 Bezier, anything
    // else a line. No other column changes.
    void calcchannel(const PARAMETERS& ps);
    // Builds both rows of sinetable. Needed before the first sine synthesis
    // (startuppalette calls it); every call gives the same tables, so the
    // sine drag may call it again.
    void calcsine();
    // The sine column of ps into column cndx (calcchannel's case 0).
    void sinecolumn(const PARAMETERS& ps);
    // Fills arctable with the arc from anchor (ends) to vertex (middle).
    void calcarc(int anchor, int vertex);
    // One- or two-segment line into column cndx.
    void calcline(int Ln, int L0, int L255, int Lmx, int Lmy);
    // Quadratic (bd 0) or cubic Bezier into column cndx; reads stretchflag[cndx].
    // The drag step calls it directly with the fields of ptemp, which may lie
    // a little outside 0 ... 255 until the dialog clamps them.
    void calcBezier(int bd, int b0, int b255, int bc1x, int bc1y, int bc2x, int bc2y);
    // Window creation: calcsine, the sine columns of the three records p
    // (the start-up palette) and the control points of all three channels.
    // cndx is left as it was.
    void startuppalette();

    // --- control points ---
    // Places the sine point and both Bezier points of channel index from ps.
    void setcontrolpoints(int index, const PARAMETERS& ps);
    // A press at m in the curve display while the dialog allows dragging
    // (enabledrag1): for a Sine ptemp, a hit on the sine point; for a Bezier
    // ptemp, a hit on control 1 or, when control2 (enabledrag2) is set, on
    // control 2, which wins where both hold the point. Sets cpindex to the
    // grabbed Bezier control and returns 1 when a drag starts, else 0.
    int presscontrolpoint(shell::Point m, int control2);
    // One mouse-move step of a drag to m: moves the point of cndx that is
    // being dragged (the sine point, or Bezier control cpindex) and writes the
    // new, not yet clamped, values into ptemp. The caller then synthesises
    // and hands the values to the dialog, which clamps them.
    void dragstep(shell::Point m);
    void dragsine(int mx);
    void dragbezier(int mx, int my);

    // --- preview ---
    // Draws the Mandelbrot preview coloured with the palette into surface
    // (the offscreen g_vhdc), row by row from the top. After each row is in
    // the surface, rowdone(j) is called on the calling thread, in row order,
    // so that the window can copy the 258 x 257 rectangle at (500, 145) and
    // show the picture growing. Sets msetflag at the end. Returns when the
    // picture is complete; no other thread touches the model or the surface.
    // threads 1 computes everything on the calling thread; 2 (the default)
    // lets a second thread compute rows ahead. The picture is the same with
    // any number of threads and any kernel.
    void mset(shell::Surface& surface, const std::function<void(int)>& rowdone = {},
              int threads = 2, MsetKernel kernel = MsetKernel::best);
    // Draws row j of the preview from its palette entries (0: escaped).
    void drawrow(shell::Surface& surface, int j, const uint8_t* entries) const;
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
