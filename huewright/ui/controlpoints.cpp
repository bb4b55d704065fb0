#include "huewright/ui/controlpoints.h"

#include "huewright/ui/geometry.h"

namespace huewright {

namespace {

// The grabbing area is the 9 x 9 square from x - 5 to x + 3 and y - 4 to
// y + 4: exactly the dot the dialog draws for the point.
shell::Rect hitrect(shell::Point c) {
    return shell::Rect{c.x - 6, c.y - 5, c.x + 4, c.y + 5};
}

// The screen row of the value 128, where the sine point always sits.
constexpr int kSineRow = kCurveBase - 128;

}  // namespace

ControlPoints::ControlPoints() {
    for (int c = 0; c < 3; ++c) setcontrolpoints(c, startupparameters[c]);
}

void ControlPoints::setcontrolpoints(int index, const Parameters& ps) {
    scp[index].cpt = shell::Point{ps.xsh + kCurveLeft, kSineRow};
    cp[index][0].cpt = shell::Point{ps.bc1x + kCurveLeft, kCurveBase - ps.bc1y};
    cp[index][1].cpt = shell::Point{ps.bc2x + kCurveLeft, kCurveBase - ps.bc2y};
    scp[index].crect = hitrect(scp[index].cpt);
    cp[index][0].crect = hitrect(cp[index][0].cpt);
    cp[index][1].crect = hitrect(cp[index][1].cpt);
}

bool ControlPoints::presscontrolpoint(int c, const Parameters& ps, shell::Point m, bool control2) {
    if (ps.ct == 0) return strictlyinside(m, scp[c].crect);
    if (ps.ct != 2) return false;
    bool grabbed = false;
    // Control 1 is tested first, so control 2 wins where both hold the point.
    if (strictlyinside(m, cp[c][0].crect)) {
        cpindex = 0;
        grabbed = true;
    }
    if (control2 && strictlyinside(m, cp[c][1].crect)) {
        cpindex = 1;
        grabbed = true;
    }
    return grabbed;
}

void ControlPoints::dragstep(int c, Parameters& ps, shell::Point m) {
    if (ps.ct == 0) {
        // mx - 500, not 501: the dot is drawn at x shift + 500 and stays
        // under the pointer.
        scp[c].cpt.x = m.x;
        ps.xsh = m.x - 500;
        scp[c].crect = hitrect(scp[c].cpt);
    } else if (ps.ct == 2) {
        // mx - 502: the Bezier dot (drawn at x + 500) trails the pointer by
        // two pixels, as it always has.
        ControlPoint& p = cp[c][cpindex];
        p.cpt = m;
        if (cpindex == 0) {
            ps.bc1x = m.x - 502;
            ps.bc1y = kCurveBase - m.y;
        } else {
            ps.bc2x = m.x - 502;
            ps.bc2y = kCurveBase - m.y;
        }
        p.crect = hitrect(p.cpt);
    }
}

}  // namespace huewright
