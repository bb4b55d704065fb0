// The model's state, the dispatch from curve type to generator and the sine
// column.
#include "huewright/model/model.h"

#include "huewright/model/arith.h"
#include "huewright/model/curvetypes.h"

namespace huewright {

Model::Model() {
    for (int c = 0; c < 3; ++c) {
        p[c] = startupparameters[c];
        stretchflag[c] = 0;
        okdisplay[c] = 1;
    }
}

void Model::calcchannel(const Parameters& ps) {
    curvedesc(ps).column(*this, ps);
}

void Model::sinecolumn(const Parameters& ps) {
    // A phase other than 2 reads the phase-1 row, so a bad record cannot read
    // outside the table.
    const uint8_t* row = sinetable[ps.sp == 2 ? 1 : 0];
    const bool scaled = ps.amp < 255;
    double pfactor = 0;
    if (scaled) pfactor = st(ext(ps.amp) * kInv255);
    for (int i = 0; i < 256; ++i) {
        // The tables are symmetric, so this reads the curve at i - xsh: a
        // larger shift moves the curve to higher indices.
        int k = ((256 - i + ps.xsh) % 256 + 256) % 256;
        int v = row[k];
        if (scaled) {
            v = int(ext(v) * pfactor);
            if (ps.ysh > 0) v = (v + ps.ysh) % 256;
        }
        palette[i][cndx] = uint8_t(v);
    }
}

void Model::startuppalette() {
    calcsine();
    const int keep = cndx;
    for (int c = 0; c < 3; ++c) {
        cndx = c;
        sinecolumn(p[c]);
    }
    cndx = keep;
}

}  // namespace huewright
