// Where the views that follow the palette meet the main window: colour
// cycling of the preview, the palette analysis window and the Explore
// window. They take their messages here, and hear of every change of the
// palette through their hooks on the editor's notice.
#include "huewright/ui/mainwindow.h"

namespace huewright {

using shell::Msg;

bool MainWindow::viewmessage(shell::Window& w, const shell::Message& m) {
    // The Explore window's own keys and pointer come first: its S, O and P
    // are not the main window's.
    if (explorewin.message(w, m)) return true;
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
            if (m.wparam == explore::ExploreWindow::kKey) {
                explorewin.toggle(w, model.palette);
                return true;
            }
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

void MainWindow::explorefollows(const Change& c) {
    if (c.columns) explorewin.follow(*win, model.palette);
}

void MainWindow::explorestart(shell::Window& w) {
    const std::string& path = startoptions.at("--explore");
    const shell::Result<explore::LocFile> at = explore::loadloc(path);
    if (!at.ok()) {
        w.messagebox("The location was not opened.\n" + at.error().describe(), "Explore",
                     shell::Icon::exclamation);
        return;
    }
    explorewin.open(w, model.palette, at.value());
}

}  // namespace huewright
