#include "analysiswindow.h"

namespace knotloom {

shell::Palette shownpalette(const Model& m) {
    shell::Palette p;
    palettecalc(m.spectrum, p);
    return shown(m, p);
}

void followanalysis(shell::Window& w, const Model& m, analysis::AnalysisWindow& a) {
    // Only an open window costs the palette.
    if (a.isopen(w)) a.follow(w, shownpalette(m));
}

}  // namespace knotloom
