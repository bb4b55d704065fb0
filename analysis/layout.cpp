#include "analysis/layout.h"

#include <algorithm>

namespace analysis {

namespace {

// How far a line of readouts under its heading moves what follows down.
constexpr int kReadoutLine = Layout::kCell + 1;

}  // namespace

Layout::Layout(int w, bool lightbeside, bool stepbeside) {
    width = std::max(w, kMinWidth);
    textright = width - kTextMargin;
    // The plot takes the width left of the join and the seam box, which
    // keep their size at the right edge.
    plotleft = 56;
    plotright = width - 52;
    strip = Rect{plotleft, 24, plotright, 48};
    join = Rect{plotright + 16, 24, width - 14, 48};

    int down = 0;  // how far everything below has moved
    lightreadouty = lightheady;
    if (!lightbeside) lightreadouty += kReadoutLine, down += kReadoutLine;
    lighttop = 84 + down;
    lightbottom = 204 + down;
    lightbox = Rect{plotleft - kPad, lighttop - kPad, plotright + kPad, lightbottom + kPad};

    stepheady = 234 + down;
    stepreadouty = stepheady;
    if (!stepbeside) stepreadouty += kReadoutLine, down += kReadoutLine;
    steptop = 266 + down;
    stepbase = 356 + down;
    stepbox = Rect{plotleft - kPad, steptop - 12, plotright + kPad, stepbase + 3};
    seambox = Rect{join.left, stepbox.top, join.right, stepbox.bottom};
    seambarleft = seambox.left + 5;
    seambarright = seambox.right - 5;
    scaleright = stepbox.left - 5;
    stepscale = Rect{0, steptop - 8, stepbox.left - 2, stepbase - 24};

    for (int k = 0; k < 4; ++k) {
        simheady[k] = 386 + 40 * k + down;
        simstriptop[k] = simheady[k] + 17;
    }
    data = Rect{0, strip.top, width, simstriptop[3] + kSimStripHeight};
}

}  // namespace analysis
