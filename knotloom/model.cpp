#include "model.h"

#include <cmath>
#include <cstring>

// Geometry is held in doubles and truncated toward zero where it becomes
// pixels. The solve evaluates its expressions in extended precision and
// stores each result as a double, because its fixed pivots are extended
// constants; the sampling, which runs thousands of times per drag step, is
// plain double arithmetic.

namespace knotloom {

using ext = long double;

const double prox[7] = {192, 144, 120, 108, 96, 84, 72};

namespace {

// The first two rows of every interpolation matrix: the natural end at T = 0
// with cp[0] moved to the right-hand side (3 cp[1] - cp[2] = 2 cp[0]), and the
// curve through dp[1] at T = 1, where the basis values next to the clamped end
// are 1/4, 7/12 and 1/6.
const double first2rows[2][kMaxControl] = {
    {3, -1},
    {1.0 / 4, 7.0 / 12, 1.0 / 6},
};

// Default x spacing of the user points, indexed nd - 7.
const double xinc[7] = {384, 256, 192, 153, 128, 109, 96};

// Default heights [row][channel]: the user points alternate between a high
// and a low value, starting high; row 9 is the height of the end points.
const double ystart[10][kChannels] = {
    {639, 512, 384}, {384, 256, 128}, {639, 512, 384}, {384, 256, 128}, {639, 512, 384},
    {384, 256, 128}, {639, 512, 384}, {384, 256, 128}, {639, 512, 384}, {256, 384, 256},
};

// The start-up knot vector: clamped, uniform, for 13 data points.
const double knotvalues[kMaxKnots] = {0, 0, 0, 0,  1,  2,  3,  4,  5, 6,
                                      7, 8, 9, 10, 11, 12, 12, 12, 12};

// The last two pivots of the elimination approach 2·sqrt(3) and its partner
// as the count grows; the back substitution divides by these limits, written
// to six decimals, instead of the pivots of the current count. Dividing is
// done by multiplying with reciprocals held in extended precision. The curve
// then meets its data points to about a thousandth of a pixel, well below
// what whole-pixel sampling can show.
constexpr ext kRecipLastPivot = 1.0L / 3.464102L;
constexpr ext kRecipSecondLastPivot = 1.0L / 0.538675L;
constexpr ext kOneThird = 1.0L / 3.0L;
// The super-diagonal 1/6 of the middle rows, as the decimal the solve uses.
constexpr ext kSixth = 0.166667L;

// Default layout of the active channel for its nd.
void defaultlayout(Model& m) {
    const int ch = m.cindex, n = m.nd[ch];
    double(*D)[2] = m.dp[ch];
    D[1][0] = 64;
    D[1][1] = ystart[9][ch];
    D[0][0] = D[1][0];
    D[0][1] = D[1][1];
    D[2][0] = kFirstUserX;
    D[2][1] = ystart[0][ch];
    for (int k = 3; k <= n - 3; ++k) {
        D[k][0] = double(ext(D[k - 1][0]) + ext(xinc[n - 7]));
        D[k][1] = ystart[k - 2][ch];
    }
    // The spacing is whole pixels, so it cannot always land on 895 exactly
    // (13 points would end at 896): the last user point is pinned instead.
    D[n - 3][0] = kLastUserX;
    D[n - 2][0] = 960;
    D[n - 2][1] = ystart[9][ch];
    D[n - 1][0] = D[n - 2][0];
    D[n - 1][1] = D[n - 2][1];
    for (int i = 0; i < n; ++i) setclickrect(m, i, D[i][0], D[i][1], 0);
}

void knotvector(Model& m) {
    const int ch = m.cindex, nk = m.nk[ch];
    double* K = m.knot[ch];
    for (int k = 0; k <= 3; ++k) K[k] = 0;
    for (int k = 4; k <= nk - 4; ++k) K[k] = k - 3;
    for (int k = nk - 3; k < nk; ++k) K[k] = K[nk - 4];
}

}  // namespace

void setclickrect(Model& m, int index, double x, double y, int type) {
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    shell::Rect r{ix - 4, iy - 4, ix + 5, iy + 5};
    if (type == 0)
        m.drect[m.cindex][index] = r;
    else
        m.crect[m.cindex][index] = r;
}

void dpinit(Model& m) {
    for (int ch = 0; ch < kChannels; ++ch) {
        m.cindex = ch;
        // The start-up count is 13, which the initial nd already says.
        defaultlayout(m);
        for (int k = 0; k < kMaxKnots; ++k) m.knot[ch][k] = knotvalues[k];
    }
}

void matrixcalc(Model& m, int skip) {
    const int ch = m.cindex, n = m.nd[ch];
    double(*M)[kMaxControl] = m.M1[ch];
    for (int r = 0; r < n; ++r)
        for (int k = 0; k < kMaxControl; ++k) M[r][k] = 0;
    for (int k = 0; k < kMaxControl; ++k) {
        M[0][k] = first2rows[0][k];
        M[1][k] = first2rows[1][k];
    }
    // The uniform middle: the basis values at an integer knot.
    for (int r = 2; r <= n - 3; ++r) {
        M[r][r - 1] = 1.0 / 6;
        M[r][r] = 2.0 / 3;
        M[r][r + 1] = 1.0 / 6;
    }
    // The mirror images of the first two rows.
    M[n - 2][n - 3] = 1.0 / 6;
    M[n - 2][n - 2] = 7.0 / 12;
    M[n - 2][n - 1] = 1.0 / 4;
    M[n - 1][n - 2] = -1;
    M[n - 1][n - 1] = 3;
    if (skip != 0) return;
    defaultlayout(m);
    m.nk[ch] = n + 6;
    knotvector(m);
}

void cpcalc(Model& m) {
    const int ch = m.cindex, n = m.nd[ch];
    const double(*D)[2] = m.dp[ch];
    double(*C)[2] = m.cp[ch];
    // The augmented system: n unknowns cp[1] … cp[n], the x right-hand side in
    // column n and the y one in column n + 1.
    double M2[kMaxData][kMaxControl + 2];
    double temp[kMaxControl + 2];
    for (int r = 0; r < n; ++r)
        for (int k = 0; k <= n + 1; ++k) M2[r][k] = m.M1[ch][r][k];
    for (int c = 0; c < 2; ++c) {
        M2[0][n + c] = double(2 * ext(D[0][c]));
        for (int r = 1; r <= n - 2; ++r) M2[r][n + c] = D[r][c];
        M2[n - 1][n + c] = double(2 * ext(D[n - 1][c]));
    }
    // Forward elimination down the band; the pivots stay between 0.5 and 3.5
    // whatever the points, so no pivoting is needed.
    for (int r = 1; r < n; ++r) {
        const double factor = double(ext(M2[r][r - 1]) / ext(M2[r - 1][r - 1]));
        const int last = r == n - 1 ? r : r + 1;
        for (int k = r - 1; k <= last; ++k) temp[k] = double(ext(factor) * M2[r - 1][k]);
        for (int k = n; k <= n + 1; ++k) temp[k] = double(ext(factor) * M2[r - 1][k]);
        for (int k = r - 1; k <= last; ++k) M2[r][k] = double(ext(M2[r][k]) - temp[k]);
        for (int k = n; k <= n + 1; ++k) M2[r][k] = double(ext(M2[r][k]) - temp[k]);
    }
    for (int c = 0; c < 2; ++c) {
        const int R = n + c;  // the right-hand-side column of this coordinate
        C[n + 1][c] = D[n - 1][c];
        C[n][c] = double(ext(M2[n - 1][R]) * kRecipLastPivot);
        C[n - 1][c] = double((ext(M2[n - 2][R]) - 0.25L * C[n][c]) * kRecipSecondLastPivot);
        for (int i = n - 3; i >= 1; --i)
            C[i + 1][c] = double((ext(M2[i][R]) - kSixth * C[i + 2][c]) / ext(M2[i][i]));
        C[1][c] = double((ext(M2[0][R]) + C[2][c]) * kOneThird);
        C[0][c] = D[0][c];
    }
    for (int i = 0; i <= n + 1; ++i) setclickrect(m, i, C[i][0], C[i][1], 1);
}

namespace {

// Walks the samples of channel ch's curve at the fixed parameter step and
// calls keep(k, alpha, xint) for each one that is kept: the first of a run
// of samples in one column, and every sample of the last span. k is the
// sample's knot span, alpha its de Boor weights, which depend on the
// parameter and the knots only, so that y, or any other coordinate of the
// same control points, can be evaluated with them; xint its column.
template <class Keep>
void samplecurve(const Model& m, int ch, Keep keep) {
    constexpr int p = kDegree;
    const int n = m.nd[ch], mk = m.nk[ch];
    const double* K = m.knot[ch];
    const double(*C)[2] = m.cp[ch];

    const double low = K[p], high = K[mk - 1 - p];
    // Only T = 1 … n - 2 is sampled: from the left end point through the user
    // points to the right end point. Beyond lie the duplicated end points.
    const double start = 1.0 / (n - 1);
    const double end = 1 - start;
    int xintold = 0;
    for (double t = start; t <= end; t = t + 0.00025) {
        const double T = (high - low) * t + low;
        // The knot span; at an interior knot the span to its left.
        int k = p;
        while (k < mk - 1 - p) {
            if (K[k] <= T && T <= K[k + 1]) break;
            ++k;
        }
        // x is evaluated with the weights; y only when the sample is kept.
        double alpha[p + 1][p + 1] = {};
        double d[p + 1];
        for (int j = 0; j <= p; ++j) d[j] = C[k - p + j][0];
        for (int r = 1; r <= p; ++r)
            for (int j = p; j >= r; --j) {
                const double a = K[k - p + j];
                alpha[r][j] = (T - a) / (K[j + 1 + k - r] - a);
                d[j] = alpha[r][j] * d[j] + (1 - alpha[r][j]) * d[j - 1];
            }
        const int xint = static_cast<int>(d[p]);
        // Of a run of samples in one column only the first is kept, except in
        // the last span, where every sample is kept and the last one stays.
        if (k < mk - 1 - p - 2 && xint == xintold) continue;
        xintold = xint;
        keep(k, alpha, xint);
    }
}

}  // namespace

double deboor(const double (*C)[2], int coordinate, int k, const double (&alpha)[4][4]) {
    constexpr int p = kDegree;
    double d[p + 1];
    for (int j = 0; j <= p; ++j) d[j] = C[k - p + j][coordinate];
    for (int r = 1; r <= p; ++r)
        for (int j = p; j >= r; --j) d[j] = alpha[r][j] * d[j] + (1 - alpha[r][j]) * d[j - 1];
    return d[p];
}

void curvecalc(Model& m, CurveSamples& out) {
    const int ch = m.cindex;
    out.count = 0;
    m.sampled[ch] = true;
    samplecurve(m, ch, [&](int k, const double(&alpha)[4][4], int xint) {
        int yint = static_cast<int>(deboor(m.cp[ch], 1, k, alpha));
        if (yint < 129) yint = 129;
        if (yint > 639) yint = 639;
        if (out.count < CurveSamples::kCapacity) out.pts[out.count++] = shell::Point{xint, yint};
        if (xint > kFirstColumn - 1 && xint < kLastColumn + 1)
            m.spectrum[xint - kFirstColumn][ch] = uint8_t((639 - yint) / 2);
    });
}

void columnsamples(const Model& m, int ch, ColumnSample* out) {
    for (int i = 0; i < kColumns; ++i) out[i].reached = false;
    samplecurve(m, ch, [&](int k, const double(&alpha)[4][4], int xint) {
        if (xint < kFirstColumn || xint > kLastColumn) return;
        ColumnSample& c = out[xint - kFirstColumn];
        c.reached = true;
        c.span = k;
        std::memcpy(c.alpha, alpha, sizeof c.alpha);
    });
}

void palettecalc(const uint8_t (&spectrum)[kColumns][kChannels], shell::Palette& palette) {
    for (int c = 0; c < kChannels; ++c) {
        palette[0][c] = spectrum[0][c];
        palette[255][c] = spectrum[kColumns - 1][c];
        for (int i = 1; i <= 254; ++i) {
            const double mean =
                double((ext(spectrum[3 * i][c]) + spectrum[3 * i + 1][c] + spectrum[3 * i + 2][c]) *
                       (1.0L / 3.0L));
            int v = static_cast<int>(mean);
            if (mean - std::floor(mean) > 0.5) ++v;
            palette[i][c] = uint8_t(v);
        }
    }
}

void palettecalc(Model& m) {
    palettecalc(m.spectrum, m.palette);
}

shell::Palette shown(const Model& m, shell::Palette palette) {
    for (auto& e : palette)
        for (uint8_t& v : e) v = shown(m, v);
    return palette;
}

}  // namespace knotloom
