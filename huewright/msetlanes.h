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

double rowcy(int j);
double colcx(int i);

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
// How far the next save lies beyond the one at step n.
inline int nextsavestep(int n) {
    return n < 64 ? n : 64;
}
// After step o.n has produced o.zx, o.zy (the rule's values) and the escape
// test has been made: the palette entry (0 escaped, 1 ... 255 in the set) once
// the point is decided, -1 while it goes on.
int settle(Orbit& o, bool escaped);

// Row kernels: palette entries (0 escaped) of the 257 points of row j.
void rowlanes(int j, uint8_t* out);   // extended arithmetic, scalar lanes
void rowvector(int j, uint8_t* out);  // double-double arithmetic in AVX2 lanes
// Whether this processor runs rowvector.
bool havevector();
// One step of four lanes as rowvector takes it, for tests: the new states,
// the lanes (bit k for lane k) that are certain of theirs, which must then be
// the rule's, and in *below the certain lanes that are certain not to escape.
int vectorstep(const double* x, const double* y, const double* cx, const double* cy, double* zx,
               double* zy, int* below);

}  // namespace huewright::msetdetail
