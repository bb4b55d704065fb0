// Where the views that follow the palette meet the main window: colour
// cycling of the preview and the palette analysis window. They take their
// messages here, and hear of every change of the palette through their
// hooks on the editor's notice.
#include "huewright/ui/mainwindow.h"

namespace huewright {

using shell::Msg;

bool MainWindow::viewmessage(shell::Window& w, const shell::Message& m) {
    if (analysiswin.sized(w, m)) return true;
    switch (m.msg) {
        case Msg::timer:
            if (m.wparam != Cycling::kTimer) return false;
            if (previewshown) cycling.frame(w, preview, model.palette);
            return true;
        case Msg::keydown:
            // While the preview shows, its cycling keys are taken here, and
            // any other key stops the cycling before it does its own part.
            if (previewshown && cycling.key(w, m.wparam, preview, model.palette)) return true;
            if (m.wparam != analysis::AnalysisWindow::kKey) return false;
            analysiswin.toggle(w, model.palette);
            return true;
        case Msg::lbuttondown:
        case Msg::command:
            // A click, or a command from a key the window did not see (an
            // accelerator), finds the still picture too.
            cycling.stop(w, preview, model.palette);
            return false;
        default:
            return false;
    }
}

void MainWindow::cyclingfollows(const Change& c) {
    // A new palette brings the curves back over the preview it cycles.
    if (c.columns) cycling.halt(*win);
}

void MainWindow::analysisfollows(const Change& c) {
    if (c.columns) analysiswin.follow(*win, model.palette);
}

}  // namespace huewright
