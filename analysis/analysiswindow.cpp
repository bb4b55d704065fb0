#include "analysis/analysiswindow.h"

#include <algorithm>

namespace analysis {

void AnalysisWindow::toggle(shell::Window& w, const shell::Palette& p) {
    if (isopen(w)) {
        w.closesidewindow(kId);
        return;
    }
    const int width = std::clamp(w.roombeside(), Picture::kMinWidth, Picture::kWidth);
    if (!picture_ || picture_->scale() != w.scale())
        picture_ = std::make_unique<Picture>(width, w.scale());
    else if (picture_->width() != width)
        picture_->setwidth(width);
    // The height is the picture's at every width; only the width may change.
    shell::SideWindow& s = w.opensidewindow(
        kId, Picture::kTitle, shell::SideSize{width, picture_->height(), Picture::kMinWidth, 0});
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

bool AnalysisWindow::sized(shell::Window& w, const shell::Message& m) {
    if (m.msg != shell::Msg::sidesize || m.wparam != kId) return false;
    shell::SideWindow* s = w.sidewindow(kId);
    if (!s || !picture_) return true;
    picture_->setwidth(s->xres());
    picture_->drawall(s->offscreen, shown_);
    s->presentall();
    return true;
}

}  // namespace analysis
