// The model's state, the dispatch from curve type to generator, the sine
// column, and the control points of the curve display.
#include "huewright/model/model.h"

#include "huewright/model/arith.h"

namespace huewright {

Model::Model() {
    for (int c = 0; c < 3; ++c) {
        p[c] = startupparameters[c];
        stretchflag[c] = 0;
        okdisplay[c] = 1;
    }
    ptemp = p[0];
    for (int c = 0; c < 3; ++c) setcontrolpoints(c, p[c]);
}

void Model::calcchannel(const PARAMETERS& ps) {
    switch (ps.ct) {
        case 0:
            sinecolumn(ps);
            break;
        case 1:
            calcarc(ps.aan, ps.avt);
            for (int i = 0; i < 256; ++i) palette[i][cndx] = arctable[i];
            break;
        case 2:
            calcBezier(ps.bd, ps.b0, ps.b255, ps.bc1x, ps.bc1y, ps.bc2x, ps.bc2y);
            break;
        default:  // 3, and anything the record should not hold, is a line
            calcline(ps.Ln, ps.L0, ps.L255, ps.Lmx, ps.Lmy);
            break;
    }
}

void Model::sinecolumn(const PARAMETERS& ps) {
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
        setcontrolpoints(c, p[c]);
    }
    cndx = keep;
}

namespace {

// The grabbing area is the 9 x 9 square from x - 5 to x + 3 and y - 4 to
// y + 4: exactly the dot the dialog draws for the point.
shell::Rect hitrect(shell::Point c) {
    return shell::Rect{c.x - 6, c.y - 5, c.x + 4, c.y + 5};
}

// The screen row of the value 128, where the sine point always sits.
constexpr int kSineRow = kCurveBase - 128;

}  // namespace

void Model::setcontrolpoints(int index, const PARAMETERS& ps) {
    scp[index].cpt = shell::Point{ps.xsh + kCurveLeft, kSineRow};
    cp[index][0].cpt = shell::Point{ps.bc1x + kCurveLeft, kCurveBase - ps.bc1y};
    cp[index][1].cpt = shell::Point{ps.bc2x + kCurveLeft, kCurveBase - ps.bc2y};
    scp[index].crect = hitrect(scp[index].cpt);
    cp[index][0].crect = hitrect(cp[index][0].cpt);
    cp[index][1].crect = hitrect(cp[index][1].cpt);
}

int Model::presscontrolpoint(shell::Point m, int control2) {
    if (ptemp.ct == 0) return pointinrect(m, scp[cndx].crect);
    if (ptemp.ct != 2) return 0;
    int grabbed = 0;
    // Control 1 is tested first, so control 2 wins where both hold the point.
    if (pointinrect(m, cp[cndx][0].crect)) {
        cpindex = 0;
        grabbed = 1;
    }
    if (control2 && pointinrect(m, cp[cndx][1].crect)) {
        cpindex = 1;
        grabbed = 1;
    }
    return grabbed;
}

void Model::dragstep(shell::Point m) {
    if (ptemp.ct == 0)
        dragsine(m.x);
    else if (ptemp.ct == 2)
        dragbezier(m.x, m.y);
}

void Model::dragsine(int mx) {
    // mx - 500, not 501: the dot is drawn at x shift + 500 and stays under
    // the pointer.
    scp[cndx].cpt.x = mx;
    ptemp.xsh = mx - 500;
    scp[cndx].crect = hitrect(scp[cndx].cpt);
}

void Model::dragbezier(int mx, int my) {
    // mx - 502: the Bezier dot (drawn at x + 500) trails the pointer by two
    // pixels, as it always has.
    CONTROLPOINT& c = cp[cndx][cpindex];
    c.cpt = shell::Point{mx, my};
    if (cpindex == 0) {
        ptemp.bc1x = mx - 502;
        ptemp.bc1y = kCurveBase - my;
    } else {
        ptemp.bc2x = mx - 502;
        ptemp.bc2y = kCurveBase - my;
    }
    c.crect = hitrect(c.cpt);
}

}  // namespace huewright
