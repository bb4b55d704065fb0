// Where the parts of the analysis picture sit. Entry i of the palette takes
// the two pixel columns from entryx(i) in every strip and plot, so the
// strips, the lightness curve and the difference bars line up entry for entry.
#pragma once

#include "shell/surface.h"

namespace analysis::layout {

using shell::Rect;

constexpr int kWidth = 620, kHeight = 560;
// The text cell height: readable at a glance, small enough for two readouts
// on one heading line.
constexpr int kCell = 15;

constexpr int kPlotLeft = 56;
constexpr int kEntryWidth = 2;
constexpr int kPlotRight = kPlotLeft + 256 * kEntryWidth;
constexpr int entryx(int i) {
    return kPlotLeft + kEntryWidth * i;
}
// Left and right margins of text.
constexpr int kTextLeft = 12, kTextRight = kWidth - 16;

// The palette strip, and beside it the join: entry 255 then entry 0, as they
// meet when the palette repeats.
constexpr int kStripHeadY = 6;
constexpr Rect kStrip{kPlotLeft, 24, kPlotRight, 48};
constexpr Rect kJoin{584, 24, 606, 48};

// The plot boxes reach kPad pixels beyond the entries on every side, so that
// a marker at an end entry or at an extreme value is drawn whole.
constexpr int kPad = 6;

// The lightness plot: L = 1 on row kLightTop, L = 0 on row kLightBottom.
constexpr int kLightHeadY = 60;
constexpr int kLightTop = 84, kLightBottom = 204;
constexpr Rect kLightBox{kPlotLeft - kPad, kLightTop - kPad, kPlotRight + kPad,
                         kLightBottom + kPad};

// The neighbour differences: bar i (entries i and i + 1) fills the two
// columns from stepx(i) upwards from row kStepBase, a difference of the full
// scale reaching row kStepTop. The seam has its own bar in a box to the
// right, under the join.
constexpr int kStepHeadY = 234;
constexpr int kStepTop = 266, kStepBase = 356;
constexpr int stepx(int i) {
    return entryx(i) + 1;
}
constexpr Rect kStepBox{kPlotLeft - kPad, kStepTop - 12, kPlotRight + kPad, kStepBase + 3};
constexpr Rect kSeamBox{kJoin.left, kStepBox.top, kJoin.right, kStepBox.bottom};
constexpr int kSeamBarLeft = kSeamBox.left + 5, kSeamBarRight = kSeamBox.right - 5;

// The scale labels left of the bars, redrawn with every scale, and where the
// scale labels of both plots end.
constexpr int kScaleRight = kStepBox.left - 5;
constexpr Rect kStepScale{0, kStepTop - 8, kStepBox.left - 2, kStepBase - 24};

// The simulated strips: protanopia, deuteranopia, tritanopia, lightness,
// each under its label.
constexpr int kSimHeadY[4] = {386, 426, 466, 506};
constexpr int kSimStripTop[4] = {403, 443, 483, 523};
constexpr int kSimStripHeight = 18;
constexpr Rect simstrip(int k) {
    return Rect{kPlotLeft, kSimStripTop[k], kPlotRight, kSimStripTop[k] + kSimStripHeight};
}

// Everything an update may change.
constexpr Rect kData{0, kStrip.top, kWidth, kSimStripTop[3] + kSimStripHeight};

}  // namespace analysis::layout
