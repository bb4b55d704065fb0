// Undo and redo in knotloom's window. A step is one drag of a data point
// from press to release, one change of a channel's number of points, one
// switch of the inversion, or one palette file opened. Choosing a channel
// and showing the control polygon are no steps.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model.h"
#include "shell/window/history.h"
#include "shell/window/window.h"

namespace knotloom {

class MainWindow;

// The commands the undo keys post: Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z.
enum UndoCommand { cmd_undo = 300, cmd_redo = 310 };

// What a step holds, before and after the edit.
//
// The edit: each channel's data points and counts, from which the knot
// vectors, matrices, control points and markers are computed again; the
// stored curve values per column, which are kept rather than recomputed
// because a column the current curve does not reach keeps the value an
// earlier curve gave it; the palette, which follows those values only when
// the pointer last crossed the display and is saved as it stands; the
// inversion; and which channels were fitted to which palette.
//
// A channel never shown active has no columns yet. Choosing it samples its
// curve without an edit, so a step taken before that knows nothing of its
// columns, and restoring them from the step would wipe the curve out: such
// a channel keeps the columns and palette values the window has now.
//
// What the window showed with it: the active channel, which an undo brings
// back with the edit so that the user sees what went back, and which a redo
// brings back as it was before that undo. Whether the control polygon shows
// is the user's view, not an edit, and stays as it is; the readout follows
// the pointer where it is when a step is restored.
struct WindowState {
    double dp[kChannels][kMaxData][2];
    int nd[kChannels];
    int trackpos[kChannels];
    uint8_t spectrum[kColumns][kChannels];
    bool sampled[kChannels];
    shell::Palette palette;
    int invert;
    bool fitted[kChannels];
    shell::Palette fittarget;

    int cindex;

    bool sameedit(const WindowState& o) const;
    size_t bytes() const { return sizeof(WindowState); }
};

class WindowHistory : public shell::CapturedHistory<WindowHistory, MainWindow, WindowState> {
  public:
    // Runs the undo and redo commands; false for any other. An undo leaves
    // its redo the channel shown before it.
    bool command(MainWindow& mw, shell::Window& w, int id);
    WindowState capture(const MainWindow& mw) const;
    void restore(MainWindow& mw, shell::Window& w, const WindowState& s);
};

}  // namespace knotloom
