#include "history.h"

#include <cstring>

#include "display.h"
#include "mainwindow.h"

namespace knotloom {

// Steps are small enough for the memory budget to keep far more than the
// thousand it must.
static_assert(shell::kHistoryBudget / (2 * sizeof(WindowState)) >= 4 * shell::kHistoryMinSteps);

bool WindowState::sameedit(const WindowState& o) const {
    return std::memcmp(dp, o.dp, sizeof dp) == 0 && std::memcmp(nd, o.nd, sizeof nd) == 0 &&
           std::memcmp(trackpos, o.trackpos, sizeof trackpos) == 0 &&
           std::memcmp(spectrum, o.spectrum, sizeof spectrum) == 0 && palette == o.palette &&
           invert == o.invert && std::memcmp(fitted, o.fitted, sizeof fitted) == 0 &&
           fittarget == o.fittarget;
}

WindowState WindowHistory::capture(const MainWindow& mw) const {
    const Model& m = mw.model;
    WindowState s;
    std::memcpy(s.dp, m.dp, sizeof s.dp);
    std::memcpy(s.nd, m.nd, sizeof s.nd);
    std::memcpy(s.trackpos, m.trackpos, sizeof s.trackpos);
    std::memcpy(s.spectrum, m.spectrum, sizeof s.spectrum);
    std::memcpy(s.sampled, m.sampled, sizeof s.sampled);
    s.palette = m.palette;
    s.invert = m.invert;
    std::memcpy(s.fitted, m.fitted, sizeof s.fitted);
    s.fittarget = m.fittarget;
    s.cindex = m.cindex;
    return s;
}

bool WindowHistory::command(MainWindow& mw, shell::Window& w, int id) {
    const int shown = mw.model.cindex;
    const size_t undoable = steps.undoable();
    if (!CapturedHistory::command(mw, w, id, cmd_undo, cmd_redo)) return false;
    // Choosing a channel is no step, so the step just undone knows only the
    // channel of its own time; the redo returns to the one shown now.
    if (id == cmd_undo && steps.undoable() < undoable)
        if (WindowState* after = steps.nextredo()) after->cindex = shown;
    return true;
}

void WindowHistory::restore(MainWindow& mw, shell::Window&, const WindowState& s) {
    Model& m = mw.model;
    const int shown = m.cindex;
    Change changed;
    // Only the channels whose points differ are solved again.
    for (int ch = 0; ch < kChannels; ++ch) {
        const bool count = m.nd[ch] != s.nd[ch];
        if (!count && std::memcmp(m.dp[ch], s.dp[ch], sizeof s.dp[ch]) == 0) continue;
        changed.curves |= 1u << ch;
        m.cindex = ch;
        m.nd[ch] = s.nd[ch];
        // A new count needs its matrix and knot vector; this lays the
        // points out afresh, and they are replaced below.
        if (count) matrixcalc(m, 0);
        std::memcpy(m.dp[ch], s.dp[ch], sizeof s.dp[ch]);
        for (int i = 0; i < m.nd[ch]; ++i) setclickrect(m, i, m.dp[ch][i][0], m.dp[ch][i][1], 0);
        cpcalc(m);
    }
    std::memcpy(m.trackpos, s.trackpos, sizeof s.trackpos);
    for (int ch = 0; ch < kChannels; ++ch) {
        if (!s.sampled[ch]) continue;
        // The columns kept with the step come back too.
        changed.curves |= 1u << ch;
        for (int i = 0; i < kColumns; ++i) m.spectrum[i][ch] = s.spectrum[i][ch];
        for (int i = 0; i < 256; ++i) m.palette[i][ch] = s.palette[i][ch];
    }
    changed.inversion = m.invert != s.invert;
    changed.channel = shown != s.cindex;
    m.invert = s.invert;
    std::memcpy(m.fitted, s.fitted, sizeof m.fitted);
    m.fittarget = s.fittarget;
    m.cindex = s.cindex;
    // The redraw samples the active curve again, which gives the stored
    // values back; the views and the readout follow as after any change.
    mw.editor.changed(changed);
}

}  // namespace knotloom
