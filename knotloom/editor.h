// The edits of knotloom's model: drags of a data point with their clamping
// rules, the active channel, the number of points and the inversion. Each
// changes the model and then announces the change once on the editor's
// notice; the window's picture, its readout and the analysis window follow
// it. Changes made to the model elsewhere (an undo) are announced here too.
#pragma once

#include "model.h"
#include "shell/window/notice.h"

namespace knotloom {

// What one change of the model touched.
struct Change {
    static constexpr unsigned kAll = 7;  // the three channels

    unsigned curves = 0;     // channels whose data points moved or were laid out afresh
    bool channel = false;    // another channel became active
    bool inversion = false;  // the inversion was switched

    static Change all() { return Change{kAll, true, true}; }
};

using ModelNotice = shell::Notice<Change>;

class Editor {
  public:
    explicit Editor(Model& model) : m_(model) {}

    ModelNotice notice;
    // A change made to the model outside these steps, announced as it is.
    void changed(const Change& c) { notice.notify(c); }

    bool okdrag = false;  // a data point is being dragged
    int dpindex = 0;      // which one, of the active channel

    // A press at p grabs a data point of the active channel. The copies at
    // both ends are never grabbed, and where markers overlap the lower index
    // wins. True when a drag starts.
    bool press(shell::Point p);
    // One step of the drag to p: the point moves within its bounds, the end
    // points drag their copies along, and the control points are solved
    // again. False when no drag is in progress.
    bool dragto(shell::Point p);
    // Ends the drag; true when one was in progress. A drag that moved a
    // point of a fitted channel makes the dragged curve what the channel
    // is fitted to from then on, so a new count keeps the user's shape.
    bool release();

    void setchannel(int channel);
    void invert();
    // The active channel takes the number of user points its trackbar
    // chose; a new number lays its points out afresh, or fits them again
    // when the channel was fitted to a palette.
    void setpoints();

  private:
    Model& m_;
    bool moved_ = false;  // the drag in progress moved its point
};

}  // namespace knotloom
