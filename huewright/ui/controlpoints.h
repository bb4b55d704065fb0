// The points of the curve display that a drag moves: the sine point of each
// channel and its two Bezier controls, where they sit on the window and where
// a press grabs them.
#pragma once

#include "huewright/model/parameters.h"
#include "shell/raster/surface.h"

namespace huewright {

// A draggable point: where it sits and where a press grabs it.
struct ControlPoint {
    shell::Point cpt;   // client pixels
    shell::Rect crect;  // hit rectangle; a press hits only strictly inside it
};

struct ControlPoints {
    ControlPoints();

    ControlPoint scp[3];    // sine point per channel
    ControlPoint cp[3][2];  // Bezier controls 1 and 2 per channel
    int cpindex = 0;        // the Bezier control being dragged

    // Places the sine point and both Bezier points of channel index from ps.
    void setcontrolpoints(int index, const Parameters& ps);
    // A press at m on channel c whose working record is ps: for a Sine
    // record, a hit on the sine point; for a Bezier record, a hit on control
    // 1 or, when control2 is set, on control 2, which wins where both hold
    // the point. Sets cpindex to the grabbed Bezier control; true when a drag
    // starts.
    bool presscontrolpoint(int c, const Parameters& ps, shell::Point m, bool control2);
    // One step of a drag to m: moves the point being dragged and writes its
    // new, not yet clamped, values into ps.
    void dragstep(int c, Parameters& ps, shell::Point m);
};

}  // namespace huewright
