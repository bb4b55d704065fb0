// Undo inside the Parameters dialog: the steps of one edit of one channel.
//
// A step holds the working record and the channel's stretch flag, before and
// after. Everything else the dialog and the window show while it is open
// follows from those two: the channel's palette column is their synthesis,
// the draggable points and the drag flags follow the record, and so do the
// dialog's radio buttons, check box, enabled boxes and the numbers in the
// boxes. The hover readout is left as it is. The steps live as long as the
// dialog: OK and Cancel drop them, and after OK the main window's history
// holds the whole edit as one step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "huewright/model/parameters.h"
#include "shell/window/history.h"

namespace huewright {

struct EditState {
    Parameters ptemp{};
    int32_t stretch = 0;

    bool sameedit(const EditState& o) const { return ptemp == o.ptemp && stretch == o.stretch; }
    size_t bytes() const { return sizeof(EditState); }
};

// The dialog's history and the state at the end of its last step. Typing in
// a box changes the channel at once but ends no step; leaving the box does,
// and so do a click, a drag's release and the start of the next drag.
class EditSteps {
  public:
    // The dialog opened in state s.
    void start(const EditState& s) {
        history.clear();
        last = s;
        active = true;
    }
    // A step ends in state now, if anything changed since the last one.
    void mark(const EditState& now) {
        if (!active) return;
        history.begin(last);
        history.end(now);
        last = now;
    }
    void stop() {
        history.clear();
        active = false;
    }

    shell::History<EditState> history;
    EditState last;  // the state at the end of the last step
    bool active = false;
};

}  // namespace huewright
