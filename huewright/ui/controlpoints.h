// The points of the curve display that a drag moves: the draggable points of
// every curve type for each channel (curvetypeviews.h), where they sit on the
// window and where a press grabs them.
#pragma once

#include "huewright/model/parameters.h"
#include "huewright/ui/curvetypeviews.h"
#include "shell/raster/surface.h"

namespace huewright {

// A draggable point: where it sits and where a press grabs it.
struct ControlPoint {
    shell::Point cpt;   // client pixels
    shell::Rect crect;  // hit rectangle; a press hits only strictly inside it
};

struct ControlPoints {
    ControlPoints();

    // Per channel and curve type, its points in the order of its view.
    ControlPoint at[3][kCurveTypes][kMaxDragPoints];
    int cpindex = 0;  // the point being dragged, among those of the record's type

    ControlPoint& point(int c, CurveType t, int k = 0) { return at[c][int(t)][k]; }
    const ControlPoint& point(int c, CurveType t, int k = 0) const { return at[c][int(t)][k]; }

    // Places the points of every curve type of channel index from ps.
    void setcontrolpoints(int index, const Parameters& ps);
    // A press at m on channel c whose working record is ps: a hit on a point
    // of the record's type that the record shows. Only the first point may be
    // grabbed unless `control2` is set; a later point wins where two hold
    // the press. Sets cpindex to the grabbed point; true when a drag starts.
    bool presscontrolpoint(int c, const Parameters& ps, shell::Point m, bool control2);
    // One step of a drag to m: moves the point being dragged and writes its
    // new, not yet clamped, values into ps.
    void dragstep(int c, Parameters& ps, shell::Point m);
};

// Where the dot of point p of record ps is drawn: one pixel left of where a
// press grabs it.
shell::Point dotcentre(const DragPoint& p, const Parameters& ps);

}  // namespace huewright
