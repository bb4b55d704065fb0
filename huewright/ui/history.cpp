#include "huewright/ui/history.h"

#include "huewright/ui/mainwindow.h"

namespace huewright {

// Steps are small enough for the memory budget to keep far more than the
// thousand it must (the description adds a few hundred bytes, a loaded
// file's paragraph a few kilobytes at most).
static_assert(shell::kHistoryBudget / (2 * sizeof(WindowState) + 4096) >=
              4 * shell::kHistoryMinSteps);

bool WindowState::sameedit(const WindowState& o) const {
    for (int c = 0; c < 3; ++c)
        if (p[c] != o.p[c] || okdisplay[c] != o.okdisplay[c] || stretchflag[c] != o.stretchflag[c])
            return false;
    return palette == o.palette && description == o.description && loadedfrom == o.loadedfrom;
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
    s.loadedfrom = mw.loadedfrom;
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
        // The open dialog's edit is not finished: its own steps go first,
        // and the dialog shows them as the editor announces them.
        if (back)
            mw.editor.undo();
        else
            mw.editor.redo();
        return true;
    }
    steps.cancel();
    if (const WindowState* s = back ? steps.undo() : steps.redo()) restore(mw, *s);
    return true;
}

// Puts the state back and announces it: the readouts whose records or
// switches changed, and the palette, which is put back whole (like every
// edit it brings the curves back over the preview). The views follow, the
// hover readout among them. Then the window shows what it showed with the
// step: the marker if it moved, and the preview over the curves if it was
// up.
void WindowHistory::restore(MainWindow& mw, const WindowState& s) {
    Model& m = mw.model;
    Change changed{Change::kAll, 0};
    for (int c = 0; c < 3; ++c) {
        if (m.okdisplay[c] != s.okdisplay[c] || (s.okdisplay[c] && m.p[c] != s.p[c]))
            changed.readouts |= 1u << c;
        m.p[c] = s.p[c];
        m.okdisplay[c] = s.okdisplay[c];
        m.stretchflag[c] = s.stretchflag[c];
    }
    m.palette = s.palette;
    m.cndx = s.cndx;
    mw.descriptionstring = s.description;
    mw.loadedfrom = s.loadedfrom;
    mw.button = s.button;
    mw.editor.changed(changed);

    if (marker != s.marker) mw.showmarker(s.marker);
    marker = s.marker;
    if (s.previewshown) mw.showstill();
}

}  // namespace huewright
