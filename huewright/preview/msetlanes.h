// Inside the Mandelbrot preview: what the row kernels share.
//
// A point's answer is fixed by its rule (msetpoint). The kernels reach the
// same answer faster in two ways:
// - Cycles. The state of the iteration is the pair of doubles (zx, zy): once
//   it repeats bit for bit, the orbit is a cycle that has not escaped and never
//   will, and the state after 512 iterations is the one that many steps along
//   the cycle. Points inside the set mostly settle on such a cycle long before
//   512 iterations. As in Brent's method, one comparison an iteration finds it:
//   the orbit is compared with a saved state, saved at steps 1, 2, 4, ... 64
//   and then every 64 steps. Nearly all cycles here have periods below 64, and
//   many orbits only settle after 128 or 256 steps, which the plain powers of
//   two would notice late or not at all.
// - Lanes. Several orbits are stepped side by side, so that their chains of
//   dependent operations overlap; the vector kernel also replaces the extended
//   arithmetic by exact double-double arithmetic where that provably gives the
//   same doubles, and steps the orbit by the rule wherever it cannot tell.
#pragma once

#include <cstdint>

namespace huewright::msetdetail {

// Shared with the vector kernel, which includes nothing of model.h.
constexpr int kRowPoints = 257;   // points in a row (kMsetSize)
constexpr int kIterations = 512;  // the rule's limit (kMsetMaxIter)
constexpr int kSaveEvery = 64;    // saves double up to this, then come this often

// The point of row j and column i of a picture computed at `scale`, which
// has kRowPoints x scale of each: its points lie scale times as densely, and
// every scale-th one is exactly the point of the picture at scale 1 (row
// j / scale, column i / scale), so both pictures agree where they meet.
double rowcy(int j, int scale = 1);
double colcx(int i, int scale = 1);

// One step of the rule, in extended arithmetic.
void exactstep(double& zx, double& zy, double cx, double cy);
// The rule's escape test on the state after a step: the stored square root of
// the stored sum of squares exceeds 2.
bool exactescaped(double zx, double zy);
// The smallest sum of squares that escapes: `sum >= escapesum()` is the test.
double escapesum();

// One orbit under way: its state and the bookkeeping of Brent's method.
struct Orbit {
    double zx, zy;    // the state after n steps
    double cx, cy;    // the point
    uint64_t sx, sy;  // the bits of the state saved at step `saved`
    int n, saved, nextsave;
    int column;  // where the answer goes, -1 for an idle lane
};

void startorbit(Orbit& o, int column, double cx, double cy);

// Where a row kernel puts its answers: the palette entry of every point, and,
// when finalz is not null, the final z (zx, zy) of every point of the set;
// and the scale of the picture the row belongs to, whose rows have
// kRowPoints x scale points.
struct RowOut {
    uint8_t* entries;
    double* finalz;
    int scale = 1;
    int points() const { return kRowPoints * scale; }
};
// Records the answer of a decided orbit (index from settle).
void record(const RowOut& out, const Orbit& o, int index);
// After step o.n has produced o.zx, o.zy (the rule's values) and the escape
// test has been made: the palette entry (0 escaped, 1 ... 255 in the set) once
// the point is decided, with o.zx, o.zy then its final z; -1 while it goes on.
int settle(Orbit& o, bool escaped);

// Row kernels: palette entries (0 escaped) of the points of row j.
void rowlanes(int j, const RowOut& out);   // extended arithmetic, scalar lanes
void rowvector(int j, const RowOut& out);  // double-double arithmetic in AVX2 lanes
// Whether this processor runs rowvector.
bool havevector();
// One step of four lanes as rowvector takes it, for tests: the new states,
// the lanes (bit k for lane k) that are certain of theirs, which must then be
// the rule's, and in *below the certain lanes that are certain not to escape.
int vectorstep(const double* x, const double* y, const double* cx, const double* cy, double* zx,
               double* zy, int* below);

}  // namespace huewright::msetdetail
