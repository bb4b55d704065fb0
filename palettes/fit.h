// Least squares for fitting curves to palettes: the heights of a curve that
// is linear in them, chosen so that the curve comes as close to the
// palette's values as the sum of squared differences can tell.
#pragma once

#include <vector>

namespace palettes {

// A system of `rows` equations in `cols` unknowns, row by row: a[r * cols
// + k] is the weight of unknown k in equation r, b[r] what equation r should
// come to.
struct LinearSystem {
    int rows = 0, cols = 0;
    std::vector<double> a;
    std::vector<double> b;
};

// The x that makes the sum of (a x - b)^2 over the rows smallest, solved by
// Householder reflections (no normal equations, whose squared condition
// would cost digits). Rows whose `use` entry is false are left out, when
// `use` is given. Empty when fewer rows are used than there are unknowns,
// or when the used rows do not fix every unknown.
std::vector<double> leastsquares(const LinearSystem& s, const std::vector<bool>& use = {});

}  // namespace palettes
