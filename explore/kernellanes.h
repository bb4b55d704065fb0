// Inside the kernels: what the scalar and the vector kernel share.
//
// A point's answer is fixed by its rule (rule.h). The kernels reach the same
// answer faster in two ways:
// - Cycles. The state of the iteration is the pair of doubles (zx, zy): once
//   it repeats bit for bit, the orbit is a cycle that has not escaped and never
//   will, and the state at the limit is the one that many steps along the
//   cycle. Points inside the set mostly settle on such a cycle long before
//   the limit. As in Brent's method, one comparison an iteration finds it:
//   the orbit is compared with a saved state, saved at steps 1, 2, 4, ... 64
//   and then every 64 steps. Nearly all cycles met have periods below 64, and
//   many orbits only settle after 128 or 256 steps, which the plain powers of
//   two would notice late or not at all.
// - Lanes. Several orbits are stepped side by side, so that their chains of
//   dependent operations overlap; the vector kernel also replaces the extended
//   arithmetic by exact double-double arithmetic where that provably gives the
//   same doubles, and steps the orbit by the rule wherever it cannot tell.
//
// The vector kernel is compiled for AVX2 and includes this header: it holds
// plain records and declarations only, no inline function.
#pragma once

#include <cstdint>

#include "explore/rule.h"

namespace explore::kerneldetail {

constexpr int kSaveEvery = 64;  // saves double up to this, then come this often

// One orbit under way: its state and the bookkeeping of Brent's method.
struct Orbit {
    double zx, zy;    // the state after n steps
    double cx, cy;    // the point
    uint64_t sx, sy;  // the bits of the state saved at step `saved`
    int n, saved, nextsave;
    int index;  // where the answer goes in the run, -1 for an idle lane
};

// An orbit at step 0 of point `index`; an index of -1 makes an idle lane,
// whose z stays 0 and whose answer is never read.
void startorbit(Orbit& o, int index, double cx, double cy);

// What settle finds.
enum Outcome { going = -1, escaped = 0, inside = 1 };
// After step o.n has produced o.zx, o.zy (the rule's values) and the escape
// test has been made: whether the point is decided, with o.zx, o.zy then its
// final z (for a point of the set, the one at the limit).
int settle(Orbit& o, bool escapednow, int iterations);

// The run a kernel works through: it hands out the points that need steps
// and takes their answers (kernel.cpp). Points that need none, inside the
// bulbs when no angle is asked for, are answered as they are passed.
struct Feed;
// Starts o on the next point that needs steps; without one, o becomes idle
// and the result is false.
bool load(Feed& f, Orbit& o);
// Records the answer of a decided orbit.
void answer(Feed& f, const Orbit& o, int outcome);
int limit(const Feed& f);
// Whether the kernel should stop (asked every few thousand steps).
bool cancelled(const Feed& f);

// Row kernels over a feed; false when cancelled.
bool runlanes(Feed& f);   // extended arithmetic, scalar lanes
bool runvector(Feed& f);  // double-double arithmetic in AVX2 lanes
// Whether this processor runs runvector.
bool havevector();
// One step of four lanes as runvector takes it, for tests: the new states,
// the lanes (bit k for lane k) that are certain of theirs, which must then be
// the rule's, and in *below the certain lanes that are certain not to escape.
int vectorstep(const double* x, const double* y, const double* cx, const double* cy, double* zx,
               double* zy, int* below);

}  // namespace explore::kerneldetail
