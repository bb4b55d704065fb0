// What knotloom's palette analysis window shows: the palette as the user
// sees it in the strip.
#pragma once

#include "analysis/analysiswindow.h"
#include "model.h"

namespace knotloom {

// The palette of the columns the last redraw left, inverted when inversion
// is on. Model::palette is brought up to date only when the pointer moves
// over the display, so this computes its own.
shell::Palette shownpalette(const Model& m);

// Shows the palette the user sees in the analysis window, if it is open.
void followanalysis(shell::Window& w, const Model& m, analysis::AnalysisWindow& a);

}  // namespace knotloom
