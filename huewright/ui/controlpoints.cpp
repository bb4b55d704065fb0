#include "huewright/ui/controlpoints.h"

#include "huewright/ui/geometry.h"

namespace huewright {

namespace {

// The grabbing area is the 9 x 9 square from x - 5 to x + 3 and y - 4 to
// y + 4: exactly the dot the dialog draws for the point.
shell::Rect hitrect(shell::Point c) {
    return shell::Rect{c.x - 6, c.y - 5, c.x + 4, c.y + 5};
}

// The height of a point that only moves sideways.
constexpr int kMiddle = 128;

// Where a press grabs point p of record ps.
shell::Point grabbedat(const DragPoint& p, const Parameters& ps) {
    return shell::Point{ps.*p.x + kCurveLeft, kCurveBase - (p.y ? ps.*p.y : kMiddle)};
}

}  // namespace

shell::Point dotcentre(const DragPoint& p, const Parameters& ps) {
    const shell::Point g = grabbedat(p, ps);
    return shell::Point{g.x - 1, g.y};
}

ControlPoints::ControlPoints() {
    for (int c = 0; c < 3; ++c) setcontrolpoints(c, startupparameters[c]);
}

void ControlPoints::setcontrolpoints(int index, const Parameters& ps) {
    for (const CurveTypeView& v : kCurveViews)
        for (int k = 0; k < v.points.count; ++k) {
            ControlPoint& p = point(index, v.type, k);
            p.cpt = grabbedat(v.points[k], ps);
            p.crect = hitrect(p.cpt);
        }
}

bool ControlPoints::presscontrolpoint(int c, const Parameters& ps, shell::Point m, bool control2) {
    const CurveTypeView& v = curveview(ps);
    bool grabbed = false;
    for (int k = 0; k < v.points.count && (k == 0 || control2); ++k) {
        if (!v.points[k].when.holds(ps)) continue;
        if (strictlyinside(m, point(c, v.type, k).crect)) {
            cpindex = k;
            grabbed = true;
        }
    }
    return grabbed;
}

void ControlPoints::dragstep(int c, Parameters& ps, shell::Point m) {
    const CurveTypeView& v = curveview(ps);
    if (cpindex >= v.points.count) return;
    const DragPoint& d = v.points[cpindex];
    // The point follows the pointer along the axes it moves on; its values
    // are where its dot is then drawn, `trail` pixels behind.
    ControlPoint& p = point(c, v.type, cpindex);
    p.cpt.x = m.x;
    ps.*d.x = m.x - (kCurveLeft - 1) - d.trail;
    if (d.y) {
        p.cpt.y = m.y;
        ps.*d.y = kCurveBase - m.y;
    }
    p.crect = hitrect(p.cpt);
}

}  // namespace huewright
