// What one change of the gradient designer's model touched, as the channel
// editor's notice tells the views that follow the model.
#pragma once

#include "shell/window/notice.h"

namespace huewright {

struct Change {
    static constexpr unsigned kAll = 7;  // the three channels

    // Palette columns recomputed or replaced, bit c for channel c. The
    // curves, the strip, the hover readout and the analysis window follow
    // them, and the colour cycling of a preview stops. A change of the
    // working record of the Parameters dialog always recomputes its
    // channel's column, so the dialog hears of it as a column change and
    // compares the record with what its controls show.
    unsigned columns = 0;
    // Channels whose accepted record or readout switch changed, bit c for
    // channel c: their parameter readouts follow.
    unsigned readouts = 0;

    static Change column(int channel) { return Change{1u << channel, 0}; }
    static Change all() { return Change{kAll, kAll}; }
};

using ModelNotice = shell::Notice<Change>;
using ModelClient = ModelNotice::Client;

}  // namespace huewright
