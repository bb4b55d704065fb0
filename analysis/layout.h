// Where the parts of the analysis picture sit at a given width. The entries
// of the palette share the plot's width: entry i takes the columns from
// entryx(i) up to entryx(i + 1) in every strip and plot, so the strips, the
// lightness curve and the difference bars line up entry for entry. At the
// preferred width every entry is two columns wide.
#pragma once

#include "shell/raster/surface.h"

namespace analysis {

using shell::Rect;

struct Layout {
    // The preferred width, and the narrowest at which every entry still has
    // a column and every label its room. The height is the same at every
    // width.
    static constexpr int kPreferredWidth = 620, kMinWidth = 420, kHeight = 560;
    // The text cell height: readable at a glance, small enough for two
    // readouts on one heading line.
    static constexpr int kCell = 15;
    // Left margin of text, and the room kept right of the right-aligned
    // readouts.
    static constexpr int kTextLeft = 12, kTextMargin = 16;
    // The plot boxes reach kPad pixels beyond the entries on every side, so
    // that a marker at an end entry or at an extreme value is drawn whole.
    static constexpr int kPad = 6;

    // The layout at `width` (kMinWidth at least). A heading whose readouts
    // do not fit beside it (`lightbeside`, `stepbeside` false) gets them on a
    // line of their own under it, and what follows moves down.
    Layout(int width = kPreferredWidth, bool lightbeside = true, bool stepbeside = true);

    int width, height = kHeight;
    int textright;  // where the right-aligned readouts end

    // The entries: entry i takes the columns entryx(i) ... entryx(i + 1) - 1,
    // one or more; entryx(256) is the plot's right end.
    int plotleft, plotright;
    int entryx(int i) const { return plotleft + i * (plotright - plotleft) / 256; }
    // The column a mark of entry i is centred on (the right one of two).
    int centre(int i) const { return (entryx(i) + entryx(i + 1)) / 2; }

    // The palette strip, and beside it the join: entry 255 then entry 0, as
    // they meet when the palette repeats.
    int stripheady = 6;
    Rect strip, join;

    // The lightness plot: L = 1 on row lighttop, L = 0 on row lightbottom.
    // The readouts go on row lightreadouty, right-aligned, within
    // lightreadout (which an update wipes first) together with the heading's
    // line where they share it.
    int lightheady = 60, lightreadouty;
    int lighttop, lightbottom;
    Rect lightbox;

    // The neighbour differences: bar i (entries i and i + 1) fills the
    // columns centre(i) ... centre(i + 1) - 1 upwards from row stepbase, a
    // difference of the full scale reaching row steptop. The seam has its
    // own bar in a box to the right, under the join.
    int stepheady, stepreadouty;
    int steptop, stepbase;
    Rect stepbox, seambox;
    int seambarleft, seambarright;
    // The scale labels left of the bars, redrawn with every scale, and
    // where the scale labels of both plots end.
    Rect stepscale;
    int scaleright;

    // The simulated strips: protanopia, deuteranopia, tritanopia,
    // lightness, each under its label.
    int simheady[4], simstriptop[4];
    static constexpr int kSimStripHeight = 18;
    Rect simstrip(int k) const {
        return Rect{plotleft, simstriptop[k], plotright, simstriptop[k] + kSimStripHeight};
    }

    // Everything an update may change.
    Rect data;
};

}  // namespace analysis
