// Helpers shared by the model tests.
#pragma once

#include <vector>

#include "huewright/model/model.h"

namespace huewright::testutil {

// Column c of the palette as plain integers.
inline std::vector<int> column(const Model& m, int c) {
    std::vector<int> v(256);
    for (int i = 0; i < 256; ++i) v[i] = m.palette[i][c];
    return v;
}

// Entries first ... first + expected.size() - 1 of a column.
inline std::vector<int> slice(const std::vector<int>& col, int first, int count) {
    return std::vector<int>(col.begin() + first, col.begin() + first + count);
}

// A model whose channel c has been synthesised from ps, as the dialog's apply
// step does it.
inline Model applied(const Parameters& ps, int c = 0, int stretch = 0) {
    Model m;
    m.calcsine();
    m.cndx = c;
    m.stretchflag[c] = stretch;
    m.calcchannel(ps);
    return m;
}

inline Parameters sine(int sp, int xsh, int amp, int ysh) {
    Parameters p = startupparameters[0];
    p.ct = 0;
    p.sp = sp;
    p.xsh = xsh;
    p.amp = amp;
    p.ysh = ysh;
    return p;
}

inline Parameters arc(int anchor, int vertex) {
    Parameters p = startupparameters[0];
    p.ct = 1;
    p.aan = anchor;
    p.avt = vertex;
    return p;
}

inline Parameters line(int n, int l0, int l255, int mx, int my) {
    Parameters p = startupparameters[0];
    p.ct = 3;
    p.Ln = n;
    p.L0 = l0;
    p.L255 = l255;
    p.Lmx = mx;
    p.Lmy = my;
    return p;
}

inline Parameters bezier(int bd, int b0, int b255, int c1x, int c1y, int c2x, int c2y) {
    Parameters p = startupparameters[0];
    p.ct = 2;
    p.bd = bd;
    p.b0 = b0;
    p.b255 = b255;
    p.bc1x = c1x;
    p.bc1y = c1y;
    p.bc2x = c2x;
    p.bc2y = c2y;
    return p;
}

}  // namespace huewright::testutil
