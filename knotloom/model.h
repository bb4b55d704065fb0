// The B-spline model of knotloom: per channel a row of data points, the
// interpolating cubic B-spline through them (control points, clamped knot
// vector, interpolation matrix), the curve's value per screen column and the
// palette derived from those columns.
//
// Geometry is in window pixels, as doubles: x to the right (0 … 1023), y down
// (0 … 767). A curve height y stands for the channel value (639 - y) / 2, so
// y 639 is 0 and y 129 is 255. The palette range is the curve area x 128 … 895,
// three columns per palette entry; the margins hold the two end points.
#pragma once

#include <cstdint>

#include "shell/raster/palette.h"
#include "shell/raster/surface.h"

namespace knotloom {

constexpr int kChannels = 3;     // 0 red, 1 green, 2 blue
constexpr int kDegree = 3;       // cubic B-splines
constexpr int kMaxData = 13;     // data points of a channel with 9 user points
constexpr int kMaxControl = 15;  // kMaxData + 2
constexpr int kMaxKnots = 19;    // kMaxData + 6
constexpr int kMinUser = 3, kMaxUser = 9;
constexpr int kColumns = 768;  // screen columns x = 128 … 895
constexpr int kFirstColumn = 128;
constexpr int kLastColumn = 895;

// Where the points may go: y stays within the curve area, the end points stay
// in their margins, the first and last user points are pinned to the ends of
// the palette range.
constexpr double kTopY = 128, kBottomY = 639;
constexpr double kLeftEndMin = 4, kLeftEndMax = 126;
constexpr double kRightEndMin = 898, kRightEndMax = 1023;
constexpr double kFirstUserX = 128, kLastUserX = 895;

// Least x distance a free user point keeps from each neighbour while dragged,
// indexed nd - 7.
extern const double prox[7];

struct Model {
    int cindex = 0;                       // the active channel
    int degree = 3;                       // never changed
    int trackpos[kChannels] = {9, 9, 9};  // user points of each channel, 3 … 9
    int nd[kChannels] = {13, 13, 13};     // data points: trackpos + 4
    int nk[kChannels] = {19, 19, 19};     // knots: nd + 6
    double knot[kChannels][kMaxKnots] = {};
    // Data points [channel][point][0 x, 1 y]. Point 0 copies point 1 (the left
    // end point) and point nd - 1 copies point nd - 2 (the right end point);
    // points 2 … nd - 3 are the user points.
    double dp[kChannels][kMaxData][2] = {};
    // Control points; cp[0] = dp[0] and cp[nd + 1] = dp[nd - 1].
    double cp[kChannels][kMaxControl][2] = {};
    // Interpolation matrix [channel][row][column]; column k multiplies cp[k + 1].
    double M1[kChannels][kMaxData][kMaxControl] = {};
    // Marker and grab rectangles of the data points and control points.
    shell::Rect drect[kChannels][kMaxData] = {};
    shell::Rect crect[kChannels][kMaxControl] = {};

    // Value of each channel's curve at column x = 128 + i, as the last redraw
    // of that channel left it.
    uint8_t spectrum[kColumns][kChannels] = {};
    // Whether a channel's columns were ever sampled from its curve. Until a
    // channel is first shown active its columns are 0, and they hold no
    // curve at all.
    bool sampled[kChannels] = {};
    // 255 - spectrum, filled while the strip is drawn with inversion on.
    uint8_t invspectrum[kColumns][kChannels] = {};
    shell::Palette palette{};
    // Shown and saved colours are inverted; the tables above never are.
    int invert = 0;

    // Channels whose points were fitted to a palette opened from a file,
    // and that palette: a new number of points fits such a channel again.
    bool fitted[kChannels] = {};
    shell::Palette fittarget{};
};

// A channel value as the user sees and saves it: 255 - v while inversion is
// on. Every inverted colour, in the strip, the readout, the analysis window
// and the files, goes through here.
inline uint8_t shown(const Model& m, uint8_t v) {
    return m.invert ? uint8_t(255 - v) : v;
}
// A palette as the user sees and saves it.
shell::Palette shown(const Model& m, shell::Palette palette);

// The drawn samples of the active curve: one polyline in window pixels.
struct CurveSamples {
    static constexpr int kCapacity = 4100;  // more than (1 / 0.00025) + 1 steps
    shell::Point pts[kCapacity];
    int count = 0;
};

// Recomputes the 9 x 9 rectangle of point `index` of the active channel:
// a data point when `type` is 0, a control point when it is 1.
void setclickrect(Model& m, int index, double x, double y, int type);

// Start-up layout of all three channels (13 data points each) and their knot
// vectors. Leaves the last channel active: the caller chooses afterwards.
void dpinit(Model& m);

// Builds the active channel's interpolation matrix for its nd. With `skip` 0
// it also resets the channel's data points to the default layout and rebuilds
// its knot vector.
void matrixcalc(Model& m, int skip);

// Solves the active channel's control points from its data points.
void cpcalc(Model& m);

// Samples the active channel's curve, fills `out` with the drawn samples and
// rewrites the active channel's columns of `spectrum` that a sample reaches.
void curvecalc(Model& m, CurveSamples& out);

// Where the sampling of a channel's curve stores each column: the knot span
// and de Boor weights of the sample a column keeps, which any coordinate of
// the curve's control points can be evaluated with (deboor).
struct ColumnSample {
    bool reached = false;  // a sample lands in the column
    int span = 0;
    double alpha[kDegree + 1][kDegree + 1] = {};
};
// The samples curvecalc would store for channel ch (kColumns of them), for
// its current control points' x.
void columnsamples(const Model& m, int ch, ColumnSample* out);
// The curve with control points C at a sample: coordinate 0 x, 1 y.
double deboor(const double (*C)[2], int coordinate, int span, const double (&alpha)[4][4]);

// Rewrites all 256 palette entries from `spectrum`.
void palettecalc(Model& m);
// The same from any columns into any palette.
void palettecalc(const uint8_t (&spectrum)[kColumns][kChannels], shell::Palette& palette);

}  // namespace knotloom
