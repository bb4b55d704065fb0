#include "analysis/analysiswindow.h"

namespace analysis {

void AnalysisWindow::toggle(shell::Window& w, const shell::Palette& p) {
    if (isopen(w)) {
        w.closesidewindow(kId);
        return;
    }
    if (!picture_) picture_ = std::make_unique<Picture>();
    shell::SideWindow& s =
        w.opensidewindow(kId, Picture::kTitle, Picture::kWidth, Picture::kHeight);
    picture_->drawall(s.offscreen, p);
    s.presentall();
    shown_ = p;
}

void AnalysisWindow::follow(shell::Window& w, const shell::Palette& p) {
    shell::SideWindow* s = w.sidewindow(kId);
    // A redraw that changed nothing of the palette (another channel picked,
    // the curves brought back over the preview) costs no analysis.
    if (!s || !picture_ || p == shown_) return;
    s->present(picture_->update(s->offscreen, p));
    shown_ = p;
}

}  // namespace analysis
