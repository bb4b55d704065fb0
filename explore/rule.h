// The iteration rule every picture of the Mandelbrot set here follows, and the
// lattice of points the first picture samples.
//
// This header declares functions only: the vector kernel, compiled for AVX2,
// includes it, and must not make its own copy of any inline function that
// other files would then share.
//
// A point c escapes at step n when z, started at 0 and stepped n times by
// z = z^2 + c, first lies further than 2 from the origin; a point that has not
// escaped after the iteration limit belongs to the set, and takes the palette
// entry of the angle of its final z. The arithmetic is the curve code's:
// every expression is evaluated in the x87 extended type and stored as a
// double (extended.h), and each step stores both parts of z. So a point's answer is a
// function of its two doubles, and every kernel must give exactly that.
#pragma once

#include <cstdint>

namespace explore {

constexpr int kMinIterations = 16;
constexpr int kMaxIterations = 1000000;

// One step of the rule: z = (x + y)(x - y) + cx + i(2xy + cy).
void exactstep(double& zx, double& zy, double cx, double cy);
// The rule's escape test on a state after a step: the stored square root of
// the stored sum of squares exceeds 2.
bool exactescaped(double zx, double zy);
// The smallest stored sum of squares that escapes: `sum >= escapesum()` is the
// test, with no square root.
double escapesum();

// The palette entry of a point of the set from the angle of its final z:
// 1 ... 255 round the circle. An angle just below 2 pi gives 255 before the
// modulo, which folds it onto entry 1 like the angle 0; entry 0 is never used.
int angleentry(double zx, double zy);

// The answer for one point by the rule, one step after the other.
struct RulePoint {
    bool escaped;    // left radius 2 within the limit
    int iterations;  // steps taken: the escape step, or the limit
    double zx, zy;   // the final z
};
RulePoint rulepoint(double cx, double cy, int iterations);

// The first picture's lattice: column i and row j of the small preview the
// gradient designer draws, 257 points across 0.798 from -1.547 and 257 rows
// down from 0.399, extended to any whole i and j. Points off the preview's
// square continue its steps exactly as its own do. At `scale` n the points
// lie n times as densely: every n-th one (i and j multiples of n) is exactly
// the point i / n, j / n of scale 1, so pictures at two scales agree where
// they meet.
double latticecx(int i, int scale = 1);
double latticecy(int j, int scale = 1);
constexpr int kLatticePoints = 257;  // the preview's columns and rows
constexpr int kLatticeCentre = 128;  // its middle column and row
// The lattice's step between neighbouring points, as a double.
double latticestep();

}  // namespace explore
