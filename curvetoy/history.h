// Undo and redo in curvetoy's window. A step is one drag of an anchor from
// press to release; showing the control points is no step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "curve.h"
#include "shell/window/history.h"
#include "shell/window/window.h"

namespace curvetoy {

class MainWindow;

// The commands the undo keys post: Ctrl+Z, and Ctrl+Y or Ctrl+Shift+Z.
enum UndoCommand { cmd_undo = 300, cmd_redo = 310 };

// What a step holds, before and after the drag: the nine anchors, from
// which the control points and markers are solved again, and the curve's
// height per column as the band shows it. The heights are kept rather than
// recomputed because a column the current curve does not reach keeps the
// height an earlier curve gave it; each fits a byte. Whether the control
// points show is the user's view and stays as it is.
struct WindowState {
    double x[nd], y[nd];
    uint8_t spectrum[kWidth];

    bool sameedit(const WindowState& o) const;
    size_t bytes() const { return sizeof(WindowState); }
};

class WindowHistory : public shell::CapturedHistory<WindowHistory, MainWindow, WindowState> {
  public:
    bool command(MainWindow& mw, shell::Window& w, int id) {
        return CapturedHistory::command(mw, w, id, cmd_undo, cmd_redo);
    }
    WindowState capture(const MainWindow& mw) const;
    void restore(MainWindow& mw, shell::Window& w, const WindowState& s);
};

}  // namespace curvetoy
