#include "huewright/ui/history.h"

#include <cstring>

#include "huewright/ui/cycling.h"
#include "huewright/ui/mainwindow.h"
#include "huewright/ui/previewcommand.h"

namespace huewright {

// Steps are small enough for the memory budget to keep far more than the
// thousand it must (the description adds a few hundred bytes).
static_assert(shell::kHistoryBudget / (2 * sizeof(WindowState) + 4096) >=
              4 * shell::kHistoryMinSteps);

bool WindowState::sameedit(const WindowState& o) const {
    for (int c = 0; c < 3; ++c)
        if (p[c] != o.p[c] || okdisplay[c] != o.okdisplay[c] || stretchflag[c] != o.stretchflag[c])
            return false;
    return palette == o.palette && description == o.description;
}

WindowState WindowHistory::capture(const MainWindow& mw) const {
    const Model& m = mw.model;
    WindowState s;
    for (int c = 0; c < 3; ++c) {
        s.p[c] = m.p[c];
        s.okdisplay[c] = m.okdisplay[c];
        s.stretchflag[c] = m.stretchflag[c];
    }
    s.palette = m.palette;
    s.description = mw.descriptionstring;
    s.cndx = m.cndx;
    s.button = mw.button;
    s.marker = marker;
    s.previewshown = mw.previewshown;
    return s;
}

void WindowHistory::pressed(const MainWindow& mw, int b) {
    steps.begin(capture(mw));
    if (b < kMarkable) marker = b;
}

void WindowHistory::begin(const MainWindow& mw) {
    if (!steps.begun()) steps.begin(capture(mw));
}

void WindowHistory::end(const MainWindow& mw) {
    steps.end(capture(mw));
}

bool WindowHistory::command(MainWindow& mw, int id) {
    if (id != cmd_undo && id != cmd_redo) return false;
    const bool back = id == cmd_undo;
    if (mw.editor.editing()) {
        // The open dialog's edit is not finished: its own steps go first.
        if (mw.paramsview) mw.params.step(*mw.paramsview, back);
        return true;
    }
    steps.cancel();
    if (const WindowState* s = back ? steps.undo() : steps.redo()) restore(mw, *s);
    return true;
}

// Puts the state back and draws what differs from the picture as it stands:
// the readouts whose records or switches changed, the marker if it moved,
// the curves and the strip always (like every edit, and with them the views
// that follow the palette), the preview over them if it was up, and the
// hover readout for where the pointer is now.
void WindowHistory::restore(MainWindow& mw, const WindowState& s) {
    shell::Window& w = *mw.win;
    const Screen& screen = *mw.screen;
    Model& m = mw.model;
    bool readout[3];
    for (int c = 0; c < 3; ++c) {
        readout[c] = m.okdisplay[c] != s.okdisplay[c] || (s.okdisplay[c] && m.p[c] != s.p[c]);
        m.p[c] = s.p[c];
        m.okdisplay[c] = s.okdisplay[c];
        m.stretchflag[c] = s.stretchflag[c];
    }
    m.palette = s.palette;
    m.cndx = s.cndx;
    mw.descriptionstring = s.description;
    mw.button = s.button;

    for (int c = 0; c < 3; ++c) {
        if (!readout[c] || displayparams(w, screen, m, c)) continue;
        w.offscreen.fillrect(eraseparams[c], kBlack);
        w.present(eraseparams[c]);
    }
    if (marker != s.marker) markbutton(w, screen, s.marker);
    marker = s.marker;

    mw.redraw();
    if (s.previewshown) {
        drawpreview(w, mw.preview, m.palette);
        mw.previewshown = true;
    }
    mw.hover();
}

}  // namespace huewright
